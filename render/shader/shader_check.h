#pragma once
// The check a shader pane runs while the user types: assemble the editor's
// text in memory, and tell where it is wrong and how much of the version's
// budget it takes. It writes no log and changes nothing; Apply still does
// the real validation.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/shader/shader_budget.h"
#include "render/shader/shader_preprocessor.h"
#include "render/shader/shader_tokens.h"

namespace veltrace::shader {

struct CheckError {
  // Line of the checked text to mark; an error inside an included file is
  // shown at the #include that brought it in.
  int line = 0;
  std::string text;  // for an included file prefixed with "FILE(LINE): "
  friend bool operator==(const CheckError&, const CheckError&) = default;
};

struct ShaderCheck {
  std::vector<CheckError> errors;      // in the assembler's order
  std::optional<ShaderBudget> budget;  // whenever the version line could be read
};

// expectedKind: the pane's kind; a source of the other kind is an error at
// its version line, as Apply would report it.
ShaderCheck checkShaderSource(std::string_view text, ShaderKind expectedKind, const PreprocessOptions& options = {});

}  // namespace veltrace::shader
