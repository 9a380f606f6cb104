// Welding through the hash index must give exactly what a search of the
// unique vertices from the first gives.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "scene/vertex_welder.h"

namespace veltrace {
namespace {

// The plain linear search the hash index stands in for.
std::vector<std::uint32_t> weldLinearly(const std::vector<FileVertex>& corners, std::vector<SceneVertex>& unique) {
  std::vector<std::uint32_t> indices;
  for (const FileVertex& corner : corners) {
    std::uint32_t found = static_cast<std::uint32_t>(unique.size());
    for (std::uint32_t i = 0; i < unique.size(); ++i) {
      const SceneVertex& v = unique[i];
      if (v.position.x == corner.position.x && v.position.y == corner.position.y &&
          v.position.z == corner.position.z && v.normal.x == corner.normal.x && v.normal.y == corner.normal.y &&
          v.normal.z == corner.normal.z && v.u == corner.u && v.v == corner.v) {
        found = i;
        break;
      }
    }
    if (found == unique.size()) {
      SceneVertex added;
      added.position = corner.position;
      added.normal = corner.normal;
      added.u = corner.u;
      added.v = corner.v;
      unique.push_back(added);
    }
    indices.push_back(found);
  }
  return indices;
}

std::vector<std::uint32_t> weldHashed(const std::vector<FileVertex>& corners, std::vector<SceneVertex>& unique) {
  VertexWelder welder(unique);
  std::vector<std::uint32_t> indices;
  for (const FileVertex& corner : corners) indices.push_back(welder.weld(corner));
  return indices;
}

// Values drawn from a small pool, so that many corners coincide, with both
// zeros and a NaN among them.
std::vector<FileVertex> randomCorners(unsigned seed, size_t count) {
  const float pool[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, std::numeric_limits<float>::quiet_NaN(), 3.25f};
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> pick(0, 6);
  std::uniform_int_distribution<int> rare(0, 40);
  auto value = [&] {
    int choice = pick(random);
    if (choice == 5 && rare(random) != 0) choice = 0;  // NaNs only now and then
    return pool[choice];
  };
  std::vector<FileVertex> corners(count);
  for (FileVertex& corner : corners) {
    corner.position = {value(), value(), 0.0f};
    corner.normal = {0.0f, value(), 1.0f};
    corner.u = value();
    corner.v = 0.25f;
  }
  return corners;
}

TEST(VertexWelder, MatchesTheLinearSearchExactly) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    auto corners = randomCorners(seed, 3000);
    std::vector<SceneVertex> linearVertices, hashedVertices;
    auto expected = weldLinearly(corners, linearVertices);
    auto actual = weldHashed(corners, hashedVertices);
    ASSERT_EQ(actual, expected) << "seed " << seed;
    ASSERT_EQ(hashedVertices.size(), linearVertices.size());
    for (size_t i = 0; i < hashedVertices.size(); ++i) {
      // The first corner of each group is kept, sign of zero included.
      EXPECT_EQ(std::signbit(hashedVertices[i].position.x), std::signbit(linearVertices[i].position.x));
      EXPECT_EQ(hashedVertices[i].tangent.x, 0.0f);
      EXPECT_EQ(hashedVertices[i].binormal.y, 0.0f);
    }
  }
}

TEST(VertexWelder, PlusAndMinusZeroWeldAndNaNNeverDoes) {
  FileVertex positive;
  FileVertex negative;
  negative.position.x = -0.0f;
  negative.normal.y = -0.0f;
  FileVertex notANumber;
  notANumber.u = std::numeric_limits<float>::quiet_NaN();
  std::vector<SceneVertex> unique;
  VertexWelder welder(unique);
  EXPECT_EQ(welder.weld(positive), 0u);
  EXPECT_EQ(welder.weld(negative), 0u);
  EXPECT_EQ(welder.weld(notANumber), 1u);
  EXPECT_EQ(welder.weld(notANumber), 2u);
  EXPECT_EQ(welder.weld(positive), 0u);
  EXPECT_EQ(unique.size(), 3u);
}

TEST(VertexWelder, GrowsPastItsFirstTable) {
  std::vector<SceneVertex> unique;
  VertexWelder welder(unique);
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 10000; ++i) {
      FileVertex corner;
      corner.position.x = static_cast<float>(i);
      EXPECT_EQ(welder.weld(corner), static_cast<std::uint32_t>(i));
    }
  }
  EXPECT_EQ(unique.size(), 10000u);
}

}  // namespace
}  // namespace veltrace
