#pragma once
// A decoded texture file: its format and every mip level's bytes, ready to
// be copied into a device texture level by level.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "render/texture/texture_format.h"

namespace veltrace {

struct TextureLevel {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t rowBytes = 0;  // bytes of one row of pixels or of 4x4 blocks
  std::uint32_t rowCount = 0;  // rows of pixels or of blocks
  std::vector<std::uint8_t> bytes;
};

struct TextureImage {
  TextureFormat format = TextureFormat::unknown;
  std::vector<TextureLevel> levels;  // level 0 first

  std::uint32_t width() const { return levels.empty() ? 0 : levels[0].width; }
  std::uint32_t height() const { return levels.empty() ? 0 : levels[0].height; }
  // Sum of every level's size, as the texture memory total counts it.
  std::uint32_t totalBytes() const;
};

// The number of levels of a full chain down to 1 x 1.
std::uint32_t fullMipLevelCount(std::uint32_t width, std::uint32_t height);

// The error of an image refused for its size (before it was decoded).
inline constexpr const char* imageTooLargeError = "image is larger than the largest texture";

struct DecodeResult {
  std::optional<TextureImage> image;
  std::string error;  // why decoding failed, when image is empty
};

// Images larger than this are refused rather than decoded: no Direct3D 8
// device takes textures beyond 4096 x 4096, and a forged header must not make
// the decoder allocate and filter gigabytes.
struct DecodeLimits {
  std::uint32_t maximumSide = 4096;
};

// Decodes bmp, dib, jpg, png, tga and dds file contents, chosen by content
// rather than by name. Image files become 32-bit textures (A8R8G8B8 when the
// file has alpha, X8R8G8B8 otherwise), scaled up to power-of-two sides, with
// a box-filtered mip chain down to 1 x 1. DDS files keep their format and the
// levels they carry; an uncompressed DDS without levels gets a chain built.
DecodeResult decodeTextureFile(std::span<const std::uint8_t> bytes, DecodeLimits limits = {});

// Turns the pixels of a decoded image file (red, green, blue, alpha bytes, row
// after row, width x height) into a texture as decodeTextureFile makes one:
// 32-bit, power-of-two sides, full mip chain. Images that would grow beyond
// the limits are refused.
DecodeResult imageFromRgbaPixels(const std::uint8_t* rgba, std::uint32_t width, std::uint32_t height, bool hasAlpha,
                                 DecodeLimits limits = {});

// Box-filters level 0 of a 32-bit image into a full chain (replacing any
// levels after the first).
void buildMipChain(TextureImage& image);

}  // namespace veltrace
