#pragma once
// The plain-text trace of a run, appended to a file named like the setup
// program with ".log", in the temporary folder. A log past 64 KiB is
// deleted before the run's first line. Each opening writes a banner:
//   78 "=", the engine's name and version, its build text, 78 "=",
//   then "YYYY-MM-DD hh:mm:ss - program path".
// Each event is "%08lX" of its code, then "|" and each text argument. Lines
// end with CR LF.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace veltrace::setup {

class InstallPlatform;

inline constexpr std::string_view engineName = "Orvane Installer";
inline constexpr std::string_view engineVersion = "2.66.1387";
inline constexpr std::string_view engineBuildText = "Veltrace setup";
constexpr std::uint64_t maxTraceLogSize = 65536;

// Event codes: severity in the top byte, the subsystem in the next, a
// 16-bit number below.
constexpr std::uint32_t severityInformation = 0x01000000;
constexpr std::uint32_t severityAction = 0x02000000;
constexpr std::uint32_t severityError = 0x04000000;
constexpr std::uint32_t subsystemStartup = 0x00010000;
constexpr std::uint32_t subsystemFiles = 0x00020000;
constexpr std::uint32_t subsystemRegistry = 0x00030000;
constexpr std::uint32_t subsystemShortcuts = 0x00040000;
constexpr std::uint32_t subsystemRemoval = 0x00050000;
constexpr std::uint32_t subsystemWizard = 0x00060000;

enum TraceEvent : std::uint32_t {
  eventStarted = severityInformation | subsystemStartup | 1,
  eventSystem = severityInformation | subsystemStartup | 2,
  eventAdministrator = severityInformation | subsystemStartup | 3,
  eventInstallStarted = severityInformation | subsystemStartup | 4,
  eventInstallFinished = severityInformation | subsystemStartup | 5,
  eventRunEnded = severityInformation | subsystemStartup | 6,
  eventApplicationRunning = severityError | subsystemStartup | 7,
  eventFolderCreated = severityAction | subsystemFiles | 1,
  eventFolderFailed = severityError | subsystemFiles | 2,
  eventFileDecision = severityInformation | subsystemFiles | 3,
  eventFileInstalled = severityAction | subsystemFiles | 4,
  eventFileMissing = severityError | subsystemFiles | 5,
  eventFileFailed = severityError | subsystemFiles | 6,
  eventFileDeferred = severityAction | subsystemFiles | 7,
  eventFileRefused = severityError | subsystemFiles | 8,
  eventSetupCopied = severityAction | subsystemFiles | 9,
  eventScriptSaved = severityAction | subsystemFiles | 10,
  eventScriptNotSaved = severityError | subsystemFiles | 11,
  eventRegistered = severityAction | subsystemRegistry | 1,
  eventRegistrationFailed = severityError | subsystemRegistry | 2,
  eventRegistryWritten = severityAction | subsystemRegistry | 3,
  eventRegistryFailed = severityError | subsystemRegistry | 4,
  eventShortcutCreated = severityAction | subsystemShortcuts | 1,
  eventShortcutSkipped = severityInformation | subsystemShortcuts | 2,
  eventShortcutFailed = severityError | subsystemShortcuts | 3,
  eventRemovalStarted = severityInformation | subsystemRemoval | 1,
  eventFileRemoved = severityAction | subsystemRemoval | 2,
  eventFileKept = severityInformation | subsystemRemoval | 3,
  eventFileInUse = severityError | subsystemRemoval | 4,
  eventShortcutRemoved = severityAction | subsystemRemoval | 5,
  eventAgentStarted = severityAction | subsystemRemoval | 6,
  eventAgentFailed = severityError | subsystemRemoval | 7,
  eventFolderChosen = severityInformation | subsystemWizard | 1,
  eventFolderRefused = severityError | subsystemWizard | 2,
  eventShellOpened = severityAction | subsystemWizard | 3,
  eventShellOpenFailed = severityError | subsystemWizard | 4,
  eventWizardCancelled = severityInformation | subsystemWizard | 5,
};

class TraceLog {
 public:
  // Nothing is written while no path is set (before the folders are known).
  void open(InstallPlatform& platform, std::string_view logPath, std::string_view programPath);
  void event(std::uint32_t code, std::initializer_list<std::string_view> arguments);
  const std::string& path() const { return path_; }

 private:
  void write(std::string_view text);
  InstallPlatform* platform_ = nullptr;
  std::string path_;
};

// "Setup.exe" in "C:\T" logs to "C:\T\Setup.log".
std::string traceLogPath(std::string_view programPath, std::string_view tempFolder);

// "%08lX|a|b" (no line end).
std::string formatTraceEvent(std::uint32_t code, std::initializer_list<std::string_view> arguments);
// The banner and time line, with CR LF ends.
std::string formatTraceBanner(const struct LocalTime& time, std::string_view programPath);
// LF becomes CR LF (a CR LF stays as it is).
std::string withCrLf(std::string_view text);

}  // namespace veltrace::setup
