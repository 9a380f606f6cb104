#include "scene/authoring/scene_writer.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "base/files.h"
#include "scene/scene_scanner.h"

namespace veltrace {

namespace {

// Builds the file text; the format's block nesting is written with tabs.
class SceneText {
 public:
  SceneText& line(int depth) {
    text_.append(static_cast<size_t>(depth), '\t');
    return *this;
  }
  SceneText& word(std::string_view word) {
    if (!text_.empty() && text_.back() != '\t' && text_.back() != '\n') text_ += ' ';
    text_ += word;
    return *this;
  }
  SceneText& number(std::int64_t value) {
    char digits[24];
    auto written = std::to_chars(digits, digits + sizeof digits, value);
    return word(std::string_view(digits, static_cast<size_t>(written.ptr - digits)));
  }
  // As formatSceneNumber(), without a string made for every number: models
  // written by the import hold millions of them.
  SceneText& real(float value) {
    if (!std::isfinite(value)) value = 0.0f;
    char digits[64];
    auto written = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    if (written.ec != std::errc()) return word("0");
    return word(std::string_view(digits, static_cast<size_t>(written.ptr - digits)));
  }
  // File order (x, z, y): the reader exchanges them back.
  SceneText& exchanged(const Vec3& vector) { return real(vector.x).real(vector.z).real(vector.y); }
  SceneText& rgb(const Vec3& colour) { return real(colour.x).real(colour.y).real(colour.z); }
  SceneText& quoted(std::string_view text) {
    // A quote would end the token early; names never hold one.
    std::string cleaned(text.substr(0, SceneScanner::maxTokenLength));
    for (char& c : cleaned)
      if (c == '"') c = '\'';
    return word("\"" + cleaned + "\"");
  }
  void end() { text_ += '\n'; }
  std::string take() { return std::move(text_); }
  // Room for the whole text at once: grown step by step, a text of many
  // megabytes is copied over and over.
  void reserve(size_t bytes) { text_.reserve(bytes); }

 private:
  std::string text_;
};

void writeMap(SceneText& out, int depth, std::string_view keyword, const std::string& bitmap) {
  if (bitmap.empty()) return;
  out.line(depth).word(keyword).word("{").end();
  out.line(depth + 1).word("*MAP_CLASS").quoted("Bitmap").end();
  out.line(depth + 1).word("*BITMAP").quoted(bitmap).end();
  out.line(depth).word("}").end();
}

void writeMaterialBody(SceneText& out, const AuthoredMaterial& material, int depth) {
  out.line(depth).word("*MATERIAL_NAME").quoted(material.name).end();
  out.line(depth).word("*MATERIAL_CLASS").quoted(material.className).end();
  out.line(depth).word("*MATERIAL_AMBIENT").rgb(material.ambient).end();
  out.line(depth).word("*MATERIAL_DIFFUSE").rgb(material.diffuse).end();
  out.line(depth).word("*MATERIAL_SPECULAR").rgb(material.specular).end();
  out.line(depth).word("*MATERIAL_SHINE").real(material.shine).end();
  out.line(depth).word("*MATERIAL_SHINESTRENGTH").real(material.shineStrength).end();
  out.line(depth).word("*MATERIAL_TRANSPARENCY").real(material.transparency).end();
  out.line(depth).word("*MATERIAL_SELFILLUM").real(material.selfIllumination).end();
  writeMap(out, depth, "*MAP_DIFFUSE", material.baseMap);
  writeMap(out, depth, "*MAP_BUMP", material.bumpMap);
  writeMap(out, depth, "*MAP_OPACITY", material.opacityMap);
  if (material.subMaterials.empty()) return;
  out.line(depth).word("*NUMSUBMTLS").number(static_cast<std::int64_t>(material.subMaterials.size())).end();
  for (size_t i = 0; i < material.subMaterials.size(); ++i) {
    out.line(depth).word("*SUBMATERIAL").number(static_cast<std::int64_t>(i)).word("{").end();
    writeMaterialBody(out, material.subMaterials[i], depth + 1);
    out.line(depth).word("}").end();
  }
}

void writeMaterialList(SceneText& out, const AuthoredScene& scene) {
  out.line(0).word("*MATERIAL_LIST").word("{").end();
  out.line(1).word("*MATERIAL_COUNT").number(static_cast<std::int64_t>(scene.materials.size())).end();
  for (size_t i = 0; i < scene.materials.size(); ++i) {
    out.line(1).word("*MATERIAL").number(static_cast<std::int64_t>(i)).word("{").end();
    writeMaterialBody(out, scene.materials[i], 2);
    out.line(1).word("}").end();
  }
  out.line(0).word("}").end();
}

void writeNode(SceneText& out, const AuthoredMesh& mesh) {
  out.line(1).word("*NODE_NAME").quoted(mesh.name).end();
  out.line(1).word("*NODE_TM").word("{").end();
  out.line(2).word("*NODE_NAME").quoted(mesh.name).end();
  out.line(2).word("*TM_ROW0").word("1.0 0.0 0.0").end();
  out.line(2).word("*TM_ROW1").word("0.0 1.0 0.0").end();
  out.line(2).word("*TM_ROW2").word("0.0 0.0 1.0").end();
  out.line(2).word("*TM_ROW3").word("0.0 0.0 0.0").end();
  out.line(2).word("*TM_POS").word("0.0 0.0 0.0").end();
  out.line(1).word("}").end();
}

// The unit normal of a face from its corner positions (file axes exchanged
// like every written vector).
Vec3 faceNormal(const AuthoredMesh& mesh, const AuthoredFace& face) {
  auto at = [&](int k) {
    std::int32_t index = face.corners[k].vertex;
    return index >= 0 && static_cast<size_t>(index) < mesh.positions.size() ? mesh.positions[static_cast<size_t>(index)]
                                                                            : Vec3{};
  };
  Vec3 p0 = at(0), p1 = at(1), p2 = at(2);
  Vec3 e1{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
  Vec3 e2{p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
  Vec3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
  float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  if (length > 0) n = {n.x / length, n.y / length, n.z / length};
  return n;
}

void writeVaseMesh(SceneText& out, const AuthoredMesh& mesh) {
  out.line(0).word("*GEOMOBJECT").word("{").end();
  writeNode(out, mesh);
  // Right behind the node: the reader looks ahead for it from there.
  out.line(1).word("*MATERIAL_REF").number(mesh.materialRef).end();
  out.line(1).word("*MESH").word("{").end();
  out.line(2).word("*MESH_NUMVERTEX").number(static_cast<std::int64_t>(mesh.positions.size())).end();
  out.line(2).word("*MESH_NUMFACES").number(static_cast<std::int64_t>(mesh.faces.size())).end();
  out.line(2).word("*MESH_VERTEX_LIST").word("{").end();
  for (size_t i = 0; i < mesh.positions.size(); ++i)
    out.line(3).word("*V").number(static_cast<std::int64_t>(i)).exchanged(mesh.positions[i]).end();
  out.line(2).word("}").end();
  out.line(2).word("*MESH_FACE_LIST").word("{").end();
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    const AuthoredFace& face = mesh.faces[f];
    out.line(3).word("*F").number(static_cast<std::int64_t>(f));
    for (const AuthoredCorner& corner : face.corners) out.number(corner.vertex);
    out.word("*D").number(face.materialId).end();
  }
  out.line(2).word("}").end();
  out.line(2).word("*MESH_TVERTLIST_EX").word("{").end();
  for (const AuthoredFace& face : mesh.faces) {
    // Corners in reverse order: c, b, a.
    out.line(3).word("*TV_EX");
    for (int k = 2; k >= 0; --k) out.real(face.corners[k].u).real(face.corners[k].v).word("0");
    out.end();
  }
  out.line(2).word("}").end();
  out.line(2).word("*MESH_NORMALS").word("{").end();
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    const AuthoredFace& face = mesh.faces[f];
    out.line(3).word("*FN").number(static_cast<std::int64_t>(f)).exchanged(faceNormal(mesh, face)).end();
    for (const AuthoredCorner& corner : face.corners)
      out.line(4).word("*VN").number(corner.vertex).exchanged(corner.normal).end();
  }
  out.line(2).word("}").end();
  out.line(1).word("}").end();
  out.line(0).word("}").end();
}

void writeHeader(SceneText& out) {
  out.line(0).word("*3DSMAX_ASCIIEXPORT").word("200").end();
  out.line(0).word("*COMMENT").quoted("Veltrace scene").end();
}

// Plain ASE: texture vertices shared between corners with equal (u, v).
void writePlainAseMesh(SceneText& out, const AuthoredMesh& mesh) {
  std::unordered_map<std::uint64_t, std::int32_t> textureVertexOf;
  std::vector<std::pair<float, float>> textureVertices;
  std::vector<std::int32_t> cornerTextureVertex;
  cornerTextureVertex.reserve(mesh.faces.size() * 3);
  for (const AuthoredFace& face : mesh.faces) {
    for (const AuthoredCorner& corner : face.corners) {
      std::uint32_t ubits, vbits;
      std::memcpy(&ubits, &corner.u, 4);
      std::memcpy(&vbits, &corner.v, 4);
      auto [entry, added] = textureVertexOf.emplace((std::uint64_t{ubits} << 32) | vbits,
                                                    static_cast<std::int32_t>(textureVertices.size()));
      if (added) textureVertices.emplace_back(corner.u, corner.v);
      cornerTextureVertex.push_back(entry->second);
    }
  }

  out.line(0).word("*GEOMOBJECT").word("{").end();
  writeNode(out, mesh);
  out.line(1).word("*MESH").word("{").end();
  out.line(2).word("*TIMEVALUE").word("0").end();
  out.line(2).word("*MESH_NUMVERTEX").number(static_cast<std::int64_t>(mesh.positions.size())).end();
  out.line(2).word("*MESH_NUMFACES").number(static_cast<std::int64_t>(mesh.faces.size())).end();
  out.line(2).word("*MESH_VERTEX_LIST").word("{").end();
  for (size_t i = 0; i < mesh.positions.size(); ++i)
    out.line(3).word("*MESH_VERTEX").number(static_cast<std::int64_t>(i)).exchanged(mesh.positions[i]).end();
  out.line(2).word("}").end();
  out.line(2).word("*MESH_FACE_LIST").word("{").end();
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    const AuthoredFace& face = mesh.faces[f];
    out.line(3).word("*MESH_FACE").word(std::to_string(f) + ":");
    out.word("A:").number(face.corners[0].vertex).word("B:").number(face.corners[1].vertex);
    out.word("C:").number(face.corners[2].vertex).word("AB: 1 BC: 1 CA: 1 *MESH_SMOOTHING 1 *MESH_MTLID");
    out.number(face.materialId).end();
  }
  out.line(2).word("}").end();
  out.line(2).word("*MESH_NUMTVERTEX").number(static_cast<std::int64_t>(textureVertices.size())).end();
  out.line(2).word("*MESH_TVERTLIST").word("{").end();
  for (size_t i = 0; i < textureVertices.size(); ++i)
    out.line(3).word("*MESH_TVERT").number(static_cast<std::int64_t>(i)).real(textureVertices[i].first)
        .real(textureVertices[i].second).word("0.0").end();
  out.line(2).word("}").end();
  out.line(2).word("*MESH_NUMTVFACES").number(static_cast<std::int64_t>(mesh.faces.size())).end();
  out.line(2).word("*MESH_TFACELIST").word("{").end();
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    out.line(3).word("*MESH_TFACE").number(static_cast<std::int64_t>(f));
    for (int k = 0; k < 3; ++k) out.number(cornerTextureVertex[f * 3 + static_cast<size_t>(k)]);
    out.end();
  }
  out.line(2).word("}").end();
  out.line(2).word("*MESH_NORMALS").word("{").end();
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    const AuthoredFace& face = mesh.faces[f];
    out.line(3).word("*MESH_FACENORMAL").number(static_cast<std::int64_t>(f)).exchanged(faceNormal(mesh, face)).end();
    for (const AuthoredCorner& corner : face.corners)
      out.line(4).word("*MESH_VERTEXNORMAL").number(corner.vertex).exchanged(corner.normal).end();
  }
  out.line(2).word("}").end();
  out.line(1).word("}").end();
  out.line(1).word("*MATERIAL_REF").number(mesh.materialRef).end();
  out.line(0).word("}").end();
}

}  // namespace

std::string formatSceneNumber(float value) {
  if (!std::isfinite(value)) value = 0.0f;
  char digits[64];
  auto written = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
  if (written.ec != std::errc()) return "0";
  return std::string(digits, written.ptr);
}

std::string formatVaseScene(const AuthoredScene& scene) {
  SceneText out;
  // About what a face (its face, texture and four normal lines) and a vertex
  // line take with numbers of framed size.
  size_t estimate = 4096;
  for (const AuthoredMesh& mesh : scene.meshes) estimate += mesh.faces.size() * 440 + mesh.positions.size() * 50;
  out.reserve(estimate);
  writeHeader(out);
  writeMaterialList(out, scene);
  for (const AuthoredMesh& mesh : scene.meshes) writeVaseMesh(out, mesh);
  return out.take();
}

std::string formatPlainAseScene(const AuthoredScene& scene) {
  SceneText out;
  writeHeader(out);
  writeMaterialList(out, scene);
  for (const AuthoredMesh& mesh : scene.meshes) writePlainAseMesh(out, mesh);
  return out.take();
}

bool writeVaseScene(std::string_view corePath, const AuthoredScene& scene) {
  return replaceFileWith(corePath, formatVaseScene(scene));
}

bool writePlainAseScene(std::string_view corePath, const AuthoredScene& scene) {
  return replaceFileWith(corePath, formatPlainAseScene(scene));
}

}  // namespace veltrace
