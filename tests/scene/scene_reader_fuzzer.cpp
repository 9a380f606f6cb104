// Any bytes as a scene file: the reader, the tangent pass and the
// information tree must neither crash nor read or write out of bounds, and
// every index must name a vertex of its subset.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "scene/scene_info.h"
#include "scene/scene_reader.h"
#include "scene/tangent_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  veltrace::SceneScanner scanner(std::string(reinterpret_cast<const char*>(data), size));
  veltrace::Scene scene;
  veltrace::readScene(scanner, scene);
  for (veltrace::SceneMesh& mesh : scene.meshes) {
    for (veltrace::MeshSubset& subset : mesh.subsets) {
      if (subset.indices.size() > static_cast<size_t>(subset.indexCount)) std::abort();
      for (std::uint32_t index : subset.indices)
        if (index >= subset.vertices.size()) std::abort();
      veltrace::buildTangentFrames(subset, 1.0f);
      (void)scene.materialOf(subset);
    }
  }
  veltrace::sceneInformation(scene, veltrace::sceneTextureNames(scene));
  return 0;
}
