#pragma once
// A hidden window with a windowed Direct3D 8 device for the Windows-tier
// tests. Tests skip (not fail) when no device can be created.

#include <windows.h>
#include <d3d8.h>

#include <string>

namespace veltrace::test {

class D3DTestDevice {
 public:
  explicit D3DTestDevice(UINT width = 64, UINT height = 64) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VeltraceTestDevice";
    RegisterClassA(&windowClass);
    window_ = CreateWindowA("VeltraceTestDevice", "test", WS_OVERLAPPEDWINDOW, 0, 0, int(width), int(height), nullptr,
                            nullptr, windowClass.hInstance, nullptr);
    direct3d_ = Direct3DCreate8(D3D_SDK_VERSION);
    if (!window_ || !direct3d_) {
      problem_ = "no Direct3D 8 on this machine";
      return;
    }
    D3DDISPLAYMODE mode{};
    direct3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.BackBufferFormat = mode.Format;
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    HRESULT result = direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                                             D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device_);
    if (FAILED(result)) problem_ = "no Direct3D 8 device could be created";
  }
  ~D3DTestDevice() {
    if (device_) device_->Release();
    if (direct3d_) direct3d_->Release();
    if (window_) DestroyWindow(window_);
  }
  D3DTestDevice(const D3DTestDevice&) = delete;
  D3DTestDevice& operator=(const D3DTestDevice&) = delete;

  IDirect3DDevice8* device() const { return device_; }
  const std::string& problem() const { return problem_; }

  // Releases the device and returns its remaining reference count, which is
  // 0 when every object made on it was released.
  ULONG releaseDevice() {
    ULONG left = device_ ? device_->Release() : 0;
    device_ = nullptr;
    return left;
  }

 private:
  HWND window_ = nullptr;
  IDirect3D8* direct3d_ = nullptr;
  IDirect3DDevice8* device_ = nullptr;
  std::string problem_;
};

}  // namespace veltrace::test
