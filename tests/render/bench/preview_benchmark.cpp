// Per-frame costs of the preview outside the device: the frame-move update,
// and the constant uploads of one subset's effect with a typical mix of
// predefined and stored variables (three matrix inverses among them).

#include <benchmark/benchmark.h>

#include "render/math/sphere_mesh.h"
#include "render/preview/constant_upload.h"
#include "render/preview/frame_move.h"

namespace veltrace::render {
namespace {

EffectVariable bound(VariableKind kind, const char* predefinedName, int vsRegister) {
  EffectVariable variable;
  variable.kind = kind;
  variable.vsRegister = vsRegister;
  if (predefinedName) {
    variable.predefined = true;
    variable.predefinedName = predefinedName;
  }
  return variable;
}

Effect typicalEffect() {
  Effect effect;
  effect.vectors = {bound(VariableKind::vector, "light_pos_world", 0), bound(VariableKind::vector, "eye_pos_world", 1),
                    bound(VariableKind::vector, "time", 2), bound(VariableKind::vector, nullptr, 3)};
  effect.matrices = {bound(VariableKind::matrix, "transform", 4), bound(VariableKind::matrix, "world", 8),
                     bound(VariableKind::matrix, "world_inv", 12), bound(VariableKind::matrix, "world_view_inv", 16),
                     bound(VariableKind::matrix, "view_proj_inv", 20), bound(VariableKind::matrix, nullptr, 24)};
  effect.colors = {bound(VariableKind::color, "mat_diff", 28), bound(VariableKind::color, "light_diff", 29),
                   bound(VariableKind::color, "light_spec", 30)};
  return effect;
}

void frameMoveStep(benchmark::State& run) {
  PreviewState state;
  state.cameraYaw = 30;
  state.objectYaw = 0.4f;
  state.lightPitch = 0.2f;
  PreviewParameters pane;
  for (auto _ : run) {
    frameMove(state, 4.0f / 3.0f, pane);
    benchmark::DoNotOptimize(state.view);
  }
}
BENCHMARK(frameMoveStep);

void subsetConstantUploads(benchmark::State& run) {
  PreviewState state;
  state.cameraYaw = 30;
  frameMove(state, 4.0f / 3.0f, std::nullopt);
  Effect effect = typicalEffect();
  ConstantFrame frame = constantFrameFrom(state, 12.5f);
  MaterialColours material;
  for (auto _ : run) {
    auto uploads = constantUploads(effect, frame, material);
    benchmark::DoNotOptimize(uploads.data());
  }
  run.counters["variables"] = 13;
}
BENCHMARK(subsetConstantUploads);

void lightMarkerSphere(benchmark::State& run) {
  std::string error;
  for (auto _ : run) {
    auto mesh = createSphereMesh(0.3f, 10, 10, error);
    benchmark::DoNotOptimize(mesh->indices.data());
  }
}
BENCHMARK(lightMarkerSphere);

}  // namespace
}  // namespace veltrace::render

BENCHMARK_MAIN();
