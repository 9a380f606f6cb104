#pragma once
// A ShaderProgram to its Direct3D 8 token stream and back.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "render/shader/shader_program.h"

namespace veltrace::shader {

// Version token, each instruction with its parameter tokens, end token.
std::vector<std::uint32_t> encodeShader(const ShaderProgram& program);

struct DecodeResult {
  std::optional<ShaderProgram> program;  // set when the stream was read whole
  std::string error;                     // why it was not
};

// Reads a token stream; comment blocks are skipped. Instruction i (from 0) is
// given line i + 2, as if the version stood on line 1. Reading stops at the
// end token; a stream without one, an unknown opcode, a parameter token where
// an instruction belongs or a register no version has are errors.
DecodeResult decodeShader(std::span<const std::uint32_t> tokens);

}  // namespace veltrace::shader
