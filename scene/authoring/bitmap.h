#pragma once
// Small 24-bit BMP images for the sample textures.

#include <cstdint>
#include <string>
#include <vector>

namespace veltrace {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row by row from the top
};

// The whole file: header, info header, bottom-up rows padded to 4 bytes.
std::string encodeBmp24(const Image& image);

}  // namespace veltrace
