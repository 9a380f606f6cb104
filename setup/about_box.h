#pragma once
// The about box of the wizard and the uninstall window: the application's
// title, its publisher and contact rows (links as on the welcome page), the
// engine's name, version and build, and the description and copyright from
// the setup program's own version information.

#include <windows.h>

#include <string>
#include <vector>

#include "setup/install_wizard.h"

namespace veltrace::setup {

struct AboutContent {
  std::string title;
  std::vector<ContactRow> rows;
};

void showAboutBox(HINSTANCE instance, HWND owner, const AboutContent& content, WizardSystem& system);

}  // namespace veltrace::setup
