// Fuzzes the portable PE version reader the packager runs over every
// payload program and library.

#include <cstdint>
#include <string_view>

#include "setup/pe_version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  veltrace::setup::readPeVersion(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
