#include "panes/frame/frame_commands.h"

namespace veltrace::panes {

using ui::Accelerator;
using ui::altKey;
using ui::Command;
using ui::controlKey;
using ui::separatorEntry;
using ui::shiftKey;

namespace {

// Toolbar image indices; the images themselves are drawn by the frame.
enum ToolbarImageIndex {
  imageNew, imageOpen, imageSave, imageScene, imageTangents, imageNormals, imageHelp,
};

std::function<void()> toggling(const FrameActions& actions, int barCommand) {
  return [toggle = actions.toggleBar, barCommand] {
    if (toggle) toggle(barCommand);
  };
}

std::function<bool()> showing(const FrameActions& actions, int barCommand) {
  return [visible = actions.barVisible, barCommand] { return visible && visible(barCommand); };
}

std::function<void()> editing(const FrameActions& actions, int editCommand) {
  return [edit = actions.edit, editCommand] {
    if (edit) edit(editCommand);
  };
}

}  // namespace

ui::CommandTable makeFrameCommands(const FrameActions& actions) {
  ui::CommandTable table;
  table.add({commandNewWorkspace, "&New Workspace\tStrg+N", "New workspace", {{'N', controlKey}}, imageNew,
             actions.newWorkspace});
  table.add({commandOpenWorkspace, "&Open Workspace...\tStrg+O", "Open workspace", {{'O', controlKey}}, imageOpen,
             actions.openWorkspace});
  table.add({commandSaveWorkspace, "&Save Workspace\tStrg+S", "Save workspace", {{'S', controlKey}}, imageSave,
             actions.saveWorkspace});
  table.add({commandLoadScene, "Load Scene", "Load a 3D-Scene", {}, imageScene, actions.loadScene});
  table.add({commandImportModel, "Import Model...", "Import a model (OBJ, FBX, glTF, 3DS, ...) as a scene", {},
             ui::noToolbarImage, actions.importModel});
  table.add({commandExit, "&Exit", "Exit the program", {}, ui::noToolbarImage, actions.exit});
  table.add({commandViewWorkspace, "&Workspace", "Show or hide the workspace window", {}, ui::noToolbarImage,
             toggling(actions, commandViewWorkspace), showing(actions, commandViewWorkspace)});
  table.add({commandViewMessages, "&Messages", "Show or hide the messages window", {}, ui::noToolbarImage,
             toggling(actions, commandViewMessages), showing(actions, commandViewMessages)});
  table.add({commandViewParameter, "&Parameter", "Show or hide the parameter window", {}, ui::noToolbarImage,
             toggling(actions, commandViewParameter), showing(actions, commandViewParameter)});
  table.add({commandTangentVectors, "&Tangent Space Vectors", "Show or hide the tangent space vectors", {},
             imageTangents, actions.toggleTangents, actions.tangentsShown});
  table.add({commandNormalVectors, "&Normal Vectors", "Show or hide the vertex normal vectors", {}, imageNormals,
             actions.toggleNormals, actions.normalsShown});
  table.add({commandHelpContent, "Content", "Show Help Content", {}, imageHelp, actions.helpContent});
  table.add({commandAbout, "&About ...", "Show information about this program ", {}, ui::noToolbarImage,
             actions.about});

  // Editing keys for the shader source editors; they have no menu entry.
  table.add({commandUndo, "", "", {{'Z', controlKey}, {keyBackspace, altKey}}, ui::noToolbarImage,
             editing(actions, commandUndo)});
  table.add({commandCut, "", "", {{'X', controlKey}, {keyDelete, shiftKey}}, ui::noToolbarImage,
             editing(actions, commandCut)});
  table.add({commandCopy, "", "", {{'C', controlKey}, {keyInsert, controlKey}}, ui::noToolbarImage,
             editing(actions, commandCopy)});
  table.add({commandPaste, "", "", {{'V', controlKey}, {keyInsert, shiftKey}}, ui::noToolbarImage,
             editing(actions, commandPaste)});

  for (int index = 0; index < recentWorkspaceCount; ++index) {
    table.add({commandRecentWorkspace1 + index, "", "Open this workspace", {}, ui::noToolbarImage,
               [open = actions.openRecent, index] {
                 if (open) open(index);
               }});
  }

  table.addMenu({"&File",
                 {commandNewWorkspace, commandOpenWorkspace, commandSaveWorkspace, separatorEntry, commandLoadScene,
                  commandImportModel, separatorEntry, commandExit}});
  table.addMenu({"&View", {commandViewWorkspace, commandViewMessages, commandViewParameter}});
  table.addMenu({"Render", {commandTangentVectors, commandNormalVectors}});
  table.addMenu({"&?", {commandHelpContent, separatorEntry, commandAbout}, true});
  table.setToolbar({commandNewWorkspace, commandOpenWorkspace, commandSaveWorkspace, separatorEntry, commandLoadScene,
                    separatorEntry, commandTangentVectors, commandNormalVectors, separatorEntry, commandHelpContent});
  return table;
}

std::string recentWorkspaceMenuText(int index, const std::string& path) {
  // A single & in a path would be taken for a mnemonic marker.
  std::string shown;
  for (char c : path) {
    shown += c;
    if (c == '&') shown += '&';
  }
  return "&" + std::to_string(index + 1) + " " + shown;
}

}  // namespace veltrace::panes
