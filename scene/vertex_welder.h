#pragma once
// Welding: face corners with equal position, normal, u and v share one
// vertex. The result is exactly that of searching the unique vertices from
// the first for one that compares equal as floats (+0 equals -0, a NaN equals
// nothing), but found through a hash index over the eight floats, so welding
// a subset takes time linear in its corners.

#include <cstdint>
#include <vector>

#include "scene/scene_model.h"

namespace veltrace {

class VertexWelder {
 public:
  // `vertices` is emptied and receives the unique vertices; it must outlive
  // the welder and only the welder may append to it.
  // `expectedCorners` sizes the index up front (it still grows when needed).
  VertexWelder(std::vector<SceneVertex>& vertices, size_t expectedCorners = 0);

  // The index of the first unique vertex equal to the corner; a corner equal
  // to none is appended (tangent and binormal zero) and its new index
  // returned.
  std::uint32_t weld(const FileVertex& corner);

 private:
  void grow();
  void insert(std::uint32_t vertexIndex, std::uint32_t hash);

  std::vector<SceneVertex>& vertices_;
  // Open addressing: vertex index + 1 per slot, 0 = empty. The table holds
  // at most half as many entries as it has slots.
  std::vector<std::uint32_t> slots_;
  std::uint32_t used_ = 0;
};

// The hash of a vertex's position, normal, u and v; -0 hashes as +0.
std::uint32_t hashVertexKey(const Vec3& position, const Vec3& normal, float u, float v);

}  // namespace veltrace
