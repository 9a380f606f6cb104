#include "render/device/device_list.h"

#include <algorithm>

namespace veltrace::render {

namespace {

constexpr DeviceType deviceTypesInOrder[] = {DeviceType::hal, DeviceType::ref};

std::optional<DisplayFormat> findDepthFormat(DeviceProbe& probe, int adapter, DeviceType type,
                                             DisplayFormat format, const DepthRequirements& depth) {
  for (DisplayFormat candidate : depthStencilCandidates(depth.minimumDepthBits, depth.minimumStencilBits))
    if (probe.supportsDepthFormat(adapter, type, format, candidate)) return candidate;
  return std::nullopt;
}

// Whether the device can use the format, and with which vertex processing and
// depth format.
std::optional<FormatChoice> chooseForFormat(DeviceProbe& probe, int adapter, DeviceType type,
                                            const DeviceFacts& facts, DisplayFormat format,
                                            const DepthRequirements& depth) {
  if (!probe.supportsFormat(adapter, type, format)) return std::nullopt;
  FormatChoice choice;
  choice.format = format;
  bool confirmed = false;
  for (VertexProcessing kind : vertexProcessingCandidates(facts.hardwareTransformAndLight, facts.pureDevice)) {
    if (probe.confirmDevice(adapter, type, facts, kind, format)) {
      choice.processing = kind;
      confirmed = true;
      break;
    }
  }
  if (!confirmed) return std::nullopt;
  if (depth.useDepthBuffer) {
    auto depthFormat = findDepthFormat(probe, adapter, type, format, depth);
    if (!depthFormat) return std::nullopt;
    choice.depthFormat = *depthFormat;
  }
  return choice;
}

}  // namespace

DeviceList buildDeviceList(DeviceProbe& probe, const DepthRequirements& depth) {
  DeviceList list;
  int adapterCount = std::min(probe.adapterCount(), maximumAdapters);
  for (int ordinal = 0; ordinal < adapterCount; ++ordinal) {
    AdapterRecord adapter;
    adapter.ordinal = ordinal;
    adapter.facts = probe.adapter(ordinal);
    std::vector<DisplayMode> modes = usableDisplayModes(adapter.facts.modes);
    std::vector<DisplayFormat> formats = distinctFormats(modes);

    for (DeviceType type : deviceTypesInOrder) {
      if (static_cast<int>(adapter.devices.size()) >= maximumDevicesPerAdapter) break;
      auto facts = probe.device(ordinal, type);
      if (!facts) continue;
      bool hardware = type == DeviceType::hal;
      if (hardware) list.hardwareFound = true;

      DeviceRecord device;
      device.type = type;
      device.facts = *facts;
      std::vector<FormatChoice> usable;
      for (DisplayFormat format : formats)
        if (auto choice = chooseForFormat(probe, ordinal, type, *facts, format, depth)) usable.push_back(*choice);

      for (const auto& mode : modes) {
        if (static_cast<int>(device.modes.size()) >= maximumModesPerDevice) break;
        auto choice = std::find_if(usable.begin(), usable.end(),
                                   [&](const FormatChoice& c) { return c.format == mode.format; });
        if (choice != usable.end()) device.modes.push_back({mode, choice->processing, choice->depthFormat});
      }
      std::vector<DisplayMode> kept;
      for (const auto& mode : device.modes) kept.push_back(mode.mode);
      device.currentMode = std::max(initialFullScreenMode(kept), 0);

      auto desktop = std::find_if(usable.begin(), usable.end(), [&](const FormatChoice& c) {
        return c.format == adapter.facts.desktopMode.format;
      });
      bool desktopUsable = desktop != usable.end();
      if (desktopUsable) device.desktopChoice = *desktop;
      device.canRunWindowed = desktopUsable && facts->canRenderWindowed;
      device.windowed = device.canRunWindowed;

      if (hardware) {
        if (!usable.empty()) list.hardwareConfirmed = true;
        if (facts->canRenderWindowed) list.hardwareWindowed = true;
        if (desktopUsable) list.hardwareDesktopFormat = true;
      }
      if (!device.modes.empty()) adapter.devices.push_back(std::move(device));
    }
    if (!adapter.devices.empty()) list.adapters.push_back(std::move(adapter));
  }
  return list;
}

std::optional<DeviceSelection> selectInitialDevice(DeviceList& list, std::uint32_t& error) {
  if (list.adapters.empty()) {
    error = errorNoCompatibleDevices;
    return std::nullopt;
  }
  for (int a = 0; a < static_cast<int>(list.adapters.size()); ++a) {
    AdapterRecord& adapter = list.adapters[a];
    for (int d = 0; d < static_cast<int>(adapter.devices.size()); ++d) {
      DeviceRecord& device = adapter.devices[d];
      if (!device.canRunWindowed) continue;
      adapter.currentDevice = d;
      device.windowed = true;
      DeviceSelection selection{a, d, std::nullopt};
      if (device.type == DeviceType::ref) {
        if (!list.hardwareFound)
          selection.referenceReason = errorNoHardwareDevice;
        else if (!list.hardwareConfirmed)
          selection.referenceReason = errorHardwareLacksFunctions;
        else if (!list.hardwareWindowed)
          selection.referenceReason = errorHardwareCannotRenderWindowed;
        else if (!list.hardwareDesktopFormat)
          selection.referenceReason = errorHardwareCannotRenderInDesktopMode;
        else
          selection.referenceReason = errorHardwareLacksFunctionsInDesktopMode;
      }
      return selection;
    }
  }
  error = errorNoWindowableDevices;
  return std::nullopt;
}

std::optional<int> referenceDeviceOf(AdapterRecord& adapter) {
  for (int d = 0; d < static_cast<int>(adapter.devices.size()); ++d) {
    DeviceRecord& device = adapter.devices[d];
    if (device.type != DeviceType::ref) continue;
    adapter.currentDevice = d;
    device.windowed = device.canRunWindowed;
    return d;
  }
  return std::nullopt;
}

}  // namespace veltrace::render
