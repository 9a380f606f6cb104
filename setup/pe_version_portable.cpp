// Without the system's version functions the image is read and its
// resources walked directly.
#include "base/files.h"
#include "setup/pe_version.h"

namespace veltrace::setup {

std::optional<VersionWords> readFileVersion(std::string_view corePath) {
  auto image = readWholeFile(corePath);
  if (!image) return std::nullopt;
  return readPeVersion(*image);
}

}  // namespace veltrace::setup
