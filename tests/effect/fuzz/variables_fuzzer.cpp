// The variables reader on any text, and its writer on whatever was read.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "effect/component_files.h"
#include "fuzz_support.h"

namespace {

size_t variableCount(const veltrace::Effect& effect) {
  return effect.vectors.size() + effect.matrices.size() + effect.colors.size();
}

void checkKinds(const veltrace::Effect& effect) {
  using veltrace::VariableKind;
  for (const auto& variable : effect.vectors) veltrace::fuzz::check(variable.kind == VariableKind::vector, "vector kind");
  for (const auto& variable : effect.matrices) veltrace::fuzz::check(variable.kind == VariableKind::matrix, "matrix kind");
  for (const auto& variable : effect.colors) veltrace::fuzz::check(variable.kind == VariableKind::color, "color kind");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrace;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Effect effect;
  effect.variablesFile = "variables.txt";
  MessageLog log;
  bool read = parseVariables(effect, text, log);
  fuzz::check(read == log.pending().empty(), "a failure is reported, a success is silent");
  checkKinds(effect);

  // Whatever was read is written one variable per line and reads back whole.
  auto lines = variablesFileLines(effect);
  fuzz::check(lines.size() == variableCount(effect), "one line per variable");
  Effect again;
  fuzz::check(parseVariables(again, fuzz::joined(lines), log), "written variables read back");
  fuzz::check(variableCount(again) == variableCount(effect), "variable count kept");
  checkKinds(again);
  return 0;
}
