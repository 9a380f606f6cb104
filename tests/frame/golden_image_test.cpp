// The sample arrangement (the pedestal scene, the bump effect on the tiled
// top, the lit textured effect on the sides and the floor) rendered at a
// fixed time and pose through the offscreen view, compared by the mean
// colour of areas well inside the objects, never at their edges or the
// frame's corners.

#include <gtest/gtest.h>

#include "render/frame/offscreen_view.h"
#include "tests/frame/frame_fixture.h"

using namespace veltrace;
using namespace veltrace::render;

namespace {

constexpr int frameWidth = 640;
constexpr int frameHeight = 480;

struct Area {
  const char* what;
  double left, top, right, bottom;  // fractions of the frame
  int r, g, b;                      // expected mean colour
};

struct Rgb {
  double r = 0, g = 0, b = 0;
};

Rgb meanOf(const RgbaImage& image, const Area& area) {
  Rgb mean;
  int count = 0;
  for (int y = int(area.top * image.height); y < int(area.bottom * image.height); ++y)
    for (int x = int(area.left * image.width); x < int(area.right * image.width); ++x) {
      std::uint32_t colour = image.colourAt(x, y);
      mean.r += (colour >> 16) & 0xFF;
      mean.g += (colour >> 8) & 0xFF;
      mean.b += colour & 0xFF;
      ++count;
    }
  if (count) {
    mean.r /= count;
    mean.g /= count;
    mean.b /= count;
  }
  return mean;
}

class GoldenImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bump = veltrace::test::loadSampleEffect("bump_tangent", log);
    lit = veltrace::test::loadSampleEffect("lit_textured", log);
    ASSERT_TRUE(bump && lit);
    ASSERT_TRUE(veltrace::test::loadSampleScene("pedestal.vase", scene, log));
    ASSERT_EQ(scene.meshes.size(), 2u);
    ASSERT_EQ(scene.meshes[0].subsets.size(), 3u);
    scene.meshes[0].subsets[0].effect = bump.get();
    scene.meshes[0].subsets[1].effect = lit.get();
    scene.meshes[0].subsets[2].effect = lit.get();
    scene.meshes[1].subsets[0].effect = lit.get();
    log.takePending();

    view = std::make_unique<OffscreenView>(log);
    view->renderer.textures().setProgramFolder(veltrace::test::dataFolder());
    view->renderer.textures().setFolder(veltrace::test::dataFolder() + "\\media\\textures");
    std::string error;
    if (!view->start(frameWidth, frameHeight, error)) GTEST_SKIP() << error;
    if (view->shaderSupport.pixelShaderVersion < 1.1f) GTEST_SKIP() << "no ps.1.1 on this device";
    view->renderer.setScene(&scene);
  }

  void TearDown() override {
    if (view) view->renderer.setScene(nullptr);
    view.reset();
  }

  RgbaImage renderAt(float time, float objectPitch) {
    view->preview.objectPitch = objectPitch;
    view->drawFrame(time);
    view->drawFrame(time);
    RgbaImage image;
    std::string error;
    EXPECT_TRUE(view->capture(image, error)) << error;
    return image;
  }

  void expectAreas(const RgbaImage& image, const std::vector<Area>& areas, double tolerance) {
    for (const Area& area : areas) {
      Rgb mean = meanOf(image, area);
      EXPECT_NEAR(mean.r, area.r, tolerance) << area.what;
      EXPECT_NEAR(mean.g, area.g, tolerance) << area.what;
      EXPECT_NEAR(mean.b, area.b, tolerance) << area.what;
    }
  }

  MessageLog log;
  Scene scene;
  std::unique_ptr<Effect> bump, lit;
  std::unique_ptr<OffscreenView> view;
};

TEST_F(GoldenImageTest, SampleArrangementSeenFromAbove) {
  RgbaImage image = renderAt(0.0f, -0.9f);
  ASSERT_EQ(image.width, frameWidth);
  for (const auto& line : log.takePending()) ADD_FAILURE() << "unexpected message: " << line;
  expectAreas(image,
              {
                  {"background above the floor", 0.40, 0.10, 0.60, 0.25, 0, 0, 50},
                  {"wooden floor, left of the pedestal", 0.25, 0.62, 0.40, 0.75, 126, 94, 62},
                  {"wooden floor, right of the pedestal", 0.62, 0.45, 0.75, 0.60, 113, 84, 58},
                  {"tiled top with bumps", 0.46, 0.34, 0.54, 0.43, 112, 119, 142},
                  {"marble front", 0.45, 0.48, 0.55, 0.55, 186, 175, 164},
              },
              12.0);
}

TEST_F(GoldenImageTest, ShaderTimeDoesNotMoveAStillFrame) {
  // No effect of the sample reads the time: two times give the same frame.
  RgbaImage early = renderAt(0.0f, -0.9f);
  RgbaImage late = renderAt(7.5f, -0.9f);
  ASSERT_EQ(early.pixels.size(), late.pixels.size());
  EXPECT_TRUE(early.pixels == late.pixels);
}

TEST_F(GoldenImageTest, SameFrameAfterADeviceReset) {
  RgbaImage before = renderAt(0.0f, -0.9f);
  ASSERT_TRUE(SUCCEEDED(view->resize3DEnvironment()));
  RgbaImage after = renderAt(0.0f, -0.9f);
  ASSERT_EQ(before.pixels.size(), after.pixels.size());
  EXPECT_TRUE(before.pixels == after.pixels);
}

int yellowPixelsInTopRows(const RgbaImage& image, int rows) {
  int count = 0;
  for (int y = 0; y < rows && y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t colour = image.colourAt(x, y);
      if (((colour >> 16) & 0xFF) > 200 && ((colour >> 8) & 0xFF) > 200 && (colour & 0xFF) < 80) ++count;
    }
  return count;
}

TEST_F(GoldenImageTest, StatisticsOverlayShowsTheRateOfTheFramesBefore) {
  RgbaImage plain = renderAt(0.0f, -0.9f);
  EXPECT_EQ(yellowPixelsInTopRows(plain, 40), 0);
  // Frames drawn on request come faster than once a second; the rate must
  // be there all the same once a frame has been drawn.
  EXPECT_NE(view->frameStatistics().find(" fps (640x480x"), std::string::npos) << view->frameStatistics();

  view->preview.showStats = true;
  RgbaImage withStatistics = renderAt(0.0f, -0.9f);
  EXPECT_GT(yellowPixelsInTopRows(withStatistics, 40), 50);
}

}  // namespace
