// The Render States pane's window under Wine: a drop-down choice, a text
// commit with Enter, Escape keeping the old value, and neither key closing
// the window.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "panes/states/list_view_rows.h"
#include "panes/states/render_states_window.h"
#include "panes/states/state_panes_rc.h"
#include "tests/effect/effect_test_support.h"

namespace veltrace {
namespace {

struct RenderStatesWindowTest : ::testing::Test {
  Effect effect = test::newShippedEffect();
  RenderStatesWindow pane{effect};

  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ASSERT_TRUE(pane.create(nullptr));
    pane.show("Chrome - RenderStates");
  }

  int rowOf(const char* name) const {
    for (size_t row = 0; row < effect.renderStates.size(); ++row)
      if (effect.renderStates[row].name == name) return static_cast<int>(row);
    return -1;
  }
  // A click on a row's Value cell, as the list reports it to the dialog.
  void clickValue(const char* name, UINT code = NM_CLICK) {
    const int row = rowOf(name);
    ListView_EnsureVisible(pane.list(), row, FALSE);
    RECT cell = listCellRect(pane.list(), {row, StateList::valueColumn}, pane.list());
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = pane.list();
    activate.hdr.idFrom = renderStatesList;
    activate.hdr.code = code;
    activate.ptAction = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    SendMessageA(pane.window(), WM_NOTIFY, renderStatesList, reinterpret_cast<LPARAM>(&activate));
  }
  // The keys as the dialog manager turns them into commands.
  void pressEnter() { SendMessageA(pane.window(), WM_COMMAND, IDOK, 0); }
  void pressEscape() { SendMessageA(pane.window(), WM_COMMAND, IDCANCEL, 0); }
  std::string valueCell(const char* name) { return listCellText(pane.list(), rowOf(name), StateList::valueColumn); }
};

TEST_F(RenderStatesWindowTest, ChoosingInTheDropDownSetsTheState) {
  clickValue("D3DRS_CULLMODE");
  ASSERT_TRUE(IsWindowVisible(pane.dropDown()));
  EXPECT_EQ(SendMessageA(pane.dropDown(), CB_GETCOUNT, 0, 0), 4);
  // Choose, then close the list: closing it notifies the pane (sent again
  // by hand where the list was not dropped; a second notification changes
  // nothing).
  SendMessageA(pane.dropDown(), CB_SETCURSEL, 3, 0);
  SendMessageA(pane.dropDown(), CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageA(pane.window(), WM_COMMAND, MAKEWPARAM(renderStatesDropDown, CBN_CLOSEUP),
               reinterpret_cast<LPARAM>(pane.dropDown()));
  EXPECT_FALSE(IsWindowVisible(pane.dropDown()));
  EXPECT_EQ(valueCell("D3DRS_CULLMODE"), "D3DCULL_CCW");
  EXPECT_TRUE(findState(effect.renderStates, "D3DRS_CULLMODE")->enumerants[2].selected);
}

TEST_F(RenderStatesWindowTest, EnterCommitsTheTextFieldAndKeepsTheWindowOpen) {
  clickValue("D3DRS_FOGEND", NM_RCLICK);
  ASSERT_TRUE(IsWindowVisible(pane.textField()));
  SetWindowTextA(pane.textField(), "42.5");
  pressEnter();
  EXPECT_EQ(valueCell("D3DRS_FOGEND"), "42.5");
  EXPECT_EQ(findState(effect.renderStates, "D3DRS_FOGEND")->numericValue, 42.5f);
  EXPECT_TRUE(IsWindowVisible(pane.window()));
}

TEST_F(RenderStatesWindowTest, EscapeKeepsTheOldValueAndTheWindowOpen) {
  clickValue("D3DRS_FOGSTART");
  ASSERT_TRUE(IsWindowVisible(pane.textField()));
  SetWindowTextA(pane.textField(), "7");
  pressEscape();
  EXPECT_FALSE(IsWindowVisible(pane.textField()));
  EXPECT_EQ(valueCell("D3DRS_FOGSTART"), "");
  EXPECT_FALSE(findState(effect.renderStates, "D3DRS_FOGSTART")->isSet);
  EXPECT_TRUE(IsWindowVisible(pane.window()));
}

}  // namespace
}  // namespace veltrace
