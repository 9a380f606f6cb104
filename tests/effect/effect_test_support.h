#pragma once
// Shared by the effect tests: the shipped program data, a new effect made
// from it, and small file helpers in the core's path form.

#include <gtest/gtest.h>

#include <string>

#include "app/message_log.h"
#include "base/files.h"
#include "base/text.h"
#include "effect/effect.h"
#include "effect/effect_factory.h"

namespace veltrace::test {

// The repository's data folder, which holds prefs\ like a program folder.
inline std::string shippedProgramFolder() {
  std::string folder = VELTRACE_DATA_DIR;
  for (char& c : folder)
    if (c == '/') c = '\\';
  return folder;
}

inline Effect newShippedEffect() {
  MessageLog log;
  Effect effect = createEffect(shippedProgramFolder(), log);
  EXPECT_TRUE(log.pending().empty()) << log.pending().front();
  return effect;
}

inline std::string fileText(const std::string& corePath) {
  auto text = readWholeFile(corePath);
  return text ? *text : std::string("<missing>");
}

inline void writeText(const std::string& corePath, const std::string& text) {
  ASSERT_TRUE(replaceFileWith(corePath, text)) << corePath;
}

}  // namespace veltrace::test
