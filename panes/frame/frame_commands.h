#pragma once
// The main window's commands: their ids, the menu bar, the accelerators and
// the toolbar, as one command table. What each command does is handed in
// by the frame, so the table itself stays portable.

#include <functional>
#include <string>

#include "ui/command_table.h"

namespace veltrace::panes {

enum FrameCommand : int {
  commandNewWorkspace = 0xE100,
  commandOpenWorkspace = 0xE101,
  commandSaveWorkspace = 0xE103,
  commandLoadScene = 0x8001,
  commandImportModel = 0x8002,
  commandExit = 0xE141,
  commandViewWorkspace = 0x8010,
  commandViewMessages = 0x8011,
  commandViewParameter = 0x8012,
  commandTangentVectors = 0x8020,
  commandNormalVectors = 0x8021,
  commandHelpContent = 0x8030,
  commandAbout = 0xE140,
  // Sent to the shader source editor that has the focus.
  commandUndo = 0xE12B,
  commandCut = 0xE123,
  commandCopy = 0xE122,
  commandPaste = 0xE125,
  // The recently opened workspaces in the File menu.
  commandRecentWorkspace1 = 0xE110,
};

inline constexpr int recentWorkspaceCount = 4;

// Virtual-key codes the accelerators use (fixed by the platform).
inline constexpr int keyBackspace = 0x08;
inline constexpr int keyInsert = 0x2D;
inline constexpr int keyDelete = 0x2E;

struct FrameActions {
  std::function<void()> newWorkspace, openWorkspace, saveWorkspace, loadScene, exit;
  std::function<void()> importModel;
  std::function<void(int barCommand)> toggleBar;
  std::function<bool(int barCommand)> barVisible;
  std::function<void()> toggleTangents, toggleNormals;
  std::function<bool()> tangentsShown, normalsShown;
  std::function<void()> helpContent, about;
  std::function<void(int editCommand)> edit;
  std::function<void(int index)> openRecent;  // 0 = most recent
};

ui::CommandTable makeFrameCommands(const FrameActions& actions);

// The File menu's text for a recent workspace: "&1 C:\\...\\sample.vwork".
std::string recentWorkspaceMenuText(int index, const std::string& path);

}  // namespace veltrace::panes
