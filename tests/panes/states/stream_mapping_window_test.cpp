// The Stream Mapping pane's window under Wine: its rows, and the register
// chooser driven with the messages a click and a choice send.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "effect/effect_factory.h"
#include "panes/states/list_view_rows.h"
#include "panes/states/state_panes_rc.h"
#include "panes/states/stream_mapping_window.h"

namespace veltrace {
namespace {

struct StreamMappingWindowTest : ::testing::Test {
  Effect effect;
  StreamMappingWindow pane{effect};

  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    effect.streamMapping = createStreamMapping();
    effect.shadersChanged = false;
    ASSERT_TRUE(pane.create(nullptr));
    pane.show("Chrome - StreamMapping");
  }

  // A left click on a cell, as the list reports it to the dialog.
  void click(int row, int column) {
    RECT cell = listCellRect(pane.list(), {row, column}, pane.list());
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = pane.list();
    activate.hdr.idFrom = streamMappingList;
    activate.hdr.code = NM_CLICK;
    activate.ptAction = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    SendMessageA(pane.window(), WM_NOTIFY, streamMappingList, reinterpret_cast<LPARAM>(&activate));
  }
  void closeChooserWith(int entry) {
    SendMessageA(pane.chooser(), CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageA(pane.chooser(), CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    SendMessageA(pane.window(), WM_COMMAND, MAKEWPARAM(streamMappingChooser, CBN_CLOSEUP),
                 reinterpret_cast<LPARAM>(pane.chooser()));
  }
};

TEST_F(StreamMappingWindowTest, ShowsOneRowPerEntryUnderItsTitle) {
  char title[64] = {};
  GetWindowTextA(pane.window(), title, sizeof title);
  EXPECT_STREQ(title, "Chrome - StreamMapping");
  ASSERT_EQ(ListView_GetItemCount(pane.list()), 5);
  EXPECT_EQ(listCellText(pane.list(), 2, 0), "TexCoord");
  EXPECT_EQ(listCellText(pane.list(), 2, 1), "Float2");
  EXPECT_EQ(listCellText(pane.list(), 2, 2), "v7");
}

TEST_F(StreamMappingWindowTest, ChoosingV9ForTexCoordChangesTheDeclarationAtOnce) {
  click(2, 2);
  EXPECT_TRUE(IsWindowVisible(pane.chooser()));
  EXPECT_EQ(SendMessageA(pane.chooser(), CB_GETCOUNT, 0, 0), 16);
  closeChooserWith(9);
  EXPECT_FALSE(IsWindowVisible(pane.chooser()));
  EXPECT_EQ(listCellText(pane.list(), 2, 2), "v9");
  EXPECT_EQ(effect.streamMapping.declaration[3], 0x40010009u);
  EXPECT_TRUE(effect.shadersChanged);
}

TEST_F(StreamMappingWindowTest, ClicksOutsideTheRegisterColumnOpenNothing) {
  click(1, 0);
  EXPECT_FALSE(IsWindowVisible(pane.chooser()));
}

TEST_F(StreamMappingWindowTest, OkHidesTheWindowAndApplies) {
  SendMessageA(pane.window(), WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(IsWindowVisible(pane.window()));
  EXPECT_TRUE(effect.shadersChanged);
}

}  // namespace
}  // namespace veltrace
