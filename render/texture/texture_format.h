#pragma once
// The texture formats the loader produces: sizes and names of the surface
// formats it decodes to.

#include <cstdint>

#include "render/device/surface_format.h"

namespace veltrace {

// The loader's formats are Direct3D 8 surface formats.
using TextureFormat = SurfaceFormat;

bool isBlockCompressed(TextureFormat format);

// Bytes per pixel of an uncompressed format; bytes per 4x4 block of a
// compressed one; 0 for unknown.
std::uint32_t bytesPerElement(TextureFormat format);

// Bytes of one mip level: rows of pixels, or rows of 4x4 blocks.
std::uint32_t levelRowBytes(TextureFormat format, std::uint32_t width);
std::uint32_t levelRowCount(TextureFormat format, std::uint32_t height);
std::uint32_t levelByteSize(TextureFormat format, std::uint32_t width, std::uint32_t height);

const char* textureFormatName(TextureFormat format);

}  // namespace veltrace
