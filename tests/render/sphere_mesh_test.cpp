// The sphere mesh: its documented layout, a closed surface whose triangles
// face outwards under Direct3D's clockwise front faces, and refused sizes.

#include "render/math/sphere_mesh.h"

#include <cmath>
#include <map>
#include <numbers>
#include <utility>

#include <gtest/gtest.h>

namespace veltrace::render {
namespace {

SphereMesh sphere(float radius, int slices, int stacks) {
  std::string error;
  auto mesh = createSphereMesh(radius, slices, stacks, error);
  EXPECT_TRUE(mesh) << error;
  return mesh ? *mesh : SphereMesh{};
}

TEST(SphereMesh, CountsFollowSlicesAndStacks) {
  SphereMesh marker = sphere(0.3f, 10, 10);
  EXPECT_EQ(marker.vertices.size(), 10u * 9u + 2u);
  EXPECT_EQ(marker.triangleCount(), 2u * 10u * 9u);

  SphereMesh smallest = sphere(1.0f, 2, 2);
  EXPECT_EQ(smallest.vertices.size(), 4u);
  EXPECT_EQ(smallest.triangleCount(), 4u);
}

TEST(SphereMesh, PolesAndFirstRingSitWhereTheLayoutSays) {
  SphereMesh mesh = sphere(2.0f, 8, 4);
  const Vector3 top = mesh.vertices.front().position;
  const Vector3 bottom = mesh.vertices.back().position;
  EXPECT_FLOAT_EQ(top.z, 2.0f);
  EXPECT_FLOAT_EQ(bottom.z, -2.0f);
  // First ring, first slice: a quarter of the way down (4 stacks), on +x.
  const Vector3 first = mesh.vertices[1].position;
  EXPECT_NEAR(first.x, 2.0f * std::sin(std::numbers::pi / 4), 1e-5);
  EXPECT_NEAR(first.y, 0.0f, 1e-5);
  EXPECT_NEAR(first.z, 2.0f * std::cos(std::numbers::pi / 4), 1e-5);
  // Second slice turns towards +y.
  EXPECT_GT(mesh.vertices[2].position.y, 0.0f);
}

TEST(SphereMesh, EveryVertexLiesOnTheSphereWithItsUnitNormal) {
  SphereMesh mesh = sphere(0.3f, 10, 10);
  for (const auto& vertex : mesh.vertices) {
    EXPECT_NEAR(length(vertex.position), 0.3f, 1e-5);
    EXPECT_NEAR(length(vertex.normal), 1.0f, 1e-5);
    EXPECT_NEAR(dot(vertex.normal, normalize(vertex.position)), 1.0f, 1e-5);
  }
}

TEST(SphereMesh, TrianglesAreClockwiseFromOutside) {
  SphereMesh mesh = sphere(1.0f, 7, 5);
  for (std::size_t t = 0; t < mesh.triangleCount(); ++t) {
    Vector3 a = mesh.vertices.at(mesh.indices[3 * t]).position;
    Vector3 b = mesh.vertices.at(mesh.indices[3 * t + 1]).position;
    Vector3 c = mesh.vertices.at(mesh.indices[3 * t + 2]).position;
    // With left-handed axes, (b − a) × (c − a) points at the viewer who sees
    // a, b, c clockwise.
    Vector3 facing = cross(subtract(b, a), subtract(c, a));
    Vector3 centre = scale(add(add(a, b), c), 1.0f / 3.0f);
    EXPECT_GT(dot(facing, centre), 0.0f) << "triangle " << t;
  }
}

TEST(SphereMesh, SurfaceIsClosed) {
  // Every edge is walked once in each direction by its two triangles.
  SphereMesh mesh = sphere(1.0f, 6, 4);
  std::map<std::pair<int, int>, int> edges;
  for (std::size_t t = 0; t < mesh.triangleCount(); ++t)
    for (int corner = 0; corner < 3; ++corner) {
      int from = mesh.indices[3 * t + corner];
      int to = mesh.indices[3 * t + (corner + 1) % 3];
      ASSERT_NE(from, to) << "degenerate triangle " << t;
      ++edges[{from, to}];
    }
  for (const auto& [edge, count] : edges) {
    EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
    EXPECT_EQ(edges.count({edge.second, edge.first}), 1u) << edge.first << "-" << edge.second;
  }
}

TEST(SphereMesh, RefusesSizesItCannotBuild) {
  std::string error;
  EXPECT_FALSE(createSphereMesh(1.0f, 1, 10, error));
  EXPECT_NE(error.find("slices"), std::string::npos);
  EXPECT_FALSE(createSphereMesh(1.0f, 10, 1, error));
  EXPECT_FALSE(createSphereMesh(-1.0f, 10, 10, error));
  EXPECT_FALSE(createSphereMesh(std::nanf(""), 10, 10, error));
  EXPECT_FALSE(createSphereMesh(1.0f, 1000, 1000, error));
  EXPECT_NE(error.find("16-bit"), std::string::npos);
  EXPECT_TRUE(createSphereMesh(0.0f, 3, 3, error)) << "a zero radius is a point, not an error";
}

}  // namespace
}  // namespace veltrace::render
