#pragma once
// Reads DirectDraw Surface files: DXT1/3/5 and the common uncompressed
// formats, with the mip levels the file carries.

#include <cstdint>
#include <span>

#include "render/texture/texture_image.h"

namespace veltrace {

bool looksLikeDds(std::span<const std::uint8_t> bytes);
DecodeResult readDds(std::span<const std::uint8_t> bytes, DecodeLimits limits = {});

}  // namespace veltrace
