// Effect creation (both catalogues read), load and save of a busy effect:
// 64 variables of each kind, textures on all eight stages and every state of
// every stage set. These run each time a workspace opens or saves, once per
// effect.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/message_log.h"
#include "effect/effect_factory.h"
#include "effect/effect_files.h"

namespace veltrace {
namespace {

std::string programFolder() {
  std::string folder = VELTRACE_DATA_DIR;
  for (char& c : folder)
    if (c == '/') c = '\\';
  return folder;
}

std::string workFolder() {
  std::string folder = (std::filesystem::temp_directory_path() / "veltrace-effect-bench").string();
  std::filesystem::create_directories(folder);
  for (char& c : folder)
    if (c == '/') c = '\\';
  return folder;
}

Effect busyEffect() {
  MessageLog log;
  Effect effect = createEffect(programFolder(), log);
  effect.name = "Busy";
  for (int i = 0; i < 64; ++i)
    for (VariableKind kind : {VariableKind::vector, VariableKind::matrix, VariableKind::color}) {
      EffectVariable variable = createVariable(kind);
      variable.name += " " + std::to_string(i);
      variable.vsRegister = i;
      variablesOfKind(effect, kind).push_back(variable);
    }
  for (int stage = 0; stage < textureStageCount; ++stage) {
    effect.textureStages.textures.push_back(
        {"t" + std::to_string(stage) + ".bmp", programFolder() + "\\media\\textures\\t.bmp", 0, stage});
    for (auto& entry : effect.textureStages.stages[stage].settings) {
      entry.isSet = true;
      if (!entry.enumerants.empty()) entry.enumerants.back().selected = true;
    }
  }
  for (auto& entry : effect.renderStates) entry.isSet = true;
  effect.vertexShader.present = true;
  effect.vertexShader.source = std::string(200, 'x') + "\r\n";
  return effect;
}

void CreateEffect(benchmark::State& state) {
  for (auto _ : state) {
    MessageLog log;
    benchmark::DoNotOptimize(createEffect(programFolder(), log));
  }
}
BENCHMARK(CreateEffect)->Unit(benchmark::kMicrosecond);

void SaveBusyEffect(benchmark::State& state) {
  Effect effect = busyEffect();
  std::string path = workFolder() + "\\busy.veff";
  for (auto _ : state) {
    MessageLog log;
    if (!saveEffect(effect, path, programFolder(), log)) state.SkipWithError("save failed");
  }
}
BENCHMARK(SaveBusyEffect)->Unit(benchmark::kMicrosecond);

void LoadBusyEffect(benchmark::State& state) {
  Effect saved = busyEffect();
  std::string path = workFolder() + "\\busy.veff";
  MessageLog log;
  saveEffect(saved, path, programFolder(), log);
  for (auto _ : state) {
    Effect effect = createEffect(programFolder(), log);
    if (!loadEffect(effect, path, programFolder(), log) || !readShaderSources(effect, log))
      state.SkipWithError("load failed");
    log.takePending();
  }
}
BENCHMARK(LoadBusyEffect)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltrace

BENCHMARK_MAIN();
