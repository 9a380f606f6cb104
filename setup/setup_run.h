#pragma once
// One run of the setup program, from the command line to the exit code:
// start-up (package and script, runtime symbols, trace log, the check for
// a running copy of the application), the mode's window and steps, and the
// exit path (saving the script, removing a partial installation, the
// restart rule).

#include <functional>
#include <string>
#include <string_view>

#include "setup/contact_rows.h"
#include "setup/install_context.h"

namespace veltrace::setup {

// The windows of a run.
class SetupWindows {
 public:
  virtual ~SetupWindows() = default;
  // The installation wizard of an install run that is not quiet; it runs
  // the installation from its progress page and leaves the user's choices
  // in `context`. False when the wizard could not be created.
  virtual bool runWizard(InstallContext& context) = 0;
  // Shows "Please wait while %s is being processed..." and, once it is
  // visible, calls `work` with the window as the progress view. False when
  // the window could not be created.
  virtual bool runProcessingWindow(std::string_view title, int quietLevel,
                                   const std::function<void(ProgressView&)>& work) = 0;
  // Shows the uninstall window: "Uninstall" calls `remove` (false: nothing
  // was removed, the window stays); closing it after a removal calls
  // `cleanUp`. Its about box shows `contacts`. False when the window could
  // not be created.
  virtual bool runUninstallWindow(std::string_view title, const std::vector<ContactRow>& contacts,
                                  const std::function<bool(ProgressView&)>& remove,
                                  const std::function<void()>& cleanUp) = 0;
};

struct SetupStart {
  std::string commandLine;  // the whole line, the program's own path first
  RuntimeFolders folders;
  std::string currentFolder;
};

int runSetup(InstallPlatform& platform, SetupWindows& windows, const SetupStart& start);

// Options bit 0x8 is dropped when the Uninstall key cannot be written;
// with bit 0x2 and no administrator rights, message 129 and exit code 10.
bool administratorCheck(InstallContext& context);

// The running application named by "[Install]" "Path" (first 15 characters
// of the file names, ASCII case-insensitive): the name to show, or nothing.
std::optional<std::string> runningApplication(InstallContext& context);

// Saves, removes a partial installation, applies the restart rule; returns
// the exit code.
int exitPath(InstallContext& context, const CommandLine& commandLine);

}  // namespace veltrace::setup
