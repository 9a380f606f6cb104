#pragma once
// Reads vs.1.x and ps.1.x assembly source into a ShaderProgram.
//
// The source is one statement per line: a version line ("vs.1.1", "ps_1_4")
// before anything else, then instructions "[+]name[_modifiers] operands".
// Comments run from ';' or "//" to the end of the line, or between "/*" and
// "*/" across lines. Instruction names, register names, masks and modifiers
// are read without regard to case. A line that cannot be read is reported
// and skipped, and reading goes on with the next line.

#include <optional>
#include <string_view>

#include "render/shader/shader_diagnostics.h"
#include "render/shader/shader_program.h"

namespace veltrace::shader {

// The program, or nothing when the source has no usable version line (then
// no instruction can be read). Errors of form are added to the diagnostics;
// the program holds every line that could be read.
std::optional<ShaderProgram> parseShaderSource(std::string_view source, DiagnosticList& diagnostics);

}  // namespace veltrace::shader
