// The Messages pane's edit control under Wine: a flush appends at the end,
// scrolls by the lines added, and nothing is dropped past the control's
// default capacity.
#include <gtest/gtest.h>

#include <string>

#include "app/message_log_edit.h"

namespace veltrace::app {
namespace {

class MessagePaneEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    // No word wrap: one log line is one line of the control.
    edit_ = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                               ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY,
                            0, 0, 300, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit_, nullptr);
  }
  void TearDown() override {
    if (edit_) DestroyWindow(edit_);
  }

  std::string text() const {
    std::string result(static_cast<size_t>(GetWindowTextLengthA(edit_)) + 1, '\0');
    GetWindowTextA(edit_, result.data(), static_cast<int>(result.size()));
    result.resize(result.size() - 1);
    return result;
  }
  bool textEndsWith(const std::string& end) const {
    std::string shown = text();
    return shown.size() >= end.size() && shown.compare(shown.size() - end.size(), end.size(), end) == 0;
  }
  int firstVisibleLine() const { return static_cast<int>(SendMessageA(edit_, EM_GETFIRSTVISIBLELINE, 0, 0)); }
  int lineCount() const { return static_cast<int>(SendMessageA(edit_, EM_GETLINECOUNT, 0, 0)); }

  HWND edit_ = nullptr;
};

TEST_F(MessagePaneEdit, ThreeAppendedLinesShowUpAfterOneFlushAndScrollByThree) {
  MessageLog log;
  for (int i = 0; i < 30; ++i) log.append("older line " + std::to_string(i));
  flushMessageLog(edit_, log);
  SendMessageA(edit_, EM_LINESCROLL, 0, -1000);  // the reader looks at the top
  ASSERT_EQ(firstVisibleLine(), 0);
  int linesBefore = lineCount();

  log.append("first");
  log.append("second");
  log.append("third");
  flushMessageLog(edit_, log);

  EXPECT_TRUE(textEndsWith("older line 29\r\nfirst\r\nsecond\r\nthird\r\n")) << text();
  EXPECT_EQ(lineCount(), linesBefore + 3);
  EXPECT_EQ(firstVisibleLine(), 3);
  EXPECT_TRUE(log.pending().empty());
}

TEST_F(MessagePaneEdit, KeepsEveryLineBeyondTheDefaultCapacity) {
  MessageLog log;
  const std::string line(99, 'm');  // 101 characters with the line break
  for (int frame = 0; frame < 10; ++frame) {
    for (int i = 0; i < 100; ++i) log.append(line);
    flushMessageLog(edit_, log);
  }
  EXPECT_EQ(GetWindowTextLengthA(edit_), 1000 * 101) << "past the 32,000-character default";
  log.append("newest");
  flushMessageLog(edit_, log);
  EXPECT_TRUE(textEndsWith(line + "\r\nnewest\r\n"));
}

TEST_F(MessagePaneEdit, ReplacingFlushDropsTheOldText) {
  MessageLog log;
  log.append("old");
  flushMessageLog(edit_, log);
  log.append("new");
  flushMessageLog(edit_, log, true);
  EXPECT_EQ(text(), "new\r\n");
}

TEST_F(MessagePaneEdit, WithoutAControlTheLinesStayPending) {
  MessageLog log;
  log.append("kept");
  flushMessageLog(nullptr, log);
  EXPECT_EQ(log.pending().size(), 1u);
}

}  // namespace
}  // namespace veltrace::app
