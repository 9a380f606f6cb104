// The HTML Help viewer under Wine: a missing file is one logged line, the
// real help file opens the viewer's window.
#include <gtest/gtest.h>

#include "app/help_file.h"
#include "app/help_system.h"

namespace veltrace::app {
namespace {

std::string windowClass(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

TEST(HelpSystem, MissingFileLogsOneLineNamingIt) {
  HelpSystem help("C:\\no such folder\\veltrace.chm");
  MessageLog log;
  EXPECT_EQ(help.showContents(nullptr, log), nullptr);
  auto lines = log.takePending();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("ERROR! ", 0), 0u) << lines[0];
  EXPECT_EQ(help.showTopic(nullptr, help_topic::streamMapping, log), nullptr);
  lines = log.takePending();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("ERROR! ", 0), 0u) << lines[0];
}

TEST(HelpSystem, BuiltHelpFileOpensTheViewerAtItsContentsAndAtATopic) {
  HelpSystem help(VELTRACE_HELP_FILE_WINDOWS_PATH);
  MessageLog log;
  HWND contents = help.showContents(nullptr, log);
  ASSERT_NE(contents, nullptr) << (log.pending().empty() ? "" : log.pending()[0]);
  EXPECT_EQ(windowClass(contents), "HH Parent");
  EXPECT_TRUE(log.pending().empty());

  HWND topic = help.showTopic(nullptr, help_topic::pixelShader, log);
  ASSERT_NE(topic, nullptr);
  EXPECT_EQ(windowClass(topic), "HH Parent");

  help.closeAll();
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_FALSE(IsWindow(contents));
  EXPECT_TRUE(log.pending().empty());
}

}  // namespace
}  // namespace veltrace::app
