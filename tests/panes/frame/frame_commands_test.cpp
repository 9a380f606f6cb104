#include "panes/frame/frame_commands.h"

#include <gtest/gtest.h>

#include "panes/frame/recent_files.h"

namespace veltrace::panes {
namespace {

TEST(FrameCommands, MenusListTheirEntriesInOrderWithTextsAndPrompts) {
  ui::CommandTable table = makeFrameCommands({});
  struct Entry {
    int id;
    const char* text;
    const char* prompt;
  } entries[] = {
      {commandNewWorkspace, "&New Workspace\tStrg+N", "New workspace"},
      {commandOpenWorkspace, "&Open Workspace...\tStrg+O", "Open workspace"},
      {commandSaveWorkspace, "&Save Workspace\tStrg+S", "Save workspace"},
      {commandLoadScene, "Load Scene", "Load a 3D-Scene"},
      {commandImportModel, "Import Model...", "Import a model (OBJ, FBX, glTF, 3DS, ...) as a scene"},
      {commandExit, "&Exit", "Exit the program"},
      {commandViewWorkspace, "&Workspace", "Show or hide the workspace window"},
      {commandViewMessages, "&Messages", "Show or hide the messages window"},
      {commandViewParameter, "&Parameter", "Show or hide the parameter window"},
      {commandTangentVectors, "&Tangent Space Vectors", "Show or hide the tangent space vectors"},
      {commandNormalVectors, "&Normal Vectors", "Show or hide the vertex normal vectors"},
      {commandHelpContent, "Content", "Show Help Content"},
      {commandAbout, "&About ...", "Show information about this program "},
  };
  for (const Entry& entry : entries) {
    const ui::Command* command = table.find(entry.id);
    ASSERT_NE(command, nullptr) << entry.text;
    EXPECT_EQ(command->menuText, entry.text);
    EXPECT_EQ(command->prompt, entry.prompt);
  }
  ASSERT_EQ(table.menus().size(), 4u);
  EXPECT_EQ(table.menus()[0].entries,
            (std::vector<int>{commandNewWorkspace, commandOpenWorkspace, commandSaveWorkspace, 0, commandLoadScene,
                              commandImportModel, 0, commandExit}));
  EXPECT_EQ(table.menus()[3].title, "&?");
  EXPECT_TRUE(table.menus()[3].atRightEnd);
  EXPECT_EQ(table.toolbar(), (std::vector<int>{commandNewWorkspace, commandOpenWorkspace, commandSaveWorkspace, 0,
                                               commandLoadScene, 0, commandTangentVectors, commandNormalVectors, 0,
                                               commandHelpContent}));
}

TEST(FrameCommands, AcceleratorsReachTheirCommands) {
  ui::CommandTable table = makeFrameCommands({});
  struct Key {
    ui::Accelerator key;
    int command;
  } keys[] = {{{'N', ui::controlKey}, commandNewWorkspace}, {{'O', ui::controlKey}, commandOpenWorkspace},
              {{'S', ui::controlKey}, commandSaveWorkspace}, {{'Z', ui::controlKey}, commandUndo},
              {{keyBackspace, ui::altKey}, commandUndo},    {{'X', ui::controlKey}, commandCut},
              {{keyDelete, ui::shiftKey}, commandCut},      {{'C', ui::controlKey}, commandCopy},
              {{keyInsert, ui::controlKey}, commandCopy},   {{'V', ui::controlKey}, commandPaste},
              {{keyInsert, ui::shiftKey}, commandPaste}};
  for (const Key& key : keys) EXPECT_EQ(table.commandForKey(key.key), key.command) << key.key.virtualKey;
}

TEST(FrameCommands, RenderTogglesAreCheckedWhileTheirFlagIsSet) {
  bool normals = false, tangents = true;
  FrameActions actions;
  actions.toggleNormals = [&] {
    normals = !normals;
    tangents = false;
  };
  actions.normalsShown = [&] { return normals; };
  actions.tangentsShown = [&] { return tangents; };
  ui::CommandTable table = makeFrameCommands(actions);
  EXPECT_TRUE(table.isChecked(commandTangentVectors));
  table.execute(commandNormalVectors);
  EXPECT_TRUE(table.isChecked(commandNormalVectors));
  EXPECT_FALSE(table.isChecked(commandTangentVectors));
}

TEST(FrameCommands, RecentWorkspaceEntriesAreNumberedAndKeepTheirAmpersands) {
  EXPECT_EQ(recentWorkspaceMenuText(1, "C:\\A&B\\w.vwork"), "&2 C:\\A&&B\\w.vwork");
}

TEST(RecentFiles, NewestFirstEachPathOnceAtMostFour) {
  RecentFiles recent(4);
  for (const char* path : {"a.vwork", "b.vwork", "c.vwork", "d.vwork", "e.vwork", "B.VWORK"}) recent.add(path);
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"B.VWORK", "e.vwork", "d.vwork", "c.vwork"}));
  recent.assign({"", "x", "X", "y", "z", "w", "v"});
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"x", "y", "z", "w"}));
}

}  // namespace
}  // namespace veltrace::panes
