#pragma once
// What the Windows-tier renderer tests share: the data folder as the program
// folder, and loading the sample scenes and effects into memory the way a
// workspace does.

#include <memory>
#include <string>
#include <vector>

#include "app/message_log.h"
#include "effect/effect.h"
#include "effect/effect_factory.h"
#include "effect/effect_files.h"
#include "scene/scene_model.h"
#include "scene/scene_reader.h"

namespace veltrace::test {

// The shipped data folder in the core's path form, as the program sees it
// under Wine (the Unix root is drive Z:).
inline std::string dataFolder() {
  std::string folder = VELTRACE_DATA_DIR;
  for (char& c : folder)
    if (c == '/') c = '\\';
  return folder.size() > 1 && folder[1] == ':' ? folder : "Z:" + folder;
}

// An effect of the shipped samples with its shader sources, as the panes
// leave it after opening.
inline std::unique_ptr<Effect> loadSampleEffect(const std::string& name, MessageLog& log) {
  auto effect = std::make_unique<Effect>(createEffect(dataFolder(), log));
  if (!loadEffect(*effect, dataFolder() + "\\effects\\" + name + ".veff", dataFolder(), log)) return nullptr;
  if (!readShaderSources(*effect, log)) return nullptr;
  return effect;
}

inline bool loadSampleScene(const std::string& name, Scene& scene, MessageLog& log) {
  return loadScene(dataFolder() + "\\media\\scenes\\" + name, scene, log);
}

inline void assignToAll(Scene& scene, Effect* effect) {
  for (auto& mesh : scene.meshes)
    for (auto& subset : mesh.subsets) subset.effect = effect;
}

}  // namespace veltrace::test
