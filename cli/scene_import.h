#pragma once
// Model import for veltrace-cli scene import: any format the Open Asset
// Import Library reads, turned into a scene ready for the .vase writer.
// Only the native build has it.

#include <string>

#include "scene/authoring/authored_scene.h"

namespace veltrace::cli {

bool importAvailable();

// One scene mesh per model node that carries triangles, node transforms
// applied. A node whose triangles use several model materials gets a
// material with one sub-material per model material, its faces' ids naming
// them. False with a reason when the model cannot be read or holds no
// triangles.
bool importModel(const std::string& nativeModelPath, AuthoredScene& scene, std::string& problem);

}  // namespace veltrace::cli
