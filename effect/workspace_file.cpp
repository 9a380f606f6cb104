#include "effect/workspace_file.h"

#include <set>

#include "base/files.h"
#include "base/text.h"
#include "effect/effect_factory.h"
#include "effect/effect_files.h"
#include "scene/scene_reader.h"

namespace veltrace {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// Assignments name meshes and subsets by number; numbers beyond the scene
// are passed over.
void assignMesh(Workspace& workspace, std::int32_t mesh) {
  if (workspace.effects.empty() || mesh < 0 || mesh >= workspace.scene.meshCount()) return;
  workspace.scene.meshes[static_cast<size_t>(mesh)].effect = workspace.effects.back().get();
}

void assignSubset(Workspace& workspace, std::int32_t mesh, std::int32_t subset) {
  if (workspace.effects.empty() || mesh < 0 || subset < 0 || mesh >= workspace.scene.meshCount()) return;
  SceneMesh& target = workspace.scene.meshes[static_cast<size_t>(mesh)];
  if (subset >= target.subsetCount()) return;
  target.subsets[static_cast<size_t>(subset)].effect = workspace.effects.back().get();
}

bool readSceneLine(Workspace& workspace, const std::string& path, const WorkspaceHooks& hooks, MessageLog& log) {
  bool loaded = hooks.loadScene ? hooks.loadScene(workspace, path) : loadScene(path, workspace.scene, log);
  workspace.sceneLoaded = loaded;
  return loaded;
}

bool readEffectLine(Workspace& workspace, const std::string& path, const std::string& programFolder,
                    const WorkspaceHooks& hooks, MessageLog& log) {
  std::unique_ptr<Effect> effect;
  if (hooks.openEffect) {
    effect = hooks.openEffect(path);
  } else {
    effect = std::make_unique<Effect>(createEffect(programFolder, log));
    if (!loadEffect(*effect, path, programFolder, log)) effect.reset();
  }
  if (!effect) return false;
  if (hooks.addEffectToTree && !hooks.addEffectToTree(*effect)) {
    log.append("Error while creating new effect in workspace !");
    return false;
  }
  if (hooks.fillEffectTree && !hooks.fillEffectTree(*effect)) {
    log.append("Error while updating new effect in workspace !");
    return false;
  }
  workspace.effects.push_back(std::move(effect));
  return true;
}

// The folder createEffect gives a new effect, relative to the program folder.
constexpr const char* newEffectFolder = "\\effects\\";

// Where an effect's index file goes: a never-saved effect into the effects
// folder under its name, any other beside its component folder.
std::string effectIndexPath(const Effect& effect, const std::string& programFolder) {
  if (effect.indexFileName.empty()) return programFolder + "\\effects\\" + effect.name + ".veff";
  // An effect never loaded from files keeps the relative effects folder it
  // was created with (saving leaves the folder alone): that is where its
  // index file went, not a component folder to take the parent of.
  if (effect.folder == newEffectFolder) return programFolder + newEffectFolder + effect.indexFileName;
  std::string folder = effect.folder;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folderPart(folder) + effect.indexFileName;
}

// The index paths of one save, one per effect in list order. A never-saved
// effect whose path another effect of this save already uses (two new
// effects of the same name, or a new one named like a loaded one) gets a
// number behind its name, so no effect overwrites another one's files.
std::vector<std::string> indexPathsOfSave(const Workspace& workspace, const std::string& programFolder) {
  std::vector<std::string> paths;
  std::set<std::string> taken;  // lowered: file names do not differ by case on Windows
  for (const auto& effect : workspace.effects) {
    paths.push_back(effectIndexPath(*effect, programFolder));
    if (!effect->indexFileName.empty()) taken.insert(toLowerAscii(paths.back()));
  }
  for (size_t i = 0; i < workspace.effects.size(); ++i) {
    const Effect& effect = *workspace.effects[i];
    if (!effect.indexFileName.empty()) continue;
    for (int number = 2; taken.count(toLowerAscii(paths[i])) != 0; ++number)
      paths[i] = programFolder + "\\effects\\" + effect.name + formatText(" %d", number) + ".veff";
    taken.insert(toLowerAscii(paths[i]));
  }
  return paths;
}

std::string assignmentLines(const Workspace& workspace, const Effect* effect) {
  std::string lines;
  for (size_t i = 0; i < workspace.scene.meshes.size(); ++i) {
    const SceneMesh& mesh = workspace.scene.meshes[i];
    if (mesh.effect == effect) lines += formatText("MESH,%d\r\n", static_cast<int>(i));
    for (size_t j = 0; j < mesh.subsets.size(); ++j)
      if (mesh.subsets[j].effect == effect)
        lines += formatText("SUBSET,%d,%d\r\n", static_cast<int>(i), static_cast<int>(j));
  }
  return lines;
}

}  // namespace

std::string workspacePathForm(std::string_view path, std::string_view programFolder) {
  std::string folder = toLowerAscii(folderPart(path));
  const std::string name = namePart(path);
  std::string program = toLowerAscii(programFolder);
  while (!program.empty() && program.back() == '\\') program.pop_back();
  // Only a whole folder is cut: "c:\prog" is no prefix of "c:\program\".
  if (!program.empty() && startsWith(folder, program) && folder.size() > program.size() &&
      folder[program.size()] == '\\')
    folder.erase(0, program.size());
  return folder + name;
}

std::string resolveWorkspacePath(std::string_view path, std::string_view programFolder) {
  return underProgramFolder(path, programFolder);
}

bool clearWorkspace(Workspace& workspace, const WorkspaceHooks& hooks, MessageLog& log) {
  while (!workspace.effects.empty()) {
    Effect* effect = workspace.effects.front().get();
    forgetEffect(workspace.scene, effect);
    if (hooks.eraseEffectTree && !hooks.eraseEffectTree(*effect)) {
      log.append("Error while erasing effect tree items !");
      return false;
    }
    workspace.effects.erase(workspace.effects.begin());
  }
  workspace.scene = Scene{};
  workspace.sceneLoaded = false;
  return true;
}

bool readWorkspace(const std::string& path, Workspace& workspace, const std::string& programFolder,
                   const WorkspaceHooks& hooks, MessageLog& log) {
  auto text = readWholeFile(path);
  if (!text) {
    log.append(formatText("Error while opening \"%s\" !", path.c_str()));
    return false;
  }
  return readWorkspaceText(*text, workspace, programFolder, hooks, log);
}

bool readWorkspaceText(std::string_view text, Workspace& workspace, const std::string& programFolder,
                       const WorkspaceHooks& hooks, MessageLog& log) {
  for (const std::string& line : splitLines(text)) {
    std::vector<std::string> fields = splitFields(line);
    const std::string& key = fields[0];
    auto field = [&](size_t i) { return i < fields.size() ? fields[i] : std::string(); };
    // A path is the last field of its line and written as it stands, so any
    // commas behind the key are part of it.
    auto pathField = [&]() { return line.size() > key.size() ? line.substr(key.size() + 1) : std::string(); };
    if (key == "SCENE") {
      if (!readSceneLine(workspace, resolveWorkspacePath(pathField(), programFolder), hooks, log)) return false;
    } else if (key == "EFFECT_FILE") {
      if (!readEffectLine(workspace, resolveWorkspacePath(pathField(), programFolder), programFolder, hooks, log))
        return false;
    } else if (key == "MESH") {
      assignMesh(workspace, readLenientInt(field(1)));
    } else if (key == "SUBSET") {
      assignSubset(workspace, readLenientInt(field(1)), readLenientInt(field(2)));
    }
    // "EFFECTS" gives a count that is not needed; anything else is skipped.
  }
  return true;
}

bool writeWorkspace(const std::string& path, Workspace& workspace, const std::string& programFolder,
                    MessageLog& log) {
  if (workspace.effects.empty()) {
    log.append("No effect present - nothing to save ...");
    return false;
  }
  const std::string folder = folderPart(path);
  if (!folder.empty() && !folderExists(folder)) {
    log.append(formatText("Error while saving \"%s\" !", path.c_str()));
    return false;
  }

  std::string text;
  if (workspace.sceneLoaded)
    text += "SCENE," + workspacePathForm(workspace.scene.folder, programFolder) + workspace.scene.name + "\r\n";
  text += formatText("EFFECTS,%d\r\n", static_cast<int>(workspace.effects.size()));
  const std::vector<std::string> indexPaths = indexPathsOfSave(workspace, programFolder);
  for (size_t i = 0; i < workspace.effects.size(); ++i) {
    const auto& effect = workspace.effects[i];
    const std::string& indexPath = indexPaths[i];
    if (effect->indexFileName.empty()) createFolder(programFolder + "\\effects");
    // Saving is reported by the effect files; a failure there does not stop
    // the workspace file.
    saveEffect(*effect, indexPath, programFolder, log);
    text += "EFFECT_FILE," + workspacePathForm(indexPath, programFolder) + "\r\n";
    text += assignmentLines(workspace, effect.get());
  }

  if (!replaceFileWith(path, text)) {
    log.append(formatText("Error while writing workspace file \"%s\" !", path.c_str()));
    return false;
  }
  log.append(formatText("Workspace \"%s\" saved successfully ...", path.c_str()));
  return true;
}

}  // namespace veltrace
