#pragma once
// Everything one run of the setup program carries from step to step: the
// script, the package, the system, what has been decided and done so far.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup/command_line.h"
#include "setup/install_platform.h"
#include "setup/package_reader.h"
#include "setup/setup_script.h"
#include "setup/trace_log.h"

namespace veltrace::setup {

// File states written back into the script's "File" entries.
enum FileState : std::int32_t {
  fileNotProcessed = 0,
  fileInstalled = 1,            // the target did not exist
  fileReplaced = 2,             // now, or at the restart
  fileKept = 3,                 // overwrite rule
  fileNotDelivered = 4,         // flags bit 0x1 clear
  fileProtected = 5,            // Windows protects it
  fileSourceMissing = -1,
  fileDeferred = -2,            // becomes 2 once scheduled
  fileFailed = -3,
  fileObsoleteOrOtherPlatform = -4,
};

enum class InstallState { idle = 0, running = 1, finished = 2, cancelled = 3, failed = 4 };

inline bool isInterrupted(InstallState state) {
  return state == InstallState::cancelled || state == InstallState::failed;
}

// Shortcut choices of the user: the same bits as the locations.
constexpr std::uint32_t choiceDesktop = 0x1;
constexpr std::uint32_t choiceStartMenu = 0x2;
constexpr std::uint32_t choiceProgramsMenu = 0x4;

// The five steps of an installation and the four of a removal, as the
// windows show them.
enum InstallStep { stepInstallFiles, stepRegister, stepShortcuts, stepSystemSettings, stepCleanUp };
enum RemovalStep { stepRemoveShortcuts, stepUnregister, stepRestoreSettings, stepRemoveFiles };

// The window that shows a run: step boxes, a status line, a bar 0-1000,
// and the user's Cancel.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void stepStarted(int step) = 0;
  virtual void stepEnded(int step) = 0;
  virtual void status(std::string_view text) = 0;
  virtual void progress(int perMille) = 0;
  // Lets the window repaint; true once the user asked to stop.
  virtual bool cancelRequested() = 0;
};

// A view that shows nothing and is never cancelled.
class SilentProgress : public ProgressView {
 public:
  void stepStarted(int) override {}
  void stepEnded(int) override {}
  void status(std::string_view) override {}
  void progress(int) override {}
  bool cancelRequested() override { return false; }
};

constexpr int progressFilesEnd = 800;
constexpr int progressComplete = 1000;

struct GroupState {
  std::string folder;  // expanded on first use
  bool folderReady = false;
  bool folderCreated = false;
  int installedCount = 0;
};

struct FileRef {
  std::size_t group = 0;
  std::size_t file = 0;
};

struct InstallContext {
  InstallContext(SetupScript& script, InstallPlatform& platform, ProgressView& view, TraceLog& log)
      : script(script), platform(platform), progressView(&view), log(log) {}

  SetupScript& script;
  InstallPlatform& platform;
  ProgressView* progressView;  // the window of the moment
  TraceLog& log;
  PackageReader* reader = nullptr;  // none: files are copied from `sourceFolder`
  std::string sourceFolder;
  std::string setupProgramPath;
  std::optional<std::uint32_t> packageOffset;  // where the program's own package starts

  RunMode mode = RunMode::install;
  bool quiet = false;
  int removalOption = 0;
  bool removePartial = false;  // the user's choice, or "X"
  std::uint32_t options = 0;   // "[Install]" "Options"; the uninstall bit may be cleared
  std::uint32_t shortcutChoice = 0;

  std::vector<GroupState> groups;
  std::vector<FileRef> deferred;
  std::vector<std::string> inUse;  // files the removal could not delete
  std::uint64_t requiredSize = 0;
  std::uint64_t bytesDone = 0;
  bool restartRequired = false;
  bool registrationDeferred = false;
  bool scriptChanged = false;
  InstallState state = InstallState::idle;
  int exitCode = exitSuccess;
  std::string runOnceValueName;
  // The folder a removal never reaches out of: the installation folder.
  std::string containmentFolder;

  ProgressView& view() { return *progressView; }
  FileEntry& entry(const FileRef& ref) { return script.fileGroups()[ref.group].files[ref.file]; }
  std::string appFolder() const { return script.symbolValue(symbolAppFolder); }
  bool ignores(std::uint32_t errorClass) const { return (script.settings().ignore & errorClass) != 0; }
};

}  // namespace veltrace::setup
