#pragma once
// Creating Direct3D 8 textures from image files, in place of the extensions
// library's texture-from-file helper: the file is decoded by the portable
// texture decoder and copied level by level into a managed texture.

#include <d3d8.h>

#include <string>

#include "render/texture/texture_store.h"

namespace veltrace {

// D3D_OK and a texture with every decoded level, or a failure code
// (D3DERR_INVALIDCALL for files that cannot be read or decoded) and, when
// failure is given, why in words. Files the portable decoder refuses go to
// the Windows Imaging Component.
HRESULT createTextureFromFile(IDirect3DDevice8* device, const std::string& path, IDirect3DTexture8** texture,
                              std::string* failure = nullptr);

// The size of all levels of a texture, by their surface descriptions.
std::uint32_t textureBytes(IDirect3DTexture8* texture);

// Loads store textures on a Direct3D 8 device.
class D3DTextureLoader : public TextureLoader {
 public:
  explicit D3DTextureLoader(IDirect3DDevice8* device) : device_(device) {}
  void setDevice(IDirect3DDevice8* device) { device_ = device; }

  std::optional<LoadedTexture> load(const std::string& path) override;
  void release(DeviceTexture* texture) override;
  std::string lastError() const override { return lastError_; }

  static IDirect3DTexture8* toDirect3D(DeviceTexture* texture) { return reinterpret_cast<IDirect3DTexture8*>(texture); }

 private:
  IDirect3DDevice8* device_;
  std::string lastError_;
};

}  // namespace veltrace
