#include "setup/setup_run.h"

#include "app/message_log.h"
#include "base/text.h"
#include "setup/install_engine.h"
#include "setup/install_paths.h"
#include "setup/package_locator.h"
#include "setup/package_search.h"
#include "setup/removal.h"
#include "setup/setup_messages.h"
#include "setup/system_entries.h"

namespace veltrace::setup {

namespace {

constexpr std::size_t processNameCompareLength = 15;
constexpr std::size_t maxShownWindowTitle = 260;
constexpr unsigned processingWindowDelayMs = 500;

bool sameProcessName(std::string_view a, std::string_view b) {
  a = a.substr(0, std::min(a.size(), processNameCompareLength));
  b = b.substr(0, std::min(b.size(), processNameCompareLength));
  return equalsIgnoringCase(a, b);
}

void logSystem(InstallContext& context) {
  SystemVersion version = context.platform.systemVersion();
  context.log.event(eventSystem, {formatText("Windows %s%u.%u.%u %s", version.ntFamily ? "NT " : "", version.major,
                                             version.minor, version.build, version.servicePack.c_str())});
  context.log.event(eventAdministrator, {context.platform.isAdministrator() ? "administrator" : "user"});
}

void runModeSteps(InstallContext& context) {
  switch (context.mode) {
    case RunMode::install:
      runInstallation(context);
      break;
    case RunMode::remove:
      runRemovalSteps(context);
      runFinalCleanUp(context);
      break;
    case RunMode::registerServers:
      runDeferredRegistration(context);
      break;
    case RunMode::unset:
      break;
  }
}

}  // namespace

bool administratorCheck(InstallContext& context) {
  InstallPlatform& platform = context.platform;
  if ((context.options & optionUninstallEntry) &&
      !platform.registryKeyWritable(RegistryRoot::localMachine, uninstallKey))
    context.options &= ~optionUninstallEntry;
  if ((context.options & optionAdministratorRequired) && !platform.isAdministrator()) {
    if (!context.quiet)
      platform.showMessage(messageAdministratorRequired, textAdministratorRequired, MessageButtons::ok);
    context.exitCode = exitAdministratorRequired;
    return false;
  }
  return true;
}

std::optional<std::string> runningApplication(InstallContext& context) {
  std::string program = context.script.expand(context.script.settings().path);
  if (program.empty()) return std::nullopt;
  std::string name = lastComponent(program);
  auto processes = context.platform.runningProcesses();
  if (!processes) return std::nullopt;
  for (const RunningProcess& process : *processes) {
    if (!sameProcessName(process.exeFileName, name)) continue;
    std::string shown = process.windowTitle.substr(0, maxShownWindowTitle);
    return shown.empty() ? name : shown;
  }
  return std::nullopt;
}

int exitPath(InstallContext& context, const CommandLine& commandLine) {
  InstallPlatform& platform = context.platform;
  bool deleteLog = (context.options & optionDeleteTraceLog) != 0;
  bool partialRemoved = false;
  bool nothingDone = context.state == InstallState::idle || context.state == InstallState::running;
  if (nothingDone) {
    context.restartRequired = false;
    if (context.exitCode == exitSuccess) context.exitCode = exitCancelledBeforeInstalling;
  } else if (isInterrupted(context.state) && context.mode == RunMode::install && context.removePartial) {
    runRemovalSteps(context);
    runFinalCleanUp(context);
    context.restartRequired = false;
    partialRemoved = true;
    if (context.exitCode == exitSuccess) context.exitCode = exitInterrupted;
  }
  bool interrupted = isInterrupted(context.state) && !partialRemoved;
  if (!nothingDone && !partialRemoved && context.mode != RunMode::remove && context.scriptChanged)
    saveInstalledScript(context);
  if (context.mode == RunMode::remove) context.restartRequired = false;
  if (interrupted && context.exitCode == exitSuccess) context.exitCode = exitInterrupted;
  if (context.exitCode == exitSuccess && context.restartRequired) context.exitCode = exitRestartRequired;
  context.log.event(eventRunEnded, {formatText("%d", context.exitCode)});
  if (deleteLog && !interrupted && !context.log.path().empty()) platform.deleteFile(context.log.path());
  if (commandLine.restartLevel >= 2 || (commandLine.restartLevel == 1 && context.restartRequired))
    platform.restartWindows();
  return context.exitCode;
}

int runSetup(InstallPlatform& platform, SetupWindows& windows, const SetupStart& start) {
  CommandLine commandLine = parseCommandLine(start.commandLine);
  SetupScript script(platform);
  PackageReader reader;
  MessageLog messages;
  PackageSearch search{commandLine.packagePath, start.folders.setupProgramPath, start.currentFolder};
  // Removing or registering, the installed copy's own script beside it
  // comes before any "Setup.ini" that happens to lie in the current folder.
  bool actsOnAnInstallation = commandLine.mode == RunMode::remove || commandLine.mode == RunMode::registerServers;
  std::string besideProgram = joinPath(parentFolder(start.folders.setupProgramPath), scriptRecordName);
  if (actsOnAnInstallation && search.commandLinePath.empty() && platform.fileInfo(besideProgram))
    search.commandLinePath = besideProgram;
  PackageFound found = findAndLoadPackage(search, reader, script, messages);
  if (!found.ok) {
    if (!commandLine.quiet())
      platform.showMessage(messageDatabaseNotValid, found.failureMessage, MessageButtons::ok);
    return found.exitCode;
  }
  if (!found.workingFolder.empty()) platform.setCurrentFolder(found.workingFolder);
  if (!commandLine.installFolder.empty()) script.setSymbol(symbolAppFolder, commandLine.installFolder);
  if (commandLine.hasUninstallPrevious) script.setSymbol(symbolUninstallPrev, commandLine.uninstallPrevious);
  if (!script.applyRuntimeSymbols(start.folders)) {
    if (!commandLine.quiet()) platform.showMessage(messageFolderCache, textFolderCache, MessageButtons::ok);
    return exitStartupFailed;
  }
  script.setSymbol(symbolLangId, "1033");

  TraceLog log;
  std::string tempDir = script.symbolValue(symbolTempDir);
  log.open(platform, traceLogPath(start.folders.setupProgramPath,
                                  tempDir.empty() ? script.symbolValue(symbolWinDir) : tempDir),
           start.folders.setupProgramPath);
  SilentProgress silent;
  InstallContext context(script, platform, silent, log);
  context.reader = found.hasArchive ? &reader : nullptr;
  context.sourceFolder = found.workingFolder;
  context.setupProgramPath = start.folders.setupProgramPath;
  if (auto locator = readPackageLocator(context.setupProgramPath)) context.packageOffset = locator->packageOffset;
  context.mode = effectiveMode(commandLine, !script.settings().timestamp.empty());
  context.quiet = commandLine.quiet();
  context.removalOption = commandLine.removalOption;
  context.removePartial = commandLine.removePartialWithoutAsking;
  prepareContext(context);
  // Removing or registering, the installation is the folder that holds its
  // saved script, wherever it was put: the script keeps only the default.
  // The uninstall entry starts the copy by its short path; the script
  // records long ones.
  if (context.mode != RunMode::install && !found.hasArchive) {
    context.containmentFolder = platform.longPath(platform.fullPath(found.workingFolder));
    if (commandLine.installFolder.empty()) script.setSymbol(symbolAppFolder, context.containmentFolder);
  }
  log.event(eventStarted, {start.commandLine});
  logSystem(context);

  if (context.options & optionRefuseWhileRunning) {
    if (auto running = runningApplication(context)) {
      log.event(eventApplicationRunning, {*running});
      MessageAnswer answer = MessageAnswer::cancel;
      if (!context.quiet)
        answer = platform.showMessage(messageApplicationRunning,
                                      formatText(textApplicationRunning, running->c_str()), MessageButtons::okCancel);
      if (answer != MessageAnswer::ok) return exitApplicationRunning;
    }
  }

  std::string title = script.symbolValue(symbolAppTitle);
  bool shown;
  if (!context.quiet && context.mode == RunMode::install) {
    shown = windows.runWizard(context);
  } else if (context.quiet || context.mode != RunMode::remove) {
    shown = windows.runProcessingWindow(title, commandLine.quietLevel, [&](ProgressView& view) {
      context.progressView = &view;
      if (administratorCheck(context)) {
        platform.sleep(processingWindowDelayMs);
        runModeSteps(context);
      }
      context.progressView = &silent;
    });
  } else {
    shown = windows.runUninstallWindow(
        title, contactRows(script),
        [&](ProgressView& view) {
          context.progressView = &view;
          bool allowed = administratorCheck(context);
          if (allowed) runRemovalSteps(context);
          context.progressView = &silent;
          return allowed;
        },
        [&] { runFinalCleanUp(context); });
  }
  if (!shown) return exitNoUserInterface;
  return exitPath(context, commandLine);
}

}  // namespace veltrace::setup
