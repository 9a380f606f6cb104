#include "render/shader/shader_validation.h"

#include "base/text.h"
#include "render/shader/shader_assembler.h"

namespace veltrace::shader {

namespace {

struct ValidationTexts {
  ShaderKind kind;
  const char* failed;
  const char* valid;
};

bool validate(std::string_view source, std::uint32_t flags, const ValidationTexts& texts, MessageLog& log,
              const PreprocessOptions& options) {
  AssembleResult result = assembleShader(source, flags, options);
  // The assembler takes either kind; a vertex shader in the pixel shader
  // pane would only fail later, when the device refuses it.
  if (result.version && result.version->kind != texts.kind) {
    result.tokens.clear();
    result.diagnostics.insert(result.diagnostics.begin(),
                              Diagnostic{result.versionLine, 1, DiagnosticCode::wrongShaderKind,
                                         texts.kind == ShaderKind::vertex ? "a vertex shader (vs.1.x) is expected here"
                                                                          : "a pixel shader (ps.1.x) is expected here",
                                         {}, 0});
  }
  if (!result.succeeded()) {
    log.append(texts.failed);
    // The assembler's report names the line of each error; every error gets
    // its own log line so that none is cut off in the Messages pane.
    for (const Diagnostic& diagnostic : result.diagnostics)
      log.append(formatText("Error in Line %s", formatDiagnostic(diagnostic).c_str()));
    return false;
  }
  log.append(texts.valid);
  return true;
}

}  // namespace

bool validateVertexShader(std::string_view source, std::uint32_t flags, MessageLog& log,
                          const PreprocessOptions& options) {
  static constexpr ValidationTexts texts{ShaderKind::vertex, "Error : Failed to assemble Vertex Shader !", "Vertex Shader is valid !!"};
  return validate(source, flags, texts, log, options);
}

bool validatePixelShader(std::string_view source, MessageLog& log, const PreprocessOptions& options) {
  static constexpr ValidationTexts texts{ShaderKind::pixel, "Failed to assemble Pixel Shader !", "Pixel Shader is valid !!"};
  return validate(source, 0, texts, log, options);
}

}  // namespace veltrace::shader
