#pragma once
// Meshes made from formulas, for the sample scenes and the benchmarks.
// Faces wind counter-clockwise seen from outside (the preview's front faces).

#include <cstdint>
#include <string>

#include "scene/authoring/authored_scene.h"

namespace veltrace {

// An axis-aligned box with flat faces, texture coordinates 0..1 on each
// side; `sideIds` gives each side's material id in the order +y (top), -y,
// +x, -x, +z, -z.
AuthoredMesh makeBox(std::string name, Vec3 centre, Vec3 halfSize, const std::int32_t (&sideIds)[6]);

// A smooth sphere of `slices` around and `stacks` from pole to pole, with
// the texture wrapped once around.
AuthoredMesh makeSphere(std::string name, float radius, int slices, int stacks);

// A smooth torus in the x-z plane, texture wrapped once each way.
AuthoredMesh makeTorus(std::string name, float ringRadius, float tubeRadius, int ringSegments, int tubeSegments);

// A gently waved height field of cells x cells squares (two faces each) in
// the x-z plane, smooth normals; every `bandRows` rows the material id
// changes between 0 and 1.
AuthoredMesh makeWavedGrid(std::string name, float size, int cells, int bandRows);

}  // namespace veltrace
