#pragma once
// Golden shaders: source text beside the exact tokens the Direct3D 8 runtime
// expects for it, worked out by hand from the token layout. Shared by the
// assembler, disassembler and platform tests.

#include <cstdint>
#include <string>
#include <vector>

namespace veltrace::shader::test {

struct GoldenShader {
  const char* name;
  std::string source;
  std::vector<std::uint32_t> tokens;
};

// Every instruction of every version at least once, grouped by version.
const std::vector<GoldenShader>& goldenShaders();

}  // namespace veltrace::shader::test
