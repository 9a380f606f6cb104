#pragma once
// The commands of the workspace tree's context menus: creating, loading,
// saving and deleting effects, renaming them, creating and deleting their
// variables, and the scene commands. What needs a window (questions, file
// dialogs, the document's scene loading, the renderer) is reached through
// WorkspaceUi; every outcome is a message-log line.

#include <memory>
#include <optional>
#include <string>

#include "app/message_log.h"
#include "effect/effect.h"
#include "effect/workspace_file.h"
#include "panes/workspace/workspace_tree.h"

namespace veltrace {

inline constexpr const char* deleteQuestion = "Are you sure ?";
inline constexpr const char* deleteCaption = "Confirm Delete";

struct FileDialogRequest {
  bool save = false;            // save: asks before overwriting; open: file and path must exist
  std::string filter;           // "Text (*.x)|*.x|...||", the framework's form
  std::string defaultExtension;
  std::string initialFolder;    // ends in a backslash
};

class WorkspaceUi {
 public:
  virtual ~WorkspaceUi() = default;
  // An OK/Cancel box with a question icon and Cancel as the default button;
  // true only for OK.
  virtual bool confirm(const std::string& text, const std::string& caption) = 0;
  // The chosen path, or none when the dialog was cancelled.
  virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
  // The document's scene commands. Whatever replaces the scene also calls
  // WorkspaceTree::sceneReplaced and sets the scene information request.
  virtual void loadScene() = 0;
  virtual void deleteScene() = 0;
  // Before an effect is freed: the renderer lets go of its shaders and textures.
  virtual void effectDeleting(Effect& effect) = 0;
  // Before a command discards part of the workspace (after its question was
  // answered OK): the recovery copy is brought up to date.
  virtual void beforeDiscard() {}
};

// A new effect loaded from an index file, with its shader sources read as
// the renderer needs them; none when the load failed (reported).
std::unique_ptr<Effect> openEffectFile(const std::string& indexPath, const std::string& programFolder,
                                       MessageLog& log);

// The workspace file's hooks for reading into and clearing a workspace shown
// in this tree (Open Workspace, New Workspace): effects opened with their
// shader sources, added to the tree and filled, and their items erased. The
// scene loading hook stays the document's.
WorkspaceHooks treeHooks(WorkspaceTree& tree, const std::string& programFolder, MessageLog& log);

class WorkspaceCommands {
 public:
  WorkspaceCommands(Workspace& workspace, WorkspaceTree& tree, WorkspaceUi& ui, MessageLog& log,
                    std::string programFolder);

  // Runs menu command 1 to 5 of the item's node.
  void runMenuCommand(ItemId item, int command);

  void newEffect();
  void loadEffect();
  void deleteAllEffects();
  void saveEffect(Effect& effect);
  void deleteEffect(Effect& effect);
  void editLabel(ItemId effectItem);
  void newVariable(Effect& effect, VariableKind kind);
  // The variable at index in its list (as the tree shows it).
  void deleteVariable(Effect& effect, VariableKind kind, size_t index);
  void loadScene();
  void deleteScene();

 private:
  bool confirmed();
  void eraseFromList(const Effect& effect);

  Workspace& workspace_;
  WorkspaceTree& tree_;
  WorkspaceUi& ui_;
  MessageLog& log_;
  std::string programFolder_;
};

}  // namespace veltrace
