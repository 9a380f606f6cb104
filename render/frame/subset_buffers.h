#pragma once
// A subset's device buffers, made from the scene core's arrays: the 56-byte
// vertices, the 32-bit indices and the normal lines with the subset, the
// three tangent-frame line buffers on its first preparation with an effect.
// Everything lives in the managed pool, so nothing needs restoring after a
// device reset; the buffers go with the subset or the device.

#include <d3d8.h>

#include <string>

#include "render/device/com_ptr.h"
#include "scene/scene_model.h"

namespace veltrace::render {

struct SubsetBuffers {
  ComPtr<IDirect3DVertexBuffer8> vertices;   // SceneVertex, stride 56
  ComPtr<IDirect3DIndexBuffer8> indices;     // 32-bit
  ComPtr<IDirect3DVertexBuffer8> normalLines;  // 12-byte positions, 2 per vertex
  ComPtr<IDirect3DVertexBuffer8> tangentLines;
  ComPtr<IDirect3DVertexBuffer8> binormalLines;
  ComPtr<IDirect3DVertexBuffer8> frameNormalLines;
  bool framesBuilt = false;  // the three tangent-frame buffers exist and are filled

  void release();
};

// Whether the device can draw this many vertices through 32-bit indices; the
// message says what is missing when it cannot.
bool deviceTakesIndices(const D3DCAPS8& caps, const MeshSubset& subset, std::string& problem);

// Vertex, index and normal-line buffers filled from the subset. A subset
// without vertices or triangles gets none and succeeds: there is nothing
// to draw. One whose indices go past its vertices gets none and fails with
// D3DERR_INVALIDCALL.
HRESULT createSubsetBuffers(IDirect3DDevice8& device, const MeshSubset& subset, SubsetBuffers& buffers);

// The tangent pass on the subset's data (once), then the three line buffers
// filled from it and the vertex buffer refilled with the new tangents and
// binormals. framesBuilt is set only when all of it succeeded.
HRESULT buildTangentFrameBuffers(IDirect3DDevice8& device, MeshSubset& subset, float vectorLength,
                                 SubsetBuffers& buffers);

}  // namespace veltrace::render
