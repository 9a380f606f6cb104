// veltrace-cli scene: load scene files as the program does and show what it
// builds from them, make the sample media, and (natively) import models.

#include <chrono>
#include <ostream>

#include "app/message_log.h"
#include "base/files.h"
#include "base/text.h"
#include "cli/command.h"
#include "cli/groups.h"
#include "cli/scene_import.h"
#include "scene/authoring/samples.h"
#include "scene/authoring/scene_writer.h"
#include "scene/scene_info.h"
#include "scene/scene_reader.h"

namespace veltrace::cli {
namespace {

void printSceneUsage(std::ostream& out) {
  out << "usage: veltrace-cli [--program-folder DIR] scene COMMAND ...\n"
         "\n"
         "Commands:\n"
         "  info FILE.vase           load a scene, print its information tree and a summary\n"
         "  import MODEL OUT.vase    convert a model (OBJ, PLY, glTF, 3DS, COLLADA, ...) to a scene file\n"
         "  samples [FOLDER]         write the sample scenes and textures below FOLDER\\media\n"
         "                           (default: the program folder)\n"
         "\n"
         "Exit codes: 0 done, 1 failed, 2 bad usage.\n";
  if (!importAvailable()) out << "This build has no model import.\n";
}

int usageError(const Context& context, const std::string& problem) {
  return cli::usageError(context, "scene", problem);
}

struct SceneTotals {
  int subsets = 0;
  long long triangles = 0;
  long long uniqueVertices = 0;
};

SceneTotals totalsOf(const Scene& scene) {
  SceneTotals totals;
  for (const SceneMesh& mesh : scene.meshes) {
    for (const MeshSubset& subset : mesh.subsets) {
      totals.subsets += 1;
      totals.triangles += subset.triangleCount;
      totals.uniqueVertices += subset.vertexCount;
    }
  }
  return totals;
}

int runInfo(const Context& context, const Arguments& arguments) {
  if (arguments.size() != 1) return usageError(context, "info needs exactly one scene file");
  const std::string path = corePathFromArgument(arguments[0]);

  MessageLog log;
  Scene scene;
  auto started = std::chrono::steady_clock::now();
  bool loaded = loadScene(path, scene, log);
  double milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  if (!loaded) {
    for (const auto& line : log.takePending()) context.err << line << "\n";
    // The load message names the file only; say which path could not be read.
    if (!fileExists(path)) context.err << "veltrace-cli scene: cannot read '" << arguments[0] << "'\n";
    return exitFailure;
  }
  for (const auto& line : log.takePending()) context.out << line << "\n";

  context.out << "Scene\n";
  for (const InfoLine& line : sceneInformation(scene, sceneTextureNames(scene)))
    context.out << std::string(static_cast<size_t>(line.depth + 1) * 2, ' ') << line.text << "\n";
  SceneTotals totals = totalsOf(scene);
  context.out << formatText("%d meshes, %d subsets, %lld triangles, %lld unique vertices, loaded in %.1f ms\n",
                            scene.meshCount(), totals.subsets, totals.triangles, totals.uniqueVertices, milliseconds);
  return exitSuccess;
}

int runImport(const Context& context, const Arguments& arguments) {
  if (arguments.size() != 2) return usageError(context, "import needs a model file and the scene file to write");
  if (!importAvailable()) {
    context.err << "veltrace-cli scene: this build has no model import\n";
    return exitFailure;
  }
  AuthoredScene scene;
  std::string problem;
  if (!importModel(arguments[0], scene, problem)) {
    context.err << "veltrace-cli scene: cannot import '" << arguments[0] << "': " << problem << "\n";
    return exitFailure;
  }
  const std::string outPath = corePathFromArgument(arguments[1]);
  if (!writeVaseScene(outPath, scene)) {
    context.err << "veltrace-cli scene: cannot write '" << arguments[1] << "'\n";
    return exitFailure;
  }
  long long faces = 0;
  for (const AuthoredMesh& mesh : scene.meshes) faces += static_cast<long long>(mesh.faces.size());
  context.out << formatText("Wrote \"%s\": %d meshes, %d materials, %lld triangles\n", arguments[1].c_str(),
                            static_cast<int>(scene.meshes.size()), static_cast<int>(scene.materials.size()), faces);
  return exitSuccess;
}

int runSamples(const Context& context, const Arguments& arguments) {
  if (arguments.size() > 1) return usageError(context, "samples takes at most one folder");
  std::string folder = arguments.empty() ? context.programFolder : corePathFromArgument(arguments[0]);
  while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  std::string failedPath;
  if (!writeSampleMedia(folder, failedPath)) {
    context.err << "veltrace-cli scene: cannot write '" << failedPath << "'\n";
    return exitFailure;
  }
  context.out << "Wrote the sample scenes to " << folder << "\\media\\scenes and their textures to " << folder
              << "\\media\\textures\n";
  return exitSuccess;
}

}  // namespace

int runSceneGroup(const Context& context, const Arguments& arguments) {
  if (arguments.empty()) return usageError(context, "no command given");
  const std::string& command = arguments[0];
  const Arguments rest(arguments.begin() + 1, arguments.end());
  if (command == "help" || asksForHelp(arguments)) {
    printSceneUsage(context.out);
    return exitSuccess;
  }
  for (const auto& argument : rest)
    if (isOption(argument)) return usageError(context, "unknown option '" + argument + "'");
  if (command == "info") return runInfo(context, rest);
  if (command == "import") return runImport(context, rest);
  if (command == "samples") return runSamples(context, rest);
  return usageError(context, "unknown command '" + command + "'");
}

}  // namespace veltrace::cli
