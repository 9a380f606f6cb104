#pragma once
// Shared by the effect fuzzers: a new effect with the shipped catalogues,
// made once, and a check that aborts so libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/message_log.h"
#include "effect/effect_factory.h"
#include "effect/staged_files.h"

namespace veltrace::fuzz {

inline const Effect& shippedEffect() {
  static const Effect effect = [] {
    std::string folder = VELTRACE_DATA_DIR;
    for (char& c : folder)
      if (c == '/') c = '\\';
    MessageLog log;
    Effect made = createEffect(folder, log);
    if (!log.pending().empty()) {
      std::fprintf(stderr, "%s\n", log.pending().front().c_str());
      std::abort();
    }
    return made;
  }();
  return effect;
}

inline void check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// The tables a reader must never grow or shrink.
inline void checkShape(const Effect& effect) {
  const Effect& shipped = shippedEffect();
  check(effect.renderStates.size() == shipped.renderStates.size(), "render state table size");
  for (int stage = 0; stage < textureStageCount; ++stage)
    check(effect.textureStages.stages[stage].settings.size() == shipped.textureStages.stages[stage].settings.size(),
          "stage table size");
  check(effect.streamMapping.entries.size() == 5, "stream mapping entries");
  check(effect.streamMapping.declaration[0] == 0x20000000u, "declaration stream token");
}

inline std::string joined(const std::vector<FileLine>& lines) {
  std::string text;
  for (const auto& line : lines) text += line.text + "\r\n";
  return text;
}

}  // namespace veltrace::fuzz
