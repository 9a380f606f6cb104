// The render state reader on any text; what it read is written and read
// back to the same lines.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "effect/component_files.h"
#include "effect/state_values.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrace;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Effect effect = fuzz::shippedEffect();
  parseRenderStates(effect, text);
  fuzz::checkShape(effect);
  for (const auto& entry : effect.renderStates) stateValuesToApply(entry, StateTable::renderStates);

  auto lines = renderStateFileLines(effect);
  Effect again = fuzz::shippedEffect();
  parseRenderStates(again, fuzz::joined(lines));
  auto linesAgain = renderStateFileLines(again);
  fuzz::check(linesAgain.size() == lines.size(), "line count kept");
  for (size_t i = 0; i < lines.size(); ++i) fuzz::check(linesAgain[i].text == lines[i].text, "line kept");
  return 0;
}
