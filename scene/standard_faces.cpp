#include "scene/standard_faces.h"

#include "scene/scene_scanner.h"

namespace veltrace {

namespace {

// The word that starts at `at` (an asterisk) up to white space or the end.
std::string_view wordAt(std::string_view text, size_t at) {
  size_t end = at;
  while (end < text.size() && !isSceneWhiteSpace(text[end])) ++end;
  return text.substr(at, end - at);
}

}  // namespace

bool holdsOnlyStandardFaces(std::string_view text) {
  bool standardFaces = false;
  for (size_t at = text.find('*'); at != std::string_view::npos; at = text.find('*', at + 1)) {
    std::string_view word = wordAt(text, at);
    if (word == "*F") return false;
    if (word == "*MESH_FACE") standardFaces = true;
  }
  return standardFaces;
}

}  // namespace veltrace
