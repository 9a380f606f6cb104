// The system's own reading of a file's version resource.
#include <windows.h>

#include <vector>

#include "base/files.h"
#include "setup/pe_version.h"

namespace veltrace::setup {

std::optional<VersionWords> readFileVersion(std::string_view corePath) {
  std::string path(corePath);  // ANSI, as the A functions take it
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) return std::nullopt;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
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
