#include "render/device/device_rules.h"

#include <algorithm>
#include <tuple>

#include "base/text.h"

namespace veltrace::render {

bool isSixteenBitFormat(DisplayFormat format) {
  return format == DisplayFormat::r5g6b5 || format == DisplayFormat::x1r5g5b5 ||
         format == DisplayFormat::a1r5g5b5;
}

const char* deviceTypeName(DeviceType type) {
  switch (type) {
    case DeviceType::hal: return "HAL";
    case DeviceType::ref: return "REF";
    case DeviceType::sw: return "SW";
  }
  return "";
}

std::uint32_t behaviourFlags(VertexProcessing kind) {
  switch (kind) {
    case VertexProcessing::pureHardware: return createPureDevice | createHardwareVertexProcessing;
    case VertexProcessing::hardware: return createHardwareVertexProcessing;
    case VertexProcessing::mixed: return createMixedVertexProcessing;
    case VertexProcessing::software: return createSoftwareVertexProcessing;
  }
  return createSoftwareVertexProcessing;
}

const char* vertexProcessingSuffix(VertexProcessing kind, DeviceType type) {
  bool hardware = type == DeviceType::hal;
  switch (kind) {
    case VertexProcessing::pureHardware: return hardware ? " (pure hw vp)" : " (simulated pure hw vp)";
    case VertexProcessing::hardware: return hardware ? " (hw vp)" : " (simulated hw vp)";
    case VertexProcessing::mixed: return hardware ? " (mixed vp)" : " (simulated mixed vp)";
    case VertexProcessing::software: return " (sw vp)";
  }
  return "";
}

std::vector<VertexProcessing> vertexProcessingCandidates(bool hardwareTransformAndLight, bool pureDevice) {
  std::vector<VertexProcessing> kinds;
  if (hardwareTransformAndLight) {
    if (pureDevice) kinds.push_back(VertexProcessing::pureHardware);
    kinds.push_back(VertexProcessing::hardware);
    kinds.push_back(VertexProcessing::mixed);
  }
  kinds.push_back(VertexProcessing::software);
  return kinds;
}

std::vector<DisplayFormat> depthStencilCandidates(int minimumDepthBits, int minimumStencilBits) {
  struct Candidate {
    DisplayFormat format;
    int depthBits;
    int stencilBits;
    bool stencilMustBeZero;
  };
  static constexpr Candidate candidates[] = {
      {DisplayFormat::d16, 16, 0, true},     {DisplayFormat::d15s1, 15, 1, false},
      {DisplayFormat::d24x8, 24, 0, true},   {DisplayFormat::d24s8, 24, 8, false},
      {DisplayFormat::d24x4s4, 24, 4, false}, {DisplayFormat::d32, 32, 0, true},
  };
  std::vector<DisplayFormat> formats;
  for (const auto& candidate : candidates) {
    bool stencilFits = candidate.stencilMustBeZero ? minimumStencilBits == 0
                                                   : minimumStencilBits <= candidate.stencilBits;
    if (minimumDepthBits <= candidate.depthBits && stencilFits) formats.push_back(candidate.format);
  }
  return formats;
}

const char* depthFormatSuffix(DisplayFormat format) {
  switch (format) {
    case DisplayFormat::d16: return " (D16)";
    case DisplayFormat::d15s1: return " (D15S1)";
    case DisplayFormat::d24x8: return " (D24X8)";
    case DisplayFormat::d24s8: return " (D24S8)";
    case DisplayFormat::d24x4s4: return " (D24X4S4)";
    case DisplayFormat::d32: return " (D32)";
    default: return "";
  }
}

std::vector<DisplayMode> usableDisplayModes(const std::vector<DisplayMode>& adapterModes) {
  auto key = [](const DisplayMode& mode) { return std::tuple(mode.width, mode.height, mode.format); };
  std::vector<DisplayMode> modes;
  for (const auto& mode : adapterModes) {
    if (mode.width < smallestModeWidth || mode.height < smallestModeHeight) continue;
    bool seen = std::any_of(modes.begin(), modes.end(),
                            [&](const DisplayMode& kept) { return key(kept) == key(mode); });
    if (!seen) modes.push_back(mode);
  }
  std::sort(modes.begin(), modes.end(),
            [&](const DisplayMode& a, const DisplayMode& b) { return key(a) < key(b); });
  return modes;
}

std::vector<DisplayFormat> distinctFormats(const std::vector<DisplayMode>& modes) {
  std::vector<DisplayFormat> formats;
  for (const auto& mode : modes)
    if (std::find(formats.begin(), formats.end(), mode.format) == formats.end())
      formats.push_back(mode.format);
  return formats;
}

int initialFullScreenMode(const std::vector<DisplayMode>& modes) {
  if (modes.empty()) return -1;
  int first640 = -1;
  for (int i = 0; i < static_cast<int>(modes.size()); ++i) {
    if (modes[i].width != 640 || modes[i].height != 480) continue;
    if (isSixteenBitFormat(modes[i].format)) return i;
    if (first640 < 0) first640 = i;
  }
  return first640 >= 0 ? first640 : 0;
}

std::string deviceDescription(DeviceType type, VertexProcessing kind, const std::string& adapterDescription) {
  std::string text = deviceTypeName(type);
  text += vertexProcessingSuffix(kind, type);
  if (type == DeviceType::hal) text += ": " + adapterDescription;
  return text;
}

std::string frameStatistics(double framesPerSecond, int width, int height, DisplayFormat displayFormat,
                            bool depthBuffer, DisplayFormat depthFormat) {
  int bits = displayFormat == DisplayFormat::x8r8g8b8 ? 32 : 16;
  std::string text = formatText("%.02f fps (%dx%dx%d)", framesPerSecond, width, height, bits);
  if (depthBuffer) text += depthFormatSuffix(depthFormat);
  return text;
}

namespace {
constexpr float pixelShaderVersions[] = {1.0f, 1.1f, 1.2f, 1.3f, 1.4f};
}  // namespace

void confirmShaderSupport(VertexProcessing kind, std::uint32_t vertexShaderVersion,
                          std::uint32_t pixelShaderVersion, ShaderSupport& support) {
  if (kind != VertexProcessing::software)
    support.hardwareVertexShaders = shaderVersionMajor(vertexShaderVersion) >= 1;

  std::uint32_t major = shaderVersionMajor(pixelShaderVersion);
  std::uint32_t minor = shaderVersionMinor(pixelShaderVersion);
  if (major == 0)
    support.pixelShaderVersion = 0;
  else if (major == 1 && minor <= 4)
    support.pixelShaderVersion = pixelShaderVersions[minor];
  else
    support.pixelShaderVersion = 1.4f;
}

}  // namespace veltrace::render
