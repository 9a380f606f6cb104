// The workspace tree model: layout, menus per kind, label edits, on-demand
// labels, panes opened through the factory, the scene information.

#include <gtest/gtest.h>

#include "effect/effect_factory.h"
#include "panes/workspace/workspace_tree.h"
#include "tests/panes/workspace/workspace_fakes.h"

namespace veltrace {
namespace {

using test::RecordingControl;
using test::RecordingPanes;

struct TreeFixture : ::testing::Test {
  RecordingControl control;
  RecordingPanes panes;
  WorkspaceTree tree{control, panes};
  Effect effect;

  void SetUp() override {
    ASSERT_TRUE(tree.build());
    effect.name = "Glass";
  }
  ItemId child(ItemId parent, size_t index) { return tree.childrenOf(parent).at(index); }
};

TEST_F(TreeFixture, AnEffectItemHoldsTheVariableFoldersAndTheSixPaneItems) {
  ASSERT_TRUE(tree.addEffect(effect));
  const ItemId item = tree.effectItem(effect);
  EXPECT_EQ(control.childLabels(noItem), (std::vector<std::string>{"Scene", "Effects"}));
  EXPECT_EQ(control.items[item].label, "New Effect");
  EXPECT_EQ(control.childLabels(item),
            (std::vector<std::string>{"Variables", "Textures/Stages/States", "RenderStates", "StreamMapping",
                                      "Vertex Shader", "Pixel Shader", "Render Settings"}));
  EXPECT_EQ(control.childLabels(child(item, 0)), (std::vector<std::string>{"Vectors", "Matrices", "Colors"}));
  EXPECT_EQ(tree.node(child(item, 0)), nullptr) << "\"Variables\" has no node";
  EXPECT_EQ(control.selected, item);
  EXPECT_EQ(control.editing, noItem) << "a named effect is not edited at once";
}

TEST_F(TreeFixture, AnEffectWithoutNameIsEditedAtOnceWithThirtyCharacters) {
  effect.name.clear();
  ASSERT_TRUE(tree.addEffect(effect));
  EXPECT_EQ(control.editing, tree.effectItem(effect));
  EXPECT_EQ(control.editLimit, 30);
}

TEST_F(TreeFixture, ContextMenusListEachKindsEntriesInOrder) {
  struct Case {
    NodeKind kind;
    std::vector<MenuEntry> menu;
  };
  const Case cases[] = {
      {NodeKind::scene, {{"Load Scene", 1}, {"", 0}, {"Delete Scene", 2}}},
      {NodeKind::effectsFolder, {{"New Effect", 1}, {"Load Effect", 2}, {"", 0}, {"Delete all Effects", 3}}},
      {NodeKind::effect, {{"Save Effect", 1}, {"Delete Effect", 2}, {"", 0}, {"Edit Label", 3}}},
      {NodeKind::vectorsFolder, {{"New Vector", 1}}},
      {NodeKind::matricesFolder, {{"New Matrix", 1}}},
      {NodeKind::colorsFolder, {{"New Color", 1}}},
      {NodeKind::vector, {{"Delete Vector", 1}}},
      {NodeKind::matrix, {{"Delete Matrix", 1}}},
      {NodeKind::color, {{"Delete Color", 1}}},
      {NodeKind::renderStates, {}},
      {NodeKind::renderSettings, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(contextMenu(c.kind), c.menu) << static_cast<int>(c.kind);
  EXPECT_EQ(tree.contextMenuOf(tree.effectsItem()), contextMenu(NodeKind::effectsFolder));
}

TEST_F(TreeFixture, OnlyEffectLabelsAreEditedAndCommasBecomeFullStops) {
  ASSERT_TRUE(tree.addEffect(effect));
  const ItemId item = tree.effectItem(effect);
  EXPECT_FALSE(tree.labelEditBegins(tree.effectsItem()));
  EXPECT_FALSE(tree.labelEditBegins(child(item, 1)));
  ASSERT_TRUE(tree.labelEditBegins(item));

  EXPECT_EQ(tree.labelEditEnds(item, std::string("Red, Green,Blue")), "Red. Green.Blue");
  EXPECT_EQ(effect.name, "Red. Green.Blue");
  EXPECT_EQ(control.items[item].label, "Red. Green.Blue");

  EXPECT_EQ(tree.labelEditEnds(item, std::string()), std::nullopt) << "an empty label is refused";
  EXPECT_EQ(tree.labelEditEnds(item, std::nullopt), std::nullopt) << "a cancelled edit changes nothing";
  EXPECT_EQ(tree.labelEditEnds(child(item, 2), std::string("x")), std::nullopt);
  EXPECT_EQ(effect.name, "Red. Green.Blue");
}

TEST_F(TreeFixture, VariableLabelsAreTheVariablesCurrentNames) {
  ASSERT_TRUE(tree.addEffect(effect));
  effect.colors.push_back(createVariable(VariableKind::color));
  effect.colors.push_back(createVariable(VariableKind::color));
  effect.colors[1].name = "Rim";
  ASSERT_TRUE(tree.fillEffect(effect));
  const ItemId colors = tree.variableFolder(effect, VariableKind::color);
  ASSERT_EQ(tree.childrenOf(colors).size(), 2u);
  EXPECT_TRUE(control.items[child(colors, 1)].onDemand);
  EXPECT_EQ(tree.labelText(child(colors, 1)), "Rim");
  effect.colors[1].name = "Rim Light";
  EXPECT_EQ(tree.labelText(child(colors, 1)), "Rim Light");
  EXPECT_EQ(control.expanded.count(colors), 1u);
  EXPECT_EQ(control.expanded.count(tree.variableFolder(effect, VariableKind::vector)), 0u);
  EXPECT_EQ(control.items[tree.effectItem(effect)].label, "Glass") << "fill gives the label the name";
}

TEST_F(TreeFixture, ActivatingMakesThePaneOnceAndShowsItWithItsTitle) {
  ASSERT_TRUE(tree.addEffect(effect));
  const ItemId renderStates = child(tree.effectItem(effect), 2);
  tree.activate(renderStates);
  effect.name = "Renamed";
  tree.activate(renderStates);
  EXPECT_EQ(panes.made.size(), 1u);
  EXPECT_EQ(panes.calls.calls, (std::vector<std::string>{"show Glass - RenderStates", "show Renamed - RenderStates"}));
}

TEST_F(TreeFixture, ItemsWhosePaneDoesNotExistYetOpenNothing) {
  ASSERT_TRUE(tree.addEffect(effect));
  tree.activate(child(tree.effectItem(effect), 1));  // Textures/Stages/States
  tree.activate(tree.effectsItem());
  tree.activate(tree.variableFolder(effect, VariableKind::vector));
  EXPECT_TRUE(panes.made.empty());
  EXPECT_TRUE(panes.calls.calls.empty());
}

TEST_F(TreeFixture, AVariableEditorFollowsItsVariableWhenAnEarlierOneGoes) {
  ASSERT_TRUE(tree.addEffect(effect));
  for (const char* name : {"A", "B"}) {
    effect.vectors.push_back(createVariable(VariableKind::vector));
    effect.vectors.back().name = name;
    ASSERT_TRUE(tree.addVariableItem(effect, VariableKind::vector));
  }
  const ItemId vectors = tree.variableFolder(effect, VariableKind::vector);
  tree.activate(child(vectors, 1));
  ASSERT_EQ(panes.made.size(), 1u);
  EXPECT_EQ(panes.calls.calls.back(), "show Glass - B");
  auto variable = panes.made[0]->request.variable;

  ASSERT_TRUE(tree.removeVariableItem(effect, VariableKind::vector, 0));
  effect.vectors.erase(effect.vectors.begin());
  ASSERT_NE(variable(), nullptr);
  EXPECT_EQ(variable()->name, "B");
}

TEST_F(TreeFixture, RemovingAnEffectClosesItsPanesBeforeDeletingTheItem) {
  ASSERT_TRUE(tree.addEffect(effect));
  const ItemId item = tree.effectItem(effect);
  tree.activate(child(item, 2));
  control.log.clear();
  const size_t before = tree.itemCount();
  ASSERT_TRUE(tree.removeEffect(effect));
  EXPECT_EQ(panes.calls.calls.back(), "destroy Glass/2");
  EXPECT_EQ(control.log, (std::vector<std::string>{"delete New Effect"}));
  EXPECT_EQ(tree.itemCount(), before - 11);
  EXPECT_EQ(tree.effectItem(effect), noItem);
}

TEST_F(TreeFixture, AFailedDeleteStillLeavesNoItemPointingAtTheEffect) {
  ASSERT_TRUE(tree.addEffect(effect));
  const ItemId item = tree.effectItem(effect);
  control.failDeletes = true;
  EXPECT_FALSE(tree.removeEffect(effect));
  EXPECT_EQ(tree.node(item), nullptr);
  EXPECT_TRUE(tree.childrenOf(tree.effectsItem()).empty());
}

TEST_F(TreeFixture, ARefusedItemLeavesNothingOfTheEffect) {
  control.failInserts = true;
  EXPECT_FALSE(tree.addEffect(effect));
  EXPECT_EQ(tree.effectItem(effect), noItem);
  EXPECT_TRUE(tree.childrenOf(tree.effectsItem()).empty());
}

Scene oneMeshScene() {
  Scene scene;
  scene.materials.resize(1);
  scene.materials[0].name = "Stone";
  scene.meshes.resize(1);
  scene.meshes[0].name = "Box";
  scene.meshes[0].subsets.resize(1);
  scene.meshes[0].subsets[0].indexCount = 36;
  return scene;
}

TEST_F(TreeFixture, SceneInformationIsRebuiltBelowSceneWithoutTouchingEffectItems) {
  ASSERT_TRUE(tree.addEffect(effect));
  SceneInformationRequest request;
  request.set();
  tree.rebuildSceneInformation(oneMeshScene(), {"stone.bmp"}, request);
  EXPECT_FALSE(request.pending());
  EXPECT_EQ(control.childLabels(tree.sceneItem()), (std::vector<std::string>{"Meshes", "Materials", "Textures"}));
  const ItemId mesh = child(child(tree.sceneItem(), 0), 0);
  EXPECT_EQ(control.items[mesh].label, "Mesh #1 (Box)");
  EXPECT_EQ(control.childLabels(mesh), (std::vector<std::string>{"Indices : 36", "Vertices : 0", "Subsets"}));
  EXPECT_EQ(control.childLabels(child(tree.sceneItem(), 2)), (std::vector<std::string>{"#0 : \"stone.bmp\""}));
  EXPECT_EQ(control.expanded.count(tree.sceneItem()), 1u);

  control.log.clear();
  tree.rebuildSceneInformation(oneMeshScene(), {}, request);
  for (const std::string& step : control.log) EXPECT_EQ(step.find("Glass"), std::string::npos) << step;
  EXPECT_EQ(control.log.front(), "delete Meshes");
  EXPECT_NE(tree.effectItem(effect), noItem);
  EXPECT_EQ(tree.node(tree.sceneItem())->kind, NodeKind::scene);
}

}  // namespace
}  // namespace veltrace
