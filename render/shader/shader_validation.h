#pragma once
// Validate vertex shader and validate pixel shader, as the shader panes call
// them when the user applies a source: assemble it and report the outcome
// in the message log.

#include <cstdint>
#include <string_view>

#include "app/message_log.h"

namespace veltrace::shader {

// flags: the assembler flags (0, or 16 to skip validation when the device
// has no hardware vertex shaders). True when the source assembles.
bool validateVertexShader(std::string_view source, std::uint32_t flags, MessageLog& log);

bool validatePixelShader(std::string_view source, MessageLog& log);

}  // namespace veltrace::shader
