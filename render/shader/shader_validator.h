#pragma once
// The rules a shader must keep beyond its form, per version: register
// ranges and access, read ports, masks, swizzles and modifiers allowed per
// instruction, slot budgets, the ordering and dependency rules of texture
// instructions, co-issue and ps.1.4 phases.

#include "render/shader/shader_diagnostics.h"
#include "render/shader/shader_program.h"

namespace veltrace::shader {

// Adds one diagnostic per broken rule; goes on after each.
void validateShader(const ShaderProgram& program, DiagnosticList& diagnostics);

}  // namespace veltrace::shader
