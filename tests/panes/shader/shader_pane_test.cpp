// The real shader pane under Wine: loading the effect's source, colours read
// back from the rich-edit control, the Tab key, show and hide against OK,
// binding through the constants list's chooser, and the check under the
// editor.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <fstream>
#include <string>

#include "panes/shader/shader_pane.h"
#include "panes/shader/shader_pane_rc.h"

namespace veltrace::panes {
namespace {

void pumpMessages(DWORD milliseconds = 50) {
  DWORD end = GetTickCount() + milliseconds;
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  } while (GetTickCount() < end);
}

std::string temporaryFolder() {
  char path[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, path);
  std::string folder = std::string(path) + "veltrace_shader_pane_test\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

class ShaderPaneTest : public testing::Test {
 protected:
  ShaderPaneTest() {
    folder = temporaryFolder();
    // Three lines without a line break after the last.
    std::ofstream(folder + "glass.psh", std::ios::binary) << "ps.1.1\r\ntex t0\r\nmov r0, t0 ; take the texture";
    effect.name = "Glass";
    effect.folder = folder;
    effect.pixelShaderFile = "glass.psh";
    effect.pixelShader.present = true;
    EffectVariable world;
    world.name = "World";
    world.kind = VariableKind::matrix;
    effect.matrices.push_back(world);
    world.name = "View";
    effect.matrices.push_back(world);
  }

  std::unique_ptr<ShaderPane> makePixelPane() {
    ShaderPaneSettings settings;
    settings.pixelShaderVersion = 1.1f;
    auto pane = std::make_unique<ShaderPane>(ShaderPaneKind::pixel, effect, log, settings);
    EXPECT_TRUE(pane->create(nullptr));
    pane->show("Glass - Pixel Shader");
    pumpMessages();
    return pane;
  }

  COLORREF colourAt(HWND editor, LONG start, LONG end) {
    CHARRANGE range{start, end};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ(format.szFaceName, "Courier New");
    return format.crTextColor;
  }

  std::string folder;
  Effect effect;
  MessageLog log;
};

TEST_F(ShaderPaneTest, LoadsTheEffectSourceWithALineBreakAfterTheLastLine) {
  auto pane = makePixelPane();
  EXPECT_EQ(pane->editor().text(), "ps.1.1\r\ntex t0\r\nmov r0, t0 ; take the texture\r\n");
  EXPECT_EQ(effect.pixelShader.source, pane->editor().text());
  EXPECT_TRUE(IsWindowVisible(pane->handle()));
}

TEST_F(ShaderPaneTest, ColoursTokensInTheControl) {
  auto pane = makePixelPane();
  HWND editor = pane->editor().handle();
  // Positions in the control count a line break as one character.
  LONG line3 = static_cast<LONG>(SendMessageA(editor, EM_LINEINDEX, 2, 0));
  EXPECT_EQ(colourAt(editor, 0, 6), RGB(0, 0, 255));
  EXPECT_EQ(colourAt(editor, line3, line3 + 3), RGB(0, 0, 255));
  EXPECT_EQ(colourAt(editor, line3 + 4, line3 + 6), RGB(235, 80, 0));
  EXPECT_EQ(colourAt(editor, line3 + 11, line3 + 16), RGB(0, 150, 0));
}

// A long source shows its first screen at once and the rest follows on the
// timer; the text is whole all along, and whole in the control at the end,
// coloured across the pieces' seams.
TEST_F(ShaderPaneTest, LongSourceGoesInByPiecesAndEndsWhole) {
  auto pane = makePixelPane();
  std::string text = "ps.1.1\r\n";
  for (int line = 0; line < 1000; ++line) text += line % 100 == 99 ? "/* a\r\nb */\r\n" : "mov r0, t0\r\n";
  pane->editor().setTextColoured(text);
  EXPECT_TRUE(pane->editor().filling());
  EXPECT_TRUE(pane->editor().text() == text) << "the text is whole while it goes in";
  for (int wait = 0; wait < 200 && pane->editor().filling(); ++wait) pumpMessages(20);
  EXPECT_FALSE(pane->editor().filling());
  HWND editor = pane->editor().handle();
  std::string inControl = pane->editor().text();
  EXPECT_TRUE(inControl == text) << "control holds " << inControl.size() << " characters of " << text.size();
  LONG last = static_cast<LONG>(SendMessageA(editor, EM_LINEINDEX, 1008, 0));
  ASSERT_GT(last, 0);
  EXPECT_EQ(colourAt(editor, last, last + 3), RGB(0, 0, 255)) << "the last mov, in the last piece";
  // The comment's second line after every hundredth: line 101 is "b */".
  LONG commentEnd = static_cast<LONG>(SendMessageA(editor, EM_LINEINDEX, 101, 0));
  EXPECT_EQ(colourAt(editor, commentEnd, commentEnd + 1), RGB(0, 150, 0));
}

TEST_F(ShaderPaneTest, TabInsertsATabBeforeTheSelectedWordAndKeepsIt) {
  auto pane = makePixelPane();
  HWND editor = pane->editor().handle();
  LONG line2 = static_cast<LONG>(SendMessageA(editor, EM_LINEINDEX, 1, 0));
  CHARRANGE word{line2, line2 + 3};
  SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&word));
  SendMessageA(editor, WM_KEYDOWN, VK_TAB, 0);
  SendMessageA(editor, WM_CHAR, '\t', 0);
  pumpMessages();
  EXPECT_EQ(pane->editor().text(), "ps.1.1\r\n\ttex t0\r\nmov r0, t0 ; take the texture\r\n");
}

TEST_F(ShaderPaneTest, TypedCharacterIsColouredAndUndoTakesItBack) {
  auto pane = makePixelPane();
  HWND editor = pane->editor().handle();
  LONG line3 = static_cast<LONG>(SendMessageA(editor, EM_LINEINDEX, 2, 0));
  CHARRANGE caret{line3, line3};
  SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  SendMessageA(editor, WM_CHAR, ';', 0);  // the line becomes a comment
  pumpMessages();
  EXPECT_EQ(colourAt(editor, line3 + 1, line3 + 4), RGB(0, 150, 0));
  SendMessageA(pane->handle(), WM_COMMAND, MAKEWPARAM(shaderEditUndo, 0), 0);
  pumpMessages();
  EXPECT_EQ(pane->editor().text(), "ps.1.1\r\ntex t0\r\nmov r0, t0 ; take the texture\r\n");
}

TEST_F(ShaderPaneTest, ControlZTakesBackTheTypedCharacter) {
  auto pane = makePixelPane();
  HWND editor = pane->editor().handle();
  CHARRANGE caret{0, 0};
  SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  SendMessageA(editor, WM_CHAR, 'x', 0);
  pumpMessages();
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(editor, WM_KEYDOWN, 'Z', 0);
  SendMessageA(editor, WM_CHAR, 0x1A, 0);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  pumpMessages();
  EXPECT_EQ(pane->editor().text(), "ps.1.1\r\ntex t0\r\nmov r0, t0 ; take the texture\r\n");
}

TEST_F(ShaderPaneTest, HidingDiscardsUnappliedTextAndOkKeepsIt) {
  auto pane = makePixelPane();
  HWND editor = pane->editor().handle();
  SetWindowTextA(editor, "ps.1.1\r\nmov r0, v1\r\n");
  ShowWindow(pane->handle(), SW_HIDE);
  ShowWindow(pane->handle(), SW_SHOW);
  EXPECT_EQ(pane->editor().text(), "ps.1.1\r\ntex t0\r\nmov r0, t0 ; take the texture\r\n");

  SetWindowTextA(editor, "ps.1.1\r\nmov r0, v1\r\n");
  SendMessageA(pane->handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindowVisible(pane->handle()));
  EXPECT_EQ(log.pending().back(), "Pixel Shader is valid !!");
  ShowWindow(pane->handle(), SW_SHOW);
  EXPECT_EQ(pane->editor().text(), "ps.1.1\r\nmov r0, v1\r\n");
}

// Clicks the Name cell of the row and picks the chooser entry with this text.
void chooseInList(ShaderPane& pane, int row, const char* entryText) {
  HWND list = GetDlgItem(pane.handle(), shaderConstantsList);
  RECT cell{};
  cell.top = nameColumn;
  cell.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  LPARAM centre = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  PostMessageA(list, WM_LBUTTONUP, 0, centre);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  pumpMessages();
  HWND chooser = GetDlgItem(pane.handle(), shaderVariableChooser);
  ASSERT_TRUE(IsWindowVisible(chooser)) << "the chooser did not open on row " << row;
  LRESULT index = SendMessageA(chooser, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entryText));
  ASSERT_NE(index, CB_ERR);
  SendMessageA(chooser, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageA(chooser, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(pane.handle(), WM_COMMAND, MAKEWPARAM(shaderVariableChooser, CBN_CLOSEUP), reinterpret_cast<LPARAM>(chooser));
  pumpMessages();
  EXPECT_FALSE(IsWindowVisible(chooser));
}

std::string cellText(ShaderPane& pane, int row, int column) {
  char text[64] = "";
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = text;
  cell.cchTextMax = sizeof text;
  SendMessageA(GetDlgItem(pane.handle(), shaderConstantsList), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&cell));
  return text;
}

TEST_F(ShaderPaneTest, MatrixBindsOnC4AndIsRefusedOnC5) {
  auto pane = makePixelPane();
  chooseInList(*pane, 4, "Matrix-> World");
  EXPECT_EQ(effect.matrices[0].psRegister, 4);
  EXPECT_EQ(cellText(*pane, 7, nameColumn), "World[3]");
  EXPECT_EQ(cellText(*pane, 7, constantColumn), "c[7]");

  chooseInList(*pane, 5, "Matrix-> View");
  EXPECT_EQ(effect.matrices[1].psRegister, noRegister);
  EXPECT_EQ(log.pending().back(), "Matrix \"View\" could not be set - not enough registers free in constants list !");
}

TEST_F(ShaderPaneTest, CheckShowsTheErrorsAndTheBudgetUnderTheEditor) {
  auto pane = makePixelPane();
  SetWindowTextA(pane->editor().handle(), "ps.1.1\r\ntex t0\r\nmvo r0, t0\r\n");
  pane->checkNow();
  HWND errors = GetDlgItem(pane->handle(), shaderCheckList);
  ASSERT_EQ(SendMessageA(errors, LB_GETCOUNT, 0, 0), 1);
  char line[200] = "";
  SendMessageA(errors, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
  EXPECT_STREQ(line, "Line 3: unknown instruction 'mvo'");
  char budget[200] = "";
  GetDlgItemTextA(pane->handle(), shaderBudgetText, budget, sizeof budget);
  EXPECT_STREQ(budget, "ps.1.1: 0 of 8 arithmetic, 1 of 4 texture slots; 0 of 2 temporary registers, 0 of 8 constant registers");
  EXPECT_TRUE(log.pending().empty());  // the check writes no log
}

}  // namespace
}  // namespace veltrace::panes
