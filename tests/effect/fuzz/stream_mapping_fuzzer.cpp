// The stream mapping reader on any text; the declaration stays well formed.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "effect/component_files.h"
#include "effect/declaration.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrace;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Effect effect = fuzz::shippedEffect();
  parseStreamMapping(effect, text);
  fuzz::checkShape(effect);

  const auto& words = effect.streamMapping.declaration;
  size_t mapped = 0;
  for (const auto& entry : effect.streamMapping.entries) mapped += entry.inputRegister >= 0 ? 1 : 0;
  fuzz::check(words[mapped + 1] == vsdTokenEnd, "end token after the mapped entries");

  Effect again = fuzz::shippedEffect();
  parseStreamMapping(again, fuzz::joined(streamMappingFileLines(effect)));
  fuzz::check(again.streamMapping.declaration == words, "declaration kept");
  return 0;
}
