#pragma once
// Building the list of adapters, devices and modes the framework can use, and
// choosing the device to start with. The questions asked of Direct3D go
// through DeviceProbe, so the selection rules run the same on the real
// Direct3D object and on a test's description of a machine.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "render/device/device_rules.h"
#include "render/device/framework_errors.h"

namespace veltrace::render {

struct DeviceFacts {
  bool hardwareTransformAndLight = false;  // D3DDEVCAPS_HWTRANSFORMANDLIGHT
  bool pureDevice = false;                 // D3DDEVCAPS_PUREDEVICE
  bool canRenderWindowed = false;          // D3DCAPS2_CANRENDERWINDOWED
  bool nullReference = false;              // D3DPMISCCAPS_NULLREFERENCE
  std::uint32_t vertexShaderVersion = 0;
  std::uint32_t pixelShaderVersion = 0;
};

struct AdapterFacts {
  std::string description;
  DisplayMode desktopMode;
  std::vector<DisplayMode> modes;  // as the adapter lists them
};

class DeviceProbe {
 public:
  virtual ~DeviceProbe() = default;
  virtual int adapterCount() = 0;
  virtual AdapterFacts adapter(int adapter) = 0;
  // Nothing when the device type does not exist on the adapter.
  virtual std::optional<DeviceFacts> device(int adapter, DeviceType type) = 0;
  // The format as display and back-buffer format, full screen.
  virtual bool supportsFormat(int adapter, DeviceType type, DisplayFormat format) = 0;
  // The depth format as a depth-stencil surface matching that display format.
  virtual bool supportsDepthFormat(int adapter, DeviceType type, DisplayFormat displayFormat,
                                   DisplayFormat depthFormat) = 0;
  // The confirm-device hook of the program.
  virtual bool confirmDevice(int adapter, DeviceType type, const DeviceFacts& facts, VertexProcessing kind,
                             DisplayFormat format) = 0;
};

// What a device does with one display format: the vertex processing confirmed
// and the depth format found.
struct FormatChoice {
  DisplayFormat format = DisplayFormat::unknown;
  VertexProcessing processing = VertexProcessing::software;
  DisplayFormat depthFormat = DisplayFormat::unknown;
};

struct DeviceMode {
  DisplayMode mode;
  VertexProcessing processing = VertexProcessing::software;
  DisplayFormat depthFormat = DisplayFormat::unknown;
};

struct DeviceRecord {
  DeviceType type = DeviceType::hal;
  DeviceFacts facts;
  std::vector<DeviceMode> modes;
  int currentMode = 0;
  bool canRunWindowed = false;
  bool windowed = false;
  // Used when running windowed: the desktop format's choice.
  FormatChoice desktopChoice;
  std::uint32_t windowedMultisample = 0;    // D3DMULTISAMPLE_NONE
  std::uint32_t fullScreenMultisample = 0;  // D3DMULTISAMPLE_NONE
};

struct AdapterRecord {
  int ordinal = 0;
  AdapterFacts facts;
  std::vector<DeviceRecord> devices;
  int currentDevice = 0;
};

inline constexpr int maximumAdapters = 10;
inline constexpr int maximumDevicesPerAdapter = 5;
inline constexpr int maximumModesPerDevice = 150;

struct DepthRequirements {
  bool useDepthBuffer = false;
  int minimumDepthBits = 16;
  int minimumStencilBits = 0;
};

// The device the framework starts with.
struct DeviceSelection {
  int adapter = 0;  // index into the adapter list
  int device = 0;   // index into that adapter's devices
  // When the reference rasterizer was chosen: why the hardware was not (one
  // of the framework errors), to be shown as a switched-to-reference warning.
  std::optional<std::uint32_t> referenceReason;
};

struct DeviceList {
  std::vector<AdapterRecord> adapters;
  // Why no hardware device was taken, kept for the selection.
  bool hardwareFound = false;
  bool hardwareConfirmed = false;
  bool hardwareWindowed = false;
  bool hardwareDesktopFormat = false;
};

DeviceList buildDeviceList(DeviceProbe& probe, const DepthRequirements& depth);

// The first device of the first adapter that can run windowed, or the
// framework error saying why there is none (no devices at all: no compatible
// devices; none windowed: no windowable devices).
std::optional<DeviceSelection> selectInitialDevice(DeviceList& list, std::uint32_t& error);

// The reference rasterizer of the same adapter, made current and windowed
// when it can be; nothing when the adapter has none.
std::optional<int> referenceDeviceOf(AdapterRecord& adapter);

}  // namespace veltrace::render
