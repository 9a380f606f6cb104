#pragma once
// Where a package appended to the setup program starts and ends. The
// packager keeps both values, each beside its bitwise complement, in words
// of the program's DOS header that the loader never reads:
//   0x1C package offset   0x20 ~package offset
//   0x78 package end      0x7C ~package end (the file's size as written)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrace::setup {

constexpr std::size_t dosHeaderSize = 128;
constexpr std::size_t locatorOffsetAt = 0x1C;
constexpr std::size_t locatorOffsetComplementAt = 0x20;
constexpr std::size_t locatorEndAt = 0x78;
constexpr std::size_t locatorEndComplementAt = 0x7C;

struct PackageLocator {
  std::uint32_t packageOffset = 0;
  std::uint32_t packageEnd = 0;
};

// The locator of a program whose first bytes are `header` and whose file is
// `actualFileSize` bytes long, or nothing when the words do not describe an
// appended package (no "MZ", complements that disagree, an empty or
// inverted range, a file shorter than the recorded end). Nothing is not an
// error: the program simply carries no package.
std::optional<PackageLocator> decodeLocator(std::string_view header, std::uint64_t actualFileSize);

// Reads the header of the file at `corePath` and decodes it.
std::optional<PackageLocator> readPackageLocator(std::string_view corePath);

// Writes the four words into `image`, which must hold at least a DOS header.
bool encodeLocator(std::string& image, const PackageLocator& locator);

}  // namespace veltrace::setup
