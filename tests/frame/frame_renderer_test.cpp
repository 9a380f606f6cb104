#include "render/frame/frame_renderer.h"

#include <gtest/gtest.h>

#include "render/frame/frame_capture.h"
#include "render/preview/frame_move.h"
#include "tests/frame/frame_fixture.h"
#include "tests/support/d3d_test_device.h"

using namespace veltrace;
using namespace veltrace::render;
using veltrace::test::dataFolder;

namespace {

constexpr UINT frameSize = 128;

// The renderer on the shared test device. The device lives as long as the
// fixture so that the last test can count its references.
class FrameRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!device.device()) GTEST_SKIP() << device.problem();
    D3DCAPS8 caps{};
    device.device()->GetDeviceCaps(&caps);
    // The test device runs vertex processing in software.
    support.hardwareVertexShaders = false;
    support.pixelShaderVersion = caps.PixelShaderVersion >= D3DPS_VERSION(1, 4) ? 1.4f
                                 : caps.PixelShaderVersion >= D3DPS_VERSION(1, 1) ? 1.1f
                                                                                    : 0.0f;
    renderer.textures().setProgramFolder(dataFolder());
    renderer.textures().setFolder(dataFolder() + "\\media\\textures");
    ASSERT_TRUE(SUCCEEDED(renderer.initDeviceObjects(device.device(), support)));
    ASSERT_TRUE(SUCCEEDED(renderer.restoreDeviceObjects()));
    frameMove(preview, 1.0f, std::nullopt);
  }

  void TearDown() override {
    renderer.setScene(nullptr);
    renderer.deleteDeviceObjects();
  }

  void renderFrames(int count) {
    for (int i = 0; i < count; ++i) renderer.render(0.0f);
  }

  RgbaImage capture() {
    RgbaImage image;
    std::string error;
    EXPECT_TRUE(SUCCEEDED(captureBackBuffer(*device.device(), image, error))) << error;
    return image;
  }

  veltrace::test::D3DTestDevice device{frameSize, frameSize};
  ShaderSupport support;
  MessageLog log;
  PreviewState preview;
  FrameRenderer renderer{preview, log};
  Scene scene;
};

// The mean colour of a square around the centre, far from every corner.
struct Mean {
  double r = 0, g = 0, b = 0;
};

Mean centreMean(const RgbaImage& image, int half) {
  Mean mean;
  int count = 0;
  for (int y = image.height / 2 - half; y < image.height / 2 + half; ++y)
    for (int x = image.width / 2 - half; x < image.width / 2 + half; ++x) {
      std::uint32_t colour = image.colourAt(x, y);
      mean.r += (colour >> 16) & 0xFF;
      mean.g += (colour >> 8) & 0xFF;
      mean.b += colour & 0xFF;
      ++count;
    }
  mean.r /= count;
  mean.g /= count;
  mean.b /= count;
  return mean;
}

TEST_F(FrameRendererTest, SubsetsWithoutAnEffectAreNotDrawn) {
  ASSERT_TRUE(veltrace::test::loadSampleScene("torus.vase", scene, log));
  renderer.setScene(&scene);
  preview.vectorDisplay = vectorDisplayNormalsMask;
  renderFrames(1);
  EXPECT_EQ(renderer.subsetsDrawn(), 0);
  EXPECT_EQ(renderer.guideListsDrawn(), 0) << "no normals for a subset without an effect";
  RgbaImage image = capture();
  EXPECT_EQ(image.colourAt(frameSize / 2, frameSize / 2), 0x000032u) << "only the clear colour";
}

TEST_F(FrameRendererTest, LitTexturedTorusCoversTheCentre) {
  auto effect = veltrace::test::loadSampleEffect("lit_textured", log);
  ASSERT_TRUE(effect);
  ASSERT_TRUE(veltrace::test::loadSampleScene("torus.vase", scene, log));
  veltrace::test::assignToAll(scene, effect.get());
  renderer.setScene(&scene);
  log.takePending();
  renderFrames(2);
  EXPECT_EQ(renderer.subsetsDrawn(), 1);
  EXPECT_EQ(renderer.preparationsFailed(), 0);
  for (const auto& line : log.takePending()) ADD_FAILURE() << "unexpected message: " << line;
  EXPECT_FALSE(effect->shadersChanged);
  EXPECT_NE(renderer.shaderHandle(*effect, ShaderKind::vertex), 0u);
  EXPECT_NE(renderer.shaderHandle(*effect, ShaderKind::pixel), 0u);
  // The material's base texture is loaded once and kept.
  ASSERT_EQ(renderer.textures().entries().size(), 1u);
  EXPECT_EQ(renderer.textures().entries()[0].name, "marble_base.bmp");
  EXPECT_EQ(renderer.textures().entries()[0].useCount, 1);
}

TEST_F(FrameRendererTest, DeletedDeviceLeavesNoShaderHandleBehindInEffectsOfAnEarlierScene) {
  auto effect = veltrace::test::loadSampleEffect("lit_textured", log);
  ASSERT_TRUE(effect);
  ASSERT_TRUE(veltrace::test::loadSampleScene("torus.vase", scene, log));
  veltrace::test::assignToAll(scene, effect.get());
  renderer.setScene(&scene);
  renderFrames(1);
  ASSERT_NE(renderer.shaderHandle(*effect, ShaderKind::vertex), 0u);
  // Another scene comes in; the effect stays in the workspace unassigned.
  Scene other;
  renderer.setScene(&other);
  renderer.deleteDeviceObjects();
  ASSERT_TRUE(SUCCEEDED(renderer.initDeviceObjects(device.device(), support)));
  renderer.setScene(&scene);
  renderFrames(1);
  // Handles of the deleted device name nothing, or another shader, on the
  // next one: the effect's shaders are built again, once.
  EXPECT_EQ(renderer.preparationsFailed(), 0);
  ASSERT_EQ(renderer.shaders().vertexShaders().size(), 1u);
  ASSERT_EQ(renderer.shaders().pixelShaders().size(), 1u);
  EXPECT_EQ(renderer.shaderHandle(*effect, ShaderKind::vertex), renderer.shaders().vertexShaders()[0].handle);
  EXPECT_EQ(renderer.shaderHandle(*effect, ShaderKind::pixel), renderer.shaders().pixelShaders()[0].handle);
  renderer.setScene(nullptr);
  renderer.forgetEffect(*effect);
}

TEST_F(FrameRendererTest, MissingTextureDrawsWithTheFallbackAndOneMessage) {
  auto effect = veltrace::test::loadSampleEffect("lit_textured", log);
  ASSERT_TRUE(effect);
  ASSERT_TRUE(veltrace::test::loadSampleScene("torus.vase", scene, log));
  veltrace::test::assignToAll(scene, effect.get());
  for (auto& material : scene.materials) material.baseTexture = "\\media\\textures\\no_such_texture.bmp";
  renderer.setScene(&scene);
  log.takePending();
  renderFrames(3);
  EXPECT_EQ(log.takePending(),
            std::vector<std::string>{"Can't load texture \"no_such_texture.bmp\" - using default texture "
                                     "\"texture_not_found.bmp\" instead ... (the file cannot be read)"});
  ASSERT_EQ(renderer.textures().entries().size(), 1u);
  EXPECT_EQ(renderer.textures().entries()[0].name, "no_such_texture.bmp");
  EXPECT_NE(renderer.textures().entries()[0].path.find("texture_not_found.bmp"), std::string::npos);
}

TEST_F(FrameRendererTest, ShaderThatFailsToCreateIsReportedOncePerChange) {
  auto effect = veltrace::test::loadSampleEffect("lit_textured", log);
  ASSERT_TRUE(effect);
  effect->vertexShader.source = "vs.1.1\nm4x4 oPos, v0\n";  // an operand short
  ASSERT_TRUE(veltrace::test::loadSampleScene("torus.vase", scene, log));
  veltrace::test::assignToAll(scene, effect.get());
  renderer.setScene(&scene);
  log.takePending();
  renderFrames(3);
  std::vector<std::string> expected{"Failed to load Vertex Shader !",
                                    "E_FAIL (An undetermined error occurred.)"};
  std::vector<std::string> lines = log.takePending();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], expected[0]);
  EXPECT_EQ(lines[1].rfind("E_FAIL (", 0), 0u) << lines[1];
  EXPECT_EQ(renderer.shaderHandle(*effect, ShaderKind::vertex), 0u);
  effect->shadersChanged = true;
  renderFrames(2);
  EXPECT_EQ(log.takePending().size(), 2u) << "again after the next change, once";
}

TEST_F(FrameRendererTest, OnlyNormalsWhenBothDisplaysAreAsked) {
  auto effect = veltrace::test::loadSampleEffect("lit_textured", log);
  ASSERT_TRUE(effect);
  ASSERT_TRUE(veltrace::test::loadSampleScene("torus.vase", scene, log));
  veltrace::test::assignToAll(scene, effect.get());
  renderer.setScene(&scene);
  preview.vectorDisplay = vectorDisplayNormalsMask | vectorDisplayTangentFramesMask;
  renderFrames(1);
  EXPECT_EQ(renderer.guideListsDrawn(), 1);
  RgbaImage image = capture();
  int yellow = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) yellow += image.colourAt(x, y) == 0xFFFF00u;
  EXPECT_GT(yellow, 20) << "the normals are drawn in yellow";
  preview.vectorDisplay = vectorDisplayTangentFramesMask;
  renderFrames(1);
  EXPECT_EQ(renderer.guideListsDrawn(), 3) << "tangent, binormal and normal lines";
  EXPECT_TRUE(scene.meshes[0].subsets[0].framesBuilt);
}

TEST_F(FrameRendererTest, EffectsSharingSlotNamesShareShadersUntilBothRelease) {
  auto first = veltrace::test::loadSampleEffect("lit_textured", log);
  auto second = veltrace::test::loadSampleEffect("lit_textured", log);
  ASSERT_TRUE(first && second);
  // Loading numbers the slots; give both effects the same names.
  second->vertexShader.name = first->vertexShader.name;
  second->pixelShader.name = first->pixelShader.name;
  ASSERT_TRUE(veltrace::test::loadSampleScene("pedestal.vase", scene, log));
  ASSERT_GE(scene.meshes.size(), 2u);
  for (auto& subset : scene.meshes[0].subsets) subset.effect = first.get();
  for (auto& subset : scene.meshes[1].subsets) subset.effect = second.get();
  renderer.setScene(&scene);
  renderFrames(1);
  ASSERT_EQ(renderer.shaders().vertexShaders().size(), 1u);
  EXPECT_EQ(renderer.shaders().vertexShaders()[0].useCount, 2);
  EXPECT_EQ(renderer.shaderHandle(*first, ShaderKind::vertex), renderer.shaderHandle(*second, ShaderKind::vertex));

  renderer.forgetEffect(*first);
  ASSERT_EQ(renderer.shaders().vertexShaders().size(), 1u) << "the second effect still uses it";
  EXPECT_EQ(scene.meshes[0].subsets[0].effect, nullptr);
  renderer.forgetEffect(*second);
  EXPECT_TRUE(renderer.shaders().vertexShaders().empty());
  EXPECT_TRUE(renderer.shaders().pixelShaders().empty());
}

TEST_F(FrameRendererTest, SubsetWithoutShadersDrawsFixedFunction) {
  auto effect = veltrace::test::loadSampleEffect("lit_textured", log);
  ASSERT_TRUE(effect);
  effect->vertexShader.present = false;
  effect->pixelShader.present = false;
  ASSERT_TRUE(veltrace::test::loadSampleScene("torus.vase", scene, log));
  veltrace::test::assignToAll(scene, effect.get());
  renderer.setScene(&scene);
  renderFrames(1);
  EXPECT_EQ(renderer.preparationsFailed(), 0);
  EXPECT_TRUE(renderer.shaders().vertexShaders().empty());
  // Lighting is off in the effect, so the torus shows its texture colours.
  Mean mean = centreMean(capture(), 4);
  EXPECT_GT(mean.r + mean.g + mean.b, 3 * 50.0) << "something other than the clear colour";
}

// A new effect has no shaders: the cube shows lit by the preview light, with
// its material's base texture, and goes dark when the light gives nothing.
TEST_F(FrameRendererTest, NewEffectShowsTheCubeLitWithItsBaseTexture) {
  auto effect = std::make_unique<Effect>(createEffect(dataFolder(), log));
  ASSERT_TRUE(veltrace::test::loadSampleScene("cube.vase", scene, log));
  veltrace::test::assignToAll(scene, effect.get());
  renderer.setScene(&scene);
  renderFrames(1);
  EXPECT_EQ(renderer.preparationsFailed(), 0);
  ASSERT_EQ(renderer.textures().entries().size(), 1u);
  EXPECT_EQ(renderer.textures().entries()[0].name, "tiles_base.bmp");
  Mean lit = centreMean(capture(), 4);

  preview.light.diffuse = preview.light.specular = preview.light.ambient = ColourValue{0, 0, 0, 0};
  renderFrames(1);
  Mean unlit = centreMean(capture(), 4);
  EXPECT_GT(lit.r + lit.g + lit.b, 3 * 60.0) << "the lit cube covers the centre";
  EXPECT_LT(unlit.r + unlit.g + unlit.b, (lit.r + lit.g + lit.b) / 2) << "the light is what shows it";
}

TEST_F(FrameRendererTest, SubsetWhoseMaterialIsMissingStillDraws) {
  auto effect = veltrace::test::loadSampleEffect("lit_textured", log);
  ASSERT_TRUE(effect);
  ASSERT_TRUE(veltrace::test::loadSampleScene("pedestal.vase", scene, log));
  veltrace::test::assignToAll(scene, effect.get());
  scene.meshes[0].subsets[0].subMaterialIndex = 99;
  scene.meshes[1].subsets[0].materialIndex = -1;
  renderer.setScene(&scene);
  renderFrames(1);
  EXPECT_EQ(renderer.subsetsDrawn(), 4);
}

TEST_F(FrameRendererTest, SubsetWithIndicesPastItsVerticesIsRefused) {
  auto effect = veltrace::test::loadSampleEffect("lit_textured", log);
  ASSERT_TRUE(effect);
  ASSERT_TRUE(veltrace::test::loadSampleScene("pedestal.vase", scene, log));
  veltrace::test::assignToAll(scene, effect.get());
  scene.meshes[1].subsets[0].indices[5] = 1000000;
  log.takePending();
  renderer.setScene(&scene);
  EXPECT_EQ(log.takePending(),
            std::vector<std::string>{"Subset 1 of mesh 2 has indices beyond its vertices - it is not drawn"});
  renderFrames(1);
  EXPECT_EQ(renderer.subsetsDrawn(), 3);
}

TEST_F(FrameRendererTest, EffectTexturesAreAcquiredOncePerEffect) {
  auto bump = veltrace::test::loadSampleEffect("bump_tangent", log);
  ASSERT_TRUE(bump);
  ASSERT_TRUE(veltrace::test::loadSampleScene("torus.vase", scene, log));
  veltrace::test::assignToAll(scene, bump.get());
  renderer.setScene(&scene);
  renderFrames(4);
  // The height map is the material's bump texture and the effect's own
  // texture on stage 2: one entry, held once by each.
  const auto& entries = renderer.textures().entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "marble_base.bmp");
  EXPECT_EQ(entries[0].useCount, 1);
  EXPECT_EQ(entries[1].name, "tiles_bump.bmp");
  EXPECT_EQ(entries[1].useCount, 2);
  std::int32_t bytes = renderer.textures().totalBytes();
  EXPECT_GT(bytes, 0);

  renderer.forgetEffect(*bump);
  EXPECT_EQ(renderer.textures().entries()[1].useCount, 1) << "the material still holds it";
  renderer.setScene(nullptr);
  EXPECT_TRUE(renderer.textures().entries().empty());
  EXPECT_EQ(renderer.textures().totalBytes(), 0);
}

}  // namespace

// Everything the renderer made on a device is released with its device
// objects: the device's last reference goes with it.
TEST(FrameRendererLifetime, DeviceReferencesDropToZero) {
  veltrace::test::D3DTestDevice device{frameSize, frameSize};
  if (!device.device()) GTEST_SKIP() << device.problem();
  MessageLog log;
  PreviewState preview;
  Scene scene;
  auto bump = veltrace::test::loadSampleEffect("bump_tangent", log);
  ASSERT_TRUE(bump);
  ASSERT_TRUE(veltrace::test::loadSampleScene("pedestal.vase", scene, log));
  veltrace::test::assignToAll(scene, bump.get());
  {
    FrameRenderer renderer{preview, log};
    renderer.textures().setProgramFolder(dataFolder());
    renderer.textures().setFolder(dataFolder() + "\\media\\textures");
    ASSERT_TRUE(SUCCEEDED(renderer.initDeviceObjects(device.device(), {false, 1.1f})));
    renderer.restoreDeviceObjects();
    renderer.setScene(&scene);
    frameMove(preview, 1.0f, std::nullopt);
    preview.showLight = preview.showStats = true;
    preview.vectorDisplay = vectorDisplayTangentFramesMask;
    for (int i = 0; i < 2; ++i) renderer.render(0.5f, {"device", "stats", static_cast<int>(frameSize)});
    EXPECT_GT(renderer.textures().entries().size(), 0u);
    renderer.invalidateDeviceObjects();
    renderer.setScene(nullptr);
    renderer.deleteDeviceObjects();
  }
  EXPECT_EQ(device.releaseDevice(), 0u);
}
