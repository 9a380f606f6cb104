#include "render/frame/subset_buffers.h"

#include <cstring>

#include "base/text.h"
#include "scene/tangent_frames.h"

namespace veltrace::render {

namespace {

// Copies the bytes into a managed buffer of exactly that size.
template <typename T>
HRESULT createVertexData(IDirect3DDevice8& device, const std::vector<T>& data, ComPtr<IDirect3DVertexBuffer8>& out) {
  UINT bytes = static_cast<UINT>(data.size() * sizeof(T));
  HRESULT result = device.CreateVertexBuffer(bytes, 0, 0, D3DPOOL_MANAGED, out.put());
  if (FAILED(result)) return result;
  BYTE* target = nullptr;
  result = out->Lock(0, 0, &target, 0);
  if (FAILED(result)) {
    out.reset();
    return result;
  }
  std::memcpy(target, data.data(), bytes);
  out->Unlock();
  return D3D_OK;
}

template <typename T>
HRESULT refillVertexData(IDirect3DVertexBuffer8& buffer, const std::vector<T>& data) {
  BYTE* target = nullptr;
  HRESULT result = buffer.Lock(0, 0, &target, 0);
  if (FAILED(result)) return result;
  std::memcpy(target, data.data(), data.size() * sizeof(T));
  buffer.Unlock();
  return D3D_OK;
}

// An index past the last vertex would have the device read outside the
// vertex buffer.
bool indicesInRange(const MeshSubset& subset) {
  for (std::uint32_t index : subset.indices)
    if (index >= subset.vertices.size()) return false;
  return true;
}

bool hasGeometry(const MeshSubset& subset) {
  return !subset.vertices.empty() && subset.indices.size() >= 3;
}

}  // namespace

void SubsetBuffers::release() {
  vertices.reset();
  indices.reset();
  normalLines.reset();
  tangentLines.reset();
  binormalLines.reset();
  frameNormalLines.reset();
  framesBuilt = false;
}

bool deviceTakesIndices(const D3DCAPS8& caps, const MeshSubset& subset, std::string& problem) {
  if (subset.vertices.empty()) return true;
  auto highest = static_cast<DWORD>(subset.vertices.size() - 1);
  if (caps.MaxVertexIndex > 0xFFFF && caps.MaxVertexIndex >= highest) return true;
  problem = formatText("The device draws at most %lu vertices per subset with 32-bit indices; this subset has %lu",
                       static_cast<unsigned long>(caps.MaxVertexIndex > 0xFFFF ? caps.MaxVertexIndex + 1ul : 0ul),
                       static_cast<unsigned long>(subset.vertices.size()));
  return false;
}

HRESULT createSubsetBuffers(IDirect3DDevice8& device, const MeshSubset& subset, SubsetBuffers& buffers) {
  buffers.release();
  if (!hasGeometry(subset)) return D3D_OK;
  if (!indicesInRange(subset)) return D3DERR_INVALIDCALL;
  HRESULT result = createVertexData(device, subset.vertices, buffers.vertices);
  if (FAILED(result)) return result;

  UINT indexBytes = static_cast<UINT>(subset.indices.size() * sizeof(std::uint32_t));
  result = device.CreateIndexBuffer(indexBytes, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, buffers.indices.put());
  if (FAILED(result)) {
    buffers.release();
    return result;
  }
  BYTE* target = nullptr;
  result = buffers.indices->Lock(0, 0, &target, 0);
  if (FAILED(result)) {
    buffers.release();
    return result;
  }
  std::memcpy(target, subset.indices.data(), indexBytes);
  buffers.indices->Unlock();

  // The normal lines are a display aid: a subset draws without them.
  if (!subset.normalLines.empty()) createVertexData(device, subset.normalLines, buffers.normalLines);
  return D3D_OK;
}

HRESULT buildTangentFrameBuffers(IDirect3DDevice8& device, MeshSubset& subset, float vectorLength,
                                 SubsetBuffers& buffers) {
  if (buffers.framesBuilt) return D3D_OK;
  if (!buffers.vertices || !hasGeometry(subset)) return D3DERR_INVALIDCALL;
  buildTangentFrames(subset, vectorLength);
  HRESULT result = createVertexData(device, subset.tangentLines, buffers.tangentLines);
  if (SUCCEEDED(result)) result = createVertexData(device, subset.binormalLines, buffers.binormalLines);
  if (SUCCEEDED(result)) result = createVertexData(device, subset.frameNormalLines, buffers.frameNormalLines);
  if (SUCCEEDED(result)) result = refillVertexData(*buffers.vertices.get(), subset.vertices);
  if (FAILED(result)) {
    buffers.tangentLines.reset();
    buffers.binormalLines.reset();
    buffers.frameNormalLines.reset();
    return result;
  }
  buffers.framesBuilt = true;
  return D3D_OK;
}

}  // namespace veltrace::render
