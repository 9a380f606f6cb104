// Assembly runs on every Apply in a shader pane and again when the renderer
// builds the device shader: a full 128-slot vertex shader and a busy ps.1.4
// shader should take well under a frame. Also the worst case a user can
// paste: a megabyte of source.

#include <benchmark/benchmark.h>

#include <string>

#include "render/shader/shader_assembler.h"
#include "render/shader/shader_disassembler.h"

namespace veltrace::shader {
namespace {

std::string fullVertexShader() {
  std::string source = "vs.1.1\ndef c95, 1, 0.5, 0.25, 0\nmov a0.x, v1.x\nm4x4 oPos, v0, c0\n";
  for (int i = 0; i < 60; ++i)
    source += "dp4 r" + std::to_string(i % 12) + ".x, v2, c[a0.x + " + std::to_string(4 + i % 80) + "]\n";
  for (int i = 0; i < 60; ++i)
    source += "mad r" + std::to_string(i % 12) + ", v3, c4, -r" + std::to_string((i + 1) % 12) + ".wzyx ; comment\n";
  source += "mov oD0, r0\nmov oT0, v2\n";
  return source;
}

const char* busyPixelShader =
    "ps.1.4\n"
    "def c7, 0.5, 0.5, 0.5, 1\n"
    "texld r0, t0\ntexld r1, t1\ntexcrd r2.rgb, t2\ntexld r3, t3_dw.xyw\n"
    "bem r0.rg, c0, r1\n"
    "mul r2.rgb, r2, c1\n+mov r2.a, c1.a\n"
    "phase\n"
    "texld r0, r0\ntexld r4, r2\n"
    "mad_sat r0, r0, r4_bx2, v0\ncmp r1, r3, r0, c2\nlrp r0, c7.a, r0, r1\nmul_x2 r0.rgb, r0, v1\n+mov r0.a, c7.b\n";

void AssembleFullVertexShader(benchmark::State& state) {
  std::string source = fullVertexShader();
  for (auto _ : state) {
    AssembleResult result = assembleShader(source);
    if (!result.succeeded()) state.SkipWithError("the benchmark shader does not assemble");
    benchmark::DoNotOptimize(result.tokens.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}
BENCHMARK(AssembleFullVertexShader);

void AssembleBusyPixelShader(benchmark::State& state) {
  for (auto _ : state) {
    AssembleResult result = assembleShader(busyPixelShader);
    if (!result.succeeded()) state.SkipWithError("the benchmark shader does not assemble");
    benchmark::DoNotOptimize(result.tokens.data());
  }
}
BENCHMARK(AssembleBusyPixelShader);

void DisassembleFullVertexShader(benchmark::State& state) {
  AssembleResult assembled = assembleShader(fullVertexShader());
  if (!assembled.succeeded()) state.SkipWithError("the benchmark shader does not assemble");
  for (auto _ : state) benchmark::DoNotOptimize(disassembleShader(assembled.tokens).text.size());
}
BENCHMARK(DisassembleFullVertexShader);

void AssembleMegabyteWithoutValidation(benchmark::State& state) {
  std::string source = "vs.1.1\n";
  while (source.size() < 1024 * 1024) source += "mad r0, v3, c4, -r1.wzyx ; a comment\n";
  for (auto _ : state) benchmark::DoNotOptimize(assembleShader(source, assemblerSkipValidation).tokens.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}
BENCHMARK(AssembleMegabyteWithoutValidation)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrace::shader

BENCHMARK_MAIN();
