// Builds without the Open Asset Import Library (the Windows build) import
// nothing.
#include "cli/scene_import.h"

namespace veltrace::cli {

bool importAvailable() { return false; }

bool importModel(const std::string&, AuthoredScene&, std::string& problem, const ImportOptions&) {
  problem = "this build has no model import";
  return false;
}

}  // namespace veltrace::cli
