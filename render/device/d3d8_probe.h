#pragma once
// The device list's questions answered by the Direct3D 8 object, with the
// framework's confirm-device hook as the program's say.

#include <windows.h>
#include <d3d8.h>

#include <map>
#include <utility>

#include "render/device/device_list.h"

namespace veltrace::render {

class D3DFramework;

class Direct3DProbe : public DeviceProbe {
 public:
  Direct3DProbe(IDirect3D8& direct3d, D3DFramework& framework) : direct3d_(direct3d), framework_(framework) {}

  int adapterCount() override;
  AdapterFacts adapter(int adapter) override;
  std::optional<DeviceFacts> device(int adapter, DeviceType type) override;
  bool supportsFormat(int adapter, DeviceType type, DisplayFormat format) override;
  bool supportsDepthFormat(int adapter, DeviceType type, DisplayFormat displayFormat,
                           DisplayFormat depthFormat) override;
  bool confirmDevice(int adapter, DeviceType type, const DeviceFacts& facts, VertexProcessing kind,
                     DisplayFormat format) override;

 private:
  IDirect3D8& direct3d_;
  D3DFramework& framework_;
  std::map<std::pair<int, DeviceType>, D3DCAPS8> caps_;
};

// The facts the selection rules read from a device's capabilities.
DeviceFacts deviceFactsFrom(const D3DCAPS8& caps);

}  // namespace veltrace::render
