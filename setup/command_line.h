#pragma once
// The setup program's command line and its exit codes.
//
// The line is split at white space into at most 63 tokens; the first (the
// program's own path) is skipped. A token that starts with '"', '\'' or
// '`' runs to the next same character, which is dropped. Options start
// with "/" or "-"; their letters Q, B, U, X are tested before the words
// "install[:folder]" (first seven letters), "remove" and "register"; an
// unknown option is ignored. Any other token names the package or script.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrace::setup {

constexpr std::size_t maxCommandLineTokens = 63;

enum ExitCode : int {
  exitSuccess = 0,
  exitStartupFailed = 2,
  exitPackageInvalid = 3,
  exitScriptNotSaved = 4,
  exitInterrupted = 5,
  exitCancelledBeforeInstalling = 6,
  exitUnknownMode = 7,
  exitNoUserInterface = 8,
  exitAdministratorRequired = 10,
  exitRestartRequired = 12,
  exitApplicationRunning = 13,
};

enum class RunMode { unset, install, remove, registerServers };

struct CommandLine {
  RunMode mode = RunMode::unset;
  std::string installFolder;  // from "install:folder"; empty when none
  int quietLevel = 0;
  int restartLevel = 1;       // "B": 2+ always, 1 when still required, 0- never
  int removalOption = 0;      // "U": negative schedules undeletable files for the restart
  bool hasUninstallPrevious = false;
  std::string uninstallPrevious;
  bool removePartialWithoutAsking = false;  // "X"
  std::string packagePath;

  bool quiet() const { return quietLevel != 0; }
};

std::vector<std::string> splitCommandLine(std::string_view line);
// `line` is the whole command line, the program's own path first.
CommandLine parseCommandLine(std::string_view line);

// Without a mode word: install when the script has no "[Install]"
// "Timestamp", remove when it has one.
RunMode effectiveMode(const CommandLine& commandLine, bool scriptHasTimestamp);

}  // namespace veltrace::setup
