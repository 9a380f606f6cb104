#include "scene/authoring/bitmap.h"

namespace veltrace {

namespace {

void put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

constexpr std::uint32_t fileHeaderSize = 14;
constexpr std::uint32_t infoHeaderSize = 40;

}  // namespace

std::string encodeBmp24(const Image& image) {
  const std::uint32_t rowSize = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = rowSize * static_cast<std::uint32_t>(image.height);
  std::string out;
  out.reserve(fileHeaderSize + infoHeaderSize + pixelBytes);
  out += "BM";
  put32(out, fileHeaderSize + infoHeaderSize + pixelBytes);
  put32(out, 0);  // reserved
  put32(out, fileHeaderSize + infoHeaderSize);
  put32(out, infoHeaderSize);
  put32(out, static_cast<std::uint32_t>(image.width));
  put32(out, static_cast<std::uint32_t>(image.height));  // positive: rows stored bottom-up
  put16(out, 1);                                          // planes
  put16(out, 24);                                         // bits per pixel
  put32(out, 0);                                          // no compression
  put32(out, pixelBytes);
  put32(out, 2835);  // 72 dots per inch
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    size_t rowStart = out.size();
    for (int x = 0; x < image.width; ++x) {
      const Rgb& pixel = image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
      out += static_cast<char>(pixel.b);
      out += static_cast<char>(pixel.g);
      out += static_cast<char>(pixel.r);
    }
    out.append(rowSize - (out.size() - rowStart), '\0');
  }
  return out;
}

}  // namespace veltrace
