// The state catalogue reader on any text, as either catalogue.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/text.h"
#include "effect/state_catalogue.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrace;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t lines = splitLines(text).size();
  for (CatalogueKind kind : {CatalogueKind::renderStates, CatalogueKind::textureStates}) {
    StateCatalogue catalogue = parseStateCatalogue(text, kind);
    fuzz::check(catalogue.entries.size() == lines, "one entry per line");
    fuzz::check(catalogue.firstBadLine >= 0 && static_cast<size_t>(catalogue.firstBadLine) <= lines, "bad line");
  }
  return 0;
}
