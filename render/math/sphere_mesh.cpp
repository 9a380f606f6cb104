#include "render/math/sphere_mesh.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "base/text.h"

namespace veltrace::render {

namespace {

constexpr long long maximumIndexedVertices = std::numeric_limits<std::uint16_t>::max() + 1LL;

void addTriangle(SphereMesh& mesh, int a, int b, int c) {
  mesh.indices.push_back(static_cast<std::uint16_t>(a));
  mesh.indices.push_back(static_cast<std::uint16_t>(b));
  mesh.indices.push_back(static_cast<std::uint16_t>(c));
}

}  // namespace

std::optional<SphereMesh> createSphereMesh(float radius, int slices, int stacks, std::string& error) {
  if (!(radius >= 0.0f) || !std::isfinite(radius)) {
    error = formatText("sphere radius %g is not a length", static_cast<double>(radius));
    return std::nullopt;
  }
  if (slices < minimumSphereSlices || stacks < minimumSphereStacks) {
    error = formatText("a sphere needs at least %d slices and %d stacks (got %d and %d)",
                       minimumSphereSlices, minimumSphereStacks, slices, stacks);
    return std::nullopt;
  }
  long long vertexCount = static_cast<long long>(slices) * (stacks - 1) + 2;
  if (vertexCount > maximumIndexedVertices) {
    error = formatText("a sphere of %d slices and %d stacks has too many vertices for 16-bit indices",
                       slices, stacks);
    return std::nullopt;
  }

  SphereMesh mesh;
  mesh.vertices.reserve(static_cast<std::size_t>(vertexCount));
  mesh.indices.reserve(static_cast<std::size_t>(slices) * (stacks - 1) * 6);

  auto addVertex = [&](Vector3 normal) { mesh.vertices.push_back({scale(normal, radius), normal}); };

  addVertex({0.0f, 0.0f, 1.0f});
  for (int stack = 1; stack < stacks; ++stack) {
    double polar = std::numbers::pi * stack / stacks;
    double ringRadius = std::sin(polar);
    float z = static_cast<float>(std::cos(polar));
    for (int slice = 0; slice < slices; ++slice) {
      double azimuth = 2.0 * std::numbers::pi * slice / slices;
      addVertex({static_cast<float>(ringRadius * std::cos(azimuth)),
                 static_cast<float>(ringRadius * std::sin(azimuth)), z});
    }
  }
  addVertex({0.0f, 0.0f, -1.0f});

  const int topPole = 0;
  const int bottomPole = static_cast<int>(vertexCount) - 1;
  auto ringVertex = [&](int ring, int slice) { return 1 + ring * slices + slice % slices; };

  for (int slice = 0; slice < slices; ++slice)
    addTriangle(mesh, topPole, ringVertex(0, slice), ringVertex(0, slice + 1));

  for (int ring = 0; ring + 1 < stacks - 1; ++ring)
    for (int slice = 0; slice < slices; ++slice) {
      int upper = ringVertex(ring, slice), upperNext = ringVertex(ring, slice + 1);
      int lower = ringVertex(ring + 1, slice), lowerNext = ringVertex(ring + 1, slice + 1);
      addTriangle(mesh, upper, lower, upperNext);
      addTriangle(mesh, upperNext, lower, lowerNext);
    }

  const int lastRing = stacks - 2;
  for (int slice = 0; slice < slices; ++slice)
    addTriangle(mesh, bottomPole, ringVertex(lastRing, slice + 1), ringVertex(lastRing, slice));

  return mesh;
}

}  // namespace veltrace::render
