// Filling the workspace tree model for a large workspace: 50 effects of 40
// variables each, then the scene information of a 200-mesh scene. The tree
// control is a null one, so this measures the model's share only.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "effect/effect_factory.h"
#include "panes/workspace/workspace_tree.h"

namespace veltrace {
namespace {

class NullControl : public TreeControl {
 public:
  bool insertItem(ItemId, ItemId, const std::string&, bool) override { return true; }
  bool deleteItem(ItemId) override { return true; }
  void setLabel(ItemId, const std::string&) override {}
  void expand(ItemId) override {}
  void select(ItemId) override {}
  void editLabel(ItemId, int) override {}
};

class NoPanes : public PaneFactory {
 public:
  std::unique_ptr<Pane> createPane(const PaneRequest&) override { return nullptr; }
};

std::vector<std::unique_ptr<Effect>> largeWorkspace() {
  std::vector<std::unique_ptr<Effect>> effects;
  for (int e = 0; e < 50; ++e) {
    auto effect = std::make_unique<Effect>();
    effect->name = "Effect " + std::to_string(e);
    for (int v = 0; v < 40; ++v)
      variablesOfKind(*effect, static_cast<VariableKind>(v % 3)).push_back(createVariable(static_cast<VariableKind>(v % 3)));
    effects.push_back(std::move(effect));
  }
  return effects;
}

Scene largeScene() {
  Scene scene;
  scene.materials.resize(20);
  for (auto& material : scene.materials) {
    material.subMaterials.resize(4);
    material.baseTexture = "\\media\\textures\\stone.bmp";
  }
  scene.meshes.resize(200);
  for (size_t i = 0; i < scene.meshes.size(); ++i) {
    scene.meshes[i].name = "Mesh " + std::to_string(i);
    scene.meshes[i].materialIndex = static_cast<std::int32_t>(i % 20);
    scene.meshes[i].subsets.resize(4);
  }
  return scene;
}

void FillTreeAndSceneInformation(benchmark::State& state) {
  const auto effects = largeWorkspace();
  const Scene scene = largeScene();
  const std::vector<std::string> textures{"stone.bmp", "bumps.bmp"};
  for (auto _ : state) {
    NullControl control;
    NoPanes panes;
    WorkspaceTree tree(control, panes);
    tree.build();
    for (const auto& effect : effects) {
      tree.addEffect(*effect);
      tree.fillEffect(*effect);
    }
    SceneInformationRequest request;
    tree.rebuildSceneInformation(scene, textures, request);
    benchmark::DoNotOptimize(tree.itemCount());
  }
}
BENCHMARK(FillTreeAndSceneInformation)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrace

BENCHMARK_MAIN();
