// Image files through stb_image; DDS through our own reader.

#include <algorithm>
#include <cstring>

#include "render/texture/dds_reader.h"
#include "render/texture/texture_image.h"

#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_TGA
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace veltrace {

namespace {

std::uint32_t nextPowerOfTwo(std::uint32_t side) {
  std::uint32_t power = 1;
  while (power < side) power *= 2;
  return power;
}

// Bilinear resampling of a 4-byte-per-pixel image, sampling at pixel
// centres; used to bring sides up to powers of two.
std::vector<std::uint8_t> resample(const std::uint8_t* source, std::uint32_t width, std::uint32_t height,
                                   std::uint32_t newWidth, std::uint32_t newHeight) {
  std::vector<std::uint8_t> target(size_t(newWidth) * newHeight * 4);
  for (std::uint32_t y = 0; y < newHeight; ++y) {
    float sourceY = std::clamp((y + 0.5f) * height / newHeight - 0.5f, 0.0f, float(height - 1));
    std::uint32_t y0 = static_cast<std::uint32_t>(sourceY), y1 = std::min(y0 + 1, height - 1);
    float fy = sourceY - y0;
    for (std::uint32_t x = 0; x < newWidth; ++x) {
      float sourceX = std::clamp((x + 0.5f) * width / newWidth - 0.5f, 0.0f, float(width - 1));
      std::uint32_t x0 = static_cast<std::uint32_t>(sourceX), x1 = std::min(x0 + 1, width - 1);
      float fx = sourceX - x0;
      for (int channel = 0; channel < 4; ++channel) {
        auto at = [&](std::uint32_t px, std::uint32_t py) { return float(source[(size_t(py) * width + px) * 4 + channel]); };
        float top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * fx;
        float bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * fx;
        target[(size_t(y) * newWidth + x) * 4 + channel] = static_cast<std::uint8_t>(top + (bottom - top) * fy + 0.5f);
      }
    }
  }
  return target;
}

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, size_t offset, size_t size) {
  std::uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) value |= std::uint32_t(bytes[offset + i]) << (8 * i);
  return value;
}

// A 32-bit bitmap without bit-field masks (BI_RGB) leaves the fourth byte of
// each pixel unused, and writers leave anything there; stb_image takes it for
// alpha.
bool isThirtyTwoBitBitmapWithoutMasks(std::span<const std::uint8_t> bytes) {
  constexpr size_t headerEnd = 34;  // file header, info header up to the compression field
  if (bytes.size() < headerEnd || bytes[0] != 'B' || bytes[1] != 'M') return false;
  return littleEndian(bytes, 14, 4) >= 40 && littleEndian(bytes, 28, 2) == 32 && littleEndian(bytes, 30, 4) == 0;
}

DecodeResult decodeImageFile(std::span<const std::uint8_t> bytes, DecodeLimits limits) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return {std::nullopt, "empty or oversized image file"};
  int width = 0, height = 0, channels = 0;
  // The header is checked before anything is decoded; sides are rounded up
  // to powers of two afterwards, so the bound applies to that size.
  if (!stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels))
    return {std::nullopt, stbi_failure_reason() ? stbi_failure_reason() : "unreadable image"};
  if (width <= 0 || height <= 0 || nextPowerOfTwo(static_cast<std::uint32_t>(width)) > limits.maximumSide ||
      nextPowerOfTwo(static_cast<std::uint32_t>(height)) > limits.maximumSide)
    return {std::nullopt, imageTooLargeError};
  stbi_uc* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 4);
  if (!rgba) return {std::nullopt, stbi_failure_reason() ? stbi_failure_reason() : "unreadable image"};

  const bool hasAlpha = (channels == 2 || channels == 4) && !isThirtyTwoBitBitmapWithoutMasks(bytes);
  DecodeResult result = imageFromRgbaPixels(rgba, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                                            hasAlpha, limits);
  stbi_image_free(rgba);
  return result;
}

}  // namespace

DecodeResult imageFromRgbaPixels(const std::uint8_t* rgba, std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                                 bool hasAlpha, DecodeLimits limits) {
  if (!rgba || sourceWidth == 0 || sourceHeight == 0 || nextPowerOfTwo(sourceWidth) > limits.maximumSide ||
      nextPowerOfTwo(sourceHeight) > limits.maximumSide)
    return {std::nullopt, imageTooLargeError};
  const std::uint32_t newWidth = nextPowerOfTwo(sourceWidth), newHeight = nextPowerOfTwo(sourceHeight);
  std::vector<std::uint8_t> pixels =
      newWidth == sourceWidth && newHeight == sourceHeight
          ? std::vector<std::uint8_t>(rgba, rgba + size_t(sourceWidth) * sourceHeight * 4)
          : resample(rgba, sourceWidth, sourceHeight, newWidth, newHeight);

  // Memory order of A8R8G8B8 is blue, green, red, alpha.
  for (size_t at = 0; at < pixels.size(); at += 4) {
    std::swap(pixels[at], pixels[at + 2]);
    if (!hasAlpha) pixels[at + 3] = 0xFF;
  }
  TextureImage image;
  image.format = hasAlpha ? TextureFormat::a8r8g8b8 : TextureFormat::x8r8g8b8;
  TextureLevel top;
  top.width = newWidth;
  top.height = newHeight;
  top.rowBytes = newWidth * 4;
  top.rowCount = newHeight;
  top.bytes = std::move(pixels);
  image.levels.push_back(std::move(top));
  buildMipChain(image);
  return {std::move(image), {}};
}

DecodeResult decodeTextureFile(std::span<const std::uint8_t> bytes, DecodeLimits limits) {
  if (looksLikeDds(bytes)) return readDds(bytes, limits);
  return decodeImageFile(bytes, limits);
}

}  // namespace veltrace
