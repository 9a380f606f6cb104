#include "render/preview/light_marker.h"

#include <cstring>

#include "render/math/sphere_mesh.h"
#include "render/preview/d3d_conversions.h"

namespace veltrace::render {

HRESULT LightMarker::create(IDirect3DDevice8& device, std::string& error) {
  destroy();
  auto sphere = createSphereMesh(lightMarkerRadius, lightMarkerSlices, lightMarkerStacks, error);
  if (!sphere) return E_INVALIDARG;

  UINT vertexBytes = static_cast<UINT>(sphere->vertices.size() * sizeof(Vector3));
  UINT indexBytes = static_cast<UINT>(sphere->indices.size() * sizeof(std::uint16_t));
  HRESULT result = device.CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, D3DPOOL_MANAGED, vertices_.put());
  if (SUCCEEDED(result))
    result = device.CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, indices_.put());

  BYTE* data = nullptr;
  if (SUCCEEDED(result)) result = vertices_->Lock(0, 0, &data, 0);
  if (SUCCEEDED(result)) {
    auto positions = reinterpret_cast<Vector3*>(data);
    for (const auto& vertex : sphere->vertices) *positions++ = vertex.position;
    vertices_->Unlock();
    result = indices_->Lock(0, 0, &data, 0);
  }
  if (SUCCEEDED(result)) {
    std::memcpy(data, sphere->indices.data(), indexBytes);
    indices_->Unlock();
  }
  if (FAILED(result)) {
    error = "the light marker's buffers could not be created";
    destroy();
    return result;
  }
  vertexCount_ = static_cast<UINT>(sphere->vertices.size());
  triangleCount_ = static_cast<UINT>(sphere->triangleCount());
  return S_OK;
}

void LightMarker::destroy() {
  vertices_.reset();
  indices_.reset();
  vertexCount_ = triangleCount_ = 0;
}

HRESULT LightMarker::draw(IDirect3DDevice8& device, const PreviewState& state) {
  if (!created()) return E_FAIL;
  D3DMATRIX projection = toD3DMatrix(state.projection);
  D3DMATRIX view = toD3DMatrix(state.view);
  D3DMATRIX world = toD3DMatrix(lightMarkerWorld(state));
  device.SetTransform(D3DTS_PROJECTION, &projection);
  device.SetTransform(D3DTS_VIEW, &view);
  device.SetTransform(D3DTS_WORLD, &world);
  device.SetTexture(0, nullptr);
  device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  device.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
  device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  device.SetVertexShader(D3DFVF_XYZ);
  device.SetPixelShader(0);
  device.SetRenderState(D3DRS_TEXTUREFACTOR, lightMarkerColour);
  device.SetStreamSource(0, vertices_.get(), sizeof(Vector3));
  device.SetIndices(indices_.get(), 0);
  return device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, vertexCount_, 0, triangleCount_);
}

}  // namespace veltrace::render
