#pragma once
// A shader between source text and tokens: its version and its instructions
// with their operands, each with the source line it came from. The parser
// and the token decoder produce it; the validator checks it; the encoder and
// the printer turn it into tokens or text.

#include <array>
#include <cstdint>
#include <vector>

#include "render/shader/instruction_set.h"
#include "render/shader/shader_tokens.h"

namespace veltrace::shader {

struct Instruction {
  const InstructionInfo* info = nullptr;
  int line = 0;
  int column = 0;                           // where the instruction name starts
  bool coIssued = false;                    // written with a leading '+'
  DestinationParameter destination;         // when info->destinations is 1
  std::vector<SourceParameter> sources;     // info->sources of them
  std::array<std::uint32_t, definitionValueCount> values{};  // def: float bits
};

struct ShaderProgram {
  ShaderVersion version;
  int versionLine = 0;
  std::vector<Instruction> instructions;
};

}  // namespace veltrace::shader
