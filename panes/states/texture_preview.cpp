#include "panes/states/texture_preview.h"

namespace veltrace {

namespace {

constexpr std::uint32_t checkerSquare = 8;
constexpr int checkerLight = 0xCC;
constexpr int checkerDark = 0x88;

std::uint8_t overChecker(int colour, int alpha, std::uint32_t x, std::uint32_t y) {
  const int background = ((x / checkerSquare) + (y / checkerSquare)) % 2 ? checkerDark : checkerLight;
  return static_cast<std::uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

}  // namespace

std::optional<TexturePreview> texturePreview(const TextureImage& image, std::uint32_t boxSide) {
  const bool hasAlpha = image.format == TextureFormat::a8r8g8b8;
  if ((!hasAlpha && image.format != TextureFormat::x8r8g8b8) || image.levels.empty()) return std::nullopt;
  // Levels halve down to 1 x 1; the first that fits is the sharpest.
  const TextureLevel* chosen = &image.levels.back();
  for (const TextureLevel& level : image.levels)
    if (level.width <= boxSide && level.height <= boxSide) {
      chosen = &level;
      break;
    }
  if (chosen->rowBytes < chosen->width * 4 || chosen->bytes.size() < size_t(chosen->rowBytes) * chosen->height)
    return std::nullopt;

  TexturePreview preview{chosen->width, chosen->height, {}};
  preview.pixels.resize(size_t(chosen->width) * chosen->height * 4);
  for (std::uint32_t y = 0; y < chosen->height; ++y)
    for (std::uint32_t x = 0; x < chosen->width; ++x) {
      const std::uint8_t* source = chosen->bytes.data() + size_t(y) * chosen->rowBytes + size_t(x) * 4;
      std::uint8_t* target = preview.pixels.data() + (size_t(y) * chosen->width + x) * 4;
      const int alpha = hasAlpha ? source[3] : 255;
      for (int channel = 0; channel < 3; ++channel) target[channel] = overChecker(source[channel], alpha, x, y);
      target[3] = 255;
    }
  return preview;
}

}  // namespace veltrace
