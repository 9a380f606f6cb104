#pragma once
// The small white sphere drawn where the preview light is. Its buffers live in
// the managed pool, so they survive device resets: the marker is created with
// the device objects and deleted with them, with nothing to restore.

#include <d3d8.h>

#include <cstdint>
#include <string>

#include "render/device/com_ptr.h"
#include "render/preview/preview_state.h"

namespace veltrace::render {

inline constexpr float lightMarkerRadius = 0.3f;
inline constexpr int lightMarkerSlices = 10;
inline constexpr int lightMarkerStacks = 10;
inline constexpr D3DCOLOR lightMarkerColour = 0xFFFFFFFF;

class LightMarker {
 public:
  HRESULT create(IDirect3DDevice8& device, std::string& error);
  void destroy();
  bool created() const { return static_cast<bool>(vertices_); }

  // Fixed-function drawing in the texture factor colour at the light's
  // current position, with the preview's view and projection.
  HRESULT draw(IDirect3DDevice8& device, const PreviewState& state);

 private:
  ComPtr<IDirect3DVertexBuffer8> vertices_;  // positions only
  ComPtr<IDirect3DIndexBuffer8> indices_;    // 16-bit
  UINT vertexCount_ = 0;
  UINT triangleCount_ = 0;
};

}  // namespace veltrace::render
