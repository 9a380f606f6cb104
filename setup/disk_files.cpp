#include "setup/disk_files.h"

#include "setup/pe_version.h"

namespace veltrace::setup {

void readVersionWords(std::string_view corePath, FileInfo& info) {
  auto version = readFileVersion(corePath);
  if (!version) return;
  info.fileVersionHigh = static_cast<std::int32_t>(version->fileVersionMS);
  info.fileVersionLow = version->fileVersionLS;
  info.productVersionHigh = static_cast<std::int32_t>(version->productVersionMS);
  info.productVersionLow = version->productVersionLS;
}

}  // namespace veltrace::setup
