#include "app/veltrace_doc.h"

#include "base/files.h"
#include "base/text.h"
#include "scene/scene_reader.h"

namespace veltrace {

std::string documentTitle(const std::string& scenePath) {
  size_t slash = scenePath.find_last_of('\\');
  std::string name = slash == std::string::npos ? scenePath : scenePath.substr(slash + 1);
  return name + " - Veltrace";
}

CVeltraceDoc::CVeltraceDoc(std::string programFolder, MessageLog& log, DocumentUi& ui)
    : programFolder_(std::move(programFolder)), log_(log), ui_(ui) {}

void CVeltraceDoc::discardScene() {
  // The view lets go of the scene before it is destroyed.
  ui_.setDrawnScene(nullptr);
  workspace_.scene = Scene{};
  workspace_.sceneLoaded = false;
}

bool CVeltraceDoc::loadScene(const std::string& givenPath) {
  std::string path = givenPath;
  if (path.empty()) {
    auto chosen = ui_.chooseFileToOpen({sceneFileFilter, "vase", folder(scenesFolderSuffix)});
    if (!chosen) return false;
    path = *chosen;
  }
  ui_.sceneLoadStarting();
  // The file is read beside the current scene, which is replaced only once
  // the new one is complete: a file that cannot be read loses nothing.
  Scene loaded;
  SceneLoadOutcome outcome = loadSceneFile(path, loaded, log_);
  bool read = outcome == SceneLoadOutcome::loaded;
  if (read) {
    discardScene();
    workspace_.scene = std::move(loaded);
    workspace_.sceneLoaded = true;
    ui_.setDrawnScene(&workspace_.scene);
    ui_.workspaceChanged();
    ui_.setTitle(documentTitle(path));
  }
  ui_.sceneLoadFinished();
  if (outcome == SceneLoadOutcome::needsImport &&
      ui_.confirm(formatText(importInsteadQuestion, namePart(path).c_str()), importModelCaption))
    return importModel(path);
  return read;
}

bool CVeltraceDoc::importModel(const std::string& givenPath, bool keepUnits) {
  std::string path = givenPath;
  if (path.empty()) {
    auto chosen = ui_.chooseModelToImport({modelFileFilter, "", folder(scenesFolderSuffix)});
    if (!chosen) return false;
    path = chosen->path;
    keepUnits = chosen->keepUnits;
  }
  const ImportLimits limits;
  // The scene goes below the program folder, under a name no file has.
  bool folderMade = true;
  for (const char* suffix : {"\\media", "\\media\\scenes", "\\media\\scenes\\imported"})
    folderMade = folderMade && createFolder(programFolder_ + suffix) != FolderResult::failed;
  if (!folderMade) {
    log_.append(importFailureLine(path, {ImportEnd::notStarted, "the folder for imported scenes cannot be made", {}},
                                  limits));
    return false;
  }
  const std::string scenePath =
      importedScenePath(programFolder_, path, [](const std::string& candidate) { return fileExists(candidate); });
  ImportResult result = ui_.runModelImport(path, scenePath, keepUnits);
  if (result.end != ImportEnd::written) {
    log_.append(importFailureLine(path, result, limits));
    return false;
  }
  return loadScene(scenePath);
}

bool CVeltraceDoc::clearWorkspace() {
  ui_.setDrawnScene(nullptr);
  WorkspaceHooks hooks = ui_.treeHooks();
  bool cleared = veltrace::clearWorkspace(workspace_, hooks, log_);
  if (!cleared) {
    // The effects that could not be taken out of the tree stay, and so does
    // the scene they are assigned in.
    if (workspace_.sceneLoaded) ui_.setDrawnScene(&workspace_.scene);
    ui_.workspaceChanged();
    return false;
  }
  ui_.releaseTexturesAndShaders();
  discardScene();
  ui_.setTitle(programTitle);
  ui_.workspaceChanged();
  return true;
}

void CVeltraceDoc::newWorkspace() {
  // The document always exists once the program runs, so the question is
  // always asked.
  if (!ui_.confirm(newWorkspaceQuestion, confirmDeleteCaption)) return;
  ui_.beforeDiscard();
  clearWorkspace();
}

void CVeltraceDoc::openWorkspace() {
  if (hasEffects() && !ui_.confirm(openWorkspaceQuestion, confirmDeleteCaption)) return;
  auto chosen = ui_.chooseFileToOpen({workspaceOpenFilter, "vwork", folder(workspacesFolderSuffix)});
  if (!chosen) return;
  openWorkspaceFile(*chosen, false);
}

bool CVeltraceDoc::openWorkspaceFile(const std::string& path, bool askFirst) {
  if (askFirst && hasEffects() && !ui_.confirm(openWorkspaceQuestion, confirmDeleteCaption)) return false;
  // A file that cannot be read leaves the current workspace as it is.
  std::optional<std::string> text = readWholeFile(path);
  if (!text) {
    log_.append(formatText("Error while opening \"%s\" !", path.c_str()));
    return false;
  }
  ui_.beforeDiscard();
  if (!clearWorkspace()) return false;
  WorkspaceHooks hooks = ui_.treeHooks();
  hooks.loadScene = [this](Workspace&, const std::string& scenePath) { return loadScene(scenePath); };
  bool read = readWorkspaceText(*text, workspace_, programFolder_, hooks, log_);
  ui_.workspaceFileUsed(path);
  ui_.workspaceChanged();
  ui_.workspaceOpened();
  return read;
}

void CVeltraceDoc::saveWorkspace() {
  if (!hasEffects()) {
    log_.append(nothingToSave);
    return;
  }
  auto chosen = ui_.chooseFileToSave({workspaceSaveFilter, "vwork", folder(workspacesFolderSuffix)});
  if (!chosen) return;
  if (writeWorkspace(*chosen, workspace_, programFolder_, log_)) {
    ui_.workspaceFileUsed(*chosen);
    ui_.workspaceSaved();
  }
  // Saving names never-saved effects and their folders.
  ui_.workspaceChanged();
}

bool CVeltraceDoc::confirmExit() {
  if (!hasEffects()) return true;
  return ui_.confirm(exitQuestion, exitCaption);
}

}  // namespace veltrace
