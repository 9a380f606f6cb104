#pragma once
// A scene being written rather than read: what the importer, the sample
// generator and the benchmarks hand to the writers. Positions and normals are
// in the reader's axes (the writers exchange y and z on the way out, so a
// written file reads back to the same numbers).

#include <cstdint>
#include <string>
#include <vector>

#include "scene/scene_model.h"

namespace veltrace {

struct AuthoredMaterial {
  std::string name;
  std::string className = "Standard";
  Vec3 ambient{0.2f, 0.2f, 0.2f};  // red, green, blue
  Vec3 diffuse{0.8f, 0.8f, 0.8f};
  Vec3 specular{0.5f, 0.5f, 0.5f};
  float shine = 0.25f;
  float shineStrength = 0.5f;
  float transparency = 0;
  float selfIllumination = 0;
  std::string baseMap;  // bitmap paths, empty when the map is absent
  std::string bumpMap;
  std::string opacityMap;
  std::vector<AuthoredMaterial> subMaterials;
};

struct AuthoredCorner {
  std::int32_t vertex = 0;
  Vec3 normal;
  float u = 0, v = 0;
};

struct AuthoredFace {
  AuthoredCorner corners[3];
  std::int32_t materialId = 0;
};

struct AuthoredMesh {
  std::string name;
  std::vector<Vec3> positions;
  std::vector<AuthoredFace> faces;
  std::int32_t materialRef = 0;
};

struct AuthoredScene {
  std::vector<AuthoredMaterial> materials;
  std::vector<AuthoredMesh> meshes;
};

}  // namespace veltrace
