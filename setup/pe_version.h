#pragma once
// The four words of a program's or library's fixed version information.
// On Windows they come from the system's version functions; elsewhere (the
// packager runs on Linux) a small reader walks the PE image's resource
// directory to the version resource itself.

#include <cstdint>
#include <optional>
#include <string_view>

namespace veltrace::setup {

struct VersionWords {
  std::uint32_t fileVersionMS = 0;
  std::uint32_t fileVersionLS = 0;
  std::uint32_t productVersionMS = 0;
  std::uint32_t productVersionLS = 0;
};

// Nothing when the image is not a PE file or has no valid version resource.
// Never reads outside `image`.
std::optional<VersionWords> readPeVersion(std::string_view image);

// The file's version words by the platform's means; nothing when the file
// has none or cannot be read.
std::optional<VersionWords> readFileVersion(std::string_view corePath);

}  // namespace veltrace::setup
