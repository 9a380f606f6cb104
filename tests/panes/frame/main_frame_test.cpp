// The real main frame under Wine, driven with messages: its bars and hide
// buttons, the View and Render menus, the title after Load Scene, the log
// after a frame, the exit question and the view size.

#include "panes/frame/main_frame.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/view_settings_registry.h"
#include "effect/effect.h"

namespace veltrace::panes {
namespace {

const std::string dataFolder = VELTRACE_DATA_DIR_WINDOWS;

void pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void click(HWND window, POINT at) {
  LPARAM where = MAKELPARAM(at.x, at.y);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  SendMessageA(window, WM_LBUTTONUP, 0, where);
  pump();
}

UINT menuState(const CMainFrame& frame, int command) {
  HMENU bar = GetMenu(frame.handle());
  for (int index = 0; index < GetMenuItemCount(bar); ++index) {
    HMENU popup = GetSubMenu(bar, index);
    SendMessageA(frame.handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), index);
    UINT state = GetMenuState(popup, command, MF_BYCOMMAND);
    if (state != static_cast<UINT>(-1)) return state;
  }
  return static_cast<UINT>(-1);
}

class MainFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = std::make_unique<CMainFrame>(dataFolder, log);
    frame->view().creationWidth = 640;
    frame->view().creationHeight = 400;
    ASSERT_TRUE(frame->create());
    frame->answerQuestion = [this](const std::string& text, const std::string& caption) {
      questions.push_back(caption + ": " + text);
      return std::optional<bool>(answer);
    };
    pump();
  }
  void TearDown() override {
    if (frame && IsWindow(frame->handle())) {
      frame->document().workspace().effects.clear();
      DestroyWindow(frame->handle());
    }
    frame.reset();
    pump();
  }
  RECT barRect(int command) {
    RECT bounds{};
    GetWindowRect(frame->bar(command).handle(), &bounds);
    return bounds;
  }

  MessageLog log;
  std::unique_ptr<CMainFrame> frame;
  std::vector<std::string> questions;
  bool answer = false;
};

TEST_F(MainFrame, HidingTheMessagesBarWithItsButtonUnchecksItsMenuEntryAndTheMenuShowsItWhereItWas) {
  EXPECT_TRUE(menuState(*frame, commandViewMessages) & MF_CHECKED);
  RECT before = barRect(commandViewMessages);
  RECT button = frame->bar(commandViewMessages).hideButtonArea();
  click(frame->bar(commandViewMessages).handle(), {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
  EXPECT_FALSE(IsWindowVisible(frame->bar(commandViewMessages).handle()));
  EXPECT_FALSE(menuState(*frame, commandViewMessages) & MF_CHECKED);
  // The view takes the room the bar had.
  RECT view{};
  GetWindowRect(frame->view().handle(), &view);
  EXPECT_GE(view.bottom, before.bottom - 4);

  frame->runCommand(commandViewMessages);
  EXPECT_TRUE(menuState(*frame, commandViewMessages) & MF_CHECKED);
  RECT after = barRect(commandViewMessages);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.bottom, before.bottom);
}

TEST_F(MainFrame, NormalVectorsWhileTangentsAreShownSwitchesToNormals) {
  frame->runCommand(commandTangentVectors);
  EXPECT_TRUE(frame->view().preview.showTangents);
  frame->runCommand(commandNormalVectors);
  EXPECT_TRUE(frame->view().preview.showNormals);
  EXPECT_FALSE(frame->view().preview.showTangents);
  EXPECT_TRUE(menuState(*frame, commandNormalVectors) & MF_CHECKED);
  EXPECT_FALSE(menuState(*frame, commandTangentVectors) & MF_CHECKED);
}

TEST_F(MainFrame, DraggingTheWorkspaceBarsInnerEdgeWidensIt) {
  CViewBar& bar = frame->bar(commandViewWorkspace);
  RECT client{};
  GetClientRect(bar.handle(), &client);
  int width = client.right;
  POINT edge{client.right - 2, client.bottom / 2};
  SendMessageA(bar.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge.x, edge.y));
  SendMessageA(bar.handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge.x + 30, edge.y));
  SendMessageA(bar.handle(), WM_LBUTTONUP, 0, MAKELPARAM(edge.x + 30, edge.y));
  pump();
  GetClientRect(bar.handle(), &client);
  EXPECT_EQ(client.right, width + 30);
}

TEST_F(MainFrame, ABarDroppedOnTheTopEdgeDocksThere) {
  RECT client{};
  GetClientRect(frame->handle(), &client);
  POINT clientTop{client.right / 2, 40};
  ClientToScreen(frame->handle(), &clientTop);
  frame->barDropped(commandViewParameter, clientTop);
  EXPECT_EQ(frame->layout().find(commandViewParameter)->side, DockSide::top);
  RECT bar = barRect(commandViewParameter);
  RECT frameClient = client;
  MapWindowPoints(frame->handle(), nullptr, reinterpret_cast<POINT*>(&frameClient), 2);
  EXPECT_EQ(bar.left, frameClient.left);
  EXPECT_EQ(bar.right, frameClient.right);
}

TEST_F(MainFrame, LoadSceneOfTheCubeNamesTheWindowAfterIt) {
  frame->answerFileDialog = [](const FileDialogSpec&, bool) {
    return std::optional<std::string>(dataFolder + "\\media\\scenes\\cube.vase");
  };
  frame->runCommand(commandLoadScene);
  EXPECT_EQ(frame->title(), "cube.vase - Veltrace");
}

TEST_F(MainFrame, ExitAsksOnlyWhileEffectsAreLoaded) {
  frame->document().workspace().effects.push_back(std::make_unique<Effect>());
  answer = false;
  SendMessageA(frame->handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(frame->handle()));
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], "Confirm Exit: Your current workspace will be lost - are you sure ?");

  frame->document().workspace().effects.clear();
  SendMessageA(frame->handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(frame->handle()));
  EXPECT_EQ(questions.size(), 1u);
}

// Frames need a Direct3D 8 device; without one these skip.
class MainFrameWithDevice : public MainFrame {
 protected:
  void SetUp() override {
    MainFrame::SetUp();
    if (!frame->firstUpdate()) GTEST_SKIP() << "no Direct3D 8 device could be created";
    ShowWindow(frame->handle(), SW_SHOWNOACTIVATE);
    pump();
  }
  void drawFrames(int count) {
    for (int index = 0; index < count; ++index) {
      pump();
      frame->idle(index);
    }
  }
};

TEST_F(MainFrameWithDevice, ThreeAppendedLinesShowUpAfterOneFrame) {
  drawFrames(2);
  HWND edit = frame->messagesView().edit();
  int linesBefore = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
  log.append("first");
  log.append("second");
  log.append("third");
  frame->idle(0);
  int lines = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
  // Every flushed line ends with a line break, so each adds one line.
  EXPECT_EQ(lines - linesBefore, 3);
  char text[4096] = {};
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_NE(std::string(text).find("first\r\nsecond\r\nthird\r\n"), std::string::npos);
}

TEST_F(MainFrameWithDevice, TheViewsClientSizeIsWhatTheSettingsStoreAndTheNextDeviceGets) {
  const char* key = "Software\\Veltrace tests\\main frame";
  // Make the view 700 x 500 by giving the frame that much more room; with
  // the side bars hidden the frame fits on the display, and the next frame
  // with its bars fits on the test display's 1280 pixels too.
  frame->runCommand(commandViewWorkspace);
  frame->runCommand(commandViewParameter);
  RECT view = frame->view().clientArea();
  RECT outer{};
  GetWindowRect(frame->handle(), &outer);
  // At the display's corner, so that the display's edge does not cut it.
  SetWindowPos(frame->handle(), nullptr, 0, 0, outer.right - outer.left + 700 - view.right,
               outer.bottom - outer.top + 500 - view.bottom, SWP_NOZORDER);
  pump();
  EXPECT_EQ(frame->view().recordedWidth(), 700);
  EXPECT_EQ(frame->view().recordedHeight(), 500);
  ASSERT_TRUE(app::writeViewSize({frame->view().recordedWidth(), frame->view().recordedHeight()}, key));
  DestroyWindow(frame->handle());
  frame.reset();
  pump();

  app::ViewSize stored = app::readViewSize(key);
  RegDeleteKeyA(HKEY_CURRENT_USER, key);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Veltrace tests");
  frame = std::make_unique<CMainFrame>(dataFolder, log);
  frame->view().creationWidth = stored.width;
  frame->view().creationHeight = stored.height;
  ASSERT_TRUE(frame->create());
  ASSERT_TRUE(frame->firstUpdate());
  EXPECT_EQ(frame->view().backBufferDescription().Width, 700u);
  EXPECT_EQ(frame->view().backBufferDescription().Height, 500u);
}

}  // namespace
}  // namespace veltrace::panes
