#include "setup/windows_wizard_system.h"

#include <string>

#include "setup/system_libraries.h"

namespace veltrace::setup {

DriveKind WindowsWizardSystem::driveKind(std::string_view root) {
  switch (GetDriveTypeA(std::string(root).c_str())) {
    case DRIVE_NO_ROOT_DIR:
      return DriveKind::absent;
    case DRIVE_REMOVABLE:
      return DriveKind::removable;
    case DRIVE_FIXED:
      return DriveKind::fixed;
    case DRIVE_REMOTE:
      return DriveKind::network;
    case DRIVE_CDROM:
      return DriveKind::cdrom;
    case DRIVE_RAMDISK:
      return DriveKind::ramDisk;
    default:
      return DriveKind::unknown;
  }
}

std::optional<std::uint64_t> WindowsWizardSystem::freeSpace(std::string_view root) {
  std::string path(root);
  // GetDiskFreeSpaceEx is missing from the first Windows 95; there the
  // older call counts clusters (and stops at 2 GB).
  using FreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  auto freeSpaceEx = reinterpret_cast<FreeSpaceEx>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
  if (freeSpaceEx) {
    ULARGE_INTEGER available, total, free;
    if (!freeSpaceEx(path.c_str(), &available, &total, &free)) return std::nullopt;
    return available.QuadPart;
  }
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
  if (!GetDiskFreeSpaceA(path.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
    return std::nullopt;
  return std::uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
}

bool WindowsWizardSystem::shellOpen(std::string_view target, std::string_view arguments, std::string_view folder) {
  using ShellExecute = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static auto execute = systemFunction<ShellExecute>("shell32.dll", "ShellExecuteA");
  if (!execute) return false;
  std::string file(target), parameters(arguments), directory(folder);
  HINSTANCE result = execute(nullptr, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                             directory.empty() ? nullptr : directory.c_str(), SW_SHOWNORMAL);
  // Results above 32 mean the shell started it.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace veltrace::setup
