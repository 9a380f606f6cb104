// The colour editor's window under Wine: a typed number moves its slider, a
// moved slider writes its number, OK stores fractions; and the matrix
// editor's predefined box.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "effect/effect_factory.h"
#include "panes/states/state_panes_rc.h"
#include "panes/states/variable_editor_window.h"

namespace veltrace {
namespace {

std::string textOf(HWND control) {
  char text[64] = {};
  GetWindowTextA(control, text, sizeof text);
  return text;
}

struct VariableEditorWindowTest : ::testing::Test {
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
  }
  // Typing into a value field: it gets the focus, its text changes (the
  // control reports that itself), it loses the focus.
  void typeInto(VariableEditorWindow& editor, int field, const char* text) {
    const int id = variableFirstValueField + field;
    HWND control = editor.valueField(field);
    SendMessageA(editor.window(), WM_COMMAND, MAKEWPARAM(id, EN_SETFOCUS), reinterpret_cast<LPARAM>(control));
    SetWindowTextA(control, text);
    SendMessageA(editor.window(), WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(control));
  }
};

TEST_F(VariableEditorWindowTest, TheColourSliderAndItsFieldFollowEachOther) {
  EffectVariable colour = createVariable(VariableKind::color);
  VariableEditorWindow editor(VariableKind::color, [&] { return &colour; });
  ASSERT_TRUE(editor.create(nullptr));
  editor.show("Chrome - New Color");
  EXPECT_EQ(textOf(editor.valueField(3)), "255");

  typeInto(editor, 0, "128");
  EXPECT_EQ(SendMessageA(editor.slider(0), TBM_GETPOS, 0, 0), 128);

  SendMessageA(editor.slider(1), TBM_SETPOS, TRUE, 64);
  SendMessageA(editor.window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 64), reinterpret_cast<LPARAM>(editor.slider(1)));
  EXPECT_EQ(textOf(editor.valueField(1)), "64");

  SendMessageA(editor.window(), WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(IsWindowVisible(editor.window()));
  EXPECT_FLOAT_EQ(colour.value[0], 128.0f / 255.0f);
  EXPECT_FLOAT_EQ(colour.value[1], 64.0f / 255.0f);
}

TEST_F(VariableEditorWindowTest, TickingThePredefinedMatrixBoxDisablesTheFields) {
  EffectVariable matrix = createVariable(VariableKind::matrix);
  VariableEditorWindow editor(VariableKind::matrix, [&] { return &matrix; });
  ASSERT_TRUE(editor.create(nullptr));
  editor.show("Chrome - New Matrix");
  EXPECT_TRUE(IsWindowEnabled(editor.valueField(15)));
  CheckDlgButton(editor.window(), variablePredefinedBox, BST_CHECKED);
  SendMessageA(editor.window(), WM_COMMAND, MAKEWPARAM(variablePredefinedBox, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindowEnabled(editor.valueField(15)));
  HWND list = GetDlgItem(editor.window(), variablePredefinedList);
  SendMessageA(list, CB_SETCURSEL, 7, 0);
  SendMessageA(editor.window(), WM_COMMAND, MAKEWPARAM(variablePredefinedList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  SendMessageA(editor.window(), WM_COMMAND, IDOK, 0);
  EXPECT_EQ(matrix.name, "Inverse View");
  EXPECT_EQ(matrix.predefinedName, "view_inv");
}

}  // namespace
}  // namespace veltrace
