#include "render/texture/image_header.h"

namespace veltrace {

namespace {

std::uint32_t bigEndian16(std::span<const std::uint8_t> bytes, size_t at) {
  return std::uint32_t(bytes[at]) << 8 | bytes[at + 1];
}

// JPEG marker codes: every segment starts 0xFF, code; the start-of-frame
// codes are 0xC0..0xCF except 0xC4 (Huffman tables), 0xC8 (reserved) and
// 0xCC (arithmetic conditioning).
constexpr std::uint8_t markerStart = 0xFF;
constexpr std::uint8_t startOfImage = 0xD8;
constexpr std::uint8_t startOfScan = 0xDA;

bool isStartOfFrame(std::uint8_t code) {
  return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

std::optional<ImageSize> jpegFrameSize(std::span<const std::uint8_t> bytes) {
  size_t at = 2;  // behind the start-of-image marker
  while (at + 4 <= bytes.size()) {
    if (bytes[at] != markerStart) return std::nullopt;
    const std::uint8_t code = bytes[at + 1];
    if (code == markerStart) {  // fill byte before a marker
      ++at;
      continue;
    }
    if (code == startOfScan) return std::nullopt;  // image data before any frame header
    const size_t length = bigEndian16(bytes, at + 2);
    if (isStartOfFrame(code)) {
      // length, precision, height, width
      if (at + 9 > bytes.size()) return std::nullopt;
      return ImageSize{bigEndian16(bytes, at + 7), bigEndian16(bytes, at + 5)};
    }
    if (length < 2) return std::nullopt;
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ImageSize> announcedImageSize(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 4 && bytes[0] == markerStart && bytes[1] == startOfImage) return jpegFrameSize(bytes);
  if (bytes.size() >= 10 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F')
    return ImageSize{std::uint32_t(bytes[6]) | std::uint32_t(bytes[7]) << 8,
                     std::uint32_t(bytes[8]) | std::uint32_t(bytes[9]) << 8};
  return std::nullopt;
}

}  // namespace veltrace
