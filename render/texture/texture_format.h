#pragma once
// The texture formats the loader produces, numbered as Direct3D 8's
// D3DFORMAT so that the Windows layer hands them to the device unchanged.

#include <cstdint>

namespace veltrace {

constexpr std::uint32_t fourCC(char a, char b, char c, char d) {
  return std::uint32_t(std::uint8_t(a)) | std::uint32_t(std::uint8_t(b)) << 8 |
         std::uint32_t(std::uint8_t(c)) << 16 | std::uint32_t(std::uint8_t(d)) << 24;
}

enum class TextureFormat : std::uint32_t {
  unknown = 0,
  a8r8g8b8 = 21,
  x8r8g8b8 = 22,
  r5g6b5 = 23,
  x1r5g5b5 = 24,
  a1r5g5b5 = 25,
  a4r4g4b4 = 26,
  a8 = 28,
  l8 = 50,
  a8l8 = 51,
  dxt1 = fourCC('D', 'X', 'T', '1'),
  dxt3 = fourCC('D', 'X', 'T', '3'),
  dxt5 = fourCC('D', 'X', 'T', '5'),
};

bool isBlockCompressed(TextureFormat format);

// Bytes per pixel of an uncompressed format; bytes per 4x4 block of a
// compressed one; 0 for unknown.
std::uint32_t bytesPerElement(TextureFormat format);

// Bytes of one mip level: rows of pixels, or rows of 4x4 blocks.
std::uint32_t levelRowBytes(TextureFormat format, std::uint32_t width);
std::uint32_t levelRowCount(TextureFormat format, std::uint32_t height);
std::uint32_t levelByteSize(TextureFormat format, std::uint32_t width, std::uint32_t height);

const char* textureFormatName(TextureFormat format);

}  // namespace veltrace
