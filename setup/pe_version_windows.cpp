// The system's own reading of a file's version resource. The version
// library is bound at run time from the system folder: the setup program
// must not pick up a "version.dll" lying beside it.
#include <windows.h>

#include <vector>

#include "base/files.h"
#include "setup/pe_version.h"
#include "setup/system_libraries.h"

namespace veltrace::setup {

std::optional<VersionWords> readFileVersion(std::string_view corePath) {
  using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
  using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
  using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
  static auto infoSize = systemFunction<SizeFunction>("version.dll", "GetFileVersionInfoSizeA");
  static auto info = systemFunction<InfoFunction>("version.dll", "GetFileVersionInfoA");
  static auto query = systemFunction<QueryFunction>("version.dll", "VerQueryValueA");
  if (!infoSize || !info || !query) return std::nullopt;
  std::string path(corePath);  // ANSI, as the A functions take it
  DWORD handle = 0;
  DWORD size = infoSize(path.c_str(), &handle);
  if (size == 0) return std::nullopt;
  std::vector<char> block(size);
  if (!info(path.c_str(), 0, size, block.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!query(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  VersionWords words;
  words.fileVersionMS = fixed->dwFileVersionMS;
  words.fileVersionLS = fixed->dwFileVersionLS;
  words.productVersionMS = fixed->dwProductVersionMS;
  words.productVersionLS = fixed->dwProductVersionLS;
  return words;
}

}  // namespace veltrace::setup
