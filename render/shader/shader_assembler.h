#pragma once
// The shader assembler: vs.1.0, vs.1.1 and ps.1.0 to ps.1.4 source text to
// the Direct3D 8 token stream, with the validation the platform's assembler
// performs unless told to skip it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/shader/shader_budget.h"
#include "render/shader/shader_diagnostics.h"
#include "render/shader/shader_preprocessor.h"
#include "render/shader/shader_tokens.h"

namespace veltrace::shader {

// Assembler flags as the platform's assembler takes them: 1 asks for debug
// information (ignored here), 16 skips validation, so that only the form of
// the source is checked.
constexpr std::uint32_t assemblerDebug = 0x01;
constexpr std::uint32_t assemblerSkipValidation = 0x10;

struct AssembleResult {
  std::vector<std::uint32_t> tokens;     // empty when there are errors
  std::vector<Diagnostic> diagnostics;   // in source order per pass
  std::optional<ShaderVersion> version;  // when the version line was read
  int versionLine = 0;

  bool succeeded() const { return diagnostics.empty() && !tokens.empty(); }
  // Every diagnostic as "(LINE): error: TEXT", one per line.
  std::string errorText() const;
};

// Runs the preprocessor first (shader_preprocessor.h); errors name the file
// and line they were found in. Without options an #include is refused.
AssembleResult assembleShader(std::string_view source, std::uint32_t flags = 0);
// With a budget (which needs validation), it is filled whenever a program
// could be read, errors or not.
AssembleResult assembleShader(std::string_view source, std::uint32_t flags, const PreprocessOptions& options,
                              ShaderBudget* budget = nullptr);

}  // namespace veltrace::shader
