// Fuzz target: any bytes as shader source. The assembler must not crash,
// must give every error a line inside the source (a #line directive may
// number the lines after it as it likes, and a line of another file must
// stem from a line of the source), and what it accepts must disassemble and
// assemble again to the same tokens.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "render/shader/shader_assembler.h"
#include "render/shader/shader_disassembler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace veltrace::shader;
  std::string_view source(reinterpret_cast<const char*>(data), size);
  int lines = 1;
  for (char c : source)
    if (c == '\n') ++lines;
  const bool renumbered = source.find("#line") != std::string_view::npos;
  for (std::uint32_t flags : {0u, assemblerSkipValidation}) {
    AssembleResult result = assembleShader(source, flags);
    for (const Diagnostic& diagnostic : result.diagnostics) {
      if (diagnostic.line < 1) std::abort();
      if (!diagnostic.file.empty()) {
        if (diagnostic.sourceLine < 1 || diagnostic.sourceLine > lines) std::abort();
      } else if (!renumbered && diagnostic.line > lines) {
        std::abort();
      }
    }
    if (!result.succeeded()) continue;
    DisassembleResult text = disassembleShader(result.tokens);
    if (!text.succeeded) std::abort();
    AssembleResult again = assembleShader(text.text, flags);
    if (again.tokens != result.tokens) std::abort();
  }
  return 0;
}
