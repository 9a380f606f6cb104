#pragma once
// The windows of setup.exe: the installation wizard (wizard_windows.h), the
// processing window of quiet and register runs, and the uninstall window.
// Each maps the run's progress onto its controls; the work runs on this
// thread, pumping messages between files.

#include <windows.h>

#include "setup/setup_run.h"
#include "setup/windows_install_platform.h"

namespace veltrace::setup {

class WindowsSetupWindows : public SetupWindows {
 public:
  WindowsSetupWindows(HINSTANCE instance, WindowsInstallPlatform& platform)
      : instance_(instance), platform_(platform) {}
  bool runWizard(InstallContext& context) override;
  bool runProcessingWindow(std::string_view title, int quietLevel,
                           const std::function<void(ProgressView&)>& work) override;
  bool runUninstallWindow(std::string_view title, const std::vector<ContactRow>& contacts,
                          const std::function<bool(ProgressView&)>& remove,
                          const std::function<void()>& cleanUp) override;

 private:
  HINSTANCE instance_;
  WindowsInstallPlatform& platform_;
};

}  // namespace veltrace::setup
