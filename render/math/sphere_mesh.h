#pragma once
// A sphere mesh like the one D3DXCreateSphere builds: centred at the origin,
// its axis along z, vertices carrying a position and a unit normal, one
// subset of 16-bit indexed triangles wound clockwise as seen from outside (the
// front faces under Direct3D's default culling).
//
// Vertex layout: the pole at +z first, then stacks − 1 rings of `slices`
// vertices each from +z towards −z (each ring starting on the +x side and
// turning towards +y), then the pole at −z. Triangle layout: the fan around
// the +z pole, then two triangles per slice for every band between
// neighbouring rings, then the fan around the −z pole.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "render/math/matrix_math.h"

namespace veltrace::render {

struct SphereVertex {
  Vector3 position;
  Vector3 normal;
};

struct SphereMesh {
  std::vector<SphereVertex> vertices;
  std::vector<std::uint16_t> indices;  // three per triangle

  std::size_t triangleCount() const { return indices.size() / 3; }
};

// Smallest tessellation that still encloses a volume, as D3DX requires.
inline constexpr int minimumSphereSlices = 2;
inline constexpr int minimumSphereStacks = 2;

// The sphere, or nothing with `error` filled when the radius is negative or
// not finite, there are too few slices or stacks, or the vertices would not
// fit 16-bit indices.
std::optional<SphereMesh> createSphereMesh(float radius, int slices, int stacks, std::string& error);

}  // namespace veltrace::render
