#pragma once
// Golden shaders: source text beside the exact tokens the Direct3D 8 runtime
// expects for it, worked out by hand from the token layout. Shared by the
// assembler, disassembler and platform tests.

#include <cstdint>
#include <string>
#include <vector>

namespace veltrace::shader::test {

struct GoldenShader {
  std::string name;
  std::string source;
  std::vector<std::uint32_t> tokens;
};

// Every instruction at least once, grouped by version, as written by hand.
const std::vector<GoldenShader>& goldenShaders();

// The hand-written ones, plus each of them again under every other version
// of its kind that has the same instructions, registers and rules for it
// (ps.1.1 arithmetic under ps.1.0, ps.1.2 and ps.1.3 ...): the same body
// with that version's token. So every instruction is checked in every
// version that has it.
const std::vector<GoldenShader>& goldenShadersInEveryVersion();

}  // namespace veltrace::shader::test
