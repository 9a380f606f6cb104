#pragma once
// The small picture of the selected texture beside the Textures pane's list:
// the largest mip level that fits a square box, as opaque 32-bit pixels the
// dialog draws as they are. Transparent parts show over a grey checkerboard
// so that alpha can be seen.

#include <cstdint>
#include <optional>
#include <vector>

#include "render/texture/texture_image.h"

namespace veltrace {

struct TexturePreview {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  // Blue, green, red, 255 per pixel, row after row from the top.
  std::vector<std::uint8_t> pixels;
};

// Nothing for formats without plain 32-bit pixels (block-compressed and
// 16-bit DDS files) and for empty images.
std::optional<TexturePreview> texturePreview(const TextureImage& image, std::uint32_t boxSide);

}  // namespace veltrace
