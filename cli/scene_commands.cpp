// veltrace-cli scene: load scene files as the program does and show what it
// builds from them, make the sample media, and (natively) import models.

#include <chrono>
#include <filesystem>
#include <ostream>

#include "app/message_log.h"
#include "base/files.h"
#include "base/text.h"
#include "cli/command.h"
#include "cli/groups.h"
#include "cli/import_worker.h"
#include "cli/scene_import.h"
#include "scene/authoring/model_contents.h"
#include "scene/authoring/samples.h"
#include "scene/authoring/scene_writer.h"
#include "scene/scene_info.h"
#include "scene/scene_reader.h"

namespace veltrace::cli {
namespace {

constexpr char keepUnitsOption[] = "--keep-units";
// The import's own exit code for a model that needed more memory than it
// may have: the program tells it from other failures by it.
constexpr int exitOutOfMemory = 3;

void printSceneUsage(std::ostream& out) {
  out << "usage: veltrace-cli [--program-folder DIR] scene COMMAND ...\n"
         "\n"
         "Commands:\n"
         "  info FILE.vase           load a scene, print its information tree and a summary\n"
         "  import MODEL OUT.vase [--keep-units]\n"
         "                           convert a model (OBJ, PLY, glTF, 3DS, COLLADA, ...) to a scene file,\n"
         "                           centred and scaled for the preview unless --keep-units; the import\n"
         "                           is stopped past 1 GiB of memory or 60 seconds, and never replaces\n"
         "                           a file\n"
         "  samples [FOLDER]         write the sample scenes and textures below FOLDER\\media\n"
         "                           (default: the program folder)\n"
         "\n"
         "Exit codes: 0 done, 1 failed, 2 bad usage, 3 the import ran out of memory.\n";
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

// The import runs in the worker (import_worker.h); its scene is written
// under a temporary name beside the target and put in place only when the
// worker is done, never over a file that exists. A crash or a limit leaves
// nothing behind.
int runImport(const Context& context, const Arguments& arguments) {
  ImportOptions options;
  Arguments files;
  for (const std::string& argument : arguments) {
    if (argument == keepUnitsOption) options.keepUnits = true;
    else files.push_back(argument);
  }
  if (files.size() != 2) return usageError(context, "import needs a model file and the scene file to write");
  const std::string& model = files[0];
  const std::string outPath = corePathFromArgument(files[1]);
  const ImportLimits limits;
  auto fail = [&](const ImportResult& result) {
    context.err << "veltrace-cli scene: " << importFailureLine(corePathFromArgument(model), result, limits) << "\n";
    return result.end == ImportEnd::outOfMemory ? exitOutOfMemory : exitFailure;
  };
  if (!importAvailable()) return fail({ImportEnd::refused, "this build has no model import", {}});
  if (fileExists(outPath))
    return fail({ImportEnd::notStarted, "'" + files[1] + "' exists already and is not replaced", {}});

  const std::string temporaryPath = outPath + ".importing";
  ImportResult result = runImportWork(
      [&]() -> WorkReport {
        AuthoredScene scene;
        std::string problem;
        if (!importModel(model, scene, problem, options)) return {false, problem};
        anchorTexturePaths(scene, folderPart(corePathFromArgument(model)));
        if (!writeVaseScene(temporaryPath, scene)) return {false, "'" + files[1] + "' cannot be written"};
        long long faces = 0;
        for (const AuthoredMesh& mesh : scene.meshes) faces += static_cast<long long>(mesh.faces.size());
        return {true, formatText("%d meshes, %d materials, %lld triangles", static_cast<int>(scene.meshes.size()),
                                 static_cast<int>(scene.materials.size()), faces)};
      },
      limits);
  if (result.end == ImportEnd::written && !placeNewFile(temporaryPath, outPath))
    result = {ImportEnd::notStarted, "'" + files[1] + "' exists already or cannot be made", {}};
  if (result.end != ImportEnd::written) {
    std::error_code ignored;
    std::filesystem::remove(nativePath(temporaryPath), ignored);
    return fail(result);
  }
  context.out << formatText("Wrote \"%s\": %s\n", files[1].c_str(), result.summary.c_str());
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
  for (const auto& argument : rest) {
    if (command == "import" && argument == keepUnitsOption) continue;
    if (isOption(argument)) return usageError(context, "unknown option '" + argument + "'");
  }
  if (command == "info") return runInfo(context, rest);
  if (command == "import") return runImport(context, rest);
  if (command == "samples") return runSamples(context, rest);
  return usageError(context, "unknown command '" + command + "'");
}

}  // namespace veltrace::cli
