// Any bytes as a workspace file, against a small two-mesh scene: assignments
// must stay inside the scene whatever numbers the lines hold. Effects and
// the scene come from memory, so no input reaches the file system.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "effect/workspace_file.h"
#include "scene/scene_reader.h"

namespace {

// Two meshes: three subsets and one.
veltrace::Scene smallScene() {
  veltrace::Scene scene;
  scene.materials.resize(1);
  scene.meshes.resize(2);
  scene.meshes[0].subsets.resize(3);
  scene.meshes[1].subsets.resize(1);
  return scene;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  veltrace::WorkspaceHooks hooks;
  hooks.loadScene = [](veltrace::Workspace& workspace, const std::string& path) {
    if (path.find("missing") != std::string::npos) return false;
    workspace.scene = smallScene();
    return true;
  };
  hooks.openEffect = [](const std::string& path) -> std::unique_ptr<veltrace::Effect> {
    if (path.find("missing") != std::string::npos) return nullptr;
    auto effect = std::make_unique<veltrace::Effect>();
    effect->name = path;
    return effect;
  };
  veltrace::Workspace workspace;
  veltrace::MessageLog log;
  veltrace::readWorkspaceText(std::string_view(reinterpret_cast<const char*>(data), size), workspace, "C:\\Veltrace",
                              hooks, log);
  // Every assignment names one of the workspace's effects.
  for (const veltrace::SceneMesh& mesh : workspace.scene.meshes) {
    auto known = [&](const veltrace::Effect* effect) {
      if (!effect) return true;
      for (const auto& owned : workspace.effects)
        if (owned.get() == effect) return true;
      return false;
    };
    if (!known(mesh.effect)) std::abort();
    for (const veltrace::MeshSubset& subset : mesh.subsets)
      if (!known(subset.effect)) std::abort();
  }
  veltrace::clearWorkspace(workspace, veltrace::WorkspaceHooks{}, log);
  return 0;
}
