#pragma once
// The loaded scene: meshes split into subsets by material, the materials they
// use, and the per-subset vertex and index data the renderer copies into its
// device buffers. Nothing here touches a device: the Direct3D layer keeps its
// buffers and loaded textures beside these records.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrace {

struct Effect;

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

// One face corner as the reader collects it: position, normal, u, v.
struct FileVertex {
  Vec3 position;
  Vec3 normal;
  float u = 0, v = 0;
};
static_assert(sizeof(FileVertex) == 32, "a file vertex is eight floats");

// The vertex layout of stream 0 (56 bytes).
struct SceneVertex {
  Vec3 position;   // offset 0
  Vec3 normal;     // offset 12
  float u = 0;     // offset 24
  float v = 0;     // offset 28
  Vec3 tangent;    // offset 32
  Vec3 binormal;   // offset 44
};
static_assert(sizeof(SceneVertex) == 56, "the renderer's vertex stride is 56 bytes");

// Guide lines are line lists: two points per vertex.
struct GuideLine {
  Vec3 from;
  Vec3 to;
};

struct Colour {
  float r = 0, g = 0, b = 0, a = 1;
};

struct SceneMaterial {
  std::vector<SceneMaterial> subMaterials;
  bool subMaterialsCreated = false;  // "*NUMSUBMTLS" acts once per material
  std::string name;
  std::string className;
  std::int32_t materialId = 0;
  Colour ambient{1, 1, 1, 1};
  Colour diffuse{1, 1, 1, 1};
  Colour specular{0, 0, 0, 1};
  Colour emissive{0, 0, 0, 1};
  float shine = 0;
  float shineStrength = 0;
  float transparency = 0;
  float selfIllumination = 0;
  std::string baseTexture;   // paths as written in the file
  std::string alphaTexture;
  std::string bumpTexture;

  std::int32_t subMaterialCount() const { return static_cast<std::int32_t>(subMaterials.size()); }
};

// The face corners the reader collects for a subset (FileVertex, three per
// face) are working data of the reader: once welded, only the unique
// vertices and the indices remain.
struct MeshSubset {
  std::vector<SceneVertex> vertices;   // the unique vertices (vertexCount of them)
  std::vector<std::uint32_t> indices;  // indexCount entries, corner order a, b, c
  std::vector<GuideLine> normalLines;  // one per unique vertex
  std::vector<GuideLine> tangentLines;  // these three come from the tangent pass
  std::vector<GuideLine> binormalLines;
  std::vector<GuideLine> frameNormalLines;
  std::int32_t triangleCount = 0;
  std::int32_t indexCount = 0;  // 3 x triangleCount: also the room for vertices
  std::int32_t vertexCount = 0;
  std::int32_t id = 0;               // the "*D" id the subset was formed from
  std::int32_t materialIndex = 0;    // into Scene::materials
  std::int32_t subMaterialIndex = -1;  // into that material's subMaterials, -1 when none
  Effect* effect = nullptr;
  bool framesBuilt = false;
};

struct SceneMesh {
  std::vector<MeshSubset> subsets;
  std::vector<Vec3> vertices;  // the file's vertex list (positions only)
  std::int32_t materialIndex = 0;
  std::array<float, 16> transform{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // row by row
  Vec3 position;
  std::int32_t vertexCount = 0;
  std::int32_t faceCount = 0;
  std::vector<std::int32_t> subsetIds;  // distinct "*D" ids in order of first appearance; -1 = free
  std::string name;
  Effect* effect = nullptr;

  std::int32_t subsetCount() const { return static_cast<std::int32_t>(subsets.size()); }
};

struct Scene {
  std::vector<SceneMesh> meshes;
  std::vector<SceneMaterial> materials;
  std::string name = "Scene";
  std::string folder;

  std::int32_t meshCount() const { return static_cast<std::int32_t>(meshes.size()); }
  std::int32_t materialCount() const { return static_cast<std::int32_t>(materials.size()); }

  // The material a subset draws with: its sub-material when it has one.
  const SceneMaterial& materialOf(const MeshSubset& subset) const;
  SceneMaterial& materialOf(const MeshSubset& subset);
};

// Deleting an effect clears every reference the scene holds to it.
void forgetEffect(Scene& scene, const Effect* effect);

}  // namespace veltrace
