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
  AssembleResult result;
  DiagnosticList diagnostics;
  auto program = parseShaderSource(source, diagnostics);
  if (program && !(flags & assemblerSkipValidation) && !diagnostics.full()) validateShader(*program, diagnostics);
  if (program) {
    result.version = program->version;
    result.versionLine = program->versionLine;
    if (diagnostics.empty()) result.tokens = encodeShader(*program);
  }
  result.diagnostics = diagnostics.take();
  return result;
}

}  // namespace veltrace::shader
