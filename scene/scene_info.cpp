#include "scene/scene_info.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"

namespace veltrace {

namespace {

std::string colourLine(const char* label, const Colour& colour) {
  return formatText("%s = (%.1f, %.1f, %.1f, %.1f)", label, colour.r, colour.g, colour.b, colour.a);
}

void addMaterialLines(std::vector<InfoLine>& lines, const SceneMaterial& material, int depth) {
  lines.push_back({depth, colourLine("Ambient", material.ambient)});
  lines.push_back({depth, colourLine("Diffuse", material.diffuse)});
  lines.push_back({depth, colourLine("Specular", material.specular)});
  lines.push_back({depth, colourLine("Emissive", material.emissive)});
  lines.push_back({depth, formatText("Power = %.1f", material.shine)});
  if (material.baseTexture.empty())
    lines.push_back({depth, "Base Texture = NULL"});
  else
    lines.push_back({depth, "Base Texture = " + namePart(material.baseTexture)});
  if (!material.alphaTexture.empty()) lines.push_back({depth, "Alpha Texture = " + namePart(material.alphaTexture)});
  if (!material.bumpTexture.empty()) lines.push_back({depth, "Bump Texture = " + namePart(material.bumpTexture)});
}

void addMeshLines(std::vector<InfoLine>& lines, const Scene& scene) {
  lines.push_back({0, "Meshes"});
  for (size_t i = 0; i < scene.meshes.size(); ++i) {
    const SceneMesh& mesh = scene.meshes[i];
    std::int64_t indices = 0;
    for (const MeshSubset& subset : mesh.subsets) indices += subset.indexCount;
    lines.push_back({1, formatText("Mesh #%d (%s)", static_cast<int>(i + 1), mesh.name.c_str())});
    lines.push_back({2, formatText("Indices : %lld", static_cast<long long>(indices))});
    lines.push_back({2, formatText("Vertices : %d", mesh.vertexCount)});
    lines.push_back({2, "Subsets"});
    const bool hasSubMaterials = scene.materials[static_cast<size_t>(mesh.materialIndex)].subMaterialCount() > 0;
    for (size_t j = 0; j < mesh.subsets.size(); ++j) {
      const MeshSubset& subset = mesh.subsets[j];
      lines.push_back({3, formatText("Subset #%d", static_cast<int>(j + 1))});
      lines.push_back({4, formatText("Triangles : %d", subset.indexCount / 3)});
      lines.push_back({4, formatText("Material : #%d", mesh.materialIndex + 1)});
      if (hasSubMaterials) lines.push_back({4, formatText("Sub-Material : #%d", subset.subMaterialIndex + 1)});
    }
  }
}

void addMaterialTree(std::vector<InfoLine>& lines, const Scene& scene) {
  lines.push_back({0, "Materials"});
  for (size_t i = 0; i < scene.materials.size(); ++i) {
    const SceneMaterial& material = scene.materials[i];
    lines.push_back({1, formatText("Material #%d (%s)", static_cast<int>(i + 1), material.name.c_str())});
    addMaterialLines(lines, material, 2);
    if (material.subMaterials.empty()) continue;
    lines.push_back({2, "Sub-Materials"});
    for (size_t k = 0; k < material.subMaterials.size(); ++k) {
      lines.push_back({3, formatText("Sub-Material #%d", static_cast<int>(k + 1))});
      addMaterialLines(lines, material.subMaterials[k], 4);
    }
  }
}

void addTextureNames(std::vector<std::string>& names, const SceneMaterial& material) {
  for (const std::string* path : {&material.baseTexture, &material.alphaTexture, &material.bumpTexture}) {
    if (path->empty()) continue;
    std::string name = namePart(*path);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
}

}  // namespace

std::vector<InfoLine> sceneInformation(const Scene& scene, const std::vector<std::string>& textureNames) {
  std::vector<InfoLine> lines;
  addMeshLines(lines, scene);
  addMaterialTree(lines, scene);
  lines.push_back({0, "Textures"});
  for (size_t i = 0; i < textureNames.size(); ++i)
    lines.push_back({1, formatText("#%d : \"%s\"", static_cast<int>(i), textureNames[i].c_str())});
  return lines;
}

std::vector<std::string> sceneTextureNames(const Scene& scene) {
  std::vector<std::string> names;
  for (const SceneMaterial& material : scene.materials) {
    addTextureNames(names, material);
    for (const SceneMaterial& subMaterial : material.subMaterials) addTextureNames(names, subMaterial);
  }
  return names;
}

}  // namespace veltrace
