#pragma once
// The shader cache's device calls on a Direct3D 8 device, with the DirectX
// error-text library naming result codes, and the selection's two set calls.

#include <d3d8.h>

#include "render/frame/shader_cache.h"
#include "render/frame/shader_selection.h"

namespace veltrace::render {

class D3DShaderDevice : public ShaderDevice, public ShaderBinder {
 public:
  void setDevice(IDirect3DDevice8* device) { device_ = device; }

  std::int32_t createVertexShader(const std::uint32_t* declaration, const std::vector<std::uint32_t>& code,
                                  std::uint32_t usage, std::uint32_t& handle) override;
  std::int32_t createPixelShader(const std::vector<std::uint32_t>& code, std::uint32_t& handle) override;
  void deleteVertexShader(std::uint32_t handle) override;
  void deletePixelShader(std::uint32_t handle) override;
  std::string errorName(std::int32_t code) const override;
  std::string errorDescription(std::int32_t code) const override;

  std::int32_t setVertexShader(std::uint32_t handle) override;
  std::int32_t setPixelShader(std::uint32_t handle) override;

 private:
  IDirect3DDevice8* device_ = nullptr;  // not owned
};

}  // namespace veltrace::render
