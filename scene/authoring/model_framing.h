#pragma once
// Imported models come in any size and place: a building in millimetres, a
// coin in metres, a part far from its origin. Framing moves a model's
// bounding sphere to the origin and scales it so that the preview shows it
// whole at its starting camera. Models whose format has z pointing up are
// turned so that y does, as the preview expects.

#include <optional>

#include "scene/authoring/authored_scene.h"

namespace veltrace {

// The preview's starting camera: this far in front of the origin, looking at
// it, with this vertical field of view.
inline constexpr float previewEyeDistance = 30.0f;
inline constexpr float previewFieldOfViewDegrees = 50.0f;
// The share of the view's height a framed model's bounding sphere fills.
inline constexpr float framedHeightShare = 2.0f / 3.0f;

struct BoundingSphere {
  Vec3 centre;
  float radius = 0;
};

// The sphere around the middle of the box holding every position, through
// the position farthest from it. Nothing for a scene without positions.
std::optional<BoundingSphere> boundingSphereOf(const AuthoredScene& scene);

// The radius of a sphere at the origin whose outline, seen from the starting
// camera, is framedHeightShare of the view's height.
float framedRadius();

// Centres the scene's bounding sphere on the origin and scales it to
// framedRadius(). A scene that is a single point is only moved.
void frameForPreview(AuthoredScene& scene);

// Positions and normals in the scene's axes (x right, y up, z away from the
// viewer) that were taken from a model whose z is up: turned a quarter round
// the x axis so that the model's up is y and its front (the side seen when
// looking along its +y) faces the viewer. A turn, not a mirror: faces keep
// their winding and their normals.
void turnZUpToYUp(AuthoredScene& scene);

}  // namespace veltrace
