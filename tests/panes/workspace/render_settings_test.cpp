// The Render Settings pane's rows and its four tick rules.

#include <gtest/gtest.h>

#include "panes/workspace/render_settings.h"

namespace veltrace {
namespace {

struct RenderSettingsFixture : ::testing::Test {
  Effect effect;  // this pane's
  Effect other;
  Scene scene;
  SceneInformationRequest request;
  RenderSettingsModel model{effect, scene, request};

  void SetUp() override {
    scene.meshes.resize(2);
    scene.meshes[0].name = "Floor";
    scene.meshes[1].name = "Statue";
    for (SceneMesh& mesh : scene.meshes) mesh.subsets.resize(3);
  }

  // Ticks of a mesh row: the mesh's box, then its subsets'.
  std::string ticks(size_t mesh) {
    const MeshRow& row = model.meshes().at(mesh);
    std::string text = row.ticked ? "X|" : ".|";
    for (const SubsetRow& subset : row.subsets) text += subset.ticked ? "X" : ".";
    return text;
  }
  void settle() {
    effect.shadersChanged = false;
    request.clear();
  }
};

TEST_F(RenderSettingsFixture, TwoMeshesOfThreeSubsetsShowNumberedRowsWithTheLastExpanded) {
  model.fill();
  ASSERT_EQ(model.meshes().size(), 2u);
  EXPECT_EQ(model.meshes()[0].label, "Mesh #1 (Floor)");
  EXPECT_EQ(model.meshes()[1].label, "Mesh #2 (Statue)");
  for (const MeshRow& row : model.meshes()) {
    ASSERT_EQ(row.subsets.size(), 3u);
    EXPECT_EQ(row.subsets[0].label, "Subset #1");
    EXPECT_EQ(row.subsets[2].label, "Subset #3");
  }
  EXPECT_EQ(model.expandedMesh(), 1u);
}

TEST_F(RenderSettingsFixture, BoxesAreTickedWhereThisEffectIsAssigned) {
  scene.meshes[1].effect = &effect;
  scene.meshes[1].subsets[1].effect = &effect;
  scene.meshes[0].subsets[0].effect = &other;
  model.fill();
  EXPECT_EQ(ticks(0), ".|...");
  EXPECT_EQ(ticks(1), "X|.X.");
}

TEST_F(RenderSettingsFixture, ASceneWithoutMeshesShowsNothing) {
  scene.meshes.clear();
  model.fill();
  EXPECT_TRUE(model.meshes().empty());
  EXPECT_EQ(model.expandedMesh(), std::nullopt);
  EXPECT_FALSE(model.clickMesh(0));
}

TEST_F(RenderSettingsFixture, TickingAMeshTakesOnlyTheSubsetsWithoutEffect) {
  scene.meshes[0].subsets[1].effect = &other;
  model.fill();
  settle();
  ASSERT_TRUE(model.clickMesh(0));
  EXPECT_EQ(ticks(0), "X|X.X");
  EXPECT_EQ(scene.meshes[0].effect, &effect);
  EXPECT_EQ(scene.meshes[0].subsets[0].effect, &effect);
  EXPECT_EQ(scene.meshes[0].subsets[1].effect, &other);
  EXPECT_EQ(scene.meshes[0].subsets[2].effect, &effect);
  EXPECT_TRUE(effect.shadersChanged);
  EXPECT_TRUE(request.pending());
  EXPECT_EQ(ticks(1), ".|...") << "the other mesh is not touched";
}

TEST_F(RenderSettingsFixture, TickingAMeshOfAnotherEffectLeavesTheMeshToIt) {
  scene.meshes[0].effect = &other;
  model.fill();
  ASSERT_TRUE(model.clickMesh(0));
  EXPECT_EQ(scene.meshes[0].effect, &other);
  EXPECT_EQ(ticks(0), ".|XXX");
}

TEST_F(RenderSettingsFixture, UntickingAMeshLetsGoOfThisEffectOnly) {
  scene.meshes[0].effect = &effect;
  scene.meshes[0].subsets[0].effect = &effect;
  scene.meshes[0].subsets[1].effect = &other;
  scene.meshes[0].subsets[2].effect = &effect;
  model.fill();
  settle();
  ASSERT_TRUE(model.clickMesh(0));
  EXPECT_EQ(ticks(0), ".|...");
  EXPECT_EQ(scene.meshes[0].effect, nullptr);
  EXPECT_EQ(scene.meshes[0].subsets[0].effect, nullptr);
  EXPECT_EQ(scene.meshes[0].subsets[1].effect, &other);
  EXPECT_EQ(scene.meshes[0].subsets[2].effect, nullptr);
  EXPECT_TRUE(effect.shadersChanged);
  EXPECT_TRUE(request.pending());
}

TEST_F(RenderSettingsFixture, UntickingOneSubsetOfAFullyAssignedMeshUnticksTheMesh) {
  model.fill();
  model.clickMesh(1);
  settle();
  ASSERT_TRUE(model.clickSubset(1, 1));
  EXPECT_EQ(ticks(1), ".|X.X");
  EXPECT_EQ(scene.meshes[1].effect, nullptr);
  EXPECT_EQ(scene.meshes[1].subsets[1].effect, nullptr);
  EXPECT_EQ(scene.meshes[1].subsets[0].effect, &effect);
  EXPECT_TRUE(effect.shadersChanged);
  EXPECT_TRUE(request.pending());
}

TEST_F(RenderSettingsFixture, UntickingASubsetLeavesAnotherEffectsMeshAlone) {
  scene.meshes[0].effect = &other;
  scene.meshes[0].subsets[0].effect = &effect;
  model.fill();
  ASSERT_TRUE(model.clickSubset(0, 0));
  EXPECT_EQ(scene.meshes[0].subsets[0].effect, nullptr);
  EXPECT_EQ(scene.meshes[0].effect, &other);
}

TEST_F(RenderSettingsFixture, TickingASubsetOfAnotherEffectAssignsNothing) {
  scene.meshes[0].subsets[2].effect = &other;
  model.fill();
  settle();
  ASSERT_TRUE(model.clickSubset(0, 2));
  EXPECT_EQ(scene.meshes[0].subsets[2].effect, &other);
  EXPECT_EQ(ticks(0), ".|...");
  EXPECT_TRUE(effect.shadersChanged) << "every click marks the shaders changed";
  EXPECT_TRUE(request.pending());
}

TEST_F(RenderSettingsFixture, TickingTheLastFreeSubsetTakesTheWholeMesh) {
  model.fill();
  ASSERT_TRUE(model.clickSubset(0, 0));
  ASSERT_TRUE(model.clickSubset(0, 2));
  EXPECT_EQ(ticks(0), ".|X.X");
  EXPECT_EQ(scene.meshes[0].effect, nullptr);
  ASSERT_TRUE(model.clickSubset(0, 1));
  EXPECT_EQ(ticks(0), "X|XXX");
  EXPECT_EQ(scene.meshes[0].effect, &effect);
}

TEST_F(RenderSettingsFixture, ARowThatNoLongerMatchesTheSceneIsIgnored) {
  model.fill();
  scene.meshes.resize(1);
  scene.meshes[0].subsets.resize(1);
  settle();
  EXPECT_FALSE(model.clickMesh(1));
  EXPECT_FALSE(model.clickSubset(0, 2));
  EXPECT_FALSE(request.pending());
  model.fill();
  EXPECT_TRUE(model.clickSubset(0, 0));
}

TEST_F(RenderSettingsFixture, CaptionCarriesTheEffectName) {
  effect.name = "Chrome";
  EXPECT_EQ(model.caption(), "Chrome - Render Settings");
}

TEST(RenderSettingsLayout, ControlsFollowTheSizeOnlyAbove200Pixels) {
  RenderSettingsLayout layout{300, 250, {10, 30, 280, 180}, {10, 220, 60, 20}, {230, 220, 60, 20}};
  EXPECT_FALSE(resizeRenderSettings(layout, 200, 400));
  EXPECT_FALSE(resizeRenderSettings(layout, 400, 150));
  EXPECT_EQ(layout.width, 300);
  ASSERT_TRUE(resizeRenderSettings(layout, 350, 300));
  EXPECT_EQ(layout.tree, (PaneRect{10, 30, 330, 230}));
  EXPECT_EQ(layout.ok, (PaneRect{10, 270, 60, 20}));
  EXPECT_EQ(layout.help, (PaneRect{280, 270, 60, 20}));
}

}  // namespace
}  // namespace veltrace
