#include "setup/system_libraries.h"

#include <map>
#include <string>

namespace veltrace::setup {

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, for systems whose headers predate it.
constexpr DWORD searchSystemFolderOnly = 0x00000800;

std::string systemFolder() {
  char buffer[MAX_PATH + 1];
  UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(buffer, length);
}

}  // namespace

void restrictDllSearch() {
  // kernel32 is already mapped into every process: asking for it by name
  // loads nothing.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  using SetDirectory = BOOL(WINAPI*)(LPCSTR);
  auto setDefault = reinterpret_cast<SetDefaultDirectories>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault) setDefault(searchSystemFolderOnly);
  auto setDirectory = reinterpret_cast<SetDirectory>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDirectory) setDirectory("");
}

HMODULE systemLibrary(const char* fileName) {
  static std::map<std::string, HMODULE> loaded;
  auto found = loaded.find(fileName);
  if (found != loaded.end()) return found->second;
  std::string folder = systemFolder();
  HMODULE library = nullptr;
  if (!folder.empty()) {
    std::string path = folder + "\\" + fileName;
    // The full path, and with the library's own folder (the system folder)
    // for whatever it loads in turn.
    library = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  loaded[fileName] = library;
  return library;
}

}  // namespace veltrace::setup
