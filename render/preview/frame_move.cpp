#include "render/preview/frame_move.h"

#include <cmath>

namespace veltrace::render {

namespace {

constexpr Vector3 upDirection{0, 1, 0};
constexpr int smallestFovDegrees = 1;
constexpr int largestFovDegrees = 179;
constexpr int smallestNearPlane = 1;

// A pair of opposite keys: -1, 0 or +1 along the axis.
float axisDirection(bool negative, bool positive) {
  if (negative == positive) return 0.0f;
  return positive ? 1.0f : -1.0f;
}

void applyHeldKeys(PreviewState& state) {
  float sideways = axisDirection(state.moveLeft, state.moveRight) * keyMoveStep;
  float upwards = axisDirection(state.moveDown, state.moveUp) * keyMoveStep;
  float nearer = axisDirection(state.moveFar, state.moveNear) * keyMoveStep;

  if (state.leftButton && state.rightButton) {
    state.lightBase.x += sideways;
    state.lightBase.y += upwards;
    state.lightBase.z += nearer;
    return;
  }
  state.eye.x += sideways;
  state.lookAt.x += sideways;
  state.eye.y += upwards;
  state.lookAt.y += upwards;
  state.eye.z += nearer;  // the look-at point keeps its depth
}

std::uint32_t vectorDisplayBits(const PreviewState& state) {
  if (state.showNormals) return vectorDisplayNormalsMask;
  if (state.showTangents) return vectorDisplayTangentFramesMask;
  return 0;
}

bool describesProjection(const PreviewParameters& pane) {
  return pane.fovDegrees >= smallestFovDegrees && pane.fovDegrees <= largestFovDegrees &&
         pane.nearPlane >= smallestNearPlane && pane.farPlane > pane.nearPlane;
}

}  // namespace

float backBufferAspect(int width, int height) {
  if (width <= 0 || height <= 0) return 1.0f;
  return static_cast<float>(width) / static_cast<float>(height);
}

Matrix4 cameraView(const PreviewState& state) { return lookAtLH(state.eye, state.lookAt, upDirection); }

Matrix4 cameraProjection(const PreviewState& state, float aspect) {
  return perspectiveFovLH(state.fovDegrees * radiansPerDegree, aspect, state.nearPlane, state.farPlane);
}

void frameMove(PreviewState& state, float aspect, const std::optional<PreviewParameters>& pane) {
  applyHeldKeys(state);
  state.vectorDisplay = vectorDisplayBits(state);

  state.view = cameraView(state);
  state.projection = cameraProjection(state, aspect);

  state.cameraYaw = std::fmod(state.cameraYaw, 360.0f);
  state.cameraPitch = std::fmod(state.cameraPitch, 360.0f);
  Matrix4 worldTurn = multiply(rotationX(state.cameraPitch * radiansPerDegree),
                               rotationY(state.cameraYaw * radiansPerDegree));
  state.view = multiply(worldTurn, state.view);

  state.world = rotationYawPitchRoll(state.objectYaw, state.objectPitch, state.objectRoll);

  state.light.position = transformCoord(
      state.lightBase, rotationYawPitchRoll(state.lightYaw, state.lightPitch, state.lightRoll));

  if (!pane) return;
  state.light.ambient = pane->lightAmbient;
  state.light.diffuse = pane->lightDiffuse;
  state.light.specular = pane->lightSpecular;
  if (describesProjection(*pane)) {
    state.fovDegrees = static_cast<float>(pane->fovDegrees);
    state.nearPlane = static_cast<float>(pane->nearPlane);
    state.farPlane = static_cast<float>(pane->farPlane);
  }
}

}  // namespace veltrace::render
