#include "ui/command_table.h"

#include <gtest/gtest.h>

namespace veltrace::ui {
namespace {

TEST(CommandTable, RunsOnlyEnabledCommandsWithAHandler) {
  int runs = 0;
  bool enabled = false;
  CommandTable table;
  table.add({1, "&One", "first", {}, noToolbarImage, [&] { ++runs; }, nullptr, [&] { return enabled; }});
  table.add({2, "&Two", "second"});
  EXPECT_FALSE(table.execute(1));
  enabled = true;
  EXPECT_TRUE(table.execute(1));
  EXPECT_FALSE(table.execute(2));  // no handler
  EXPECT_FALSE(table.execute(3));  // no such command
  EXPECT_EQ(runs, 1);
}

TEST(CommandTable, ASecondCommandWithTheSameIdReplacesTheFirst) {
  CommandTable table;
  table.add({7, "Old", "old prompt"});
  table.add({7, "New", "new prompt"});
  ASSERT_EQ(table.commands().size(), 1u);
  EXPECT_EQ(table.promptFor(7), "new prompt");
  EXPECT_EQ(table.promptFor(8), "");
}

TEST(CommandTable, FindsTheCommandOfEveryAcceleratorOfIt) {
  CommandTable table;
  table.add({5, "", "", {{'Z', controlKey}, {0x08, altKey}}});
  EXPECT_EQ(table.commandForKey({'Z', controlKey}), 5);
  EXPECT_EQ(table.commandForKey({0x08, altKey}), 5);
  EXPECT_EQ(table.commandForKey({'Z', controlKey | shiftKey}), 0);
}

TEST(CommandTable, PlainMenuTextDropsMnemonicAndKeyText) {
  EXPECT_EQ(plainMenuText("&Open Workspace...\tStrg+O"), "Open Workspace...");
  EXPECT_EQ(plainMenuText("Load Scene"), "Load Scene");
}

}  // namespace
}  // namespace veltrace::ui
