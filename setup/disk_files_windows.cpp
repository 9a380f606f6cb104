// The file operations on Windows, through the file's directory entry.
#include <windows.h>

#include <string>

#include "base/files.h"
#include "setup/disk_files.h"

namespace veltrace::setup {

namespace {

// Core paths are already Windows paths in the ANSI code page. A detour
// through std::filesystem::path would hand back UTF-8, another name for
// anything outside ASCII.
std::string windowsPath(std::string_view corePath) { return std::string(corePath); }

}  // namespace

std::optional<FileInfo> fileInfoFromDisk(std::string_view corePath) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(windowsPath(corePath).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  FileInfo info;
  info.size = data.nFileSizeLow;
  info.lastWriteTime = (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  info.attributes = static_cast<std::uint16_t>(data.dwFileAttributes);
  readVersionWords(corePath, info);
  return info;
}

bool setLastWriteTime(std::string_view corePath, std::uint64_t fileTime) {
  HANDLE file = CreateFileA(windowsPath(corePath).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(fileTime);
  time.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
  BOOL done = SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  return done != FALSE;
}

bool setFileAttributes(std::string_view corePath, std::uint16_t attributes) {
  // Windows wants "normal" rather than no bits at all.
  DWORD value = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  return SetFileAttributesA(windowsPath(corePath).c_str(), value) != FALSE;
}

std::FILE* openFile(std::string_view corePath, const char* mode) {
  return std::fopen(windowsPath(corePath).c_str(), mode);
}

bool deleteFileForcing(std::string_view corePath) {
  std::string path = windowsPath(corePath);
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace veltrace::setup
