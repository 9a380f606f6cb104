// The device framework on Direct3D 8 in a real window: creation, the device
// description, reset after a resize, the frame statistics, the light marker
// read back where the projection puts it, the overlay text, pausing and a
// clean release. Skipped, not failed, where no device can be created.

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <regex>

#include <gtest/gtest.h>

#include "preview_host.h"
#include "render/preview/constant_upload_d3d.h"
#include "render/preview/frame_move.h"

namespace veltrace::render::test {
namespace {

constexpr int hostWidth = 320;
constexpr int hostHeight = 240;

int channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// Each channel within the tolerance of the expected one.
bool closeTo(std::uint32_t actual, std::uint32_t expected, int tolerance = 12) {
  for (int shift : {0, 8, 16})
    if (std::abs(channel(actual, shift) - channel(expected, shift)) > tolerance) return false;
  return true;
}

std::string shownMessages(const PreviewHost& host) {
  std::string shown;
  for (const auto& message : host.messages) shown += message + " | ";
  return shown;
}

// One device for the whole suite: creating one under Wine takes seconds. Each
// test starts from the host's size, a fresh preview state and zero counts.
class PreviewHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    shared_ = new PreviewHost;
    shared_->lockableBackBuffer = true;
    created_ = shared_->openWindow(hostWidth, hostHeight) ? shared_->start() : E_FAIL;
  }
  static void TearDownTestSuite() {
    delete shared_;
    shared_ = nullptr;
  }

  void SetUp() override {
    if (FAILED(created_))
      GTEST_SKIP() << "no Direct3D 8 device could be created (0x" << std::hex << created_
                   << "): " << shownMessages(host);
    host.resizeClient(hostWidth, hostHeight);
    host.preview = PreviewState{};
    initialiseLight(host.preview);
    host.captureFrames = false;
    host.runFrames(2);
    host.restoreCount = host.invalidateCount = 0;
    host.messages.clear();
  }

  // Where a world point lands in back-buffer pixels with the preview's camera.
  POINT projected(Vector3 point) {
    Vector3 clip = transformCoord(point, multiply(host.preview.view, host.preview.projection));
    const auto& size = host.backBufferDescription();
    return {static_cast<LONG>(std::lround((clip.x + 1) / 2 * size.Width)),
            static_cast<LONG>(std::lround((1 - clip.y) / 2 * size.Height))};
  }

  static inline PreviewHost* shared_ = nullptr;
  static inline HRESULT created_ = E_FAIL;
  PreviewHost& host = *shared_;
};

TEST_F(PreviewHostTest, DeviceIsCreatedInTheHostWindowAndDescribed) {
  EXPECT_EQ(host.deviceState(), DeviceState::ok);
  EXPECT_TRUE(host.ready());
  EXPECT_EQ(host.backBufferDescription().Width, static_cast<UINT>(hostWidth));
  EXPECT_EQ(host.backBufferDescription().Height, static_cast<UINT>(hostHeight));
  EXPECT_EQ(host.initCount, 1);

  std::cout << "device description: " << host.deviceDescription() << "\n";
  const std::regex described(R"(^(HAL \((pure hw|hw|mixed|sw) vp\): .+|REF \((simulated (pure hw|hw|mixed)|sw) vp\))$)");
  EXPECT_TRUE(std::regex_match(host.deviceDescription(), described)) << host.deviceDescription();

  // The adapter's own description follows the HAL prefix.
  D3DADAPTER_IDENTIFIER8 identifier{};
  ASSERT_EQ(host.direct3d()->GetAdapterIdentifier(D3DADAPTER_DEFAULT, D3DENUM_NO_WHQL_LEVEL, &identifier), D3D_OK);
  if (host.deviceDescription().rfind("HAL", 0) == 0) {
    const std::string suffix = std::string(": ") + identifier.Description;
    EXPECT_EQ(host.deviceDescription().substr(host.deviceDescription().size() - suffix.size()), suffix);
  }
}

TEST_F(PreviewHostTest, ResizeResetsTheDeviceToTheNewClientSize) {
  host.runFrames(2);
  host.resizeClient(400, 300);
  host.runFrames(3);
  EXPECT_EQ(host.lastFrameResult, S_OK);
  EXPECT_EQ(host.deviceState(), DeviceState::ok);
  EXPECT_EQ(host.backBufferDescription().Width, 400u);
  EXPECT_EQ(host.backBufferDescription().Height, 300u);
  EXPECT_EQ(host.invalidateCount, 1);
  EXPECT_EQ(host.restoreCount, 1);
  EXPECT_EQ(host.initCount, 1) << "a reset keeps the device objects";
  // The next frame's projection follows the new aspect.
  EXPECT_NEAR(host.preview.projection.m[1][1] / host.preview.projection.m[0][0], 400.0f / 300.0f, 1e-4f);

  host.resizeClient(400, 300);  // same size again: nothing to reset
  host.runFrames(2);
  EXPECT_EQ(host.restoreCount, 1);
}

TEST_F(PreviewHostTest, StatisticsAppearAfterASecond) {
  host.runFor(1.3);
  std::cout << "frame statistics: " << host.frameStatistics() << "\n";
  const std::regex statistics(R"(^\d+\.\d\d fps \(320x240x(16|32)\) \(D(16|15S1|24X8|24S8|24X4S4|32)\)$)");
  EXPECT_TRUE(std::regex_match(host.frameStatistics(), statistics)) << host.frameStatistics();
  EXPECT_GT(host.framesPerSecond(), 0.0);
}

TEST_F(PreviewHostTest, LightMarkerIsWhiteWhereTheProjectionPutsIt) {
  host.preview.lightYaw = 0.05f;
  host.preview.lightPitch = -0.04f;
  host.preview.lightBase = {0, 0, -25};  // closer to the eye: a larger disc
  host.captureFrames = true;
  host.runFrames(2);

  POINT centre = projected(transformCoord(host.preview.lightBase,
                                          rotationYawPitchRoll(host.preview.lightYaw, host.preview.lightPitch, 0)));
  ASSERT_GT(centre.x, 20);
  ASSERT_LT(centre.x, hostWidth - 20);
  ASSERT_NE(centre.x, hostWidth / 2) << "the pose must move the marker off the middle";
  EXPECT_TRUE(closeTo(host.capturedPixel(centre.x, centre.y), clearColour & 0xFFFFFF)) << "marker hidden so far";

  host.send(WM_KEYDOWN, 'L');
  host.runFrames(2);
  ASSERT_TRUE(host.preview.showLight);
  for (int dy = -2; dy <= 2; dy += 2)
    for (int dx = -2; dx <= 2; dx += 2) {
      std::uint32_t pixel = host.capturedPixel(centre.x + dx, centre.y + dy);
      EXPECT_TRUE(closeTo(pixel, 0xFFFFFF)) << std::hex << pixel << " at " << std::dec << centre.x + dx << ","
                                            << centre.y + dy;
    }
  // The mirror image of that place stays the clear colour.
  std::uint32_t mirrored = host.capturedPixel(hostWidth - centre.x, hostHeight - centre.y);
  EXPECT_TRUE(closeTo(mirrored, clearColour & 0xFFFFFF)) << std::hex << mirrored;
}

TEST_F(PreviewHostTest, OverlayTextIsDrawnInYellowAtTheTop) {
  host.captureFrames = true;
  host.send(WM_KEYDOWN, 'F');
  host.runFrames(2);
  ASSERT_TRUE(host.preview.showStats);
  int yellow = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 160; ++x)
      if (closeTo(host.capturedPixel(x, y), overlayColour & 0xFFFFFF, 60)) ++yellow;
  EXPECT_GT(yellow, 20) << "the device description is drawn from the top-left corner";
  int yellowBelow = 0;
  for (int y = 100; y < 140; ++y)
    for (int x = 0; x < hostWidth; ++x)
      if (closeTo(host.capturedPixel(x, y), overlayColour & 0xFFFFFF, 60)) ++yellowBelow;
  EXPECT_EQ(yellowBelow, 0);
  SIZE extent = host.font.textExtent("Veltrace");
  EXPECT_GT(extent.cx, 10);
  EXPECT_GT(extent.cy, 5);
}

TEST_F(PreviewHostTest, PauseStopsFramesUntilTheLastResume) {
  host.pause(true);
  host.pause(true);
  EXPECT_FALSE(host.ready());
  EXPECT_TRUE(host.timer().stopped());
  host.pause(false);
  EXPECT_FALSE(host.ready());
  host.pause(false);
  EXPECT_TRUE(host.ready());
  EXPECT_FALSE(host.timer().stopped());
  host.pause(false);  // unmatched: ignored
  EXPECT_EQ(D3DFramework::pauseCount(), 0);
  EXPECT_TRUE(host.ready());
}

TEST(PreviewHostLifetime, StatisticsWaitASecondAndCleanupReleasesEverything) {
  PreviewHost host;
  ASSERT_TRUE(host.openWindow(hostWidth, hostHeight));
  HRESULT created = host.start();
  if (FAILED(created)) GTEST_SKIP() << "no Direct3D 8 device could be created: " << shownMessages(host);
  EXPECT_TRUE(host.messages.empty()) << shownMessages(host);
  EXPECT_EQ(host.restoreCount, 1);
  host.preview.showLight = true;
  host.preview.showStats = true;
  host.runFrames(3);
  EXPECT_EQ(host.frameStatistics(), "") << "not before a second has passed";

  host.cleanup3DEnvironment();
  EXPECT_EQ(host.device(), nullptr);
  EXPECT_EQ(host.deviceState(), DeviceState::none);
  EXPECT_EQ(host.deleteCount, 1);
  EXPECT_TRUE(host.messages.empty()) << shownMessages(host);  // 0x8200000A would be shown
}

TEST(D3DFrameworkWindow, MakesItsOwnWindowWhenNoneIsAttached) {
  struct Recording : D3DFramework {
    std::vector<std::string> shown;
    void showMessage(const std::string& text, MessageKind) override { shown.push_back(text); }
  } framework;
  framework.creationWidth = 200;
  framework.creationHeight = 150;
  HRESULT created = framework.create(GetModuleHandleA(nullptr));
  if (FAILED(created)) GTEST_SKIP() << "no Direct3D 8 device could be created";
  ASSERT_NE(framework.window(), nullptr);
  char className[64] = {};
  GetClassNameA(framework.window(), className, sizeof className);
  EXPECT_STREQ(className, "D3D Window");
  RECT client{};
  GetClientRect(framework.window(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 150);
  EXPECT_EQ(framework.backBufferDescription().Width, 200u);
  framework.cleanup3DEnvironment();
  EXPECT_TRUE(framework.shown.empty());
}

}  // namespace
}  // namespace veltrace::render::test

namespace veltrace::render::test {
namespace {

TEST_F(PreviewHostTest, ConstantUploadsReachTheRegisters) {
  Effect effect;
  EffectVariable transform;
  transform.kind = VariableKind::matrix;
  transform.predefined = true;
  transform.predefinedName = "transform";
  transform.vsRegister = 4;
  effect.matrices.push_back(transform);
  EffectVariable outOfRange;
  outOfRange.kind = VariableKind::vector;
  outOfRange.vsRegister = 100000;
  effect.vectors.push_back(outOfRange);

  host.runFrames(2);
  auto uploads = constantUploads(effect, constantFrameFrom(host.preview, 0.0f), MaterialColours{});
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(uploadConstants(*host.device(), uploads), 1) << "only the register beyond the device's range is refused";

  float registers[16] = {};
  if (FAILED(host.device()->GetVertexShaderConstant(4, registers, 4)))
    GTEST_SKIP() << "this device does not read constants back";
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(registers[i], uploads[1].values[i]) << i;
}

}  // namespace
}  // namespace veltrace::render::test

namespace veltrace::render::test {
namespace {

TEST_F(PreviewHostTest, FontPutsTheDeviceStateBackAfterDrawing) {
  IDirect3DDevice8* device = host.device();
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  EXPECT_EQ(host.font.drawText(2, 2, overlayColour, "state\nkept"), D3D_OK);
  device->EndScene();

  DWORD blend = 0, depth = 0, cull = 0, colourOp = 0;
  if (FAILED(device->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend)))
    GTEST_SKIP() << "this device does not read states back";
  device->GetRenderState(D3DRS_ZENABLE, &depth);
  device->GetRenderState(D3DRS_CULLMODE, &cull);
  device->GetTextureStageState(0, D3DTSS_COLOROP, &colourOp);
  EXPECT_EQ(blend, static_cast<DWORD>(FALSE));
  EXPECT_EQ(depth, static_cast<DWORD>(D3DZB_TRUE));
  EXPECT_EQ(cull, static_cast<DWORD>(D3DCULL_CW));
  EXPECT_EQ(colourOp, static_cast<DWORD>(D3DTOP_SELECTARG1));
}

TEST_F(PreviewHostTest, FontDrawsNothingOnceInvalidated) {
  host.font.invalidateDeviceObjects();
  EXPECT_TRUE(FAILED(host.font.drawText(0, 0, overlayColour, "gone")));
  EXPECT_EQ(host.font.restoreDeviceObjects(), D3D_OK);
  ASSERT_EQ(host.device()->BeginScene(), D3D_OK);
  EXPECT_EQ(host.font.drawText(0, 0, overlayColour, "back"), D3D_OK);
  host.device()->EndScene();
}

}  // namespace
}  // namespace veltrace::render::test
