#pragma once
// Direct3D 8's D3DFORMAT values the portable code names: display, back-buffer
// and depth/stencil formats for the device framework, texture formats for the
// texture loader. The numbers are the platform's, so the Windows layer hands
// them to the device unchanged (its sources check them against the headers).

#include <cstdint>

namespace veltrace {

constexpr std::uint32_t fourCC(char a, char b, char c, char d) {
  return std::uint32_t(std::uint8_t(a)) | std::uint32_t(std::uint8_t(b)) << 8 |
         std::uint32_t(std::uint8_t(c)) << 16 | std::uint32_t(std::uint8_t(d)) << 24;
}

enum class SurfaceFormat : std::uint32_t {
  unknown = 0,
  a8r8g8b8 = 21,
  x8r8g8b8 = 22,
  r5g6b5 = 23,
  x1r5g5b5 = 24,
  a1r5g5b5 = 25,
  a4r4g4b4 = 26,
  a8 = 28,
  l8 = 50,
  a8l8 = 51,
  d32 = 71,
  d15s1 = 73,
  d24s8 = 75,
  d24x8 = 77,
  d24x4s4 = 79,
  d16 = 80,
  dxt1 = fourCC('D', 'X', 'T', '1'),
  dxt3 = fourCC('D', 'X', 'T', '3'),
  dxt5 = fourCC('D', 'X', 'T', '5'),
};

}  // namespace veltrace
