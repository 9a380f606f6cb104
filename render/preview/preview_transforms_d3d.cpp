#include "render/preview/preview_transforms_d3d.h"

#include "render/preview/d3d_conversions.h"
#include "render/preview/frame_move.h"

namespace veltrace::render {

void restorePreviewTransforms(IDirect3DDevice8& device, PreviewState& state, float aspect) {
  D3DMATRIX identity = toD3DMatrix(identityMatrix());
  device.SetTransform(D3DTS_WORLD, &identity);
  state.view = cameraView(state);
  state.projection = cameraProjection(state, aspect);
  D3DMATRIX view = toD3DMatrix(state.view);
  D3DMATRIX projection = toD3DMatrix(state.projection);
  device.SetTransform(D3DTS_VIEW, &view);
  device.SetTransform(D3DTS_PROJECTION, &projection);
}

void setPreviewTransforms(IDirect3DDevice8& device, const PreviewState& state) {
  D3DMATRIX world = toD3DMatrix(state.world);
  D3DMATRIX view = toD3DMatrix(state.view);
  D3DMATRIX projection = toD3DMatrix(state.projection);
  device.SetTransform(D3DTS_PROJECTION, &projection);
  device.SetTransform(D3DTS_VIEW, &view);
  device.SetTransform(D3DTS_WORLD, &world);
}

}  // namespace veltrace::render
