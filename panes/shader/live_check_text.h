#pragma once
// The lines a shader pane shows under its editor while the user types: one
// per error with its line number, and the budget line.

#include <string>

#include "render/shader/shader_check.h"

namespace veltrace {

// "Line 3: unknown instruction 'mvo'"
std::string checkErrorText(const shader::CheckError& error);

// "vs.1.1: 12 of 128 instruction slots, 3 of 12 temporary registers, 5 of 96
// constant registers"; pixel shaders give arithmetic and texture slots, per
// phase for a ps.1.4 shader with a phase marker.
std::string budgetText(const shader::ShaderBudget& budget);

}  // namespace veltrace
