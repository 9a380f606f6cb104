#pragma once
// The installation: prepare the application folder, install every file of
// every group, App Paths, registration, shortcuts, and the finish step with
// deferred files, the uninstall entry and RunOnce. Progress runs 0-1000,
// the files owning 0-800.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/install_context.h"

namespace veltrace::setup {

enum class OverwriteDecision { install, replace, keep };

// Target absent: install. Otherwise by the overwrite field: 0 keep, 1
// replace, 2 replace only when the packaged file is newer: product version
// (high word first, as one signed 64-bit value), then the file version the
// same way, then the last-write time; equal or older keeps.
OverwriteDecision decideOverwrite(std::int32_t overwrite, const FileInfo& packaged, const FileInfo& existing);

struct FoldersCreated {
  bool ok = false;
  bool created = false;
  std::string path;  // absolute, without a trailing separator
};
// Creates every missing folder on the path and records it under
// "UninstallDirs" (with Options bit 0x20 every folder on the path).
FoldersCreated createFolders(InstallContext& context, std::string_view path);

// Sum of the sizes of the files for this platform.
std::uint64_t requiredSize(const SetupScript& script, std::uint8_t platformBit);

// Sets up the per-group state; called once the script is loaded.
void prepareContext(InstallContext& context);

// Installs one file and writes its state back into the script.
FileState installOneFile(InstallContext& context, std::size_t groupIndex, std::size_t fileIndex);

// Registers or unregisters by the entry's type; the current folder is the
// file's for the duration.
bool registerFile(InstallContext& context, std::string_view path, std::int32_t registration, bool unregister);

// Deletes the index files Windows builds for a ".hlp" or ".cnt" file.
void deleteHelpSideFiles(InstallContext& context, std::string_view path);

// The whole installation (steps 1-7). True when it finished; otherwise the
// state is interrupted and the exit code may be set.
bool runInstallation(InstallContext& context);

// Saves the script as "Setup.ini" in the application folder (hidden,
// system, read-only). Message 133 and exit code 4 on failure.
bool saveInstalledScript(InstallContext& context);

// The registration of the "/register" run after a restart.
bool runDeferredRegistration(InstallContext& context);

}  // namespace veltrace::setup
