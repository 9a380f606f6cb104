#pragma once
// Everything the installation engine and the removal ask of the running
// system beyond symbol expansion: files and folders with their Windows
// attributes and error numbers, moves at the next restart, registry writes,
// registration of COM servers, shell links, the process list, message
// boxes, the clock, the restart and the deletion agent. The Windows build
// asks the real system (windows_install_platform.h); the native tests use a
// fake that keeps files on disk and everything else in memory, and injects
// faults.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/file_info.h"
#include "setup/setup_platform.h"

namespace veltrace::setup {

class PackageReader;

// The Windows error numbers the engine tells apart.
enum SystemError : std::uint32_t {
  errorNone = 0,
  errorFileNotFound = 2,
  errorPathNotFound = 3,
  errorAccessDenied = 5,
  errorSharingViolation = 32,
  errorLockViolation = 33,
  errorDiskFull = 112,
  errorNotImplemented = 120,
  errorAlreadyExists = 183,
};

// The second button is the default of okCancelDefaultCancel and yesNo.
enum class MessageButtons { ok, okCancel, okCancelDefaultCancel, retryCancel, yesNo };
enum class MessageAnswer { ok, cancel, retry, yes, no };

struct LocalTime {
  unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// What a shell link is made of, all expanded.
struct ShellLinkData {
  std::string target;
  std::string workDir;
  std::string arguments;
  std::string description;
  std::string iconPath;
  std::int32_t iconIndex = 0;
  std::int32_t showCommand = 1;
};

struct RunningProcess {
  std::string exeFileName;  // the executable's file name, no folder
  std::string windowTitle;  // its first visible top-level window; empty when none
};

struct SystemVersion {
  bool ntFamily = true;
  unsigned major = 5, minor = 1, build = 2600;
  std::string servicePack;
};

class InstallPlatform : public SetupPlatform {
 public:
  // --- files and folders ---
  // Nothing when there is no file (a folder is no file).
  virtual std::optional<FileInfo> fileInfo(std::string_view path) = 0;
  virtual bool folderExists(std::string_view path) = 0;
  // errorNone when created, errorAlreadyExists when it was there.
  virtual std::uint32_t createFolder(std::string_view path) = 0;
  virtual std::uint32_t removeFolder(std::string_view path) = 0;
  virtual std::uint32_t deleteFile(std::string_view path) = 0;
  // attributesAbsent when the file does not exist.
  virtual std::uint16_t attributes(std::string_view path) = 0;
  virtual bool setAttributes(std::string_view path, std::uint16_t attributes) = 0;
  // Moves onto a target that does not exist (errorAlreadyExists when it does).
  virtual std::uint32_t moveFile(std::string_view from, std::string_view to) = 0;
  // Copies the first `length` bytes (all when nothing is given) in pieces,
  // with the source's time; reports the bytes of every piece.
  virtual bool copyFile(std::string_view from, std::string_view to, std::optional<std::uint64_t> length) = 0;
  // Extracts the reader's current record (the engine's temporary name).
  virtual bool extractRecord(PackageReader& reader, const FileInfo& info, std::string_view path,
                             const std::function<void(std::uint32_t)>& progress) = 0;
  // Names (no folder) of the files in `folder` matching the wildcard
  // `pattern` ("*" and "?").
  virtual std::vector<std::string> listFiles(std::string_view folder, std::string_view pattern) = 0;
  virtual std::string fullPath(std::string_view path) = 0;
  // The 8.3 form; the path itself where the system has no short names.
  virtual std::string shortPath(std::string_view path) = 0;
  // Every short component in its long form; the path itself when it does
  // not exist.
  virtual std::string longPath(std::string_view path) = 0;
  virtual bool appendToFile(std::string_view path, std::string_view text) = 0;
  virtual std::optional<std::uint64_t> fileSize(std::string_view path) = 0;
  virtual bool setCurrentFolder(std::string_view path) = 0;
  // The file protection of Windows; false where the system has none.
  virtual bool isProtectedFile(std::string_view path) = 0;

  // --- at the next restart ---
  // Moves `from` onto `to`, or deletes `from` when `to` is empty;
  // errorNotImplemented where the system lacks the call (the 9x family).
  virtual std::uint32_t moveAtRestart(std::string_view from, std::string_view to) = 0;
  virtual bool writeIniValue(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view value) = 0;

  // --- registry ---
  virtual bool registryKeyWritable(RegistryRoot root, std::string_view key) = 0;
  virtual bool setRegistryString(RegistryRoot root, std::string_view key, std::string_view name,
                                 std::string_view value) = 0;
  virtual bool setRegistryDword(RegistryRoot root, std::string_view key, std::string_view name,
                                std::uint32_t value) = 0;
  virtual bool deleteRegistryValue(RegistryRoot root, std::string_view key, std::string_view name) = 0;
  // The key and everything below it.
  virtual bool deleteRegistryTree(RegistryRoot root, std::string_view key) = 0;

  // --- registration ---
  virtual bool registerLibrary(std::string_view path, bool unregister) = 0;
  virtual bool registerTypeLibrary(std::string_view path, bool unregister) = 0;
  // Starts a program and does not wait for it.
  virtual bool startProgram(std::string_view commandLine) = 0;

  // --- shell ---
  virtual bool createShellLink(std::string_view linkPath, const ShellLinkData& link) = 0;
  virtual std::optional<std::string> shellLinkTarget(std::string_view linkPath) = 0;

  // --- processes, user, clock ---
  // Nothing when the system cannot list processes.
  virtual std::optional<std::vector<RunningProcess>> runningProcesses() = 0;
  virtual bool isAdministrator() = 0;
  virtual SystemVersion systemVersion() = 0;
  virtual LocalTime localTime() = 0;
  virtual std::uint64_t systemTimeAsFileTime() = 0;
  virtual void sleep(unsigned milliseconds) = 0;

  // --- messages ---
  virtual MessageAnswer showMessage(int id, std::string_view text, MessageButtons buttons) = 0;

  // --- the end of a run ---
  // Writes the deletion agent's program to `path`.
  virtual bool writeDeletionAgent(std::string_view path) = 0;
  // Starts the agent suspended with `commandBlock` as its environment and
  // `folder` as its current folder, adjusts priorities and lets it go.
  virtual bool startDeletionAgent(std::string_view path, const std::string& commandBlock,
                                  std::string_view folder) = 0;
  virtual bool restartWindows() = 0;
};

}  // namespace veltrace::setup
