// Colouring in the shader source editor: the whole text after a load
// (goal: 100 ms for 2,000 lines with the control's work included) and the
// current line after each keystroke (goal: 5 ms). This measures the scan
// alone; the rich-edit side is measured with the pane.

#include <benchmark/benchmark.h>

#include <string>

#include "panes/shader/shader_keywords.h"

namespace veltrace {
namespace {

const char* pixelLines[] = {
    "ps.1.4\r\n",
    "def c7, 0.5, 0.5, 0.5, 1.0 // half grey\r\n",
    "texld r0, t0\r\n",
    "mad_sat r0, r0, r1_bx2, v0 ; lit\r\n",
    "/* two lines of block\r\n comment */ mul_x2 r0.rgb, r0, v1\r\n",
    "+mov r0.a, c7.b\r\n",
    "cmp r1, r3, r0, c2\r\n",
};

std::string sourceOfLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += pixelLines[i % std::size(pixelLines)];
  return text;
}

void ColourWholeTextOf2000Lines(benchmark::State& state) {
  SyntaxHighlighter highlighter;
  setUpShaderKeywords(highlighter, ShaderPaneKind::pixel, 1.4f);
  std::string text = sourceOfLines(2000);
  for (auto _ : state) benchmark::DoNotOptimize(highlighter.ColourRange(text).runs.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ColourWholeTextOf2000Lines)->Unit(benchmark::kMicrosecond);

void ColourOneLine(benchmark::State& state) {
  SyntaxHighlighter highlighter;
  setUpShaderKeywords(highlighter, ShaderPaneKind::pixel, 1.4f);
  std::string line = "mad_sat r0, r0, r1_bx2, v0 ; lit";
  for (auto _ : state) benchmark::DoNotOptimize(highlighter.ColourRange(line).runs.size());
}
BENCHMARK(ColourOneLine);

void ColourMegabyte(benchmark::State& state) {
  SyntaxHighlighter highlighter;
  setUpShaderKeywords(highlighter, ShaderPaneKind::vertex, 0);
  std::string text;
  while (text.size() < 1024 * 1024) text += "m4x4 oPos, v0, c0 ; transform\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(highlighter.ColourRange(text).runs.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ColourMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrace

BENCHMARK_MAIN();
