#pragma once
// The shortcuts of "[ShellLink]" sections: created through the shell's
// link object at installation, found again by their target at removal.

#include <string>
#include <vector>

#include "setup/install_context.h"

namespace veltrace::setup {

// Program group (Options bit 0x10) and every shortcut. False when a folder
// or shortcut failed and Ignore does not hold class 0x4.
bool createShortcuts(InstallContext& context);

// The folders a removal searches for a shortcut's link files.
std::vector<std::string> shortcutFolders(InstallContext& context, const Shortcut& shortcut);

// Deletes every ".lnk" whose target is the recorded "Path", then the
// program group and each parent left empty.
void removeShortcuts(InstallContext& context);

}  // namespace veltrace::setup
