#include "render/shader/shader_assembler.h"

#include "render/shader/shader_encoder.h"
#include "render/shader/shader_parser.h"
#include "render/shader/shader_validator.h"

namespace veltrace::shader {

std::string AssembleResult::errorText() const {
  std::string text;
  for (const Diagnostic& diagnostic : diagnostics) text += formatDiagnostic(diagnostic) + "\n";
  return text;
}

AssembleResult assembleShader(std::string_view source, std::uint32_t flags) {
  return assembleShader(source, flags, PreprocessOptions{});
}

AssembleResult assembleShader(std::string_view source, std::uint32_t flags, const PreprocessOptions& options,
                              ShaderBudget* budget) {
  AssembleResult result;
  PreprocessResult preprocessed = preprocessShaderSource(source, options);
  if (!preprocessed.diagnostics.empty()) {
    // The text behind a failed directive would only add errors of its own.
    result.diagnostics = std::move(preprocessed.diagnostics);
    return result;
  }
  if (preprocessed.rewritten) source = preprocessed.text;
  DiagnosticList diagnostics;
  auto program = parseShaderSource(source, diagnostics);
  if (program && !(flags & assemblerSkipValidation) && !diagnostics.full()) validateShader(*program, diagnostics, budget);
  if (program) {
    result.version = program->version;
    result.versionLine = program->versionLine;
    if (diagnostics.empty()) result.tokens = encodeShader(*program);
  }
  result.diagnostics = diagnostics.take();
  if (preprocessed.rewritten) {
    for (Diagnostic& diagnostic : result.diagnostics) preprocessed.mapToOrigin(diagnostic);
    Diagnostic versionPlace;
    versionPlace.line = result.versionLine;
    preprocessed.mapToOrigin(versionPlace);
    result.versionLine = versionPlace.line;
  }
  return result;
}

}  // namespace veltrace::shader
