// The Render Settings pane's window: rows with their boxes, the last mesh
// expanded, clicks on boxes, refilling after a scene load, the title.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "panes/workspace/render_settings_pane.h"

namespace veltrace {
namespace {

struct RenderSettingsPaneFixture : ::testing::Test {
  Effect effect;
  Effect other;
  Scene scene;
  SceneInformationRequest request;
  RenderSettingsPane pane{effect, scene, request};

  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    scene.meshes.resize(2);
    scene.meshes[0].name = "Floor";
    scene.meshes[1].name = "Statue";
    for (SceneMesh& mesh : scene.meshes) mesh.subsets.resize(3);
    scene.meshes[0].subsets[1].effect = &other;
    ASSERT_TRUE(pane.create(nullptr));
    // Filled as when shown; showing a window costs seconds under Wine, so
    // only one test does.
    pane.sceneReplaced();
    pump();  // painting must leave the boxes as they were set
  }

  std::vector<HTREEITEM> children(HTREEITEM parent) {
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = TreeView_GetChild(pane.tree(), parent); item; item = TreeView_GetNextSibling(pane.tree(), item))
      items.push_back(item);
    return items;
  }
  std::string text(HTREEITEM item) {
    char buffer[128] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    SendMessageA(pane.tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return buffer;
  }
  bool ticked(HTREEITEM item) {
    auto state = static_cast<UINT>(SendMessageA(pane.tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                                TVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
  }
  bool expanded(HTREEITEM item) {
    return SendMessageA(pane.tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED;
  }
  // Lets the pane take its posted messages and paint.
  void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
};

TEST_F(RenderSettingsPaneFixture, ShownWithTwoMeshesOfThreeSubsetsAndOnlyTheSecondExpanded) {
  scene.meshes[1].subsets[0].effect = &effect;
  pane.show("Chrome - Render Settings");
  pump();  // the first paint keeps the boxes as they were set
  char title[64] = {};
  GetWindowTextA(pane.window(), title, sizeof title);
  EXPECT_STREQ(title, "Chrome - Render Settings");
  const auto meshes = children(TVI_ROOT);
  ASSERT_EQ(meshes.size(), 2u);
  EXPECT_EQ(text(meshes[0]), "Mesh #1 (Floor)");
  EXPECT_EQ(text(meshes[1]), "Mesh #2 (Statue)");
  for (HTREEITEM mesh : meshes) {
    const auto subsets = children(mesh);
    ASSERT_EQ(subsets.size(), 3u);
    EXPECT_EQ(text(subsets[0]), "Subset #1");
    EXPECT_EQ(text(subsets[2]), "Subset #3");
  }
  EXPECT_FALSE(expanded(meshes[0]));
  EXPECT_TRUE(expanded(meshes[1]));
  EXPECT_TRUE(ticked(children(meshes[1])[0]));
  EXPECT_FALSE(ticked(children(meshes[1])[1]));

  SendMessageA(pane.window(), WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(IsWindowVisible(pane.window())) << "OK hides the pane";
}

TEST_F(RenderSettingsPaneFixture, ClickingAMeshBoxTicksTheFreeSubsetsAndTheMesh) {
  const auto meshes = children(TVI_ROOT);
  pane.boxClicked(meshes[0]);
  pump();
  const auto subsets = children(meshes[0]);
  EXPECT_TRUE(ticked(meshes[0]));
  EXPECT_TRUE(ticked(subsets[0]));
  EXPECT_FALSE(ticked(subsets[1])) << "another effect's subset";
  EXPECT_TRUE(ticked(subsets[2]));
  EXPECT_EQ(scene.meshes[0].effect, &effect);
  EXPECT_TRUE(request.pending());
}

TEST_F(RenderSettingsPaneFixture, ASceneLoadFillsThePaneAgain) {
  scene.meshes.resize(1);
  scene.meshes[0].effect = &effect;
  pane.sceneReplaced();
  pump();
  const auto meshes = children(TVI_ROOT);
  ASSERT_EQ(meshes.size(), 1u);
  EXPECT_TRUE(ticked(meshes[0]));
  EXPECT_TRUE(expanded(meshes[0]));
}

}  // namespace
}  // namespace veltrace
