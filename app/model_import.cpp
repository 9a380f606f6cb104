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

ImportResult importResultOfWorker(unsigned long exitCode, std::string_view errorOutput) {
  if (exitCode == 0) return {ImportEnd::written, {}, {}};
  if (exitCode == workerOutOfMemoryExit) return {ImportEnd::outOfMemory, {}, {}};
  if (exitCode != 1)
    return {ImportEnd::crashed, formatText("the import library crashed (exception 0x%08lX)", exitCode), {}};
  // The last line that is not empty.
  while (!errorOutput.empty() && (errorOutput.back() == '\n' || errorOutput.back() == '\r')) errorOutput.remove_suffix(1);
  std::string_view line = errorOutput.substr(errorOutput.find_last_of('\n') + 1);
  constexpr std::string_view marker = "\": ";
  if (size_t at = line.find(marker); line.find("Cannot import \"") != std::string_view::npos && at != std::string_view::npos)
    line.remove_prefix(at + marker.size());
  return {ImportEnd::refused, line.empty() ? std::string("the import failed") : std::string(line), {}};
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
