#include "app/view_settings.h"

namespace veltrace::app {

bool isUsableViewSide(std::int64_t pixels) { return pixels >= smallestViewSide && pixels <= largestViewSide; }

int viewSideFromStored(const std::optional<StoredValue>& stored, int fallback) {
  if (!stored || stored->type != registryTypeDword || stored->bytes.size() != 4) return fallback;
  const auto& b = stored->bytes;
  std::uint32_t bits = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                       static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  auto pixels = static_cast<std::int32_t>(bits);
  return isUsableViewSide(pixels) ? pixels : fallback;
}

ViewSize viewSizeFromStored(const std::optional<StoredValue>& width, const std::optional<StoredValue>& height) {
  return {viewSideFromStored(width, defaultViewSize.width), viewSideFromStored(height, defaultViewSize.height)};
}

StoredValue storedDword(std::uint32_t value) {
  return {registryTypeDword,
          {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
           static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
}

}  // namespace veltrace::app
