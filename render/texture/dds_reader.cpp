#include "render/texture/dds_reader.h"

#include <cstring>

namespace veltrace {

namespace {

// Header layout: the magic "DDS " and a 124-byte surface description.
constexpr size_t headerBytes = 128;
constexpr size_t offsetFlags = 8;
constexpr size_t offsetHeight = 12;
constexpr size_t offsetWidth = 16;
constexpr size_t offsetMipCount = 28;
constexpr size_t offsetPixelFlags = 80;
constexpr size_t offsetFourCC = 84;
constexpr size_t offsetBitCount = 88;
constexpr size_t offsetRedMask = 92;
constexpr size_t offsetGreenMask = 96;
constexpr size_t offsetBlueMask = 100;
constexpr size_t offsetAlphaMask = 104;
constexpr size_t offsetCaps2 = 112;

constexpr std::uint32_t flagMipCount = 0x20000;
constexpr std::uint32_t pixelAlphaPixels = 0x1;
constexpr std::uint32_t pixelAlphaOnly = 0x2;
constexpr std::uint32_t pixelFourCC = 0x4;
constexpr std::uint32_t pixelRgb = 0x40;
constexpr std::uint32_t pixelLuminance = 0x20000;
constexpr std::uint32_t caps2CubeMap = 0x200;
constexpr std::uint32_t caps2Volume = 0x200000;

std::uint32_t readWord(std::span<const std::uint8_t> bytes, size_t offset) {
  std::uint32_t value;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;  // DDS files are little-endian, as is every target we build for
}

struct PixelLayout {
  TextureFormat format = TextureFormat::unknown;
  // Formats the device rarely takes are widened to 32-bit on reading.
  enum class Conversion { none, rgb24ToX8r8g8b8, abgr32ToArgb32 } conversion = Conversion::none;
  std::uint32_t fileBytesPerPixel = 0;
};

PixelLayout pixelLayoutOf(std::span<const std::uint8_t> bytes) {
  const std::uint32_t flags = readWord(bytes, offsetPixelFlags);
  const std::uint32_t bits = readWord(bytes, offsetBitCount);
  const std::uint32_t red = readWord(bytes, offsetRedMask);
  const std::uint32_t green = readWord(bytes, offsetGreenMask);
  const std::uint32_t blue = readWord(bytes, offsetBlueMask);
  const std::uint32_t alpha = (flags & (pixelAlphaPixels | pixelAlphaOnly)) ? readWord(bytes, offsetAlphaMask) : 0;
  PixelLayout layout;
  if (flags & pixelFourCC) {
    const std::uint32_t code = readWord(bytes, offsetFourCC);
    for (TextureFormat format : {TextureFormat::dxt1, TextureFormat::dxt3, TextureFormat::dxt5})
      if (code == static_cast<std::uint32_t>(format)) layout.format = format;
    return layout;
  }
  using C = PixelLayout::Conversion;
  if (flags & pixelRgb) {
    if (bits == 32 && red == 0xFF0000 && green == 0xFF00 && blue == 0xFF)
      layout = {alpha == 0xFF000000u ? TextureFormat::a8r8g8b8 : TextureFormat::x8r8g8b8, C::none, 4};
    else if (bits == 32 && red == 0xFF && green == 0xFF00 && blue == 0xFF0000)
      layout = {alpha == 0xFF000000u ? TextureFormat::a8r8g8b8 : TextureFormat::x8r8g8b8, C::abgr32ToArgb32, 4};
    else if (bits == 24 && red == 0xFF0000 && green == 0xFF00 && blue == 0xFF)
      layout = {TextureFormat::x8r8g8b8, C::rgb24ToX8r8g8b8, 3};
    else if (bits == 16 && red == 0xF800 && green == 0x7E0 && blue == 0x1F)
      layout = {TextureFormat::r5g6b5, C::none, 2};
    else if (bits == 16 && red == 0x7C00 && green == 0x3E0 && blue == 0x1F)
      layout = {alpha == 0x8000 ? TextureFormat::a1r5g5b5 : TextureFormat::x1r5g5b5, C::none, 2};
    else if (bits == 16 && red == 0xF00 && green == 0xF0 && blue == 0xF && alpha == 0xF000)
      layout = {TextureFormat::a4r4g4b4, C::none, 2};
    return layout;
  }
  if ((flags & pixelLuminance) && bits == 8 && red == 0xFF) return {TextureFormat::l8, C::none, 1};
  if ((flags & pixelLuminance) && bits == 16 && red == 0xFF && alpha == 0xFF00) return {TextureFormat::a8l8, C::none, 2};
  if ((flags & pixelAlphaOnly) && bits == 8 && alpha == 0xFF) return {TextureFormat::a8, C::none, 1};
  return layout;
}

void convertRow(PixelLayout::Conversion conversion, const std::uint8_t* source, std::uint8_t* target,
                std::uint32_t width) {
  using C = PixelLayout::Conversion;
  for (std::uint32_t x = 0; x < width; ++x) {
    if (conversion == C::rgb24ToX8r8g8b8) {
      target[x * 4 + 0] = source[x * 3 + 0];
      target[x * 4 + 1] = source[x * 3 + 1];
      target[x * 4 + 2] = source[x * 3 + 2];
      target[x * 4 + 3] = 0xFF;
    } else {  // abgr32ToArgb32: swap red and blue
      target[x * 4 + 0] = source[x * 4 + 2];
      target[x * 4 + 1] = source[x * 4 + 1];
      target[x * 4 + 2] = source[x * 4 + 0];
      target[x * 4 + 3] = source[x * 4 + 3];
    }
  }
}

}  // namespace

bool looksLikeDds(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 4 && std::memcmp(bytes.data(), "DDS ", 4) == 0;
}

DecodeResult readDds(std::span<const std::uint8_t> bytes, DecodeLimits limits) {
  if (bytes.size() < headerBytes || !looksLikeDds(bytes)) return {std::nullopt, "not a DDS file"};
  if (readWord(bytes, offsetCaps2) & (caps2CubeMap | caps2Volume))
    return {std::nullopt, "cube and volume DDS textures are not supported"};
  const std::uint32_t width = readWord(bytes, offsetWidth);
  const std::uint32_t height = readWord(bytes, offsetHeight);
  if (width == 0 || height == 0 || width > limits.maximumSide || height > limits.maximumSide)
    return {std::nullopt, "DDS image size out of range"};
  const PixelLayout layout = pixelLayoutOf(bytes);
  if (layout.format == TextureFormat::unknown) return {std::nullopt, "unsupported DDS pixel format"};

  std::uint32_t levelCount = 1;
  if (readWord(bytes, offsetFlags) & flagMipCount) levelCount = readWord(bytes, offsetMipCount);
  levelCount = std::max<std::uint32_t>(1, std::min(levelCount, fullMipLevelCount(width, height)));

  TextureImage image;
  image.format = layout.format;
  size_t offset = headerBytes;
  std::uint32_t levelWidth = width, levelHeight = height;
  for (std::uint32_t index = 0; index < levelCount; ++index) {
    TextureLevel level;
    level.width = levelWidth;
    level.height = levelHeight;
    level.rowBytes = levelRowBytes(layout.format, levelWidth);
    level.rowCount = levelRowCount(layout.format, levelHeight);
    const std::uint32_t fileRowBytes = isBlockCompressed(layout.format) || layout.conversion == PixelLayout::Conversion::none
                                           ? level.rowBytes
                                           : levelWidth * layout.fileBytesPerPixel;
    const size_t fileLevelBytes = size_t(fileRowBytes) * level.rowCount;
    if (fileLevelBytes > bytes.size() - offset) {
      if (index == 0) return {std::nullopt, "DDS file is truncated"};
      break;  // keep the complete levels and build no more
    }
    level.bytes.resize(size_t(level.rowBytes) * level.rowCount);
    if (layout.conversion == PixelLayout::Conversion::none) {
      std::memcpy(level.bytes.data(), bytes.data() + offset, fileLevelBytes);
    } else {
      for (std::uint32_t row = 0; row < level.rowCount; ++row)
        convertRow(layout.conversion, bytes.data() + offset + size_t(row) * fileRowBytes,
                   level.bytes.data() + size_t(row) * level.rowBytes, levelWidth);
    }
    offset += fileLevelBytes;
    image.levels.push_back(std::move(level));
    levelWidth = std::max<std::uint32_t>(1, levelWidth / 2);
    levelHeight = std::max<std::uint32_t>(1, levelHeight / 2);
  }
  // A 32-bit file without its own levels gets a chain; other formats keep
  // the levels they carry.
  if (image.levels.size() == 1 && bytesPerElement(image.format) == 4 && !isBlockCompressed(image.format))
    buildMipChain(image);
  return {std::move(image), {}};
}

}  // namespace veltrace
