#include "render/texture/d3d_texture_file.h"

#include <cstring>

#include "base/files.h"
#include "base/text.h"
#include "render/texture/texture_image.h"
#include "render/texture/wic_decoder.h"

namespace veltrace {

namespace {

HRESULT failWith(HRESULT result, std::string* failure, std::string reason) {
  if (failure) *failure = std::move(reason);
  return result;
}

}  // namespace

HRESULT createTextureFromFile(IDirect3DDevice8* device, const std::string& path, IDirect3DTexture8** texture,
                              std::string* failure) {
  if (!device || !texture) return failWith(D3DERR_INVALIDCALL, failure, "no device");
  *texture = nullptr;
  std::optional<std::string> content = readWholeFile(path);
  if (!content) return failWith(D3DERR_INVALIDCALL, failure, "the file cannot be read");
  DecodeResult decoded = decodeTextureFileWithSystemCodecs(
      std::span(reinterpret_cast<const std::uint8_t*>(content->data()), content->size()));
  if (!decoded.image) return failWith(D3DERR_INVALIDCALL, failure, decoded.error);
  const TextureImage& image = *decoded.image;

  IDirect3DTexture8* created = nullptr;
  HRESULT result = device->CreateTexture(image.width(), image.height(), static_cast<UINT>(image.levels.size()), 0,
                                         static_cast<D3DFORMAT>(image.format), D3DPOOL_MANAGED, &created);
  if (FAILED(result))
    return failWith(result, failure,
                    formatText("the device refuses a %u x %u texture (error 0x%08lX)", image.width(), image.height(),
                               static_cast<unsigned long>(result)));
  for (UINT index = 0; index < image.levels.size(); ++index) {
    const TextureLevel& level = image.levels[index];
    D3DLOCKED_RECT locked{};
    result = created->LockRect(index, &locked, nullptr, 0);
    if (FAILED(result)) {
      created->Release();
      return failWith(result, failure, "a texture level cannot be written");
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
  lastError_.clear();
  if (FAILED(createTextureFromFile(device_, path, &texture, &lastError_))) return std::nullopt;
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
