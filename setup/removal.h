#pragma once
// Removal of an installation from its saved script: shortcuts, COM
// unregistration, files and folders, then the final clean-up that hands
// whatever is still in use to the deletion agent.

#include <string>
#include <string_view>
#include <vector>

#include "setup/install_context.h"

namespace veltrace::setup {

inline constexpr std::string_view agentFileName = "_OvnDel.exe";

// Whether a removal deletes the file of this entry. Decrements the shared
// count of a shared file (once). Paths outside the installation folder are
// only touched for shared files with a count on record.
bool shouldRemoveFile(InstallContext& context, const FileLine& line);

// Steps 1-5 (progress 0-900).
void runRemovalSteps(InstallContext& context);
// Step 6: uninstall key, RunOnce value, the deletion agent. Progress 1000.
bool runFinalCleanUp(InstallContext& context);

// True for an installation's saved script (it has a "Timestamp") and for
// the script of the installation this run started.
bool describesAnInstallation(InstallContext& context);

struct AgentEntry {
  char kind;  // 'F' file, 'D' folder
  std::string path;
};
// The entries of the final clean-up, in order: the installed Setup.exe,
// Setup.ini, the files in use, the recorded folders.
std::vector<AgentEntry> agentEntries(InstallContext& context);
// NUL-terminated entries and the empty one; entries that would pass 65535
// bytes are left out.
std::string buildCommandBlock(const std::vector<AgentEntry>& entries);

}  // namespace veltrace::setup
