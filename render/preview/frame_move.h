#pragma once
// The per-frame update of the preview: held keys move the camera (or the light
// while both mouse buttons are down), then view, projection, world and light
// are computed from the poses, and the Parameter pane's values are taken over
// for the next frame.

#include <optional>

#include "render/preview/preview_state.h"

namespace veltrace::render {

// What the Parameter pane hands to each frame: the light colours and the
// projection fields as the whole numbers typed into them.
struct PreviewParameters {
  ColourValue lightAmbient;
  ColourValue lightDiffuse;
  ColourValue lightSpecular;
  int fovDegrees = 50;
  int nearPlane = 1;
  int farPlane = 100;
};

inline constexpr float keyMoveStep = 0.3f;
inline constexpr float radiansPerDegree = 0.017453292f;

// width / height of the back buffer; 1 while the window has no area (a
// minimised window), which would otherwise give an infinite aspect.
float backBufferAspect(int width, int height);

// View (look-at, without the world rotation) and projection of the current
// camera, as the device transforms are set after a reset.
Matrix4 cameraView(const PreviewState& state);
Matrix4 cameraProjection(const PreviewState& state, float aspect);

// One frame's update, in order: held keys, vector display bits, view and
// projection, camera angle wrap, world rotation of the view, world, light
// position, and then the pane's colours and projection fields. Without a pane
// the light colours and projection stay as they are. Projection fields that
// describe no projection (field of view outside 1..179 degrees, near plane
// below 1, far plane not beyond near) are ignored and the last good ones kept.
void frameMove(PreviewState& state, float aspect, const std::optional<PreviewParameters>& pane);

}  // namespace veltrace::render
