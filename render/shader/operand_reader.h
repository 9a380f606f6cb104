#pragma once
// One operand of an instruction, from its text to a parameter: a register
// (r0, c[a0.x + 4], oPos ...), a write mask or swizzle, source modifiers
// (-, 1-, _bias, _bx2, _x2, _dz/_db, _dw/_da); and the numbers of def.
// Errors go to the diagnostics with the operand's line and column.

#include <optional>
#include <string_view>

#include "render/shader/shader_diagnostics.h"
#include "render/shader/shader_tokens.h"

namespace veltrace::shader {

struct OperandPlace {
  int line;
  int column;  // where the operand starts
};

std::optional<DestinationParameter> readDestinationOperand(std::string_view text, OperandPlace place, ShaderKind kind,
                                                           DiagnosticList& diagnostics);

std::optional<SourceParameter> readSourceOperand(std::string_view text, OperandPlace place, ShaderKind kind,
                                                 DiagnosticList& diagnostics);

// A def value: a decimal number with an optional 'f' behind it; nothing for
// anything else, infinities and NaN included.
std::optional<float> readDefinitionValue(std::string_view text);

}  // namespace veltrace::shader
