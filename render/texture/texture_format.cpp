#include "render/texture/texture_format.h"

namespace veltrace {

bool isBlockCompressed(TextureFormat format) {
  return format == TextureFormat::dxt1 || format == TextureFormat::dxt3 || format == TextureFormat::dxt5;
}

std::uint32_t bytesPerElement(TextureFormat format) {
  switch (format) {
    case TextureFormat::a8r8g8b8:
    case TextureFormat::x8r8g8b8: return 4;
    case TextureFormat::r5g6b5:
    case TextureFormat::x1r5g5b5:
    case TextureFormat::a1r5g5b5:
    case TextureFormat::a4r4g4b4:
    case TextureFormat::a8l8: return 2;
    case TextureFormat::a8:
    case TextureFormat::l8: return 1;
    case TextureFormat::dxt1: return 8;
    case TextureFormat::dxt3:
    case TextureFormat::dxt5: return 16;
    default: break;  // not a texture format
  }
  return 0;
}

std::uint32_t levelRowBytes(TextureFormat format, std::uint32_t width) {
  if (isBlockCompressed(format)) return ((width + 3) / 4) * bytesPerElement(format);
  return width * bytesPerElement(format);
}

std::uint32_t levelRowCount(TextureFormat format, std::uint32_t height) {
  return isBlockCompressed(format) ? (height + 3) / 4 : height;
}

std::uint32_t levelByteSize(TextureFormat format, std::uint32_t width, std::uint32_t height) {
  return levelRowBytes(format, width) * levelRowCount(format, height);
}

const char* textureFormatName(TextureFormat format) {
  switch (format) {
    case TextureFormat::a8r8g8b8: return "A8R8G8B8";
    case TextureFormat::x8r8g8b8: return "X8R8G8B8";
    case TextureFormat::r5g6b5: return "R5G6B5";
    case TextureFormat::x1r5g5b5: return "X1R5G5B5";
    case TextureFormat::a1r5g5b5: return "A1R5G5B5";
    case TextureFormat::a4r4g4b4: return "A4R4G4B4";
    case TextureFormat::a8: return "A8";
    case TextureFormat::l8: return "L8";
    case TextureFormat::a8l8: return "A8L8";
    case TextureFormat::dxt1: return "DXT1";
    case TextureFormat::dxt3: return "DXT3";
    case TextureFormat::dxt5: return "DXT5";
    default: break;
  }
  return "unknown";
}

}  // namespace veltrace
