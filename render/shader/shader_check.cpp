#include "render/shader/shader_check.h"

#include "base/text.h"
#include "render/shader/shader_assembler.h"

namespace veltrace::shader {

ShaderCheck checkShaderSource(std::string_view text, ShaderKind expectedKind, const PreprocessOptions& options) {
  ShaderCheck check;
  ShaderBudget budget;
  AssembleResult result = assembleShader(text, 0, options, &budget);
  if (result.version) {
    budget.version = *result.version;  // also when errors kept the validator from running
    check.budget = budget;
    if (result.version->kind != expectedKind)
      check.errors.push_back({result.versionLine, expectedKind == ShaderKind::vertex
                                                      ? "a vertex shader (vs.1.x) is expected here"
                                                      : "a pixel shader (ps.1.x) is expected here"});
  }
  for (const Diagnostic& diagnostic : result.diagnostics) {
    if (diagnostic.file.empty())
      check.errors.push_back({diagnostic.line, diagnostic.text});
    else
      check.errors.push_back({diagnostic.sourceLine, formatText("%s(%d): %s", diagnostic.file.c_str(), diagnostic.line,
                                                                diagnostic.text.c_str())});
  }
  return check;
}

}  // namespace veltrace::shader
