#include "effect/float_reading.h"

#include <algorithm>
#include <limits>

#include "base/text.h"

namespace veltrace {

float readLenientFloat(std::string_view text) {
  constexpr double largest = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(readLenientReal(text), -largest, largest));
}

}  // namespace veltrace
