#pragma once
// Validate vertex shader and validate pixel shader, as the shader panes call
// them when the user applies a source: assemble it and report the outcome
// in the message log.

#include <cstdint>
#include <string_view>

#include "app/message_log.h"
#include "render/shader/shader_preprocessor.h"

namespace veltrace::shader {

// flags: the assembler flags (0, or 16 to skip validation when the device
// has no hardware vertex shaders). True when the source assembles. The
// options say where its #include lines look (none: every #include refused).
bool validateVertexShader(std::string_view source, std::uint32_t flags, MessageLog& log,
                          const PreprocessOptions& options = {});

bool validatePixelShader(std::string_view source, MessageLog& log, const PreprocessOptions& options = {});

}  // namespace veltrace::shader
