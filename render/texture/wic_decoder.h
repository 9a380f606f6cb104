#pragma once
// Image files the portable decoder refuses (arithmetic-coded or 12-bit JPEGs,
// GIF, TIFF and whatever else the system has codecs for) are decoded by the
// Windows Imaging Component. Windows only: the component is a COM server that
// the system loads on first use.

#include <cstdint>
#include <span>

#include "render/texture/texture_image.h"

namespace veltrace {

// Decodes the first frame of the image through the imaging component into a
// texture as decodeTextureFile makes one. A JPEG or GIF whose header announces
// a size beyond the limits is refused before the component sees it.
DecodeResult decodeWithImagingComponent(std::span<const std::uint8_t> bytes, DecodeLimits limits = {});

// The portable decoder, and for what it refuses the imaging component; when
// both fail, the error gives both reasons.
DecodeResult decodeTextureFileWithSystemCodecs(std::span<const std::uint8_t> bytes, DecodeLimits limits = {});

}  // namespace veltrace
