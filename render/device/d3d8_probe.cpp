#include "render/device/d3d8_probe.h"

#include "render/device/d3d_framework.h"

namespace veltrace::render {

// The portable copies of the Direct3D numbers must be the platform's.
static_assert(static_cast<D3DFORMAT>(DisplayFormat::x8r8g8b8) == D3DFMT_X8R8G8B8);
static_assert(static_cast<D3DFORMAT>(DisplayFormat::r5g6b5) == D3DFMT_R5G6B5);
static_assert(static_cast<D3DFORMAT>(DisplayFormat::x1r5g5b5) == D3DFMT_X1R5G5B5);
static_assert(static_cast<D3DFORMAT>(DisplayFormat::a1r5g5b5) == D3DFMT_A1R5G5B5);
static_assert(static_cast<D3DFORMAT>(DisplayFormat::d16) == D3DFMT_D16);
static_assert(static_cast<D3DFORMAT>(DisplayFormat::d15s1) == D3DFMT_D15S1);
static_assert(static_cast<D3DFORMAT>(DisplayFormat::d24x8) == D3DFMT_D24X8);
static_assert(static_cast<D3DFORMAT>(DisplayFormat::d24s8) == D3DFMT_D24S8);
static_assert(static_cast<D3DFORMAT>(DisplayFormat::d24x4s4) == D3DFMT_D24X4S4);
static_assert(static_cast<D3DFORMAT>(DisplayFormat::d32) == D3DFMT_D32);
static_assert(static_cast<D3DDEVTYPE>(DeviceType::hal) == D3DDEVTYPE_HAL);
static_assert(static_cast<D3DDEVTYPE>(DeviceType::ref) == D3DDEVTYPE_REF);
static_assert(createPureDevice == D3DCREATE_PUREDEVICE);
static_assert(createHardwareVertexProcessing == D3DCREATE_HARDWARE_VERTEXPROCESSING);
static_assert(createMixedVertexProcessing == D3DCREATE_MIXED_VERTEXPROCESSING);
static_assert(createSoftwareVertexProcessing == D3DCREATE_SOFTWARE_VERTEXPROCESSING);
static_assert(resultOutOfVideoMemory == static_cast<std::uint32_t>(D3DERR_OUTOFVIDEOMEMORY));
static_assert(resultOutOfMemory == static_cast<std::uint32_t>(E_OUTOFMEMORY));

namespace {

D3DFORMAT platformFormat(DisplayFormat format) { return static_cast<D3DFORMAT>(format); }
D3DDEVTYPE platformType(DeviceType type) { return static_cast<D3DDEVTYPE>(type); }

DisplayMode modeFrom(const D3DDISPLAYMODE& mode) {
  return {static_cast<int>(mode.Width), static_cast<int>(mode.Height), static_cast<DisplayFormat>(mode.Format)};
}

}  // namespace

DeviceFacts deviceFactsFrom(const D3DCAPS8& caps) {
  DeviceFacts facts;
  facts.hardwareTransformAndLight = (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
  facts.pureDevice = (caps.DevCaps & D3DDEVCAPS_PUREDEVICE) != 0;
  facts.canRenderWindowed = (caps.Caps2 & D3DCAPS2_CANRENDERWINDOWED) != 0;
  facts.nullReference = (caps.PrimitiveMiscCaps & D3DPMISCCAPS_NULLREFERENCE) != 0;
  facts.vertexShaderVersion = caps.VertexShaderVersion;
  facts.pixelShaderVersion = caps.PixelShaderVersion;
  return facts;
}

int Direct3DProbe::adapterCount() { return static_cast<int>(direct3d_.GetAdapterCount()); }

AdapterFacts Direct3DProbe::adapter(int adapter) {
  AdapterFacts facts;
  D3DADAPTER_IDENTIFIER8 identifier{};
  if (SUCCEEDED(direct3d_.GetAdapterIdentifier(adapter, D3DENUM_NO_WHQL_LEVEL, &identifier))) {
    identifier.Description[MAX_DEVICE_IDENTIFIER_STRING - 1] = '\0';
    facts.description = identifier.Description;
  }
  D3DDISPLAYMODE desktop{};
  if (SUCCEEDED(direct3d_.GetAdapterDisplayMode(adapter, &desktop))) facts.desktopMode = modeFrom(desktop);

  UINT modeCount = direct3d_.GetAdapterModeCount(adapter);
  for (UINT m = 0; m < modeCount; ++m) {
    D3DDISPLAYMODE mode{};
    if (SUCCEEDED(direct3d_.EnumAdapterModes(adapter, m, &mode))) facts.modes.push_back(modeFrom(mode));
  }
  return facts;
}

std::optional<DeviceFacts> Direct3DProbe::device(int adapter, DeviceType type) {
  D3DCAPS8 caps{};
  if (FAILED(direct3d_.GetDeviceCaps(adapter, platformType(type), &caps))) return std::nullopt;
  caps_[{adapter, type}] = caps;
  return deviceFactsFrom(caps);
}

bool Direct3DProbe::supportsFormat(int adapter, DeviceType type, DisplayFormat format) {
  return SUCCEEDED(direct3d_.CheckDeviceType(adapter, platformType(type), platformFormat(format),
                                             platformFormat(format), FALSE));
}

bool Direct3DProbe::supportsDepthFormat(int adapter, DeviceType type, DisplayFormat displayFormat,
                                        DisplayFormat depthFormat) {
  if (FAILED(direct3d_.CheckDeviceFormat(adapter, platformType(type), platformFormat(displayFormat),
                                         D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, platformFormat(depthFormat))))
    return false;
  return SUCCEEDED(direct3d_.CheckDepthStencilMatch(adapter, platformType(type), platformFormat(displayFormat),
                                                    platformFormat(displayFormat), platformFormat(depthFormat)));
}

bool Direct3DProbe::confirmDevice(int adapter, DeviceType type, const DeviceFacts&, VertexProcessing kind,
                                  DisplayFormat format) {
  auto caps = caps_.find({adapter, type});
  if (caps == caps_.end()) return false;
  return SUCCEEDED(framework_.confirmDevice(caps->second, behaviourFlags(kind), platformFormat(format)));
}

}  // namespace veltrace::render
