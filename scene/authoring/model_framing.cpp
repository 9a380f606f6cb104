#include "scene/authoring/model_framing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veltrace {

std::optional<BoundingSphere> boundingSphereOf(const AuthoredScene& scene) {
  bool any = false;
  Vec3 low, high;
  for (const AuthoredMesh& mesh : scene.meshes) {
    for (const Vec3& p : mesh.positions) {
      if (!any) {
        low = high = p;
        any = true;
      }
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
  }
  if (!any) return std::nullopt;
  BoundingSphere sphere;
  sphere.centre = {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
  // Squared distances in double: models in millimetres reach 1e6 and more.
  double farthest = 0;
  for (const AuthoredMesh& mesh : scene.meshes) {
    for (const Vec3& p : mesh.positions) {
      double dx = double(p.x) - sphere.centre.x, dy = double(p.y) - sphere.centre.y, dz = double(p.z) - sphere.centre.z;
      farthest = std::max(farthest, dx * dx + dy * dy + dz * dz);
    }
  }
  sphere.radius = static_cast<float>(std::sqrt(farthest));
  return sphere;
}

float framedRadius() {
  // A sphere of radius r at distance d is seen under the half angle a with
  // sin a = r / d; on the image plane it reaches tan a against the view's
  // tan(fov / 2).
  const double halfView = previewFieldOfViewDegrees / 2 * std::numbers::pi / 180;
  const double seen = std::atan(framedHeightShare * std::tan(halfView));
  return static_cast<float>(previewEyeDistance * std::sin(seen));
}

void frameForPreview(AuthoredScene& scene) {
  auto sphere = boundingSphereOf(scene);
  if (!sphere) return;
  const bool hasSize = sphere->radius > 0 && std::isfinite(sphere->radius);
  const double scale = hasSize ? framedRadius() / double(sphere->radius) : 1.0;
  for (AuthoredMesh& mesh : scene.meshes) {
    for (Vec3& p : mesh.positions) {
      p.x = static_cast<float>((double(p.x) - sphere->centre.x) * scale);
      p.y = static_cast<float>((double(p.y) - sphere->centre.y) * scale);
      p.z = static_cast<float>((double(p.z) - sphere->centre.z) * scale);
    }
  }
}

namespace {

// The model's z (up) becomes y; its y (away from the viewer in a z-up
// model's front view) becomes z. In the scene's axes, where the model's z
// arrived as -z: (x, y, z) -> (x, -z, y), a rotation (determinant +1).
Vec3 turned(const Vec3& v) { return {v.x, -v.z, v.y}; }

}  // namespace

void turnZUpToYUp(AuthoredScene& scene) {
  for (AuthoredMesh& mesh : scene.meshes) {
    for (Vec3& p : mesh.positions) p = turned(p);
    for (AuthoredFace& face : mesh.faces)
      for (AuthoredCorner& corner : face.corners) corner.normal = turned(corner.normal);
  }
}

}  // namespace veltrace
