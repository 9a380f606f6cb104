#pragma once
// The pixel size an image file's header announces, read without decoding, so
// that files handed to a platform decoder can be refused for their size first.

#include <cstdint>
#include <optional>
#include <span>

namespace veltrace {

struct ImageSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// The frame size of a JPEG (any start-of-frame kind, baseline to
// arithmetic-coded progressive) or the screen size of a GIF; nothing for other
// files or when the header is cut short.
std::optional<ImageSize> announcedImageSize(std::span<const std::uint8_t> bytes);

}  // namespace veltrace
