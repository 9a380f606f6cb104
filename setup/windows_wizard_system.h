#pragma once
// The wizard's questions to the running Windows system: the kind of a
// drive, its free space, and the shell's "open" verb. Shell functions come
// from the system folder only (system_libraries.h).

#include <windows.h>

#include "setup/install_wizard.h"

namespace veltrace::setup {

class WindowsWizardSystem : public WizardSystem {
 public:
  DriveKind driveKind(std::string_view root) override;
  std::optional<std::uint64_t> freeSpace(std::string_view root) override;
  bool shellOpen(std::string_view target, std::string_view arguments, std::string_view folder) override;
};

}  // namespace veltrace::setup
