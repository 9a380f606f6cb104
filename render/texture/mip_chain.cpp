#include <algorithm>

#include "render/texture/texture_image.h"

namespace veltrace {

std::uint32_t TextureImage::totalBytes() const {
  std::uint32_t total = 0;
  for (const auto& level : levels) total += static_cast<std::uint32_t>(level.bytes.size());
  return total;
}

std::uint32_t fullMipLevelCount(std::uint32_t width, std::uint32_t height) {
  std::uint32_t count = 1;
  for (std::uint32_t side = std::max(width, height); side > 1; side /= 2) ++count;
  return count;
}

namespace {

// Averages the up to 2 x 2 source pixels under each destination pixel, per
// byte channel, rounding to nearest. A side of 1 stays 1 while the other
// side halves.
TextureLevel halve32BitLevel(const TextureLevel& source) {
  TextureLevel level;
  level.width = std::max<std::uint32_t>(1, source.width / 2);
  level.height = std::max<std::uint32_t>(1, source.height / 2);
  level.rowBytes = level.width * 4;
  level.rowCount = level.height;
  level.bytes.resize(size_t(level.rowBytes) * level.rowCount);
  const std::uint32_t stepX = source.width > 1 ? 2 : 1;
  const std::uint32_t stepY = source.height > 1 ? 2 : 1;
  for (std::uint32_t y = 0; y < level.height; ++y) {
    for (std::uint32_t x = 0; x < level.width; ++x) {
      for (std::uint32_t channel = 0; channel < 4; ++channel) {
        std::uint32_t sum = 0;
        for (std::uint32_t dy = 0; dy < stepY; ++dy)
          for (std::uint32_t dx = 0; dx < stepX; ++dx)
            sum += source.bytes[size_t(y * stepY + dy) * source.rowBytes + size_t(x * stepX + dx) * 4 + channel];
        const std::uint32_t count = stepX * stepY;
        level.bytes[size_t(y) * level.rowBytes + size_t(x) * 4 + channel] =
            static_cast<std::uint8_t>((sum + count / 2) / count);
      }
    }
  }
  return level;
}

}  // namespace

void buildMipChain(TextureImage& image) {
  if (image.levels.empty() || bytesPerElement(image.format) != 4 || isBlockCompressed(image.format)) return;
  image.levels.resize(1);
  while (image.levels.back().width > 1 || image.levels.back().height > 1)
    image.levels.push_back(halve32BitLevel(image.levels.back()));
}

}  // namespace veltrace
