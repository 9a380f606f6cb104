#include "scene/tangent_frames.h"

#include <cmath>

namespace veltrace {

namespace {

float component(const Vec3& vector, int axis) { return axis == 0 ? vector.x : axis == 1 ? vector.y : vector.z; }

float& component(Vec3& vector, int axis) { return axis == 0 ? vector.x : axis == 1 ? vector.y : vector.z; }

Vec3 alongVector(const Vec3& from, const Vec3& direction, float length) {
  return {from.x + length * direction.x, from.y + length * direction.y, from.z + length * direction.z};
}

// A zero vector stays zero instead of turning into NaNs.
void normalise(Vec3& vector) {
  float length = std::sqrt(vector.x * vector.x + vector.y * vector.y + vector.z * vector.z);
  if (!(length > 0.0f)) return;
  vector.x /= length;
  vector.y /= length;
  vector.z /= length;
}

Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Texture coordinates this close to degenerate give no direction.
constexpr double degenerateLimit = 1e-12;

void accumulateBinormals(MeshSubset& subset) {
  auto& vertices = subset.vertices;
  const auto& indices = subset.indices;
  for (size_t t = 0; t + 2 < indices.size(); t += 3) {
    const std::uint32_t i0 = indices[t], i1 = indices[t + 1], i2 = indices[t + 2];
    if (i0 >= vertices.size() || i1 >= vertices.size() || i2 >= vertices.size()) continue;
    const SceneVertex& p0 = vertices[i0];
    const SceneVertex& p1 = vertices[i1];
    const SceneVertex& p2 = vertices[i2];
    for (int axis = 0; axis < 3; ++axis) {
      // Edges in (c, u, v) space; the plane through them gives dc/dv.
      const float e1c = component(p1.position, axis) - component(p0.position, axis);
      const float e1u = p1.u - p0.u, e1v = p1.v - p0.v;
      const float e2c = component(p2.position, axis) - component(p0.position, axis);
      const float e2u = p2.u - p0.u, e2v = p2.v - p0.v;
      const float nx = e1u * e2v - e1v * e2u;
      const float nz = e1c * e2u - e1u * e2c;
      if (std::fabs(nx) > degenerateLimit) {
        const float slope = -nz / nx;
        component(vertices[i0].binormal, axis) += slope;
        component(vertices[i1].binormal, axis) += slope;
        component(vertices[i2].binormal, axis) += slope;
      }
    }
  }
}

}  // namespace

void buildNormalLines(MeshSubset& subset, float vectorLength) {
  subset.normalLines.clear();
  subset.normalLines.reserve(subset.vertices.size());
  for (const SceneVertex& vertex : subset.vertices)
    subset.normalLines.push_back({vertex.position, alongVector(vertex.position, vertex.normal, vectorLength)});
}

void buildTangentFrames(MeshSubset& subset, float vectorLength) {
  if (subset.framesBuilt) return;
  for (SceneVertex& vertex : subset.vertices) vertex.binormal = Vec3{};
  accumulateBinormals(subset);

  subset.tangentLines.clear();
  subset.binormalLines.clear();
  subset.frameNormalLines.clear();
  subset.tangentLines.reserve(subset.vertices.size());
  subset.binormalLines.reserve(subset.vertices.size());
  subset.frameNormalLines.reserve(subset.vertices.size());
  for (SceneVertex& vertex : subset.vertices) {
    normalise(vertex.binormal);
    normalise(vertex.normal);
    vertex.tangent = cross(vertex.binormal, vertex.normal);
    subset.tangentLines.push_back({vertex.position, alongVector(vertex.position, vertex.tangent, vectorLength)});
    subset.binormalLines.push_back({vertex.position, alongVector(vertex.position, vertex.binormal, vectorLength)});
    subset.frameNormalLines.push_back({vertex.position, alongVector(vertex.position, vertex.normal, vectorLength)});
  }
  subset.framesBuilt = true;
}

}  // namespace veltrace
