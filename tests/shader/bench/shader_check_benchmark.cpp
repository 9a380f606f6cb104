// The check a shader pane runs half a second after the last keystroke: it
// should stay far below what a user could notice (goal: 2 ms for a full
// 128-slot vertex shader, budget included).

#include <benchmark/benchmark.h>

#include <string>

#include "render/shader/shader_check.h"

namespace veltrace::shader {
namespace {

// 4 + 1 + 61 + 60 + 2 = 128 slots.
std::string vertexShaderOf128Slots() {
  std::string source = "vs.1.1\ndef c95, 1, 0.5, 0.25, 0\nmov a0.x, v1.x\nm4x4 oPos, v0, c0\n";
  for (int i = 0; i < 61; ++i)
    source += "dp4 r" + std::to_string(i % 12) + ".x, v2, c[a0.x + " + std::to_string(4 + i % 80) + "]\n";
  for (int i = 0; i < 60; ++i)
    source += "mad r" + std::to_string(i % 12) + ", v3, c4, -r" + std::to_string((i + 1) % 12) + ".wzyx ; comment\n";
  source += "mov oD0, r0\nmov oT0, v2\n";
  return source;
}

void CheckVertexShaderOf128Slots(benchmark::State& state) {
  std::string source = vertexShaderOf128Slots();
  for (auto _ : state) {
    ShaderCheck check = checkShaderSource(source, ShaderKind::vertex);
    if (!check.errors.empty() || !check.budget || check.budget->instructionSlots.used != 128)
      state.SkipWithError("the benchmark shader is not a valid 128-slot shader");
    benchmark::DoNotOptimize(check.budget->constantRegisters.used);
  }
}
BENCHMARK(CheckVertexShaderOf128Slots)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltrace::shader

BENCHMARK_MAIN();
