#pragma once
// The registry entries of an installation: shared-file counts, App Paths,
// the uninstall entry and the RunOnce entry of a deferred registration.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/install_context.h"

namespace veltrace::setup {

inline constexpr std::string_view sharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr std::string_view appPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
inline constexpr std::string_view uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr std::string_view runOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr std::string_view helpFilesKey = "Software\\Microsoft\\Windows\\Help";

// A count as stored: a 4-byte value (DWORD or binary), or a string whose
// leading digits are the count. Anything else, or nothing, is 0.
std::uint32_t readSharedCount(const std::optional<RegistryValue>& value);

std::uint32_t sharedCount(InstallPlatform& platform, std::string_view path);
void incrementSharedCount(InstallPlatform& platform, std::string_view path);
// Writes count - 1, or deletes the value at 0. Returns the count left.
std::uint32_t decrementSharedCount(InstallPlatform& platform, std::string_view path);

bool writeAppPaths(InstallContext& context);
// The App Paths key of an installed program, when its default value names
// it (long or short form); deleted at removal.
void deleteAppPathsOf(InstallContext& context, std::string_view programPath);

// "<short path of Setup.exe> /remove": quoted when the path has a blank
// (systems without short names give the long path back).
std::string setupCommand(std::string_view shortSetupPath, std::string_view option);

// "VersionMajor" is the leading number of the version text, "VersionMinor"
// the number after the character that follows it, when one does.
struct VersionNumbers {
  std::uint32_t major = 0;
  std::optional<std::uint32_t> minor;
};
VersionNumbers versionNumbers(std::string_view version);

// The uninstall key named by UninstallRegPath, split into root and key.
std::optional<std::pair<RegistryRoot, std::string>> uninstallKeyOf(const SetupScript& script);

bool writeUninstallEntry(InstallContext& context);
bool writeRunOnceEntry(InstallContext& context);

}  // namespace veltrace::setup
