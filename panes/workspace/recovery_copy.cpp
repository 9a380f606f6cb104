#include "panes/workspace/recovery_copy.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "effect/component_files.h"
#include "effect/effect_files.h"
#include "panes/workspace/workspace_commands.h"

namespace veltrace {

namespace fs = std::filesystem;

// Layout of the copy:
//   recovery\workspace.vwork         the workspace file, effects named below
//   recovery\effects\effectN.veff    each effect's file set, N from 1
//   recovery\recovery.txt            written last: where each effect came
//                                    from, and the size and checksum of every
//                                    other file, closed by an END line
namespace {

constexpr const char* manifestName = "recovery.txt";
constexpr const char* manifestHeader = "VELTRACE RECOVERY,1";
constexpr const char* workspaceName = "workspace.vwork";

// FNV-1a: enough to tell a damaged file from the one written.
std::uint64_t checksum(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string hex(std::uint64_t value) { return formatText("%016llx", static_cast<unsigned long long>(value)); }

void removeFolder(const std::string& corePath) {
  std::error_code ignored;
  fs::remove_all(nativePath(corePath), ignored);
}

bool renameFolder(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::rename(nativePath(from), nativePath(to), error);
  return !error;
}

std::string restOfLine(const std::string& line, size_t fieldsBefore) {
  size_t position = 0;
  for (size_t i = 0; i < fieldsBefore; ++i) {
    position = line.find(',', position);
    if (position == std::string::npos) return {};
    ++position;
  }
  return line.substr(position);
}

void appendLines(std::string& text, const std::vector<FileLine>& lines) {
  for (const FileLine& line : lines) text += line.text + "\n";
}

std::string assignmentLines(const Scene& scene, const Effect* effect) {
  std::string lines;
  for (size_t i = 0; i < scene.meshes.size(); ++i) {
    const SceneMesh& mesh = scene.meshes[i];
    if (mesh.effect == effect) lines += formatText("MESH,%d\r\n", static_cast<int>(i));
    for (size_t j = 0; j < mesh.subsets.size(); ++j)
      if (mesh.subsets[j].effect == effect)
        lines += formatText("SUBSET,%d,%d\r\n", static_cast<int>(i), static_cast<int>(j));
  }
  return lines;
}

std::string effectFileName(size_t index) { return formatText("effect%d.veff", static_cast<int>(index + 1)); }

}  // namespace

RecoveryCopy::RecoveryCopy(std::string programFolder)
    : programFolder_(std::move(programFolder)), folder_(programFolder_ + "\\recovery") {}

// Everything a copy would hold, as text: the effects as their files would
// read, where they belong, the scene and the assignments.
std::string RecoveryCopy::snapshotOf(const Workspace& workspace) const {
  std::string text;
  if (workspace.sceneLoaded) text += "SCENE," + workspace.scene.folder + workspace.scene.name + "\n";
  for (const auto& effect : workspace.effects) {
    text += "EFFECT," + effect->name + "," + effect->folder + "," + effect->indexFileName + "\n";
    appendLines(text, variablesFileLines(*effect));
    appendLines(text, textureStageFileLines(*effect, programFolder_));
    appendLines(text, renderStateFileLines(*effect));
    appendLines(text, streamMappingFileLines(*effect));
    for (const ShaderSlot* slot : {&effect->vertexShader, &effect->pixelShader})
      text += (slot->present ? "SHADER\n" : "NO SHADER\n") + slot->source + "\n";
    text += assignmentLines(workspace.scene, effect.get());
  }
  return text;
}

bool RecoveryCopy::writeInto(const std::string& staging, const Workspace& workspace, MessageLog& scratch) const {
  if (createFolder(staging) != FolderResult::created) return false;
  if (createFolder(staging + "\\effects") != FolderResult::created) return false;

  std::string workspaceText;
  if (workspace.sceneLoaded)
    workspaceText +=
        "SCENE," + workspacePathForm(workspace.scene.folder, programFolder_) + workspace.scene.name + "\r\n";
  workspaceText += formatText("EFFECTS,%d\r\n", static_cast<int>(workspace.effects.size()));
  std::string manifest = std::string(manifestHeader) + "\r\n";
  for (size_t i = 0; i < workspace.effects.size(); ++i) {
    const Effect& effect = *workspace.effects[i];
    // A copy: saving sets the index file name, and the workspace's effect
    // must keep its own.
    Effect copy = effect;
    const bool sourcesUnread = (copy.vertexShader.present && copy.vertexShader.source.empty()) ||
                               (copy.pixelShader.present && copy.pixelShader.source.empty());
    if (sourcesUnread) readShaderSources(copy, scratch);
    if (!saveEffect(copy, staging + "\\effects\\" + effectFileName(i), programFolder_, scratch)) return false;
    // Where the copy will be once the staging folder is renamed.
    workspaceText += "EFFECT_FILE,\\" + namePart(folder_) + "\\effects\\" + effectFileName(i) + "\r\n";
    workspaceText += assignmentLines(workspace.scene, &effect);
    manifest += "EFFECT_FOLDER," + effect.folder + "\r\n";
    manifest += "EFFECT_INDEX," + effect.indexFileName + "\r\n";
  }
  if (!replaceFileWith(staging + "\\" + workspaceName, workspaceText)) return false;

  // Sizes and checksums of what actually reached the disk.
  std::error_code error;
  const fs::path root = nativePath(staging);
  for (auto entry = fs::recursive_directory_iterator(root, error); !error && entry != fs::recursive_directory_iterator();
       entry.increment(error)) {
    if (!entry->is_regular_file()) continue;
    std::string relative = entry->path().lexically_relative(root).generic_string();
    for (char& c : relative)
      if (c == '/') c = '\\';
    auto bytes = readWholeFile(staging + "\\" + relative);
    if (!bytes) return false;
    manifest += "FILE," + std::to_string(bytes->size()) + "," + hex(checksum(*bytes)) + "," + relative + "\r\n";
  }
  if (error) return false;
  manifest += "END\r\n";
  return replaceFileWith(staging + "\\" + manifestName, manifest);
}

RecoveryCopy::UpdateResult RecoveryCopy::update(const Workspace& workspace, MessageLog& log) {
  // A copy left by the last session is not replaced before it was offered.
  if (!startupChecked_) return UpdateResult::unchanged;
  const std::uint64_t snapshot = checksum(snapshotOf(workspace));
  if (haveSnapshot_ && snapshot == lastSnapshot_) return UpdateResult::unchanged;

  // Nothing left to recover: an old copy would only bring back what the user
  // removed.
  if (workspace.effects.empty() && !workspace.sceneLoaded) {
    remove();
    lastSnapshot_ = snapshot;
    haveSnapshot_ = true;
    return UpdateResult::written;
  }

  const std::string staging = folder_ + ".writing";
  const std::string previous = folder_ + ".old";
  removeFolder(staging);
  MessageLog scratch;  // the copy's own saving messages are not the user's business
  bool done = writeInto(staging, workspace, scratch);
  if (done) {
    removeFolder(previous);
    const bool hadCopy = folderExists(folder_);
    done = (!hadCopy || renameFolder(folder_, previous)) && renameFolder(staging, folder_);
    if (done) removeFolder(previous);
    // Put the last good copy back if the new one could not take its place.
    else if (hadCopy && !folderExists(folder_)) renameFolder(previous, folder_);
  }
  if (!done) {
    removeFolder(staging);
    log.append(formatText("Error while writing recovery copy \"%s\" !", folder_.c_str()));
    return UpdateResult::failed;
  }
  lastSnapshot_ = snapshot;
  haveSnapshot_ = true;
  return UpdateResult::written;
}

void RecoveryCopy::settle(const Workspace& workspace) {
  lastSnapshot_ = checksum(snapshotOf(workspace));
  haveSnapshot_ = true;
  remove();
}

void RecoveryCopy::remove() {
  removeFolder(folder_ + ".writing");
  removeFolder(folder_ + ".old");
  removeFolder(folder_);
}

// A copy counts only when its manifest is complete and every file it lists
// is there with the size and checksum it was written with.
bool RecoveryCopy::verified(std::string& manifest) const {
  auto text = readWholeFile(folder_ + "\\" + manifestName);
  if (!text) return false;
  const std::vector<std::string> lines = splitLines(*text);
  if (lines.size() < 2 || lines.front() != manifestHeader || lines.back() != "END") return false;
  bool workspaceListed = false;
  for (const std::string& line : lines) {
    if (line.rfind("FILE,", 0) != 0) continue;
    const std::vector<std::string> fields = splitFields(line);
    if (fields.size() < 4) return false;
    const std::string relative = restOfLine(line, 3);
    auto bytes = readWholeFile(folder_ + "\\" + relative);
    if (!bytes || std::to_string(bytes->size()) != fields[1] || hex(checksum(*bytes)) != fields[2]) return false;
    workspaceListed |= relative == workspaceName;
  }
  manifest = std::move(*text);
  return workspaceListed;
}

RecoveryCopy::Found RecoveryCopy::inspect(MessageLog& log) {
  startupChecked_ = true;
  const std::string staging = folder_ + ".writing";
  const std::string previous = folder_ + ".old";
  // A swap cut short leaves the last good copy under its old name.
  if (!folderExists(folder_) && folderExists(previous)) renameFolder(previous, folder_);
  const bool halfWritten = folderExists(staging);
  removeFolder(staging);
  removeFolder(previous);

  if (!folderExists(folder_)) {
    if (halfWritten)
      log.append(formatText("Recovery copy \"%s\" was not complete - ignored !", staging.c_str()));
    return Found::none;
  }
  std::string manifest;
  if (verified(manifest)) return Found::usable;

  const std::string aside = folder_ + ".damaged";
  removeFolder(aside);
  if (!renameFolder(folder_, aside)) removeFolder(folder_);
  log.append(formatText("Recovery copy \"%s\" is damaged - ignored !", folder_.c_str()));
  return Found::damaged;
}

bool RecoveryCopy::restore(Workspace& workspace, const WorkspaceHooks& hooks, MessageLog& log) {
  std::string manifest;
  if (!verified(manifest)) {
    log.append(formatText("Recovery copy \"%s\" is damaged - ignored !", folder_.c_str()));
    return false;
  }
  struct Origin {
    std::string folder;
    std::string indexFileName;
  };
  std::vector<Origin> origins;
  for (const std::string& line : splitLines(manifest)) {
    if (line.rfind("EFFECT_FOLDER,", 0) == 0) origins.push_back({restOfLine(line, 1), {}});
    if (line.rfind("EFFECT_INDEX,", 0) == 0 && !origins.empty()) origins.back().indexFileName = restOfLine(line, 1);
  }
  auto text = readWholeFile(folder_ + "\\" + workspaceName);
  if (!text) return false;

  WorkspaceHooks restoring = hooks;
  size_t next = 0;
  restoring.openEffect = [&](const std::string& indexPath) -> std::unique_ptr<Effect> {
    // Read everything, shader sources included, from the copy; then the
    // effect belongs where it came from again.
    std::unique_ptr<Effect> effect = openEffectFile(indexPath, programFolder_, log);
    if (effect && next < origins.size()) {
      effect->folder = origins[next].folder;
      effect->indexFileName = origins[next].indexFileName;
    }
    ++next;
    return effect;
  };
  const bool complete = readWorkspaceText(*text, workspace, programFolder_, restoring, log);
  lastSnapshot_ = checksum(snapshotOf(workspace));
  haveSnapshot_ = true;
  return complete;
}

}  // namespace veltrace
