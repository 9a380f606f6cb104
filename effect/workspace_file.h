#pragma once
// The workspace: the loaded effects in order, the scene, and which effect
// each mesh and mesh subset uses; stored as a .vwork file of references
// (scene path, effect index paths, MESH and SUBSET assignment lines).
//
// The confirmations, file dialogs and workspace tree steps belong to the
// user interface: they reach these operations as the hooks below.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/message_log.h"
#include "effect/effect.h"
#include "scene/scene_model.h"

namespace veltrace {

struct Workspace {
  std::vector<std::unique_ptr<Effect>> effects;  // in workspace order
  Scene scene;
  bool sceneLoaded = false;  // a scene has been loaded (its name is the file name)
};

struct WorkspaceHooks {
  // The document's Load Scene with a full path: replaces the workspace's
  // scene and logs the outcome. When not set, the scene file is read
  // directly (loadScene of scene/scene_reader.h).
  std::function<bool(Workspace&, const std::string& path)> loadScene;
  // Makes and loads the effect of an EFFECT_FILE line (nothing when it cannot
  // be loaded). When not set: createEffect with the program folder's
  // catalogues, then loadEffect.
  std::function<std::unique_ptr<Effect>(const std::string& indexPath)> openEffect;
  // Workspace tree steps for a newly read effect; unset means success.
  std::function<bool(Effect&)> addEffectToTree;
  std::function<bool(Effect&)> fillEffectTree;
  // Removing an effect's items when the workspace is cleared.
  std::function<bool(Effect&)> eraseEffectTree;
};

// How paths are written: the folder part lowered; a folder inside the
// program folder is cut to its part behind it, which starts with a
// backslash; the file name in its own case.
std::string workspacePathForm(std::string_view path, std::string_view programFolder);

// How paths are read: one starting with a single backslash lies below the
// program folder; any other (a network path among them) stands as it is.
std::string resolveWorkspacePath(std::string_view path, std::string_view programFolder);

// Frees every effect after clearing the references the scene holds to it,
// then forgets the scene. False (with "Error while erasing effect tree items
// !" logged) when a tree step fails; the effects not yet freed stay.
bool clearWorkspace(Workspace& workspace, const WorkspaceHooks& hooks, MessageLog& log);

// Reads a workspace file into a cleared workspace: loads its scene and its
// effects and makes the assignments. Stops at a scene or effect that cannot
// be loaded; what was read before stays. False when the file cannot be
// opened or reading stopped early.
bool readWorkspace(const std::string& path, Workspace& workspace, const std::string& programFolder,
                   const WorkspaceHooks& hooks, MessageLog& log);
// The same for a workspace file's text already read.
bool readWorkspaceText(std::string_view text, Workspace& workspace, const std::string& programFolder,
                       const WorkspaceHooks& hooks, MessageLog& log);

// Saves every effect (a never-saved one into the effects folder under its
// name, with a number behind it when another effect of the save has that
// index file) and then the workspace file, which is put in place only once it is
// complete. False when the workspace file could not be written.
bool writeWorkspace(const std::string& path, Workspace& workspace, const std::string& programFolder,
                    MessageLog& log);

}  // namespace veltrace
