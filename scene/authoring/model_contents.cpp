#include "scene/authoring/model_contents.h"

#include <vector>

#include "base/text.h"

namespace veltrace {

std::string refusalOf(const ModelContents& contents) {
  if (contents.triangles > 0) return {};
  std::vector<const char*> kinds;
  if (contents.points > 0) kinds.push_back("points");
  if (contents.lines > 0) kinds.push_back("lines");
  if (contents.cameras > 0) kinds.push_back("cameras");
  if (contents.lights > 0) kinds.push_back("lights");
  if (contents.animations > 0) kinds.push_back("animation");
  if (kinds.empty()) return "the model holds nothing to draw";
  std::string list = kinds[0];
  for (size_t i = 1; i < kinds.size(); ++i) list += std::string(i + 1 == kinds.size() ? " and " : ", ") + kinds[i];
  return "the model holds only " + list + ", no triangles";
}

bool isStillZUp(std::string_view extension, int metadataUpAxis) {
  if (toLowerAscii(extension) == ".blend") return true;
  return metadataUpAxis == 2;
}

bool hasUntrustedNormals(std::string_view extension) { return toLowerAscii(extension) == ".stl"; }

std::string textureBesideModel(std::string_view modelFolder, std::string_view texturePath) {
  const bool absolute = texturePath.empty() || texturePath[0] == '\\' || texturePath[0] == '/' ||
                        (texturePath.size() > 1 && texturePath[1] == ':');
  if (absolute) return std::string(texturePath);
  std::string_view relative = texturePath;
  while (relative.substr(0, 2) == ".\\") relative.remove_prefix(2);
  return std::string(modelFolder) + std::string(relative);
}

void anchorTexturePaths(AuthoredScene& scene, std::string_view modelFolder) {
  auto anchor = [&](AuthoredMaterial& material, auto& self) -> void {
    for (std::string* path : {&material.baseMap, &material.bumpMap, &material.opacityMap})
      *path = textureBesideModel(modelFolder, *path);
    for (AuthoredMaterial& sub : material.subMaterials) self(sub, self);
  };
  for (AuthoredMaterial& material : scene.materials) anchor(material, anchor);
}

}  // namespace veltrace
