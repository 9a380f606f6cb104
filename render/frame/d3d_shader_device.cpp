#include "render/frame/d3d_shader_device.h"

#include <dxerr8.h>

namespace veltrace::render {

std::int32_t D3DShaderDevice::createVertexShader(const std::uint32_t* declaration,
                                                 const std::vector<std::uint32_t>& code, std::uint32_t usage,
                                                 std::uint32_t& handle) {
  if (!device_) return D3DERR_INVALIDCALL;
  DWORD created = 0;
  HRESULT result = device_->CreateVertexShader(reinterpret_cast<const DWORD*>(declaration),
                                               reinterpret_cast<const DWORD*>(code.data()), &created, usage);
  handle = SUCCEEDED(result) ? created : 0;
  return result;
}

std::int32_t D3DShaderDevice::createPixelShader(const std::vector<std::uint32_t>& code, std::uint32_t& handle) {
  if (!device_) return D3DERR_INVALIDCALL;
  DWORD created = 0;
  HRESULT result = device_->CreatePixelShader(reinterpret_cast<const DWORD*>(code.data()), &created);
  handle = SUCCEEDED(result) ? created : 0;
  return result;
}

void D3DShaderDevice::deleteVertexShader(std::uint32_t handle) {
  if (device_) device_->DeleteVertexShader(handle);
}

void D3DShaderDevice::deletePixelShader(std::uint32_t handle) {
  if (device_) device_->DeletePixelShader(handle);
}

std::string D3DShaderDevice::errorName(std::int32_t code) const {
  const char* text = DXGetErrorString8A(code);
  return text ? text : "";
}

std::string D3DShaderDevice::errorDescription(std::int32_t code) const {
  const char* text = DXGetErrorDescription8A(code);
  return text ? text : "";
}

std::int32_t D3DShaderDevice::setVertexShader(std::uint32_t handle) {
  return device_ ? device_->SetVertexShader(handle) : D3DERR_INVALIDCALL;
}

std::int32_t D3DShaderDevice::setPixelShader(std::uint32_t handle) {
  return device_ ? device_->SetPixelShader(handle) : D3DERR_INVALIDCALL;
}

}  // namespace veltrace::render
