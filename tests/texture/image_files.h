#pragma once
// Small image files built in memory for the texture tests.

#include <cstdint>
#include <cstring>
#include <vector>

namespace veltrace::test {

inline void putWord(std::vector<std::uint8_t>& bytes, size_t at, std::uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A bottom-up 24-bit BMP; pixels given top row first as 0xRRGGBB.
inline std::vector<std::uint8_t> bmp24(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& rgb) {
  const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
  std::vector<std::uint8_t> bytes(54 + size_t(rowBytes) * height);
  bytes[0] = 'B';
  bytes[1] = 'M';
  putWord(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
  putWord(bytes, 10, 54);
  putWord(bytes, 14, 40);
  putWord(bytes, 18, width);
  putWord(bytes, 22, height);
  putWord(bytes, 26, 1, 2);
  putWord(bytes, 28, 24, 2);
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) {
      std::uint32_t colour = rgb[size_t(height - 1 - y) * width + x];
      size_t at = 54 + size_t(y) * rowBytes + x * 3;
      bytes[at + 0] = colour & 0xFF;
      bytes[at + 1] = (colour >> 8) & 0xFF;
      bytes[at + 2] = (colour >> 16) & 0xFF;
    }
  return bytes;
}

// A bottom-up 32-bit BMP; pixels given top row first as 0xAARRGGBB. With
// `alphaMask` the file has a version 4 header with BI_BITFIELDS masks that
// include alpha; without, a plain BI_RGB header, whose fourth byte is unused.
inline std::vector<std::uint8_t> bmp32(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& argb,
                                       bool alphaMask) {
  const std::uint32_t headerSize = alphaMask ? 108 : 40, dataOffset = 14 + headerSize;
  std::vector<std::uint8_t> bytes(dataOffset + size_t(width) * height * 4);
  bytes[0] = 'B';
  bytes[1] = 'M';
  putWord(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
  putWord(bytes, 10, dataOffset);
  putWord(bytes, 14, headerSize);
  putWord(bytes, 18, width);
  putWord(bytes, 22, height);
  putWord(bytes, 26, 1, 2);
  putWord(bytes, 28, 32, 2);
  if (alphaMask) {
    putWord(bytes, 30, 3);  // BI_BITFIELDS
    putWord(bytes, 54, 0x00FF0000);
    putWord(bytes, 58, 0x0000FF00);
    putWord(bytes, 62, 0x000000FF);
    putWord(bytes, 66, 0xFF000000);
  }
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x)
      putWord(bytes, dataOffset + (size_t(y) * width + x) * 4, argb[size_t(height - 1 - y) * width + x]);
  return bytes;
}

// An uncompressed 32-bit TGA, top-down; pixels as 0xAARRGGBB.
inline std::vector<std::uint8_t> tga32(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& argb) {
  std::vector<std::uint8_t> bytes(18 + size_t(width) * height * 4);
  bytes[2] = 2;  // uncompressed true colour
  putWord(bytes, 12, width, 2);
  putWord(bytes, 14, height, 2);
  bytes[16] = 32;
  bytes[17] = 0x28;  // 8 alpha bits, top-down
  for (size_t i = 0; i < argb.size(); ++i) putWord(bytes, 18 + i * 4, argb[i]);
  return bytes;
}

// A DDS header followed by the given payload.
inline std::vector<std::uint8_t> dds(std::uint32_t width, std::uint32_t height, std::uint32_t mipCount,
                                     std::uint32_t pixelFlags, std::uint32_t fourCC, std::uint32_t bitCount,
                                     std::uint32_t red, std::uint32_t green, std::uint32_t blue, std::uint32_t alpha,
                                     size_t payloadBytes) {
  std::vector<std::uint8_t> bytes(128 + payloadBytes, 0x5A);
  std::memset(bytes.data(), 0, 128);
  std::memcpy(bytes.data(), "DDS ", 4);
  putWord(bytes, 4, 124);
  putWord(bytes, 8, 0x1007 | (mipCount ? 0x20000 : 0));
  putWord(bytes, 12, height);
  putWord(bytes, 16, width);
  putWord(bytes, 28, mipCount);
  putWord(bytes, 76, 32);
  putWord(bytes, 80, pixelFlags);
  putWord(bytes, 84, fourCC);
  putWord(bytes, 88, bitCount);
  putWord(bytes, 92, red);
  putWord(bytes, 96, green);
  putWord(bytes, 100, blue);
  putWord(bytes, 104, alpha);
  return bytes;
}

}  // namespace veltrace::test
