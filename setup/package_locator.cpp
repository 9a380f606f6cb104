#include "setup/package_locator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/files.h"

namespace veltrace::setup {

namespace {

std::uint32_t wordAt(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

void putWord(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

}  // namespace

std::optional<PackageLocator> decodeLocator(std::string_view header, std::uint64_t actualFileSize) {
  if (header.size() < dosHeaderSize || header[0] != 'M' || header[1] != 'Z') return std::nullopt;
  PackageLocator locator{wordAt(header, locatorOffsetAt), wordAt(header, locatorEndAt)};
  if (wordAt(header, locatorOffsetComplementAt) != ~locator.packageOffset) return std::nullopt;
  if (wordAt(header, locatorEndComplementAt) != ~locator.packageEnd) return std::nullopt;
  if (locator.packageOffset >= locator.packageEnd) return std::nullopt;
  if (actualFileSize < locator.packageEnd) return std::nullopt;
  return locator;
}

std::optional<PackageLocator> readPackageLocator(std::string_view corePath) {
  auto path = nativePath(corePath);
  std::error_code error;
  auto size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string header(dosHeaderSize, '\0');
  if (!in.read(header.data(), static_cast<std::streamsize>(header.size()))) return std::nullopt;
  return decodeLocator(header, size);
}

bool encodeLocator(std::string& image, const PackageLocator& locator) {
  if (image.size() < dosHeaderSize) return false;
  putWord(image, locatorOffsetAt, locator.packageOffset);
  putWord(image, locatorOffsetComplementAt, ~locator.packageOffset);
  putWord(image, locatorEndAt, locator.packageEnd);
  putWord(image, locatorEndComplementAt, ~locator.packageEnd);
  return true;
}

}  // namespace veltrace::setup
