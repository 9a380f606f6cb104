// The Textures pane's window under Wine: a texture loaded and deleted, the
// stage tabs and their pages, the pages gone when the pane is hidden.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "panes/states/list_view_rows.h"
#include "panes/states/state_panes_rc.h"
#include "panes/states/textures_window.h"
#include "tests/effect/effect_test_support.h"

namespace veltrace {
namespace {

// Every file loads as a 256 x 256 texture without a device.
class FakeLoader : public TextureLoader {
 public:
  std::optional<LoadedTexture> load(const std::string&) override {
    return LoadedTexture{reinterpret_cast<DeviceTexture*>(std::uintptr_t(0x1000)), 349524, 256, 256, 262144};
  }
  void release(DeviceTexture*) override {}
};

struct TexturesWindowTest : ::testing::Test {
  Effect effect = test::newShippedEffect();
  FakeLoader loader;
  MessageLog log;
  TextureStore store{loader, log};
  TexturesWindow pane{effect, store, log, "C:\\program"};
  int refreshRequests = 0;

  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    pane.chooseTextureFile = [] { return std::optional<std::string>("C:\\tex\\stone.bmp"); };
    pane.requestSceneInformation = [this] { ++refreshRequests; };
    ASSERT_TRUE(pane.create(nullptr));
    pane.show("Chrome - Textures/Stages/States");
  }

  void notify(HWND from, int id, UINT code) {
    NMHDR header{from, static_cast<UINT_PTR>(id), code};
    SendMessageA(pane.window(), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
  }
  void clickRow(int row) {
    RECT cell = listCellRect(pane.list(), {row, 0}, pane.list());
    NMITEMACTIVATE activate{};
    activate.hdr = {pane.list(), texturesList, NM_CLICK};
    activate.ptAction = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    SendMessageA(pane.window(), WM_NOTIFY, texturesList, reinterpret_cast<LPARAM>(&activate));
  }
};

TEST_F(TexturesWindowTest, ATextureIsLoadedAndDeleted) {
  ASSERT_EQ(ListView_GetItemCount(pane.list()), 4);
  SendMessageA(pane.window(), WM_COMMAND, texturesLoadButton, 0);
  ASSERT_EQ(ListView_GetItemCount(pane.list()), 5);
  EXPECT_EQ(listCellText(pane.list(), 4, 0), "stone.bmp");
  EXPECT_EQ(listCellText(pane.list(), 4, 4), "262.14 kB");
  EXPECT_EQ(refreshRequests, 1);

  ListView_SetItemState(pane.list(), 4, LVIS_SELECTED, LVIS_SELECTED);
  clickRow(4);
  SendMessageA(pane.window(), WM_COMMAND, texturesDeleteButton, 0);
  EXPECT_EQ(ListView_GetItemCount(pane.list()), 4);
  EXPECT_TRUE(effect.textureStages.textures.empty());
  EXPECT_EQ(log.takePending(), (std::vector<std::string>{"Texture \"stone.bmp\" deleted ..."}));
  EXPECT_EQ(refreshRequests, 2);
  EXPECT_TRUE(store.entries().empty());
}

TEST_F(TexturesWindowTest, SwitchingFromStageZeroToStageThreeShowsOnlyThatPage) {
  ASSERT_NE(pane.pageWindow(0), nullptr);
  EXPECT_TRUE(IsWindowVisible(pane.pageWindow(0)));
  EXPECT_FALSE(IsWindowVisible(pane.pageWindow(3)));
  notify(pane.tabs(), texturesTabs, TCN_SELCHANGING);
  SendMessageA(pane.tabs(), TCM_SETCURSEL, 3, 0);
  notify(pane.tabs(), texturesTabs, TCN_SELCHANGE);
  for (int stage = 0; stage < textureStageCount; ++stage)
    EXPECT_EQ(IsWindowVisible(pane.pageWindow(stage)) != FALSE, stage == 3) << stage;
  EXPECT_EQ(ListView_GetItemCount(GetDlgItem(pane.pageWindow(3), stagePageList)), 27);

  SendMessageA(pane.window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(pane.window()));
  EXPECT_EQ(pane.pageWindow(3), nullptr);
}

}  // namespace
}  // namespace veltrace
