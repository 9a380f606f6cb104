#pragma once
// The rules a shader must keep beyond its form, per version: register
// ranges and access, read ports, masks, swizzles and modifiers allowed per
// instruction, slot budgets, the ordering and dependency rules of texture
// instructions, co-issue and ps.1.4 phases.

#include "render/shader/shader_budget.h"
#include "render/shader/shader_diagnostics.h"
#include "render/shader/shader_program.h"

namespace veltrace::shader {

// Adds one diagnostic per broken rule; goes on after each. With a budget,
// also reports the slots the shader takes as the checks counted them.
void validateShader(const ShaderProgram& program, DiagnosticList& diagnostics, ShaderBudget* budget = nullptr);

}  // namespace veltrace::shader
