#include "app/model_import.h"

#include "base/files.h"
#include "base/text.h"

namespace veltrace {

namespace {

std::string reasonOf(const ImportResult& result, const ImportLimits& limits) {
  switch (result.end) {
    case ImportEnd::written: return "it was imported";
    case ImportEnd::outOfMemory:
      return formatText("it needs more than %lld MB of memory", limits.memoryBytes / (1024 * 1024));
    case ImportEnd::outOfTime: return formatText("it takes longer than %d seconds", limits.seconds);
    case ImportEnd::cancelled: return "cancelled";
    case ImportEnd::refused:
    case ImportEnd::crashed:
    case ImportEnd::notStarted: break;
  }
  return result.reason.empty() ? std::string("the import failed") : result.reason;
}

}  // namespace

std::string importFailureLine(std::string_view modelCorePath, const ImportResult& result, const ImportLimits& limits) {
  return formatText("Cannot import \"%s\": %s", namePart(modelCorePath).c_str(), reasonOf(result, limits).c_str());
}

std::string importedScenePath(std::string_view programFolder, std::string_view modelCorePath,
                              const std::function<bool(const std::string&)>& exists) {
  std::string stem = namePart(modelCorePath);
  // A model file name also may use slashes when given on a command line.
  if (size_t slash = stem.find_last_of('/'); slash != std::string::npos) stem = stem.substr(slash + 1);
  if (size_t dot = stem.find_last_of('.'); dot != std::string::npos && dot > 0) stem.resize(dot);
  for (char& c : stem)
    if (c == ',') c = '.';
  if (stem.empty()) stem = "model";
  const std::string folder = std::string(programFolder) + importedScenesSuffix;
  std::string path = folder + stem + ".vase";
  for (int number = 2; exists(path); ++number) path = folder + stem + " " + std::to_string(number) + ".vase";
  return path;
}

}  // namespace veltrace
