#include "render/preview/preview_input.h"

namespace veltrace::render {

namespace {

// Drag speeds per client pixel.
constexpr float lightRadiansPerPixel = 0.01f;
constexpr float objectRadiansPerPixel = 0.005f;
constexpr float cameraDegreesPerPixel = 0.25f;
constexpr float lookAtUnitsPerPixel = 0.1f;

}  // namespace

std::optional<PreviewKey> previewKeyFromVirtualKey(int virtualKey) {
  switch (virtualKey) {
    case virtualKeyLeft: return PreviewKey::left;
    case virtualKeyRight: return PreviewKey::right;
    case virtualKeyUp: return PreviewKey::up;
    case virtualKeyDown: return PreviewKey::down;
    case virtualKeyPageUp: return PreviewKey::pageUp;
    case virtualKeyPageDown: return PreviewKey::pageDown;
    case 'F': return PreviewKey::toggleStats;
    case 'L': return PreviewKey::toggleLight;
    case 'N': return PreviewKey::toggleNormals;
    case 'T': return PreviewKey::toggleTangents;
    case 'R': return PreviewKey::reset;
    default: return std::nullopt;
  }
}

void keyDown(PreviewState& state, PreviewKey key) {
  switch (key) {
    case PreviewKey::left: state.moveLeft = true; break;
    case PreviewKey::right: state.moveRight = true; break;
    case PreviewKey::up: state.moveUp = true; break;
    case PreviewKey::down: state.moveDown = true; break;
    case PreviewKey::pageUp: state.moveNear = true; break;
    case PreviewKey::pageDown: state.moveFar = true; break;
    case PreviewKey::toggleStats: state.showStats = !state.showStats; break;
    case PreviewKey::toggleLight: state.showLight = !state.showLight; break;
    case PreviewKey::toggleNormals:
      state.showNormals = !state.showNormals;
      state.showTangents = false;
      break;
    case PreviewKey::toggleTangents:
      state.showTangents = !state.showTangents;
      state.showNormals = false;
      break;
    case PreviewKey::reset:
      resetView(state);
      resetLight(state);
      break;
  }
}

void keyUp(PreviewState& state, PreviewKey key) {
  switch (key) {
    case PreviewKey::left: state.moveLeft = false; break;
    case PreviewKey::right: state.moveRight = false; break;
    case PreviewKey::up: state.moveUp = false; break;
    case PreviewKey::down: state.moveDown = false; break;
    case PreviewKey::pageUp: state.moveNear = false; break;
    case PreviewKey::pageDown: state.moveFar = false; break;
    default: break;  // the toggles act on key down only
  }
}

void mouseMove(PreviewState& state, int x, int y, MouseButtons buttons) {
  // Differences in float: client coordinates are small, but a stale last
  // position must not overflow an int subtraction.
  float dx = static_cast<float>(static_cast<long long>(x) - state.lastMouseX);
  float dy = static_cast<float>(static_cast<long long>(y) - state.lastMouseY);
  if (buttons.left && buttons.right) {
    state.lightYaw -= dx * lightRadiansPerPixel;
    state.lightPitch -= dy * lightRadiansPerPixel;
  } else if (buttons.left) {
    state.objectYaw -= dx * objectRadiansPerPixel;
    state.objectPitch -= dy * objectRadiansPerPixel;
  } else if (buttons.right) {
    state.cameraYaw -= dx * cameraDegreesPerPixel;
    state.cameraPitch -= dy * cameraDegreesPerPixel;
  } else if (buttons.middle) {
    state.lookAt.x -= dx * lookAtUnitsPerPixel;
    state.lookAt.y += dy * lookAtUnitsPerPixel;
  }
  state.lastMouseX = x;
  state.lastMouseY = y;
}

CaptureChange buttonDown(PreviewState& state, MouseButton button) {
  (button == MouseButton::left ? state.leftButton : state.rightButton) = true;
  return CaptureChange::capture;
}

CaptureChange buttonUp(PreviewState& state, MouseButton button) {
  bool& released = button == MouseButton::left ? state.leftButton : state.rightButton;
  bool otherHeld = button == MouseButton::left ? state.rightButton : state.leftButton;
  released = false;
  return otherHeld ? CaptureChange::none : CaptureChange::release;
}

}  // namespace veltrace::render
