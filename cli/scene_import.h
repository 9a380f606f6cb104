#pragma once
// Model import for veltrace-cli scene import: any format the Open Asset
// Import Library reads, turned into a scene ready for the .vase writer.
// Only the native build has it.

#include <string>

#include "scene/authoring/authored_scene.h"

namespace veltrace::cli {

bool importAvailable();

struct ImportOptions {
  // Positions as the model gives them, instead of centred and scaled to fill
  // the preview's starting view.
  bool keepUnits = false;
};

// One scene mesh per model node that carries triangles, node transforms
// applied. A node whose triangles use several model materials gets a
// material with one sub-material per model material, its faces' ids naming
// them. Models whose z is up are turned to y up; unless the options keep
// the units, the model is framed for the preview (model_framing.h). False
// with a reason when the model cannot be read or holds no triangles (the
// reason then says what it holds instead).
bool importModel(const std::string& nativeModelPath, AuthoredScene& scene, std::string& problem,
                 const ImportOptions& options = {});

}  // namespace veltrace::cli
