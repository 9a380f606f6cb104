#pragma once
// Tokens back to assembly source that assembles to the same tokens.

#include <cstdint>
#include <span>
#include <string>

#include "render/shader/shader_program.h"

namespace veltrace::shader {

// One line per statement, "\n" after each: the version, then instructions.
std::string printShader(const ShaderProgram& program);

struct DisassembleResult {
  bool succeeded = false;
  std::string text;   // the source when succeeded
  std::string error;  // why the tokens could not be read otherwise
};

DisassembleResult disassembleShader(std::span<const std::uint32_t> tokens);

}  // namespace veltrace::shader
