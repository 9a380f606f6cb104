#include "scene/scene_model.h"

namespace veltrace {

const SceneMaterial& Scene::materialOf(const MeshSubset& subset) const {
  const SceneMaterial& material = materials.at(static_cast<size_t>(subset.materialIndex));
  if (subset.subMaterialIndex < 0) return material;
  return material.subMaterials.at(static_cast<size_t>(subset.subMaterialIndex));
}

SceneMaterial& Scene::materialOf(const MeshSubset& subset) {
  return const_cast<SceneMaterial&>(static_cast<const Scene&>(*this).materialOf(subset));
}

void forgetEffect(Scene& scene, const Effect* effect) {
  if (!effect) return;
  for (SceneMesh& mesh : scene.meshes) {
    if (mesh.effect == effect) mesh.effect = nullptr;
    for (MeshSubset& subset : mesh.subsets)
      if (subset.effect == effect) subset.effect = nullptr;
  }
}

}  // namespace veltrace
