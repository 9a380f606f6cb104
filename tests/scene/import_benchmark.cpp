// Model import as veltrace-cli does it (the worker child process with its
// limits, the import, the scene written and put in place) against assimp's
// own command line tool reading the same large models, each in a process of
// its own: the worker's cost over the library's (goal: at most 1.2x).

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/import_worker.h"
#include "cli/scene_import.h"
#include "scene/authoring/scene_writer.h"

namespace veltrace {
namespace {

const char* const models[] = {
    "/usr/share/assimp/models/BLEND/SuzanneSubdiv_252.blend",
    "/usr/share/assimp/models/glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb",
    "/usr/share/assimp/models/X/Testwuson.X",
    "/usr/share/assimp/models/OBJ/WusonOBJ.obj",
};

// What `veltrace-cli scene import MODEL OUT` does.
int importOnce(const std::string& model, const std::string& out) {
  std::filesystem::remove(out);
  const std::string temporary = out + ".importing";
  ImportResult result = cli::runImportWork(
      [&] {
        AuthoredScene scene;
        std::string problem;
        if (!cli::importModel(model, scene, problem)) return cli::WorkReport{false, problem};
        return cli::WorkReport{writeVaseScene(temporary, scene), ""};
      },
      {});
  return result.end == ImportEnd::written && cli::placeNewFile(temporary, out) ? 0 : 1;
}

struct ChildRun {
  bool ok = false;
  double milliseconds = 0;     // wall clock
  double cpuMilliseconds = 0;  // user and system time of the child and its children
};

ChildRun runChild(const std::vector<std::string>& arguments) {
  ChildRun run;
  auto started = std::chrono::steady_clock::now();
  std::fflush(stdout);
  pid_t child = fork();
  if (child < 0) return run;
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return run;
  run.milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  struct rusage usage {};
  getrusage(RUSAGE_CHILDREN, &usage);  // cumulative: the caller takes differences
  auto toMilliseconds = [](const timeval& time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
  run.cpuMilliseconds = toMilliseconds(usage.ru_utime) + toMilliseconds(usage.ru_stime);
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

// The best of three runs by processor time (the worker's grandchild
// included, hence the differences of the cumulative account).
ChildRun bestOf(const std::vector<std::string>& arguments) {
  ChildRun best;
  double before = runChild({"true"}).cpuMilliseconds;
  for (int i = 0; i < 3; ++i) {
    ChildRun run = runChild(arguments);
    const double total = run.cpuMilliseconds;
    run.cpuMilliseconds = total - before;
    before = total;
    if (!run.ok) return run;
    if (!best.ok || run.cpuMilliseconds < best.cpuMilliseconds) best = run;
  }
  return best;
}

void compareWithAssimp(const std::string& self, const std::string& work) {
  std::printf("\nModel import against assimp info (best of 3 runs, separate processes)\n");
  std::printf("  %-24s %10s %10s %10s %10s %8s\n", "model", "ours cpu", "ours wall", "assimp cpu", "assimp wall",
              "ratio");
  for (const char* model : models) {
    if (!std::filesystem::exists(model)) continue;
    const std::string name = std::filesystem::path(model).filename().string();
    ChildRun ours = bestOf({self, "--import-once", model, work + "/" + name + ".vase"});
    ChildRun assimp = bestOf({"assimp", "info", model});
    if (!ours.ok || !assimp.ok) {
      std::printf("  %-24s failed\n", name.c_str());
      continue;
    }
    std::printf("  %-24s %7.0f ms %7.0f ms %7.0f ms %8.0f ms %7.2fx\n", name.c_str(), ours.cpuMilliseconds,
                ours.milliseconds, assimp.cpuMilliseconds, assimp.milliseconds, ours.milliseconds / assimp.milliseconds);
  }
  std::printf("  ratio: our wall time / assimp info's (goal: at most 1.2x)\n");
}

}  // namespace
}  // namespace veltrace

int main(int argc, char** argv) {
  using namespace veltrace;
  if (argc == 4 && std::string(argv[1]) == "--import-once") return importOnce(argv[2], argv[3]);
  std::error_code ignored;
  auto self = std::filesystem::canonical("/proc/self/exe", ignored);
  const std::string work = (self.parent_path().parent_path() / "import-bench-data").string();
  std::filesystem::create_directories(work, ignored);
  compareWithAssimp(self.string(), work);
  return 0;
}
