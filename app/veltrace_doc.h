#pragma once
// The document: the workspace (loaded effects in order, the scene and the
// assignments) and the document-level commands behind the File menu: Load
// Scene, New, Open and Save Workspace, and the question before Exit. It
// reports through the message log and asks the user through DocumentUi, so
// it holds no window and runs natively in tests.

#include <optional>
#include <string>

#include "app/message_log.h"
#include "app/model_import.h"
#include "effect/workspace_file.h"

namespace veltrace {

struct FileDialogSpec {
  std::string filter;  // "Text (*.x)|*.x|All Files(*.*)|*.*||"
  std::string defaultExtension;
  std::string initialFolder;
};

// The model Import Model reads, and whether its own units are kept.
struct ModelChoice {
  std::string path;
  bool keepUnits = false;
};

// What the commands need from the windows around the document.
class DocumentUi {
 public:
  virtual ~DocumentUi() = default;
  // An OK/Cancel question with Cancel as the default; true for OK.
  virtual bool confirm(const std::string& text, const std::string& caption) = 0;
  virtual std::optional<std::string> chooseFileToOpen(const FileDialogSpec& spec) = 0;
  // Asks before overwriting an existing file.
  virtual std::optional<std::string> chooseFileToSave(const FileDialogSpec& spec) = 0;
  // The view shows "Loading... Please wait" before a scene is read, and
  // draws again afterwards.
  virtual void sceneLoadStarting() = 0;
  virtual void sceneLoadFinished() = 0;
  // The scene the view draws changes: null before the old one is
  // destroyed, the new one once it is read.
  virtual void setDrawnScene(Scene* scene) = 0;
  // Import Model's open dialog, with its "keep the model's units" check box.
  virtual std::optional<ModelChoice> chooseModelToImport(const FileDialogSpec& spec) { return std::nullopt; }
  // Runs the import worker on the model, writing the scene file, with its
  // progress and a Cancel button shown; the worker's end.
  virtual ImportResult runModelImport(const std::string& modelPath, const std::string& scenePath, bool keepUnits) {
    return {ImportEnd::notStarted, "this build has no model import", {}};
  }
  // A cleared workspace releases every device texture and shader.
  virtual void releaseTexturesAndShaders() = 0;
  virtual void setTitle(const std::string& title) = 0;
  // The workspace tree shows the workspace again (effects and scene).
  virtual void workspaceChanged() = 0;
  // The hooks the workspace reading and clearing use for the tree.
  virtual WorkspaceHooks treeHooks() { return {}; }
  // A workspace file was opened or saved: the recent-file list takes it.
  virtual void workspaceFileUsed(const std::string& path) {}
  // Before a command discards the workspace, after its question: the
  // recovery copy is brought up to date.
  virtual void beforeDiscard() {}
  // The workspace now matches a file (opened or saved).
  virtual void workspaceOpened() {}
  virtual void workspaceSaved() {}
};

// The texts of the document commands.
inline constexpr char sceneFileFilter[] = "Veltrace ASCII Scene File(*.vase)|*.vase|All Files(*.*)|*.*||";
inline constexpr char workspaceOpenFilter[] = "Veltrace Workspace (*.vwork)|*.vwork|All Files(*.*)|*.*||";
inline constexpr char workspaceSaveFilter[] = "Veltrace Workspace (*.vwork)|*.vwork||";
inline constexpr char confirmDeleteCaption[] = "Confirm Delete";
inline constexpr char newWorkspaceQuestion[] = "Your current workspace will be deleted - are you sure?";
inline constexpr char openWorkspaceQuestion[] = "Your current workspace will be lost - are you sure?";
inline constexpr char exitQuestion[] = "Your current workspace will be lost - are you sure ?";
inline constexpr char exitCaption[] = "Confirm Exit";
inline constexpr char nothingToSave[] = "No effect present - nothing to save ...";
inline constexpr char programTitle[] = "Veltrace";
inline constexpr char importModelCaption[] = "Import Model";
// Asked when Load Scene meets a scene file it cannot read but a model import
// can; %s is the file name.
inline constexpr char importInsteadQuestion[] =
    "\"%s\" is an ASCII scene file with its faces in the standard form, which Load Scene does not read.\n"
    "Import it as a model instead?";

// The main window's title for a loaded scene, "cube.vase - Veltrace": the
// part of the path after the last backslash before the program name.
std::string documentTitle(const std::string& scenePath);

class CVeltraceDoc {
 public:
  CVeltraceDoc(std::string programFolder, MessageLog& log, DocumentUi& ui);

  Workspace& workspace() { return workspace_; }
  const std::string& programFolder() const { return programFolder_; }
  bool hasEffects() const { return !workspace_.effects.empty(); }

  // Load Scene: with an empty path the user picks the file (Cancel: false,
  // nothing logged, the scene kept); otherwise the path is loaded. A scene
  // that cannot be read is logged and the current one kept.
  bool loadScene(const std::string& path);

  // Import Model: with an empty path the user picks the model and whether to
  // keep its units (Cancel: nothing happens). The worker writes the scene
  // below media\scenes\imported\ under a name no file has, and the scene
  // is then loaded as Load Scene loads it. A failure is one log line naming
  // the model and the reason; the workspace and its scene stay as they are.
  bool importModel(const std::string& path, bool keepUnits = false);

  void newWorkspace();
  void openWorkspace();
  // Opens a workspace file without asking for it (command line, recent
  // files); still asks before losing loaded effects. A file that cannot be
  // read is logged and the current workspace kept.
  bool openWorkspaceFile(const std::string& path, bool askFirst);
  void saveWorkspace();

  // True when the program may close: no effect is loaded, or the user
  // agreed to lose them.
  bool confirmExit();

  // Clears effects, tree items, scene, textures and shaders; false (and the
  // remaining effects kept) when a tree step fails.
  bool clearWorkspace();

 private:
  std::string folder(const char* suffix) const { return programFolder_ + suffix; }
  void discardScene();

  std::string programFolder_;
  MessageLog& log_;
  DocumentUi& ui_;
  Workspace workspace_;
};

// The folder suffixes below the program folder.
inline constexpr char effectsFolderSuffix[] = "\\effects\\";
inline constexpr char texturesFolderSuffix[] = "\\media\\textures\\";
inline constexpr char scenesFolderSuffix[] = "\\media\\scenes\\";
inline constexpr char shaderFolderSuffix[] = "\\shader";
inline constexpr char workspacesFolderSuffix[] = "\\Workspaces\\";
inline constexpr char helpFileSuffix[] = "\\help\\veltrace.chm";

}  // namespace veltrace
