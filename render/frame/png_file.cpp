#include "render/frame/png_file.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include "base/files.h"

namespace veltrace::render {

std::uint32_t RgbaImage::colourAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
  std::size_t at = (static_cast<std::size_t>(y) * width + x) * 4;
  return (std::uint32_t{pixels[at]} << 16) | (std::uint32_t{pixels[at + 1]} << 8) | pixels[at + 2];
}

bool writePng(const RgbaImage& image, std::string_view corePath, std::string& error) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
    error = "no image to write";
    return false;
  }
  std::string encoded;
  auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
  };
  if (!stbi_write_png_to_func(append, &encoded, image.width, image.height, 4, image.pixels.data(),
                              image.width * 4)) {
    error = "the image could not be encoded as PNG";
    return false;
  }
  if (!replaceFileWith(corePath, encoded)) {
    error = "cannot write \"" + std::string(corePath) + "\"";
    return false;
  }
  return true;
}

}  // namespace veltrace::render
