// Scene loading on about a million faces and on twice as many: load time,
// faces per second, peak memory, and the same scene read by assimp's command
// line tool from its plain ASE twin, side by side.
//
// The scenes are a waved grid with two material bands (so two subsets),
// written once into a work folder beside the benchmark and reused.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/message_log.h"
#include "scene/authoring/scene_writer.h"
#include "scene/authoring/shapes.h"
#include "scene/scene_info.h"
#include "scene/scene_reader.h"

namespace veltrace {
namespace {

constexpr int millionCells = 708;  // 708 x 708 cells of two faces: 1 002 528 faces
constexpr int doubleCells = 1001;  // 2 004 002 faces

std::string workFolder;

long long faceCount(int cells) { return 2LL * cells * cells; }

std::string scenePath(int cells, const char* extension) {
  return workFolder + "/grid" + std::to_string(cells) + extension;
}

// The files of a grid, written unless they exist from an earlier run.
void ensureScene(int cells, bool withAseTwin) {
  if (std::filesystem::exists(scenePath(cells, ".vase")) &&
      (!withAseTwin || std::filesystem::exists(scenePath(cells, ".ase"))))
    return;
  std::fprintf(stderr, "writing the %lld-face scene%s...\n", faceCount(cells), withAseTwin ? " and its ASE twin" : "");
  AuthoredScene scene;
  AuthoredMaterial bands;
  bands.name = "Bands";
  bands.subMaterials.resize(2);
  bands.subMaterials[0].name = "Light";
  bands.subMaterials[1].name = "Dark";
  scene.materials.push_back(bands);
  scene.meshes.push_back(makeWavedGrid("Grid", 100.0f, cells, 16));
  writeVaseScene(scenePath(cells, ".vase"), scene);
  if (withAseTwin) writePlainAseScene(scenePath(cells, ".ase"), scene);
}

// What `veltrace-cli scene info` does: load, then build the tree.
long long loadAndDescribe(const std::string& path) {
  MessageLog log;
  Scene scene;
  if (!loadScene(path, scene, log)) return -1;
  auto lines = sceneInformation(scene, sceneTextureNames(scene));
  long long triangles = 0;
  for (const SceneMesh& mesh : scene.meshes)
    for (const MeshSubset& subset : mesh.subsets) triangles += subset.triangleCount;
  return lines.empty() ? -1 : triangles;
}

void BM_LoadScene(benchmark::State& state) {
  const int cells = static_cast<int>(state.range(0));
  const std::string path = scenePath(cells, ".vase");
  long long triangles = 0;
  for (auto _ : state) triangles = loadAndDescribe(path);
  if (triangles != faceCount(cells)) state.SkipWithError("the scene did not load whole");
  state.counters["faces"] = static_cast<double>(faceCount(cells));
  state.counters["faces/s"] =
      benchmark::Counter(static_cast<double>(faceCount(cells)), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["MB/s"] = benchmark::Counter(
      static_cast<double>(std::filesystem::file_size(path)) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadScene)->Arg(millionCells)->Arg(doubleCells)->Unit(benchmark::kMillisecond)->Iterations(3);

struct ChildRun {
  bool ok = false;
  double milliseconds = 0;     // wall clock
  double cpuMilliseconds = 0;  // user and system time: steadier on a busy machine
  double peakMegabytes = 0;
};

// Runs a program to its end, its output thrown away; wall time and peak
// resident memory come from the kernel's account of the child.
ChildRun runChild(const std::vector<std::string>& arguments) {
  ChildRun run;
  auto started = std::chrono::steady_clock::now();
  std::fflush(stdout);  // the child must not write out our buffered lines again
  pid_t child = fork();
  if (child < 0) return run;
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (wait4(child, &status, 0, &usage) != child) return run;
  run.milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  auto toMilliseconds = [](const timeval& time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
  run.cpuMilliseconds = toMilliseconds(usage.ru_utime) + toMilliseconds(usage.ru_stime);
  run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;  // reported in kilobytes
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

// The best of three runs (by processor time).
ChildRun bestOf(const std::vector<std::string>& arguments) {
  ChildRun best;
  for (int i = 0; i < 3; ++i) {
    ChildRun run = runChild(arguments);
    if (!run.ok) return run;
    if (!best.ok || run.cpuMilliseconds < best.cpuMilliseconds) best = run;
  }
  return best;
}

void printRow(const char* what, const ChildRun& run) {
  if (!run.ok)
    std::printf("  %-44s  failed or missing\n", what);
  else
    std::printf("  %-44s  %7.0f ms cpu  %7.0f ms wall  %6.0f MB peak\n", what, run.cpuMilliseconds, run.milliseconds,
                run.peakMegabytes);
}

void compareWithAssimp(const std::string& self) {
  std::printf("\nScene load side by side (best of 3 runs, separate processes)\n");
  const std::string million = std::to_string(faceCount(millionCells));
  ChildRun ours = bestOf({self, "--load-once", scenePath(millionCells, ".vase")});
  ChildRun ourDouble = bestOf({self, "--load-once", scenePath(doubleCells, ".vase")});
  ChildRun assimp = bestOf({"assimp", "info", scenePath(millionCells, ".ase")});
  ChildRun assimpRaw = bestOf({"assimp", "info", scenePath(millionCells, ".ase"), "-r"});
  printRow(("veltrace scene info, " + million + " faces (.vase)").c_str(), ours);
  printRow("assimp info, same scene (plain ASE twin)", assimp);
  printRow("assimp info -r (no post-processing), same", assimpRaw);
  printRow(("veltrace scene info, " + std::to_string(faceCount(doubleCells)) + " faces").c_str(), ourDouble);
  auto ratio = [](const ChildRun& slow, const ChildRun& fast, const char* what, const char* goal) {
    if (slow.ok && fast.ok)
      std::printf("  %-44s  %6.2fx cpu  %6.2fx wall  %s\n", what, slow.cpuMilliseconds / fast.cpuMilliseconds,
                  slow.milliseconds / fast.milliseconds, goal);
  };
  ratio(assimp, ours, "assimp info / veltrace scene info", "(goal: at least 5x)");
  ratio(assimpRaw, ours, "assimp info -r / veltrace scene info", "");
  ratio(ourDouble, ours, "2x faces / 1x faces, veltrace", "(goal: at most 2.2x)");
  if (ours.ok)
    std::printf("  faces per second, whole process:  %.2f million (cpu)\n",
                static_cast<double>(faceCount(millionCells)) / ours.cpuMilliseconds / 1000.0);
}

}  // namespace
}  // namespace veltrace

int main(int argc, char** argv) {
  using namespace veltrace;
  if (argc == 3 && std::string(argv[1]) == "--load-once") return loadAndDescribe(argv[2]) > 0 ? 0 : 1;

  std::error_code ignored;
  auto self = std::filesystem::canonical("/proc/self/exe", ignored);
  // Beside the folder of benchmark programs, not in it: everything in there is run.
  workFolder = (self.parent_path().parent_path() / "scene-bench-data").string();
  std::filesystem::create_directories(workFolder, ignored);
  ensureScene(millionCells, true);
  ensureScene(doubleCells, false);  // only our own scaling is measured on it

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  compareWithAssimp(self.string());
  return 0;
}
