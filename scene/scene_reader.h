#pragma once
// Reading a scene file: the scan order over the whole file (meshes counted,
// materials, then each mesh) and the "Load Scene" operation that reports the
// outcome in the message log.

#include <string_view>

#include "app/message_log.h"
#include "scene/scene_model.h"
#include "scene/scene_scanner.h"

namespace veltrace {

struct SceneReadOptions {
  // Length of the guide lines along the vertex vectors (the view's
  // vectorLength).
  float vectorLength = 2.0f;
};

// Reads meshes and materials into `scene` (its name and folder are left
// alone). False when a counted mesh lacks one of its required keywords; the
// scene then holds what was read so far.
bool readScene(SceneScanner& scanner, Scene& scene, const SceneReadOptions& options = {});

enum class SceneLoadOutcome {
  loaded,
  failed,
  // The file holds its faces only as plain ASE "*MESH_FACE" lines (see
  // standard_faces.h): nothing to draw, but a model import can read it.
  needsImport,
};

// The line logged for a scene file whose faces are all "*MESH_FACE" lines;
// %s is the file name.
inline constexpr char standardFacesMessage[] =
    "Scene \"%s\" holds its faces only as \"*MESH_FACE\" lines, which Load Scene does not read: "
    "import it with File > Import Model... instead";

// Load Scene with its outcome told apart: as loadScene() below, but a file
// whose faces are all "*MESH_FACE" lines is not loaded (the scene is left
// empty) and standardFacesMessage is logged instead of a load message.
SceneLoadOutcome loadSceneFile(std::string_view corePath, Scene& scene, MessageLog& log,
                               const SceneReadOptions& options = {});

// Replaces `scene` with the scene in the file, named after the file and its
// folder, and logs "Scene "NAME" loaded successfully ...". When the file
// cannot be opened or read, `scene` is left empty and "Failed to load Scene
// "NAME" !" is logged. True only for SceneLoadOutcome::loaded.
bool loadScene(std::string_view corePath, Scene& scene, MessageLog& log, const SceneReadOptions& options = {});

}  // namespace veltrace
