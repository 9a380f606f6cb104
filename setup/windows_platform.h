#pragma once
// The running Windows system behind symbol expansion: its version's platform
// bit, GetPrivateProfileString, the environment, the registry and
// ExpandEnvironmentStrings.

#include <windows.h>

#include "setup/setup_platform.h"
#include "setup/setup_script.h"

namespace veltrace::setup {

class WindowsSetupPlatform : public SetupPlatform {
 public:
  WindowsSetupPlatform();
  std::uint8_t platformBit() const override { return platformBit_; }
  std::string iniValue(std::string_view file, std::string_view section, std::string_view key) const override;
  std::optional<std::string> environmentVariable(std::string_view name) const override;
  std::optional<RegistryValue> registryValue(RegistryRoot root, std::string_view key,
                                             std::string_view valueName) const override;
  std::string expandEnvironmentStrings(std::string_view text) const override;

 private:
  std::uint8_t platformBit_;
};

// The program's own path, the Windows, system and temporary folders of the
// running system, and its profile folders where it has them.
RuntimeFolders windowsRuntimeFolders();

// The registry's predefined key for a root named in the script.
HKEY registryRootKey(RegistryRoot root);

}  // namespace veltrace::setup
