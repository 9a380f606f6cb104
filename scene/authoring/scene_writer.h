#pragma once
// Writes an authored scene as a .vase file (per-face "*D" ids, "*TV_EX"
// texture coordinates and per-corner normals), or as a plain ASE file
// without those extensions (shared texture vertices and "*MESH_MTLID"), which
// other programs read: the benchmarks load the same scene both ways.

#include <string>
#include <string_view>

#include "scene/authoring/authored_scene.h"

namespace veltrace {

std::string formatVaseScene(const AuthoredScene& scene);
std::string formatPlainAseScene(const AuthoredScene& scene);

// Numbers as the scene reader reads them: plain decimals, never an exponent,
// exact enough that a float reads back to itself. Non-finite values are
// written as 0.
std::string formatSceneNumber(float value);

// Written whole under a temporary name, then put in place.
bool writeVaseScene(std::string_view corePath, const AuthoredScene& scene);
bool writePlainAseScene(std::string_view corePath, const AuthoredScene& scene);

}  // namespace veltrace
