#pragma once
// The program-wide running number of shader names. Every shader named on an
// effect load or a shader-file load takes the next value; the counter is never
// reset while the program runs, so no two shaders share a number.

#include <cstdint>

namespace veltrace {

std::int32_t takeNextShaderNumber();

}  // namespace veltrace
