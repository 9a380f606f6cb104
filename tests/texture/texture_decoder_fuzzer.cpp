// Feeds arbitrary bytes to the texture decoder (image files and DDS).
#include <cstddef>
#include <cstdint>

#include "render/texture/texture_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  // Small images keep each run fast; the size checks are the same code.
  veltrace::DecodeResult result = veltrace::decodeTextureFile(std::span(data, size), {.maximumSide = 256});
  if (result.image) {
    for (const auto& level : result.image->levels)
      if (level.bytes.size() != size_t(level.rowBytes) * level.rowCount) __builtin_trap();
  }
  return 0;
}
