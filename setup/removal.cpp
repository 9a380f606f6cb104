#include "setup/removal.h"

#include "base/text.h"
#include "setup/install_engine.h"
#include "setup/install_paths.h"
#include "setup/shortcuts.h"
#include "setup/system_entries.h"

namespace veltrace::setup {

namespace {

constexpr std::uint16_t protectiveAttributes = attributeReadOnly | attributeHidden | attributeSystem;
constexpr std::size_t maxCommandBlockEntries = 65535;
constexpr int maxAgentFolderAttempts = 100;

// A path the removal may act on at all: absolute, plain components, and
// wildcards at most in its last component.
bool isActionablePath(std::string_view path) {
  return !pathRoot(path).empty() && pathRoot(path) != path && hasOnlyPlainComponents(path) &&
         !hasWildcards(parentFolder(path));
}

void deleteForRemoval(InstallContext& context, const std::string& path) {
  InstallPlatform& platform = context.platform;
  std::uint16_t attributes = platform.attributes(path);
  if (attributes == attributesAbsent) return;
  if (attributes & protectiveAttributes)
    platform.setAttributes(path, static_cast<std::uint16_t>(attributes & ~protectiveAttributes));
  std::uint32_t error = platform.deleteFile(path);
  if (error == errorNone || error == errorFileNotFound || error == errorPathNotFound) {
    context.log.event(eventFileRemoved, {path});
    return;
  }
  context.log.event(eventFileInUse, {path, formatText("%u", error)});
  context.inUse.push_back(path);
  if (context.removalOption < 0) {
    std::uint32_t scheduled = platform.moveAtRestart(path, "");
    if (scheduled == errorNotImplemented) {
      std::string wininit = joinPath(context.script.symbolValue(symbolWinDir), "WININIT.INI");
      platform.writeIniValue(wininit, "rename", "NUL", platform.shortPath(path));
    }
    context.restartRequired = true;
  }
}

void removeFile(InstallContext& context, const FileLine& line) {
  const std::string& path = line.name;
  if (hasWildcards(lastComponent(path))) {
    std::string folder = parentFolder(path);
    for (const std::string& name : context.platform.listFiles(folder, lastComponent(path)))
      deleteForRemoval(context, joinPath(folder, name));
  } else {
    deleteForRemoval(context, path);
  }
  deleteHelpSideFiles(context, path);
  if (endsWithIgnoringCase(path, ".exe")) deleteAppPathsOf(context, path);
}

std::string installationFolder(InstallContext& context) {
  return context.containmentFolder.empty() ? context.appFolder() : context.containmentFolder;
}

}  // namespace

bool shouldRemoveFile(InstallContext& context, const FileLine& line) {
  if (line.state <= 0 || !(line.flags & fileFlagRemove)) return false;
  const std::string& path = line.name;
  if (!isActionablePath(path)) {
    context.log.event(eventFileRefused, {path});
    return false;
  }
  bool inside = isBelowFolder(path, installationFolder(context));
  InstallPlatform& platform = context.platform;
  if (line.shared == sharedPrivate) {
    if (!inside) {
      context.log.event(eventFileRefused, {path});
      return false;
    }
    return !platform.isProtectedFile(path);
  }
  // A shared file outside the folder is another installation's business
  // unless the count says this one took part in it.
  if (!inside && sharedCount(platform, path) == 0) {
    context.log.event(eventFileRefused, {path});
    return false;
  }
  if (decrementSharedCount(platform, path) > 0) {
    context.log.event(eventFileKept, {path});
    return false;
  }
  if (platform.isProtectedFile(path)) return false;
  if (line.shared == sharedAlways) return true;
  return line.state == fileInstalled || line.state == fileNotDelivered;
}

void runRemovalSteps(InstallContext& context) {
  ProgressView& view = context.view();
  SetupScript& script = context.script;
  context.log.event(eventRemovalStarted, {script.symbolValue(symbolAppTitle), installationFolder(context)});
  context.state = InstallState::running;
  view.progress(0);

  view.stepStarted(stepRemoveShortcuts);
  removeShortcuts(context);
  view.progress(100);
  view.stepEnded(stepRemoveShortcuts);

  std::vector<const FileLine*> toRemove;
  for (const FileGroup& group : script.fileGroups())
    for (const FileEntry& file : group.files)
      if (shouldRemoveFile(context, file.line)) toRemove.push_back(&file.line);

  view.stepStarted(stepUnregister);
  for (const FileLine* line : toRemove)
    if (line->registration & registerKindMask) registerFile(context, line->name, line->registration, true);
  view.progress(200);
  view.stepEnded(stepUnregister);

  view.stepStarted(stepRestoreSettings);
  view.progress(300);
  view.stepEnded(stepRestoreSettings);

  view.stepStarted(stepRemoveFiles);
  for (std::size_t i = 0; i < toRemove.size(); ++i) {
    view.status(toRemove[i]->name);
    removeFile(context, *toRemove[i]);
    view.progress(300 + static_cast<int>((i + 1) * 600 / toRemove.size()));
    view.cancelRequested();  // lets the window repaint; a removal is not cancelled
  }
  // Temporary files an interrupted or deferred installation left behind.
  std::string folder = installationFolder(context);
  for (const FileGroup& group : script.fileGroups())
    for (const FileEntry& file : group.files) {
      std::string temporary = file.line.name + ".$$$";
      if (file.line.state != fileNotProcessed && isActionablePath(temporary) && isBelowFolder(temporary, folder))
        deleteForRemoval(context, temporary);
    }
  view.progress(900);
  view.stepEnded(stepRemoveFiles);
}

bool describesAnInstallation(InstallContext& context) {
  return context.mode == RunMode::install || !context.script.settings().timestamp.empty();
}

std::vector<AgentEntry> agentEntries(InstallContext& context) {
  std::vector<AgentEntry> entries;
  std::string folder = installationFolder(context);
  // The installed copy, never the program that runs: removing a partial
  // installation from the downloaded installer must not delete it. A
  // script that was never installed (a package's, or one lying in the
  // current folder) has no copy to delete.
  if (describesAnInstallation(context)) {
    entries.push_back({'F', joinPath(folder, "Setup.exe")});
    entries.push_back({'F', joinPath(folder, "Setup.ini")});
  }
  for (const std::string& path : context.inUse) entries.push_back({'F', path});
  if (const ScriptSection* dirs = context.script.section("UninstallDirs", false))
    for (const ScriptEntry& entry : dirs->entries) {
      if (!entry.value || !equalsIgnoringCase(entry.key, "Directory")) continue;
      std::string path = withoutTrailingSeparators(*entry.value);
      if (isActionablePath(path) && !hasWildcards(path)) entries.push_back({'D', path});
    }
  return entries;
}

std::string buildCommandBlock(const std::vector<AgentEntry>& entries) {
  std::string block;
  for (const AgentEntry& entry : entries) {
    if (entry.path.empty() || entry.path.find('\0') != std::string::npos) continue;
    std::size_t length = entry.path.size() + 2;  // letter, path, NUL
    if (block.size() + length > maxCommandBlockEntries) continue;
    block += entry.kind;
    block += entry.path;
    block += '\0';
  }
  block += '\0';
  return block;
}

bool runFinalCleanUp(InstallContext& context) {
  InstallPlatform& platform = context.platform;
  // The uninstall entry belongs to the installation the script describes;
  // a script that was never installed leaves another one's entry alone.
  if ((context.options & optionUninstallEntry) && describesAnInstallation(context))
    if (auto key = uninstallKeyOf(context.script)) platform.deleteRegistryTree(key->first, key->second);
  if (!context.runOnceValueName.empty())
    platform.deleteRegistryValue(RegistryRoot::localMachine, runOnceKey, context.runOnceValueName);

  std::string block = buildCommandBlock(agentEntries(context));
  std::string tempDir = context.script.symbolValue(symbolTempDir);
  // A folder of its own, so that nobody can put another program under the
  // agent's name between writing and starting it.
  std::string agentFolder;
  std::uint64_t seed = platform.systemTimeAsFileTime();
  for (int attempt = 0; attempt < maxAgentFolderAttempts && agentFolder.empty(); ++attempt) {
    std::string candidate =
        joinPath(tempDir, formatText("_OvnDel%08lX", static_cast<unsigned long>((seed / 10000 + attempt) & 0xFFFFFFFFu)));
    if (platform.createFolder(candidate) == errorNone) agentFolder = candidate;
  }
  bool started = false;
  if (!agentFolder.empty()) {
    std::string agentPath = joinPath(agentFolder, agentFileName);
    if (platform.writeDeletionAgent(agentPath)) {
      platform.moveAtRestart(agentPath, "");
      platform.moveAtRestart(agentFolder, "");
      started = platform.startDeletionAgent(agentPath, block, tempDir);
    }
  }
  context.log.event(started ? eventAgentStarted : eventAgentFailed, {agentFolder});
  context.state = InstallState::finished;
  context.view().progress(progressComplete);
  return started;
}

}  // namespace veltrace::setup
