#pragma once
// What the main view knows about the preview besides the scene: camera, object
// and light poses, the matrices derived from them each frame, the preview
// light, the keys and mouse buttons held, and the display toggles. It is
// plain data with portable operations (preview_input.h, frame_move.h), so the
// view's window messages and the renderer only translate to and from it.

#include <cstdint>

#include "render/math/matrix_math.h"

namespace veltrace::render {

struct ColourValue {
  float r = 0, g = 0, b = 0, a = 0;
};

// The fields of a Direct3D 8 light record the preview uses. It feeds the
// predefined constants and the light marker, and lights the subsets of
// effects without a vertex shader (fixed_function_lighting.h).
struct PreviewLight {
  static constexpr std::uint32_t pointLight = 1;  // D3DLIGHT_POINT

  std::uint32_t type = pointLight;
  ColourValue diffuse{1, 1, 1, 0};
  ColourValue specular{0.4f, 0.4f, 0.4f, 0};
  ColourValue ambient{0, 0, 0, 0};
  Vector3 position;
  Vector3 direction;
  float range = 60;
  float falloff = 1;
  float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
  float theta = 0.5f;
  float phi = 1;
};

// Bits of PreviewState::vectorDisplay, the line sets the renderer draws over
// the meshes; at most one is set.
inline constexpr std::uint32_t vectorDisplayNormalsBit = 0;
inline constexpr std::uint32_t vectorDisplayNormalsMask = 1u << vectorDisplayNormalsBit;
inline constexpr std::uint32_t vectorDisplayTangentFramesBit = 1;
inline constexpr std::uint32_t vectorDisplayTangentFramesMask = 1u << vectorDisplayTangentFramesBit;

inline constexpr Vector3 initialEye{0, 0, -30};
inline constexpr Vector3 initialLookAt{0, 0, 0};
inline constexpr Vector3 initialLightBase{0, 0, -23};
inline constexpr float initialFovDegrees = 50;
inline constexpr float initialNearPlane = 1;
inline constexpr float initialFarPlane = 100;

struct PreviewState {
  Vector3 eye = initialEye;
  Vector3 lookAt = initialLookAt;
  float cameraYaw = 0, cameraPitch = 0;                   // degrees
  float objectYaw = 0, objectPitch = 0, objectRoll = 0;   // radians
  Vector3 lightBase = initialLightBase;
  float lightYaw = 0, lightPitch = 0, lightRoll = 0;      // radians
  float fovDegrees = initialFovDegrees;
  float nearPlane = initialNearPlane;
  float farPlane = initialFarPlane;

  Matrix4 world = identityMatrix();
  Matrix4 view = identityMatrix();
  Matrix4 projection = identityMatrix();
  PreviewLight light;

  // Held keys and buttons, set and cleared only by their down and up messages.
  bool moveLeft = false, moveRight = false, moveUp = false, moveDown = false;
  bool moveNear = false, moveFar = false;
  bool leftButton = false, rightButton = false;

  bool showNormals = false, showTangents = false;  // at most one is true
  bool showStats = false, showLight = false;
  std::uint32_t vectorDisplay = 0;                 // vectorDisplay*Mask bits

  int lastMouseX = 0, lastMouseY = 0;

  // Set by resetView: the Parameter pane must show the reset field of view.
  bool parameterPaneNeedsRefresh = false;
};

// Eye, look-at, camera and object angles and the field of view back to their
// initial values.
void resetView(PreviewState& state);

// Light base and light angles back to their initial values.
void resetLight(PreviewState& state);

// The light record as the device objects are created: the initial colours and
// the light at its base position.
void initialiseLight(PreviewState& state);

// Where the light marker is drawn: moved to the light's base position, then
// turned with the light, which puts it at the light's current position.
Matrix4 lightMarkerWorld(const PreviewState& state);

}  // namespace veltrace::render
