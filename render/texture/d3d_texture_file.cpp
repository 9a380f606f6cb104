#include "render/texture/d3d_texture_file.h"

#include <cstring>

#include "base/files.h"
#include "render/texture/texture_image.h"

namespace veltrace {

HRESULT createTextureFromFile(IDirect3DDevice8* device, const std::string& path, IDirect3DTexture8** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  std::optional<std::string> content = readWholeFile(path);
  if (!content) return D3DERR_INVALIDCALL;
  DecodeResult decoded = decodeTextureFile(
      std::span(reinterpret_cast<const std::uint8_t*>(content->data()), content->size()));
  if (!decoded.image) return D3DERR_INVALIDCALL;
  const TextureImage& image = *decoded.image;

  IDirect3DTexture8* created = nullptr;
  HRESULT result = device->CreateTexture(image.width(), image.height(), static_cast<UINT>(image.levels.size()), 0,
                                         static_cast<D3DFORMAT>(image.format), D3DPOOL_MANAGED, &created);
  if (FAILED(result)) return result;
  for (UINT index = 0; index < image.levels.size(); ++index) {
    const TextureLevel& level = image.levels[index];
    D3DLOCKED_RECT locked{};
    result = created->LockRect(index, &locked, nullptr, 0);
    if (FAILED(result)) {
      created->Release();
      return result;
    }
    for (std::uint32_t row = 0; row < level.rowCount; ++row)
      std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + size_t(row) * locked.Pitch,
                  level.bytes.data() + size_t(row) * level.rowBytes, level.rowBytes);
    created->UnlockRect(index);
  }
  *texture = created;
  return D3D_OK;
}

std::uint32_t textureBytes(IDirect3DTexture8* texture) {
  std::uint32_t total = 0;
  for (DWORD level = 0; level < texture->GetLevelCount(); ++level) {
    D3DSURFACE_DESC description{};
    if (SUCCEEDED(texture->GetLevelDesc(level, &description))) total += description.Size;
  }
  return total;
}

std::optional<LoadedTexture> D3DTextureLoader::load(const std::string& path) {
  IDirect3DTexture8* texture = nullptr;
  if (FAILED(createTextureFromFile(device_, path, &texture))) return std::nullopt;
  LoadedTexture loaded{reinterpret_cast<DeviceTexture*>(texture), textureBytes(texture)};
  D3DSURFACE_DESC top{};
  if (SUCCEEDED(texture->GetLevelDesc(0, &top))) {
    loaded.width = top.Width;
    loaded.height = top.Height;
    loaded.topLevelBytes = top.Size;
  }
  return loaded;
}

void D3DTextureLoader::release(DeviceTexture* texture) {
  if (texture) toDirect3D(texture)->Release();
}

}  // namespace veltrace
