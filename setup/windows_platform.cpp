#include "setup/windows_platform.h"

#include <windows.h>

#include <vector>

#include "setup/system_libraries.h"

namespace veltrace::setup {

namespace {

// Registry and profile strings are read into buffers of this size first;
// longer ones are read again with the size the system asks for.
constexpr DWORD initialBufferSize = 1024;
// Expansion results are bounded anyway; nothing longer is ever needed.
constexpr DWORD maxValueSize = 64 * 1024;

std::uint8_t runningPlatformBit() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return 0;
#pragma GCC diagnostic pop
  bool nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  return platformBitFor(nt, version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber & 0xFFFF);
}

std::string withoutTrailingSeparator(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

WindowsSetupPlatform::WindowsSetupPlatform() : platformBit_(runningPlatformBit()) {}

std::string WindowsSetupPlatform::iniValue(std::string_view file, std::string_view section,
                                           std::string_view key) const {
  std::string fileText(file), sectionText(section), keyText(key);
  std::vector<char> buffer(initialBufferSize);
  for (;;) {
    DWORD length = GetPrivateProfileStringA(sectionText.c_str(), keyText.c_str(), "", buffer.data(),
                                            static_cast<DWORD>(buffer.size()), fileText.c_str());
    if (length + 1 < buffer.size() || buffer.size() >= maxValueSize) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 4);
  }
}

std::optional<std::string> WindowsSetupPlatform::environmentVariable(std::string_view name) const {
  std::string nameText(name);
  DWORD needed = GetEnvironmentVariableA(nameText.c_str(), nullptr, 0);
  if (needed == 0 || needed > maxValueSize) return std::nullopt;
  std::vector<char> buffer(needed);
  DWORD length = GetEnvironmentVariableA(nameText.c_str(), buffer.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  return std::string(buffer.data(), length);
}

std::optional<RegistryValue> WindowsSetupPlatform::registryValue(RegistryRoot root, std::string_view key,
                                                                 std::string_view valueName) const {
  HKEY opened;
  std::string keyText(key), nameText(valueName);
  if (RegOpenKeyExA(registryRootKey(root), keyText.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  std::optional<RegistryValue> result;
  if (RegQueryValueExA(opened, nameText.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      size <= maxValueSize) {
    std::vector<char> data(size + 2, '\0');
    if (RegQueryValueExA(opened, nameText.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
        ERROR_SUCCESS) {
      RegistryValue value;
      value.type = type == REG_SZ          ? RegistryValueType::string
                   : type == REG_EXPAND_SZ ? RegistryValueType::expandableString
                   : type == REG_MULTI_SZ  ? RegistryValueType::multiString
                   : type == REG_DWORD     ? RegistryValueType::dword
                   : type == REG_BINARY    ? RegistryValueType::binary
                                           : RegistryValueType::other;
      value.data.assign(data.data(), size);
      result = std::move(value);
    }
  }
  RegCloseKey(opened);
  return result;
}

std::string WindowsSetupPlatform::expandEnvironmentStrings(std::string_view text) const {
  std::string source(text);
  DWORD needed = ExpandEnvironmentStringsA(source.c_str(), nullptr, 0);
  if (needed == 0 || needed > maxValueSize) return source;
  std::vector<char> buffer(needed + 1);
  DWORD length = ExpandEnvironmentStringsA(source.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length > buffer.size()) return source;
  return std::string(buffer.data());
}

// The profile folders, where the user-environment library has its profile
// functions (NT only); looked up at run time, as 9x systems lack them.
void readProfileFolders(RuntimeFolders& folders) {
  HMODULE userEnvironment = systemLibrary("userenv.dll");
  if (!userEnvironment) return;
  using FolderFunction = BOOL(WINAPI*)(LPSTR, LPDWORD);
  using UserFolderFunction = BOOL(WINAPI*)(HANDLE, LPSTR, LPDWORD);
  auto profiles = reinterpret_cast<FolderFunction>(
      reinterpret_cast<void*>(GetProcAddress(userEnvironment, "GetProfilesDirectoryA")));
  auto allUsers = reinterpret_cast<FolderFunction>(
      reinterpret_cast<void*>(GetProcAddress(userEnvironment, "GetAllUsersProfileDirectoryA")));
  auto user = reinterpret_cast<UserFolderFunction>(
      reinterpret_cast<void*>(GetProcAddress(userEnvironment, "GetUserProfileDirectoryA")));
  char buffer[MAX_PATH + 1];
  DWORD size = MAX_PATH;
  if (profiles && profiles(buffer, &size)) folders.profilesFolder = buffer;
  size = MAX_PATH;
  if (allUsers && allUsers(buffer, &size)) folders.commonProfileFolder = buffer;
  HANDLE token;
  if (user && OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token)) {
    size = MAX_PATH;
    if (user(token, buffer, &size)) folders.userProfileFolder = buffer;
    CloseHandle(token);
  }
}

RuntimeFolders windowsRuntimeFolders() {
  RuntimeFolders folders;
  char buffer[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) folders.setupProgramPath.assign(buffer, length);
  length = GetWindowsDirectoryA(buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) folders.windowsFolder.assign(buffer, length);
  length = GetSystemDirectoryA(buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) folders.systemFolder.assign(buffer, length);
  length = GetTempPathA(MAX_PATH, buffer);
  if (length > 0 && length < MAX_PATH) folders.tempFolder = withoutTrailingSeparator(std::string(buffer, length));
  readProfileFolders(folders);
  return folders;
}

HKEY registryRootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::localMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::currentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::classesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::users:
      return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

}  // namespace veltrace::setup
