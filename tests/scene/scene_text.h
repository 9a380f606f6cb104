#pragma once
// Small scene files written out in the tests, and a helper to read them.

#include <string>

#include "scene/scene_reader.h"

namespace veltrace::test {

// A material list holding the given material blocks' bodies in order.
inline std::string materialList(std::initializer_list<std::string> bodies) {
  std::string text = "*MATERIAL_LIST {\n*MATERIAL_COUNT " + std::to_string(bodies.size()) + "\n";
  int i = 0;
  for (const std::string& body : bodies) text += "*MATERIAL " + std::to_string(i++) + " {\n" + body + "\n}\n";
  return text + "}\n";
}

// A mesh block around the given vertex, face, texture and normal lines
// (each may be empty to leave its list out).
struct MeshText {
  std::string name = "Mesh";
  int materialRef = 0;
  int vertexCount = 0;
  int faceCount = 0;
  std::string vertices;  // "*V i x y z" lines
  std::string faces;     // "*F f a b c *D id" lines
  std::string textureCoordinates;  // "*TV_EX ..." lines, or "none"
  std::string normals;   // "*FN/*VN" lines, or "none"
};

inline std::string meshBlock(const MeshText& mesh) {
  std::string text = "*GEOMOBJECT {\n*NODE_NAME \"" + mesh.name + "\"\n";
  text += "*NODE_TM {\n*TM_ROW0 1 0 0\n*TM_ROW1 0 1 0\n*TM_ROW2 0 0 1\n*TM_ROW3 0 0 0\n*TM_POS 0 0 0\n}\n";
  text += "*MATERIAL_REF " + std::to_string(mesh.materialRef) + "\n*MESH {\n";
  text += "*MESH_NUMVERTEX " + std::to_string(mesh.vertexCount) + "\n";
  text += "*MESH_NUMFACES " + std::to_string(mesh.faceCount) + "\n";
  text += "*MESH_VERTEX_LIST {\n" + mesh.vertices + "}\n";
  text += "*MESH_FACE_LIST {\n" + mesh.faces + "}\n";
  if (mesh.textureCoordinates != "none") text += "*MESH_TVERTLIST_EX {\n" + mesh.textureCoordinates + "}\n";
  if (mesh.normals != "none") text += "*MESH_NORMALS {\n" + mesh.normals + "}\n";
  return text + "}\n}\n";
}

struct ReadResult {
  bool ok = false;
  Scene scene;
};

inline ReadResult readSceneText(std::string text, float vectorLength = 2.0f) {
  SceneScanner scanner(std::move(text));
  ReadResult result;
  SceneReadOptions options;
  options.vectorLength = vectorLength;
  result.ok = readScene(scanner, result.scene, options);
  return result;
}

// The unique vertex behind corner k (0 = a) of triangle t of a subset.
inline const SceneVertex& cornerVertex(const MeshSubset& subset, size_t triangle, size_t corner) {
  return subset.vertices.at(subset.indices.at(triangle * 3 + corner));
}

}  // namespace veltrace::test
