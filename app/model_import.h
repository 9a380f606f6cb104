#pragma once
// Model import as the program and veltrace-cli see it from outside: the
// import itself runs in a separate worker process under a memory and a time
// limit (a malformed model can crash the import library or make it take
// gigabytes), so these are its possible ends, the one message line each
// failure gives, and where imported scenes are saved. Portable.

#include <functional>
#include <string>
#include <string_view>

namespace veltrace {

struct ImportLimits {
  long long memoryBytes = 1LL << 30;
  int seconds = 60;
};

enum class ImportEnd {
  written,      // the scene file is in place
  refused,      // the worker said why (an unreadable model, nothing to draw, ...)
  crashed,      // the worker died; the reason names how
  outOfMemory,  // stopped at the memory limit
  outOfTime,    // stopped at the time limit
  cancelled,    // stopped by the user
  notStarted,   // the worker could not be started or its file not placed; the reason says why
};

struct ImportResult {
  ImportEnd end = ImportEnd::notStarted;
  std::string reason;   // for refused, crashed and notStarted
  std::string summary;  // for written: what the worker wrote
};

// "Cannot import "NAME": REASON" with the model's file name (no folder) and
// the reason of the failure, the limits named for the limited ends.
std::string importFailureLine(std::string_view modelCorePath, const ImportResult& result, const ImportLimits& limits);

// Where the program saves the scene made from a model: below the program
// folder's media\scenes\imported\, named after the model ("chair.fbx" ->
// "chair.vase"), numbered ("chair 2.vase", ...) so as never to name a file
// that exists. Commas, which the program's files cannot hold in names,
// become dots.
std::string importedScenePath(std::string_view programFolder, std::string_view modelCorePath,
                              const std::function<bool(const std::string&)>& exists);

// The worker is "veltrace-cli scene import": what its exit code and error
// output say. 0 written, 3 out of memory, 1 refused (the reason is what its
// last error line says after "Cannot import "NAME": "), any other code a
// crash (on Windows, the exception code that ended it).
inline constexpr unsigned long workerOutOfMemoryExit = 3;
ImportResult importResultOfWorker(unsigned long exitCode, std::string_view errorOutput);

inline constexpr char importedScenesSuffix[] = "\\media\\scenes\\imported\\";

// The file dialog's filter for Import Model: the common model formats, then
// each on its own, then all files.
inline constexpr char modelFileFilter[] =
    "Models (*.obj;*.fbx;*.gltf;*.glb;*.dae;*.3ds;*.ase;*.ply;*.stl;*.x;*.lwo;*.blend)|"
    "*.obj;*.fbx;*.gltf;*.glb;*.dae;*.3ds;*.ase;*.ply;*.stl;*.x;*.lwo;*.blend|"
    "Wavefront OBJ (*.obj)|*.obj|Autodesk FBX (*.fbx)|*.fbx|glTF (*.gltf;*.glb)|*.gltf;*.glb|"
    "COLLADA (*.dae)|*.dae|3D Studio (*.3ds)|*.3ds|ASCII Scene Export (*.ase)|*.ase|"
    "Stanford PLY (*.ply)|*.ply|Stereolithography (*.stl)|*.stl|DirectX (*.x)|*.x|LightWave (*.lwo)|*.lwo|"
    "Blender (*.blend)|*.blend|All Files(*.*)|*.*||";

}  // namespace veltrace
