#include "render/preview/preview_state.h"

namespace veltrace::render {

void resetView(PreviewState& state) {
  state.eye = initialEye;
  state.lookAt = initialLookAt;
  state.cameraYaw = state.cameraPitch = 0;
  state.objectYaw = state.objectPitch = state.objectRoll = 0;
  state.fovDegrees = initialFovDegrees;
  state.parameterPaneNeedsRefresh = true;
}

void resetLight(PreviewState& state) {
  state.lightBase = initialLightBase;
  state.lightYaw = state.lightPitch = state.lightRoll = 0;
}

void initialiseLight(PreviewState& state) {
  state.light = PreviewLight{};
  state.light.position = state.lightBase;
}

Matrix4 lightMarkerWorld(const PreviewState& state) {
  return multiply(translationMatrix(state.lightBase.x, state.lightBase.y, state.lightBase.z),
                  rotationYawPitchRoll(state.lightYaw, state.lightPitch, state.lightRoll));
}

}  // namespace veltrace::render
