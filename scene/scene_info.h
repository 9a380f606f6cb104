#pragma once
// The scene information tree shown under the "Scene" item of the workspace
// tree: meshes with their subsets, materials with their colours and
// textures, and the loaded textures. Built as plain lines with their depth so
// that the tree view and veltrace-cli can both show it.

#include <string>
#include <vector>

#include "scene/scene_model.h"

namespace veltrace {

struct InfoLine {
  int depth = 0;  // 0 for "Meshes", "Materials", "Textures"
  std::string text;
};

// `textureNames` are the texture store's entries in store order.
std::vector<InfoLine> sceneInformation(const Scene& scene, const std::vector<std::string>& textureNames);

// The distinct texture file names (without folder) the scene's materials
// name, in the order a texture store acquiring each material's base, alpha
// and bump texture in turn would hold them.
std::vector<std::string> sceneTextureNames(const Scene& scene);

}  // namespace veltrace
