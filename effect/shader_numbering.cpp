#include "effect/shader_numbering.h"

namespace veltrace {

std::int32_t takeNextShaderNumber() {
  // Everything runs on the user-interface thread, so a plain counter does.
  static std::int32_t lastNumber = 0;
  return ++lastNumber;
}

}  // namespace veltrace
