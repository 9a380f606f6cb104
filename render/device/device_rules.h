#pragma once
// The portable rules of the device framework: which display modes count, the
// depth/stencil formats to try, the vertex processing kinds and their order,
// and the texts built from a device (description, frame statistics). The
// Direct3D 8 values used here are the documented numbers of its enumerations;
// the Windows side checks them against the platform headers.

#include <cstdint>
#include <string>
#include <vector>

#include "render/device/surface_format.h"

namespace veltrace::render {

// Display, back-buffer and depth/stencil formats.
using DisplayFormat = SurfaceFormat;

bool isSixteenBitFormat(DisplayFormat format);

// D3DDEVTYPE values.
enum class DeviceType : std::uint32_t { hal = 1, ref = 2, sw = 3 };

// "HAL", "REF" or "SW".
const char* deviceTypeName(DeviceType type);

// D3DCREATE_* behaviour flags.
inline constexpr std::uint32_t createPureDevice = 0x10;
inline constexpr std::uint32_t createSoftwareVertexProcessing = 0x20;
inline constexpr std::uint32_t createHardwareVertexProcessing = 0x40;
inline constexpr std::uint32_t createMixedVertexProcessing = 0x80;

enum class VertexProcessing { pureHardware, hardware, mixed, software };

std::uint32_t behaviourFlags(VertexProcessing kind);

// The suffix of the device description: " (pure hw vp)" and so on, with
// "simulated" for a device that is not a hardware one.
const char* vertexProcessingSuffix(VertexProcessing kind, DeviceType type);

// The kinds to offer the confirm-device hook, best first: with hardware
// transform and lighting, pure hardware (pure devices only), hardware, mixed;
// software always comes last.
std::vector<VertexProcessing> vertexProcessingCandidates(bool hardwareTransformAndLight, bool pureDevice);

// Depth/stencil formats worth checking for the minimum depth and stencil bits,
// in the order to try them.
std::vector<DisplayFormat> depthStencilCandidates(int minimumDepthBits, int minimumStencilBits);

// " (D16)", " (D24S8)", ...; "" for a format that is not a depth format.
const char* depthFormatSuffix(DisplayFormat format);

struct DisplayMode {
  int width = 0;
  int height = 0;
  DisplayFormat format = DisplayFormat::unknown;
};

inline constexpr int smallestModeWidth = 640;
inline constexpr int smallestModeHeight = 400;

// The adapter's modes worth offering: at least 640 × 400, each width, height
// and format once, sorted by width, then height, then format.
std::vector<DisplayMode> usableDisplayModes(const std::vector<DisplayMode>& adapterModes);

// The distinct formats of the modes, in order of first appearance.
std::vector<DisplayFormat> distinctFormats(const std::vector<DisplayMode>& modes);

// The mode to start full screen in: the first 640 × 480 mode with a 16-bit
// format, else the first 640 × 480 mode, else the first mode; -1 when empty.
int initialFullScreenMode(const std::vector<DisplayMode>& modes);

// "HAL (pure hw vp): RADEON", "REF (simulated hw vp)".
std::string deviceDescription(DeviceType type, VertexProcessing kind, const std::string& adapterDescription);

// "60.00 fps (800x600x32) (D16)": the rate, the back buffer's size, 32 for an
// X8R8G8B8 display else 16, and the depth format when there is a depth buffer.
std::string frameStatistics(double framesPerSecond, int width, int height, DisplayFormat displayFormat,
                            bool depthBuffer, DisplayFormat depthFormat);

// Shader versions as devices report them: D3DVS_VERSION / D3DPS_VERSION tokens.
inline constexpr std::uint32_t shaderVersionMinorShift = 0;
inline constexpr std::uint32_t shaderVersionMinorMask = 0xFFu << shaderVersionMinorShift;
inline constexpr std::uint32_t shaderVersionMajorShift = 8;
inline constexpr std::uint32_t shaderVersionMajorMask = 0xFFu << shaderVersionMajorShift;

inline constexpr std::uint32_t shaderVersionMajor(std::uint32_t version) {
  return (version & shaderVersionMajorMask) >> shaderVersionMajorShift;
}
inline constexpr std::uint32_t shaderVersionMinor(std::uint32_t version) {
  return (version & shaderVersionMinorMask) >> shaderVersionMinorShift;
}

// What the view learns about shader support when it confirms a device.
struct ShaderSupport {
  bool hardwareVertexShaders = false;
  float pixelShaderVersion = 0;  // 0, 1.0, 1.1, 1.2, 1.3 or 1.4
};

// The view's confirm-device rule. Hardware and mixed processing decide the
// vertex shader flag from the device's vertex shader version; software
// processing leaves it alone. The pixel shader version becomes 1.0 .. 1.4; a
// device beyond 1.4 runs every ps.1.x shader, so it counts as 1.4.
void confirmShaderSupport(VertexProcessing kind, std::uint32_t vertexShaderVersion,
                          std::uint32_t pixelShaderVersion, ShaderSupport& support);

}  // namespace veltrace::render
