#include "scene/mesh_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "scene/face_list.h"
#include "scene/tangent_frames.h"
#include "scene/vertex_welder.h"

namespace veltrace {

namespace {

constexpr std::string_view meshKeyword = "*GEOMOBJECT";

// "*V 12", "*TM_ROW0": a keyword followed by a number in decimal.
std::string numberedKeyword(std::string_view prefix, std::int32_t number) {
  char digits[16];
  auto written = std::to_chars(digits, digits + sizeof digits, number);
  std::string keyword(prefix);
  keyword.append(digits, written.ptr);
  return keyword;
}

// Keeps every search made for one mesh inside that mesh: up to the next
// "*GEOMOBJECT", so that a list missing here is not taken from the mesh
// after it.
class MeshExtent {
 public:
  explicit MeshExtent(SceneScanner& scanner) : scanner_(scanner) {
    size_t start = scanner.save();
    size_t end = scanner.find(meshKeyword) ? scanner.save() - meshKeyword.size() : scanner.size();
    scanner.restore(start);
    scanner.limitTo(end);
  }
  ~MeshExtent() { scanner_.liftLimit(); }
  MeshExtent(const MeshExtent&) = delete;
  MeshExtent& operator=(const MeshExtent&) = delete;

 private:
  SceneScanner& scanner_;
};

// find() that leaves the position where it was when the keyword is missing,
// for the optional parts of a mesh.
bool findOptional(SceneScanner& scanner, std::string_view keyword) {
  size_t start = scanner.save();
  if (scanner.find(keyword)) return true;
  scanner.restore(start);
  return false;
}

// find() for a keyword that must stand alone: the character behind it is
// white space of any kind (exporters write a blank or a tab), which is
// consumed. A longer word that starts with the keyword does not count.
bool findKeywordBeforeWhiteSpace(SceneScanner& scanner, std::string_view keyword) {
  while (scanner.find(keyword)) {
    const size_t behind = scanner.save();
    if (behind < scanner.size() && isSceneWhiteSpace(scanner.text()[behind])) {
      scanner.restore(behind + 1);
      return true;
    }
  }
  return false;
}

// Positions and normals are stored as (x, z, y) of the file: the file's
// second and third components are exchanged.
Vec3 readExchangedVector(SceneScanner& scanner) {
  Vec3 vector;
  vector.x = scanner.real();
  vector.z = scanner.real();
  vector.y = scanner.real();
  return vector;
}

void readTransform(SceneScanner& scanner, SceneMesh& mesh) {
  for (std::int32_t row = 0; row < 4; ++row) {
    if (!findOptional(scanner, numberedKeyword("*TM_ROW", row))) return;
    for (int column = 0; column < 3; ++column) mesh.transform[static_cast<size_t>(row * 4 + column)] = scanner.real();
  }
  if (!findOptional(scanner, "*TM_POS")) return;
  mesh.position.x = scanner.real();
  mesh.position.y = scanner.real();
  mesh.position.z = scanner.real();
}

// Looks ahead, token by token, for the mesh's "*MATERIAL_REF"; the position
// is left where it was. 0 when there is none.
std::int32_t readMaterialReference(SceneScanner& scanner) {
  size_t start = scanner.save();
  std::int32_t reference = 0;
  while (auto token = scanner.token()) {
    if (*token == "*MATERIAL_REF") {
      reference = scanner.integer();
      break;
    }
    if (*token == meshKeyword) break;
  }
  scanner.restore(start);
  return reference;
}

std::int32_t wrapIndex(std::int32_t id, std::int32_t count) {
  // Ids are taken modulo the sub-material count; negative ids wrap around
  // instead of indexing before the table.
  std::int32_t rest = id % count;
  return rest < 0 ? rest + count : rest;
}

// First pass: the distinct "*D" ids make the subsets, numbered in the order
// the ids first appear.
SubsetIds formSubsets(SceneScanner& scanner, const Scene& scene, SceneMesh& mesh, FaceList& faceList) {
  const std::int32_t subMaterials = scene.materials[static_cast<size_t>(mesh.materialIndex)].subMaterialCount();
  SubsetIds ids(subMaterials);
  if (subMaterials > 0) {
    size_t start = scanner.save();
    if (auto faces = faceList.find(scanner))
      for (const FaceRecord& face : *faces) ids.note(face.id);
    scanner.restore(start);
    mesh.subsetIds = ids.slots();
  } else {
    mesh.subsetIds = {0};
  }

  mesh.subsets.resize(static_cast<size_t>(ids.subsetCount()));
  for (std::int32_t s = 0; s < ids.subsetCount(); ++s) {
    MeshSubset& subset = mesh.subsets[static_cast<size_t>(s)];
    subset.materialIndex = mesh.materialIndex;
    if (subMaterials > 0) {
      subset.id = ids.slots()[static_cast<size_t>(s)];
      subset.subMaterialIndex = wrapIndex(subset.id, subMaterials);
    }
  }
  return ids;
}

std::int32_t clampCount(std::int32_t count, const SceneScanner& scanner) {
  const size_t most = scanner.size() / minimumBytesPerElement;
  if (count < 0) return 0;
  return static_cast<std::int32_t>(std::min(static_cast<size_t>(count), most));
}

void readVertexList(SceneScanner& scanner, SceneMesh& mesh) {
  mesh.vertices.assign(static_cast<size_t>(mesh.vertexCount), Vec3{});
  if (!findOptional(scanner, "*MESH_VERTEX_LIST")) return;
  // The first vertex not found ends the list; the rest stay zero.
  for (std::int32_t i = 0; i < mesh.vertexCount; ++i) {
    if (!findOptional(scanner, numberedKeyword("*V ", i))) return;
    mesh.vertices[static_cast<size_t>(i)] = readExchangedVector(scanner);
  }
}

// Where each stored face's three corners live: faces are laid out per
// subset in face index order.
struct FaceLayout {
  std::vector<std::int32_t> subsetOfFace;  // -1: face not stored
  std::vector<std::int32_t> slotOfFace;    // the face's place within its subset
  std::vector<std::vector<FileVertex>> corners;  // per subset, three per face

  FileVertex* cornersOf(std::int32_t face) {
    if (face < 0 || static_cast<size_t>(face) >= subsetOfFace.size()) return nullptr;
    std::int32_t subset = subsetOfFace[static_cast<size_t>(face)];
    if (subset < 0) return nullptr;
    return &corners[static_cast<size_t>(subset)][static_cast<size_t>(slotOfFace[static_cast<size_t>(face)]) * 3];
  }
};

// Second pass: which faces are stored, in which subset, and how many each
// subset holds. The first face of a subset marks its material with the id.
FaceLayout countFaces(SceneScanner& scanner, Scene& scene, SceneMesh& mesh, const SubsetIds& ids,
                      FaceList& faceList) {
  FaceLayout layout;
  layout.subsetOfFace.assign(static_cast<size_t>(mesh.faceCount), -1);
  size_t start = scanner.save();
  FaceFilter filter(mesh.faceCount, mesh.vertexCount, ids);
  static const std::vector<FaceRecord> noFaces;
  const std::vector<FaceRecord>* faces = faceList.find(scanner);
  for (const FaceRecord& face : faces ? *faces : noFaces) {
    auto subsetIndex = filter.accept(face);
    if (!subsetIndex) continue;
    layout.subsetOfFace[static_cast<size_t>(face.index)] = *subsetIndex;
    MeshSubset& subset = mesh.subsets[static_cast<size_t>(*subsetIndex)];
    if (subset.triangleCount == 0) scene.materialOf(subset).materialId = face.id;
    subset.triangleCount += 1;
    subset.indexCount += 3;
  }
  scanner.restore(start);

  layout.slotOfFace.assign(static_cast<size_t>(mesh.faceCount), -1);
  std::vector<std::int32_t> filled(mesh.subsets.size(), 0);
  for (size_t face = 0; face < layout.subsetOfFace.size(); ++face) {
    std::int32_t subset = layout.subsetOfFace[face];
    if (subset >= 0) layout.slotOfFace[face] = filled[static_cast<size_t>(subset)]++;
  }
  layout.corners.resize(mesh.subsets.size());
  for (size_t s = 0; s < mesh.subsets.size(); ++s)
    layout.corners[s].assign(static_cast<size_t>(mesh.subsets[s].indexCount), FileVertex{});
  return layout;
}

// Third pass, first part: the corner positions. False when there is no
// face list.
bool readCornerPositions(SceneScanner& scanner, const SceneMesh& mesh, const SubsetIds& ids, FaceLayout& layout,
                         FaceList& faceList) {
  const std::vector<FaceRecord>* faces = faceList.find(scanner);
  if (!faces) return false;
  FaceFilter filter(mesh.faceCount, mesh.vertexCount, ids);
  for (const FaceRecord& face : *faces) {
    if (!filter.accept(face)) continue;
    FileVertex* corners = layout.cornersOf(face.index);
    if (!corners) continue;
    corners[0].position = mesh.vertices[static_cast<size_t>(face.a)];
    corners[1].position = mesh.vertices[static_cast<size_t>(face.b)];
    corners[2].position = mesh.vertices[static_cast<size_t>(face.c)];
  }
  return true;
}

// "*TV_EX" line n holds (u, v, w) for corners c, b, a of face n.
bool readTextureCoordinates(SceneScanner& scanner, FaceLayout& layout) {
  if (!scanner.find("*MESH_TVERTLIST_EX")) return false;
  std::int32_t face = 0;
  while (auto token = scanner.token()) {
    if (*token == "}") break;
    if (*token != "*TV_EX") continue;
    float values[9];
    for (float& value : values) value = scanner.real();
    if (FileVertex* corners = layout.cornersOf(face)) {
      for (int triple = 0; triple < 3; ++triple) {
        FileVertex& corner = corners[2 - triple];
        corner.u = values[triple * 3];
        corner.v = values[triple * 3 + 1];
      }
    }
    if (face < INT32_MAX) ++face;
  }
  return true;
}

// "*FN" starts the next face; the three "*VN" lines after it are the normals
// of its corners a, b and c.
bool readNormals(SceneScanner& scanner, FaceLayout& layout) {
  if (!scanner.find("*MESH_NORMALS")) return false;
  std::int32_t face = -1;
  int corner = 0;
  while (auto token = scanner.token()) {
    if (*token == "}") break;
    if (*token == "*FN") {
      if (face < INT32_MAX) ++face;
      corner = 0;
    } else if (*token == "*VN") {
      scanner.integer();  // the vertex index is not used
      Vec3 normal = readExchangedVector(scanner);
      FileVertex* corners = layout.cornersOf(face);
      if (corners && corner < 3) corners[corner].normal = normal;
      ++corner;
    }
  }
  return true;
}

// Faces in index order: each corner welded into its subset's unique
// vertices, then the triangle's three indices in corner order.
void weldFaces(SceneMesh& mesh, FaceLayout& layout) {
  std::vector<VertexWelder> welders;
  welders.reserve(mesh.subsets.size());
  for (MeshSubset& subset : mesh.subsets) {
    welders.emplace_back(subset.vertices, static_cast<size_t>(subset.indexCount));
    subset.indices.reserve(static_cast<size_t>(subset.indexCount));
  }
  for (std::int32_t face = 0; face < mesh.faceCount; ++face) {
    FileVertex* corners = layout.cornersOf(face);
    if (!corners) continue;
    size_t s = static_cast<size_t>(layout.subsetOfFace[static_cast<size_t>(face)]);
    MeshSubset& subset = mesh.subsets[s];
    if (subset.indices.size() >= static_cast<size_t>(subset.indexCount)) continue;
    for (int k = 0; k < 3; ++k) subset.indices.push_back(welders[s].weld(corners[k]));
  }
  for (MeshSubset& subset : mesh.subsets) subset.vertexCount = static_cast<std::int32_t>(subset.vertices.size());
}

}  // namespace

bool readMesh(SceneScanner& scanner, Scene& scene, SceneMesh& mesh, float vectorLength) {
  if (!scanner.find(meshKeyword)) return false;
  MeshExtent extent(scanner);
  if (!scanner.find("*NODE_NAME")) return false;
  if (auto name = scanner.token()) mesh.name.assign(*name);

  readTransform(scanner, mesh);

  std::int32_t reference = readMaterialReference(scanner);
  if (reference < 0 || reference >= scene.materialCount()) reference = 0;  // no such material: the first
  mesh.materialIndex = reference;
  scene.materials[static_cast<size_t>(reference)].materialId = reference;

  FaceList faceList;  // read from the text once for the three passes
  SubsetIds ids = formSubsets(scanner, scene, mesh, faceList);

  if (!scanner.find("*MESH_NUMVERTEX")) return false;
  mesh.vertexCount = clampCount(scanner.integer(), scanner);
  if (!findKeywordBeforeWhiteSpace(scanner, "*MESH_NUMFACES")) return false;
  mesh.faceCount = clampCount(scanner.integer(), scanner);

  readVertexList(scanner, mesh);
  FaceLayout layout = countFaces(scanner, scene, mesh, ids, faceList);

  // A missing list ends the geometry there; what was read is still welded.
  if (readCornerPositions(scanner, mesh, ids, layout, faceList) && readTextureCoordinates(scanner, layout))
    readNormals(scanner, layout);
  weldFaces(mesh, layout);
  for (MeshSubset& subset : mesh.subsets) buildNormalLines(subset, vectorLength);
  return true;
}

}  // namespace veltrace
