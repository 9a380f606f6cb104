#pragma once
// The preview's matrices as the device's fixed-function transforms.

#include <d3d8.h>

#include "render/preview/preview_state.h"

namespace veltrace::render {

// After device creation and every reset: world identity on the device, and the
// camera's view (without the world rotation) and projection computed once
// for the back buffer's aspect, stored in the state and set on the device.
void restorePreviewTransforms(IDirect3DDevice8& device, PreviewState& state, float aspect);

// The current world, view and projection of the preview on the device, for
// drawing without a vertex shader.
void setPreviewTransforms(IDirect3DDevice8& device, const PreviewState& state);

}  // namespace veltrace::render
