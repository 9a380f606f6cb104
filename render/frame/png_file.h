#pragma once
// Frames as PNG files: 8-bit RGBA rows, top row first.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrace::render {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes: r, g, b, a

  // 0x00RRGGBB of the pixel; 0xFFFFFFFF outside the image.
  std::uint32_t colourAt(int x, int y) const;
};

// Writes the image in place of the file at corePath only once it is fully
// encoded. False with a message on failure.
bool writePng(const RgbaImage& image, std::string_view corePath, std::string& error);

}  // namespace veltrace::render
