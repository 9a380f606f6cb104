// The index file reader on any text.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "effect/component_files.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrace;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const char* indexPath : {"C:\\Tool\\effects\\e.veff", "e.veff"}) {
    Effect effect = fuzz::shippedEffect();
    MessageLog log;
    bool read = parseIndexFile(effect, indexPath, text, log);
    fuzz::check(read == log.pending().empty(), "a failure is reported, a success is silent");
    fuzz::checkShape(effect);
  }
  return 0;
}
