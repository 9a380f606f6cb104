#pragma once
// Reals in the effect files and catalogues are held as 32-bit floats.

#include <string_view>

namespace veltrace {

// readLenientReal narrowed to float. Values beyond the float range are held
// at the largest float of their sign, so they are written back as numbers
// instead of "inf" (which would read back as 0).
float readLenientFloat(std::string_view text);

}  // namespace veltrace
