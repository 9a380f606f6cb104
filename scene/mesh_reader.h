#pragma once
// Reads one mesh ("*GEOMOBJECT") of a scene file and builds its subsets:
// name, node transform, material reference, the three passes over the face
// list, the vertex list, texture coordinates and normals per face corner,
// welding and the normal guide lines.

#include "scene/scene_model.h"
#include "scene/scene_scanner.h"

namespace veltrace {

// False when the mesh's "*GEOMOBJECT", "*NODE_NAME", "*MESH_NUMVERTEX" or
// "*MESH_NUMFACES" (followed by white space) is missing: the scene load fails then. Missing optional
// parts leave defaults. The scene's materials must have been read; the
// material ids of those the mesh takes are set.
bool readMesh(SceneScanner& scanner, Scene& scene, SceneMesh& mesh, float vectorLength);

// Face and vertex counts are clamped to what a file of this size can hold,
// at most one per this many bytes: a damaged count cannot make the reader
// allocate more than a few times the file's size.
inline constexpr size_t minimumBytesPerElement = 8;

}  // namespace veltrace
