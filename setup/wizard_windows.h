#pragma once
// The installation wizard as a Windows property sheet in wizard style: the
// pages of InstallWizard on their templates (wizard.rc), the tall bitmap
// and the banner, the button texts, the "&About..." button, the progress
// page that runs the installation once it is visible, and the result page.

#include <windows.h>

#include "setup/install_wizard.h"
#include "setup/windows_install_platform.h"

namespace veltrace::setup {

// Runs the sheet to its end; false when it could not be created. The
// platform's message boxes belong to the sheet while it is open.
bool runWizardSheet(HINSTANCE instance, InstallWizard& wizard, WindowsInstallPlatform& platform,
                    WizardSystem& system);

}  // namespace veltrace::setup
