#include "setup/install_engine.h"

#include "base/text.h"
#include "setup/install_paths.h"
#include "setup/setup_messages.h"
#include "setup/shortcuts.h"
#include "setup/system_entries.h"

namespace veltrace::setup {

namespace {

constexpr std::uint16_t protectiveAttributes = attributeReadOnly | attributeHidden | attributeSystem;
inline constexpr std::string_view temporarySuffix = ".$$$";
inline constexpr std::string_view uninstallDirsSection = "UninstallDirs";

std::int64_t versionValue(std::int32_t high, std::uint32_t low) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) | low);
}

void say(InstallContext& context, int id, const char* format, std::string_view argument,
         MessageButtons buttons = MessageButtons::ok) {
  if (context.quiet) return;
  std::string text(argument);
  context.platform.showMessage(id, formatText(format, text.c_str()), buttons);
}

void clearProtection(InstallPlatform& platform, std::string_view path) {
  std::uint16_t attributes = platform.attributes(path);
  if (attributes != attributesAbsent && (attributes & protectiveAttributes))
    platform.setAttributes(path, static_cast<std::uint16_t>(attributes & ~protectiveAttributes));
}

void reportProgress(InstallContext& context) {
  std::uint64_t total = context.requiredSize == 0 ? 1 : context.requiredSize;
  std::uint64_t done = context.bytesDone < total ? context.bytesDone : total;
  context.view().progress(static_cast<int>(done * progressFilesEnd / total));
}

void setFileState(InstallContext& context, std::size_t groupIndex, FileEntry& file, FileState state) {
  file.line.state = state;
  context.script.writeFileEntry(context.script.fileGroups()[groupIndex], file);
  context.scriptChanged = true;
}

bool isInUseError(std::uint32_t error) {
  return error == errorAccessDenied || error == errorSharingViolation || error == errorLockViolation ||
         error == errorAlreadyExists;
}

void recordFolder(InstallContext& context, const std::string& folder) {
  ScriptSection* section = context.script.section(uninstallDirsSection, true);
  for (const ScriptEntry& entry : section->entries)
    if (entry.value && equalsIgnoringCase(*entry.value, folder)) return;
  context.script.addEntry(section, "Directory", folder);
  context.scriptChanged = true;
}

// The group's folder, expanded and created on first use.
bool groupFolderReady(InstallContext& context, std::size_t groupIndex) {
  GroupState& group = context.groups[groupIndex];
  if (group.folderReady) return true;
  std::string folder = context.script.expand(context.script.fileGroups()[groupIndex].installDir);
  if (folder.empty() || !hasOnlyPlainComponents(folder)) {
    context.log.event(eventFileRefused, {folder});
    say(context, messageFolderNotCreated, textFolderNotCreated, folder);
    return false;
  }
  FoldersCreated result = createFolders(context, folder);
  if (!result.ok) {
    say(context, messageFolderNotCreated, textFolderNotCreated, folder);
    return false;
  }
  group.folder = result.path;
  group.folderCreated = result.created;
  group.folderReady = true;
  return true;
}

// Moves the temporary file onto the target until it works, the user gives
// up or the error is not one of a file in use.
enum class MoveResult { moved, deferred, failed };

MoveResult moveIntoPlace(InstallContext& context, const std::string& temporary, const std::string& target) {
  InstallPlatform& platform = context.platform;
  for (;;) {
    clearProtection(platform, target);
    std::uint32_t error = platform.moveFile(temporary, target);
    if (error == errorNone) return MoveResult::moved;
    if (!isInUseError(error)) {
      platform.deleteFile(temporary);
      context.log.event(eventFileFailed, {target, formatText("%u", error)});
      return MoveResult::failed;
    }
    if (context.quiet) return MoveResult::deferred;
    std::string text = formatText(textFileInUse, target.c_str());
    if (platform.showMessage(messageFileInUse, text, MessageButtons::retryCancel) != MessageAnswer::retry)
      return MoveResult::deferred;
  }
}

// Puts the file's data at the temporary path: extracted from the package
// or copied from beside the script.
bool writeTemporary(InstallContext& context, const FileInfo& packaged, const std::string& source,
                    const std::string& temporary) {
  InstallPlatform& platform = context.platform;
  clearProtection(platform, temporary);
  platform.deleteFile(temporary);
  bool written;
  if (context.reader) {
    written = platform.extractRecord(*context.reader, packaged, temporary, [&](std::uint32_t bytes) {
      context.bytesDone += bytes;
      reportProgress(context);
    });
  } else {
    written = platform.copyFile(joinPath(context.sourceFolder, source), temporary, std::nullopt);
    context.bytesDone += packaged.size;
    reportProgress(context);
  }
  // A partial temporary file would outlive the run for nothing.
  if (!written) platform.deleteFile(temporary);
  return written;
}

void skipRecordData(InstallContext& context, const FileInfo& packaged) {
  if (context.reader)
    context.reader->skipData(packaged);
  context.bytesDone += packaged.size;
  reportProgress(context);
}

FileState removeObsolete(InstallContext& context, const FileLine& line, const std::string& target) {
  InstallPlatform& platform = context.platform;
  if (!platform.fileInfo(target)) return fileNotDelivered;
  if (line.shared != sharedPrivate && decrementSharedCount(platform, target) > 0) return fileNotDelivered;
  if (line.registration & registerKindMask) registerFile(context, target, line.registration, true);
  clearProtection(platform, target);
  if (platform.deleteFile(target) != errorNone) return fileNotDelivered;
  context.log.event(eventFileRemoved, {target});
  return fileObsoleteOrOtherPlatform;
}

}  // namespace

OverwriteDecision decideOverwrite(std::int32_t overwrite, const FileInfo& packaged, const FileInfo& existing) {
  if (!existing.exists()) return OverwriteDecision::install;
  if (overwrite == overwriteAlways) return OverwriteDecision::replace;
  if (overwrite != overwriteIfNewer) return OverwriteDecision::keep;
  std::int64_t newProduct = versionValue(packaged.productVersionHigh, packaged.productVersionLow);
  std::int64_t oldProduct = versionValue(existing.productVersionHigh, existing.productVersionLow);
  if (newProduct != oldProduct) return newProduct > oldProduct ? OverwriteDecision::replace : OverwriteDecision::keep;
  std::int64_t newFile = versionValue(packaged.fileVersionHigh, packaged.fileVersionLow);
  std::int64_t oldFile = versionValue(existing.fileVersionHigh, existing.fileVersionLow);
  if (newFile != oldFile) return newFile > oldFile ? OverwriteDecision::replace : OverwriteDecision::keep;
  return packaged.lastWriteTime > existing.lastWriteTime ? OverwriteDecision::replace : OverwriteDecision::keep;
}

FoldersCreated createFolders(InstallContext& context, std::string_view path) {
  InstallPlatform& platform = context.platform;
  FoldersCreated result;
  result.path = withoutTrailingSeparators(platform.fullPath(path));
  std::string root = pathRoot(result.path);
  std::string current = root.size() == 2 && root[1] == ':' ? root + "\\" : root;
  bool recordAll = (context.options & optionRecordAllFolders) != 0;
  // The application's own folders are recorded even when they exist: a run
  // that was killed before saving its script may have created them.
  std::string appFolder = context.appFolder();
  std::vector<std::string> onPath;
  for (const std::string& component : pathComponents(result.path)) {
    current = joinPath(current, component);
    onPath.push_back(current);
    bool ownFolder = context.state == InstallState::running &&
                     (equalsIgnoringCase(current, appFolder) || isBelowFolder(current, appFolder));
    if (platform.folderExists(current)) {
      if (ownFolder && !recordAll) recordFolder(context, current);
      continue;
    }
    std::uint32_t error = platform.createFolder(current);
    if (error == errorAlreadyExists) continue;
    if (error != errorNone) {
      context.log.event(eventFolderFailed, {current, formatText("%u", error)});
      return result;
    }
    context.log.event(eventFolderCreated, {current});
    result.created = true;
    if (!recordAll) recordFolder(context, current);
  }
  if (recordAll && result.created)
    for (const std::string& folder : onPath) recordFolder(context, folder);
  result.ok = true;
  return result;
}

std::uint64_t requiredSize(const SetupScript& script, std::uint8_t platformBit) {
  std::uint64_t total = 0;
  for (const FileGroup& group : script.fileGroups())
    for (const FileEntry& file : group.files)
      if (file.line.platforms & platformBit) total += file.line.size;
  return total;
}

void prepareContext(InstallContext& context) {
  context.groups.assign(context.script.fileGroups().size(), GroupState{});
  context.options = context.script.settings().options;
  context.requiredSize = requiredSize(context.script, context.platform.platformBit());
}

FileState installOneFile(InstallContext& context, std::size_t groupIndex, std::size_t fileIndex) {
  InstallPlatform& platform = context.platform;
  FileEntry& file = context.script.fileGroups()[groupIndex].files[fileIndex];
  FileLine& line = file.line;
  auto finish = [&](FileState state) {
    setFileState(context, groupIndex, file, state);
    return state;
  };

  std::string source = context.script.expand(line.source);
  if (!groupFolderReady(context, groupIndex)) return finish(fileFailed);
  std::string name = lastComponent(source);
  bool sourceSafe = context.reader ? isSafeRecordName(source) : isSafeRelativePath(source);
  if (!sourceSafe || hasWildcards(name)) {
    context.log.event(eventFileRefused, {source});
    return finish(fileFailed);
  }
  GroupState& group = context.groups[groupIndex];
  std::string target = joinPath(group.folder, name);
  std::string temporary = target + std::string(temporarySuffix);
  context.view().status(target);
  line.name = target;

  FileState state;
  if (line.flags & fileFlagDeliver) {
    FileInfo packaged;
    bool found;
    if (context.reader) {
      found = context.reader->find(source, packaged);
    } else {
      auto onDisk = platform.fileInfo(joinPath(context.sourceFolder, source));
      found = onDisk.has_value();
      if (onDisk) packaged = *onDisk;
    }
    if (!found) {
      context.log.event(eventFileMissing, {source});
      return finish(fileSourceMissing);
    }
    FileInfo existing = platform.fileInfo(target).value_or(FileInfo{});
    OverwriteDecision decision = decideOverwrite(line.overwrite, packaged, existing);
    static const char* decisionNames[] = {"install", "replace", "keep"};
    context.log.event(eventFileDecision, {target, decisionNames[static_cast<int>(decision)]});
    if (decision == OverwriteDecision::keep) {
      skipRecordData(context, packaged);
      state = fileKept;
    } else if (platform.isProtectedFile(target)) {
      skipRecordData(context, packaged);
      state = fileProtected;
    } else {
      if (!writeTemporary(context, packaged, source, temporary)) {
        context.log.event(eventFileFailed, {target});
        return finish(fileFailed);
      }
      switch (moveIntoPlace(context, temporary, target)) {
        case MoveResult::failed:
          return finish(fileFailed);
        case MoveResult::deferred:
          context.log.event(eventFileDeferred, {target});
          context.deferred.push_back(FileRef{groupIndex, fileIndex});
          return finish(fileDeferred);
        case MoveResult::moved:
          break;
      }
      platform.setAttributes(target, static_cast<std::uint16_t>(line.attributes & attributeApplyMask));
      context.log.event(eventFileInstalled, {target});
      deleteHelpSideFiles(context, target);
      state = decision == OverwriteDecision::install ? fileInstalled : fileReplaced;
    }
  } else {
    state = (line.flags & fileFlagDeleteObsolete) ? removeObsolete(context, line, target) : fileNotDelivered;
  }

  if (state == fileInstalled || state == fileReplaced) {
    if (line.flags & fileFlagNeedsRestart) context.restartRequired = true;
    ++group.installedCount;
  }
  if ((state == fileInstalled || state == fileReplaced || state == fileKept || state == fileProtected) &&
      line.shared != sharedPrivate)
    incrementSharedCount(platform, target);
  return finish(state);
}

bool registerFile(InstallContext& context, std::string_view path, std::int32_t registration, bool unregister) {
  InstallPlatform& platform = context.platform;
  std::string file(path);
  platform.setCurrentFolder(parentFolder(file));
  bool done = true;
  switch (registration & registerKindMask) {
    case registerLibrary:
      done = platform.registerLibrary(file, unregister);
      break;
    case registerTypeLibrary:
      done = platform.registerTypeLibrary(file, unregister);
      break;
    case registerProgram:
      done = platform.startProgram(formatText("\"%s\" %s", file.c_str(), unregister ? "/UnregServer" : "/RegServer"));
      break;
    case registerHelpFile: {
      std::string name = lastComponent(file);
      if (!unregister) {
        done = platform.setRegistryString(RegistryRoot::localMachine, helpFilesKey, name, file);
      } else if (auto value = platform.registryValue(RegistryRoot::localMachine, helpFilesKey, name)) {
        std::string named = value->data.substr(0, value->data.find('\0'));
        if (equalsIgnoringCase(named, file) || equalsIgnoringCase(named, platform.shortPath(file)))
          platform.deleteRegistryValue(RegistryRoot::localMachine, helpFilesKey, name);
      }
      break;
    }
    default:
      break;
  }
  if (!context.sourceFolder.empty()) platform.setCurrentFolder(context.sourceFolder);
  context.log.event(done ? eventRegistered : eventRegistrationFailed, {file, unregister ? "unregister" : "register"});
  return done;
}

void deleteHelpSideFiles(InstallContext& context, std::string_view path) {
  if (!endsWithIgnoringCase(path, ".hlp") && !endsWithIgnoringCase(path, ".cnt")) return;
  std::string base(path.substr(0, path.size() - 4));
  std::string helpDir = context.script.symbolValue(symbolHelpDir);
  for (const char* extension : {".gid", ".fts", ".ftg", ".bmk", ".ann"}) {
    context.platform.deleteFile(base + extension);
    if (!helpDir.empty()) context.platform.deleteFile(joinPath(helpDir, lastComponent(base) + extension));
  }
}

namespace {

bool prepareStep(InstallContext& context) {
  SetupScript& script = context.script;
  InstallPlatform& platform = context.platform;
  std::string appFolder = context.appFolder();
  context.log.event(eventInstallStarted, {script.symbolValue(symbolAppTitle), appFolder});
  context.state = InstallState::running;
  LocalTime now = platform.localTime();
  ScriptSection* install = script.section("Install", true);
  script.setValue(install, "Timestamp", formatText("%04u-%02u-%02u %02u:%02u:%02u", now.year, now.month, now.day,
                                                   now.hour, now.minute, now.second));
  script.setIntValue(install, "NoDirSelect", 1);
  context.scriptChanged = true;

  if (appFolder.empty() || !hasOnlyPlainComponents(appFolder)) {
    say(context, messageFolderNotCreated, textFolderNotCreated, appFolder);
    return false;
  }
  FoldersCreated folder = createFolders(context, appFolder);
  if (!folder.ok) {
    say(context, messageFolderNotCreated, textFolderNotCreated, appFolder);
    return false;
  }
  script.setSymbol(symbolAppFolder, folder.path);
  if (context.containmentFolder.empty()) context.containmentFolder = folder.path;

  // Setup.exe: the program without its package, so that removal carries no
  // payload. Running from the installed copy itself there is nothing to do.
  std::string setupCopy = joinPath(folder.path, "Setup.exe");
  if (!equalsIgnoringCase(platform.fullPath(context.setupProgramPath), platform.fullPath(setupCopy))) {
    clearProtection(platform, setupCopy);
    platform.deleteFile(setupCopy);
    std::optional<std::uint64_t> length;
    if (context.packageOffset) length = *context.packageOffset;
    if (!platform.copyFile(context.setupProgramPath, setupCopy, length)) {
      context.log.event(eventFileFailed, {setupCopy});
      say(context, messageFileNotInstalled, textFileNotInstalled, setupCopy);
      return false;
    }
  }
  platform.setAttributes(setupCopy, protectiveAttributes);
  context.log.event(eventSetupCopied, {setupCopy});
  return true;
}

bool filesStep(InstallContext& context) {
  auto& groups = context.script.fileGroups();
  std::uint8_t bit = context.platform.platformBit();
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (std::size_t f = 0; f < groups[g].files.size(); ++f) {
      if (context.view().cancelRequested()) {
        context.state = InstallState::cancelled;
        return false;
      }
      FileEntry& file = groups[g].files[f];
      if (!(file.line.platforms & bit)) {
        setFileState(context, g, file, fileObsoleteOrOtherPlatform);
        continue;
      }
      FileState state = installOneFile(context, g, f);
      if (state == fileSourceMissing || state == fileFailed) {
        say(context, messageFileNotInstalled, textFileNotInstalled,
            file.line.name.empty() ? file.line.source : file.line.name);
        // A folder that cannot be created is never ignored.
        bool folderFailed = !context.groups[g].folderReady;
        return !folderFailed && context.ignores(ignoreFileInstallation);
      }
    }
  }
  return true;
}

bool registrationStep(InstallContext& context) {
  if (!context.deferred.empty()) {
    context.registrationDeferred = true;
    return true;
  }
  for (const FileGroup& group : context.script.fileGroups()) {
    for (const FileEntry& file : group.files) {
      if (file.line.state <= 0 || !(file.line.registration & registerKindMask)) continue;
      if (!registerFile(context, file.line.name, file.line.registration, false)) {
        say(context, messageRegistrationFailed, textRegistrationFailed, file.line.name);
        return context.ignores(ignoreRegistration);
      }
    }
  }
  return true;
}

bool finishStep(InstallContext& context) {
  InstallPlatform& platform = context.platform;
  for (const FileRef& ref : context.deferred) {
    FileEntry& file = context.entry(ref);
    std::string target = file.line.name;
    std::string temporary = target + std::string(temporarySuffix);
    context.log.event(eventFileDeferred, {target});
    clearProtection(platform, target);
    std::uint32_t error = platform.moveAtRestart(temporary, target);
    if (error == errorNotImplemented) {
      std::string wininit = joinPath(context.script.symbolValue(symbolWinDir), "WININIT.INI");
      if (!platform.writeIniValue(wininit, "rename", platform.shortPath(target), platform.shortPath(temporary)))
        return false;
    } else if (error != errorNone) {
      return false;
    }
    context.restartRequired = true;
    setFileState(context, ref.group, file, fileReplaced);
    if (file.line.shared != sharedPrivate) incrementSharedCount(platform, target);
  }
  if ((context.options & optionUninstallEntry) && !writeUninstallEntry(context)) return false;
  if (context.registrationDeferred && !writeRunOnceEntry(context)) return false;
  return true;
}

}  // namespace

bool runInstallation(InstallContext& context) {
  ProgressView& view = context.view();
  auto fail = [&](InstallState state = InstallState::failed) {
    if (!isInterrupted(context.state)) context.state = state;
    return false;
  };
  view.progress(0);
  view.stepStarted(stepInstallFiles);
  if (!prepareStep(context)) return fail();
  if (!filesStep(context)) return fail();
  view.progress(progressFilesEnd);
  view.stepEnded(stepInstallFiles);

  if ((context.options & optionAppPaths) && !writeAppPaths(context) && !context.ignores(ignoreFileInstallation))
    return fail();

  view.stepStarted(stepRegister);
  if (!registrationStep(context)) return fail();
  view.progress(850);
  view.stepEnded(stepRegister);

  view.stepStarted(stepShortcuts);
  if (!createShortcuts(context)) return fail();
  view.progress(900);
  view.stepEnded(stepShortcuts);

  view.stepStarted(stepSystemSettings);
  view.progress(950);
  view.stepEnded(stepSystemSettings);

  view.stepStarted(stepCleanUp);
  if (!finishStep(context)) return fail();
  if (context.options & optionRestartRequired) context.restartRequired = true;
  context.state = InstallState::finished;
  view.progress(progressComplete);
  view.stepEnded(stepCleanUp);
  context.log.event(eventInstallFinished, {context.appFolder()});
  return true;
}

bool saveInstalledScript(InstallContext& context) {
  InstallPlatform& platform = context.platform;
  std::string path = joinPath(context.appFolder(), "Setup.ini");
  clearProtection(platform, path);
  if (!context.script.saveScript(path)) {
    context.log.event(eventScriptNotSaved, {path});
    say(context, messageScriptNotSaved, textScriptNotSaved, path);
    context.exitCode = exitScriptNotSaved;
    return false;
  }
  platform.setAttributes(path, protectiveAttributes);
  context.scriptChanged = false;
  context.log.event(eventScriptSaved, {path});
  return true;
}

bool runDeferredRegistration(InstallContext& context) {
  context.log.event(eventInstallStarted, {"/register"});
  context.state = InstallState::running;
  bool allDone = true;
  for (const FileGroup& group : context.script.fileGroups())
    for (const FileEntry& file : group.files)
      if (file.line.state > 0 && (file.line.registration & registerKindMask))
        allDone = registerFile(context, file.line.name, file.line.registration, false) && allDone;
  context.state = InstallState::finished;
  context.scriptChanged = true;
  return allDone;
}

}  // namespace veltrace::setup
