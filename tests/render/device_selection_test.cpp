// The device framework's selection rules on described machines: modes kept,
// depth formats and vertex processing tried in order, the device chosen and
// the warning given when only the reference rasterizer will do.

#include "render/device/device_list.h"

#include <map>
#include <set>

#include <gtest/gtest.h>

namespace veltrace::render {
namespace {

struct FakeDevice {
  DeviceFacts facts;
  std::set<DisplayFormat> formats;
  std::set<DisplayFormat> depthFormats;
  std::set<VertexProcessing> accepted{VertexProcessing::pureHardware, VertexProcessing::hardware,
                                      VertexProcessing::mixed, VertexProcessing::software};
};

struct FakeAdapter {
  AdapterFacts facts;
  std::map<DeviceType, FakeDevice> devices;
};

class FakeMachine : public DeviceProbe {
 public:
  std::vector<FakeAdapter> adapters;
  std::vector<VertexProcessing> offered;  // every kind confirm was asked about

  int adapterCount() override { return static_cast<int>(adapters.size()); }
  AdapterFacts adapter(int a) override { return adapters.at(a).facts; }
  std::optional<DeviceFacts> device(int a, DeviceType type) override {
    auto found = adapters.at(a).devices.find(type);
    if (found == adapters.at(a).devices.end()) return std::nullopt;
    return found->second.facts;
  }
  bool supportsFormat(int a, DeviceType type, DisplayFormat format) override {
    return adapters.at(a).devices.at(type).formats.count(format) > 0;
  }
  bool supportsDepthFormat(int a, DeviceType type, DisplayFormat, DisplayFormat depth) override {
    return adapters.at(a).devices.at(type).depthFormats.count(depth) > 0;
  }
  bool confirmDevice(int a, DeviceType type, const DeviceFacts&, VertexProcessing kind, DisplayFormat) override {
    offered.push_back(kind);
    return adapters.at(a).devices.at(type).accepted.count(kind) > 0;
  }
};

constexpr DisplayFormat x8 = DisplayFormat::x8r8g8b8;
constexpr DisplayFormat r565 = DisplayFormat::r5g6b5;

FakeDevice capableDevice(bool hardware) {
  FakeDevice device;
  device.facts.hardwareTransformAndLight = hardware;
  device.facts.pureDevice = hardware;
  device.facts.canRenderWindowed = true;
  device.formats = {x8, r565};
  device.depthFormats = {DisplayFormat::d16, DisplayFormat::d24x8};
  return device;
}

FakeAdapter typicalAdapter() {
  FakeAdapter adapter;
  adapter.facts.description = "Test Adapter";
  adapter.facts.desktopMode = {1280, 1024, x8};
  adapter.facts.modes = {{1024, 768, x8}, {640, 480, x8}, {320, 200, x8}, {640, 480, r565},
                         {640, 480, x8},  {800, 600, r565}, {640, 350, x8}};
  adapter.devices[DeviceType::hal] = capableDevice(true);
  adapter.devices[DeviceType::ref] = capableDevice(false);
  return adapter;
}

struct Chosen {
  std::optional<DeviceSelection> selection;
  std::uint32_t error = 0;
  DeviceList list;
};

Chosen choose(FakeMachine& machine, DepthRequirements depth = {true, 16, 0}) {
  Chosen chosen;
  chosen.list = buildDeviceList(machine, depth);
  chosen.selection = selectInitialDevice(chosen.list, chosen.error);
  return chosen;
}

const DeviceRecord& chosenDevice(const Chosen& chosen) {
  return chosen.list.adapters.at(chosen.selection->adapter).devices.at(chosen.selection->device);
}

TEST(DisplayModes, KeepLargeEnoughModesOnceSorted) {
  auto modes = usableDisplayModes(typicalAdapter().facts.modes);
  ASSERT_EQ(modes.size(), 4u);
  EXPECT_EQ(modes[0].width, 640);
  EXPECT_EQ(modes[0].format, x8);
  EXPECT_EQ(modes[1].format, r565);
  EXPECT_EQ(modes[2].width, 800);
  EXPECT_EQ(modes[3].width, 1024);
  EXPECT_EQ(distinctFormats(modes), (std::vector<DisplayFormat>{x8, r565}));
}

TEST(DisplayModes, SixteenBit640x480IsTheInitialFullScreenMode) {
  auto modes = usableDisplayModes(typicalAdapter().facts.modes);
  EXPECT_EQ(initialFullScreenMode(modes), 1);
  EXPECT_EQ(initialFullScreenMode({{800, 600, r565}, {640, 480, x8}}), 1);
  EXPECT_EQ(initialFullScreenMode({{800, 600, r565}, {1024, 768, x8}}), 0);
  EXPECT_EQ(initialFullScreenMode({}), -1);
}

TEST(DepthFormats, CandidatesFollowTheMinimumBits) {
  using F = DisplayFormat;
  EXPECT_EQ(depthStencilCandidates(15, 0),
            (std::vector<F>{F::d16, F::d15s1, F::d24x8, F::d24s8, F::d24x4s4, F::d32}));
  // D15S1 has one depth bit too few for a minimum of 16.
  EXPECT_EQ(depthStencilCandidates(16, 0), (std::vector<F>{F::d16, F::d24x8, F::d24s8, F::d24x4s4, F::d32}));
  EXPECT_EQ(depthStencilCandidates(15, 1), (std::vector<F>{F::d15s1, F::d24s8, F::d24x4s4}));
  EXPECT_EQ(depthStencilCandidates(24, 8), (std::vector<F>{F::d24s8}));
  EXPECT_EQ(depthStencilCandidates(32, 0), (std::vector<F>{F::d32}));
  EXPECT_TRUE(depthStencilCandidates(33, 0).empty());
}

TEST(DeviceTexts, DescriptionNamesTypeProcessingAndHardwareAdapter) {
  EXPECT_EQ(deviceDescription(DeviceType::hal, VertexProcessing::pureHardware, "Radeon"), "HAL (pure hw vp): Radeon");
  EXPECT_EQ(deviceDescription(DeviceType::hal, VertexProcessing::software, "Radeon"), "HAL (sw vp): Radeon");
  EXPECT_EQ(deviceDescription(DeviceType::ref, VertexProcessing::hardware, "Radeon"), "REF (simulated hw vp)");
  EXPECT_EQ(deviceDescription(DeviceType::ref, VertexProcessing::mixed, ""), "REF (simulated mixed vp)");
  EXPECT_EQ(deviceDescription(DeviceType::sw, VertexProcessing::software, ""), "SW (sw vp)");
}

TEST(DeviceTexts, StatisticsGiveRateSizeDepthAndDepthFormat) {
  EXPECT_EQ(frameStatistics(59.937, 800, 600, x8, true, DisplayFormat::d16), "59.94 fps (800x600x32) (D16)");
  EXPECT_EQ(frameStatistics(5, 640, 480, r565, true, DisplayFormat::d24x4s4), "5.00 fps (640x480x16) (D24X4S4)");
  EXPECT_EQ(frameStatistics(0, 1, 1, DisplayFormat::a8r8g8b8, false, DisplayFormat::d16), "0.00 fps (1x1x16)");
}

TEST(ShaderSupportRule, PixelShaderVersionsAndHardwareVertexShaders) {
  ShaderSupport support;
  confirmShaderSupport(VertexProcessing::hardware, 0xFFFE0101, 0xFFFF0103, support);
  EXPECT_TRUE(support.hardwareVertexShaders);
  EXPECT_EQ(support.pixelShaderVersion, 1.3f);

  confirmShaderSupport(VertexProcessing::mixed, 0xFFFE0000, 0xFFFF0000, support);
  EXPECT_FALSE(support.hardwareVertexShaders);
  EXPECT_EQ(support.pixelShaderVersion, 0.0f);

  support.hardwareVertexShaders = true;
  confirmShaderSupport(VertexProcessing::software, 0, 0xFFFF0200, support);
  EXPECT_TRUE(support.hardwareVertexShaders) << "software processing leaves the flag alone";
  EXPECT_EQ(support.pixelShaderVersion, 1.4f) << "beyond 1.4 still runs ps.1.x";

  confirmShaderSupport(VertexProcessing::pureHardware, 0xFFFE0100, 0xFFFF0105, support);
  EXPECT_EQ(support.pixelShaderVersion, 1.4f);
}

TEST(DeviceSelection, HardwareIsChosenWithThePurestProcessingConfirmed) {
  FakeMachine machine;
  machine.adapters = {typicalAdapter()};
  Chosen chosen = choose(machine);
  ASSERT_TRUE(chosen.selection);
  EXPECT_FALSE(chosen.selection->referenceReason);
  const DeviceRecord& device = chosenDevice(chosen);
  EXPECT_EQ(device.type, DeviceType::hal);
  EXPECT_TRUE(device.windowed);
  EXPECT_EQ(device.desktopChoice.format, x8);
  EXPECT_EQ(device.desktopChoice.processing, VertexProcessing::pureHardware);
  EXPECT_EQ(device.desktopChoice.depthFormat, DisplayFormat::d16);
  ASSERT_EQ(device.modes.size(), 4u);
  EXPECT_EQ(device.modes[device.currentMode].mode.format, r565);
}

TEST(DeviceSelection, ConfirmHookDecidesTheProcessingKind) {
  FakeMachine machine;
  machine.adapters = {typicalAdapter()};
  machine.adapters[0].devices[DeviceType::hal].accepted = {VertexProcessing::mixed, VertexProcessing::software};
  Chosen chosen = choose(machine);
  ASSERT_TRUE(chosen.selection);
  EXPECT_EQ(chosenDevice(chosen).desktopChoice.processing, VertexProcessing::mixed);
  ASSERT_GE(machine.offered.size(), 3u);
  EXPECT_EQ(machine.offered[0], VertexProcessing::pureHardware);
  EXPECT_EQ(machine.offered[1], VertexProcessing::hardware);
  EXPECT_EQ(machine.offered[2], VertexProcessing::mixed);
}

TEST(DeviceSelection, DepthFormatIsTheFirstThatPasses) {
  FakeMachine machine;
  machine.adapters = {typicalAdapter()};
  machine.adapters[0].devices[DeviceType::hal].depthFormats = {DisplayFormat::d32, DisplayFormat::d24s8};
  Chosen chosen = choose(machine);
  EXPECT_EQ(chosenDevice(chosen).desktopChoice.depthFormat, DisplayFormat::d24s8);

  // Without a depth buffer no depth format is needed at all.
  machine.adapters[0].devices[DeviceType::hal].depthFormats = {};
  chosen = choose(machine, {false, 16, 0});
  EXPECT_EQ(chosenDevice(chosen).type, DeviceType::hal);
}

TEST(DeviceSelection, ReferenceOnlyMachineWarnsThatThereIsNoHardware) {
  FakeMachine machine;
  machine.adapters = {typicalAdapter()};
  machine.adapters[0].devices.erase(DeviceType::hal);
  Chosen chosen = choose(machine);
  ASSERT_TRUE(chosen.selection);
  EXPECT_EQ(chosenDevice(chosen).type, DeviceType::ref);
  EXPECT_EQ(chosen.selection->referenceReason, errorNoHardwareDevice);
  EXPECT_EQ(chosenDevice(chosen).desktopChoice.processing, VertexProcessing::software);
}

TEST(DeviceSelection, ReasonSaysWhatTheHardwareLacked) {
  struct Case {
    const char* what;
    void (*spoil)(FakeDevice&);
    std::uint32_t reason;
  };
  const Case cases[] = {
      {"confirm refuses", [](FakeDevice& d) { d.accepted.clear(); }, errorHardwareLacksFunctions},
      {"no depth format", [](FakeDevice& d) { d.depthFormats.clear(); }, errorHardwareLacksFunctions},
      {"not windowed", [](FakeDevice& d) { d.facts.canRenderWindowed = false; }, errorHardwareCannotRenderWindowed},
      {"not the desktop format", [](FakeDevice& d) { d.formats = {r565}; }, errorHardwareCannotRenderInDesktopMode},
  };
  for (const auto& c : cases) {
    FakeMachine machine;
    machine.adapters = {typicalAdapter()};
    c.spoil(machine.adapters[0].devices[DeviceType::hal]);
    Chosen chosen = choose(machine);
    ASSERT_TRUE(chosen.selection) << c.what;
    EXPECT_EQ(chosenDevice(chosen).type, DeviceType::ref) << c.what;
    EXPECT_EQ(chosen.selection->referenceReason, c.reason) << c.what;
  }
}

TEST(DeviceSelection, FailsWithoutAnyOrAnyWindowedDevice) {
  FakeMachine empty;
  Chosen chosen = choose(empty);
  EXPECT_FALSE(chosen.selection);
  EXPECT_EQ(chosen.error, errorNoCompatibleDevices);

  FakeMachine fullScreenOnly;
  fullScreenOnly.adapters = {typicalAdapter()};
  for (auto& [type, device] : fullScreenOnly.adapters[0].devices) device.facts.canRenderWindowed = false;
  chosen = choose(fullScreenOnly);
  EXPECT_FALSE(chosen.selection);
  EXPECT_EQ(chosen.error, errorNoWindowableDevices);
  EXPECT_EQ(chosen.list.adapters.size(), 1u) << "the devices still count for full-screen use";
}

TEST(DeviceSelection, SecondAdapterIsTakenWhenTheFirstCannotRunWindowed) {
  FakeMachine machine;
  machine.adapters = {typicalAdapter(), typicalAdapter()};
  for (auto& [type, device] : machine.adapters[0].devices) device.facts.canRenderWindowed = false;
  Chosen chosen = choose(machine);
  ASSERT_TRUE(chosen.selection);
  EXPECT_EQ(chosen.selection->adapter, 1);
  EXPECT_EQ(chosenDevice(chosen).type, DeviceType::hal);
  EXPECT_FALSE(chosen.selection->referenceReason);
}

TEST(DeviceSelection, ReferenceFallbackOfTheSameAdapter) {
  FakeMachine machine;
  machine.adapters = {typicalAdapter()};
  Chosen chosen = choose(machine);
  AdapterRecord& adapter = chosen.list.adapters[0];
  auto reference = referenceDeviceOf(adapter);
  ASSERT_TRUE(reference);
  EXPECT_EQ(adapter.devices[*reference].type, DeviceType::ref);
  EXPECT_EQ(adapter.currentDevice, *reference);

  machine.adapters[0].devices.erase(DeviceType::ref);
  chosen = choose(machine);
  EXPECT_FALSE(referenceDeviceOf(chosen.list.adapters[0]));
}

}  // namespace
}  // namespace veltrace::render
