#include "render/frame/shader_cache.h"

#include <gtest/gtest.h>

#include <set>

#include "render/frame/shader_selection.h"

using namespace veltrace;
using namespace veltrace::render;

namespace {

constexpr const char* goodVertexSource = "vs.1.1\nm4x4 oPos, v0, c0\nmov oT0.xy, v7\n";
constexpr const char* goodPixelSource = "ps.1.1\ntex t0\nmov r0, t0\n";
constexpr std::int32_t invalidCall = static_cast<std::int32_t>(0x8876086Cu);

// Hands out distinct handles, records every call, and fails creations on
// request.
class FakeShaderDevice : public ShaderDevice, public ShaderBinder {
 public:
  bool failVertexCreation = false;
  bool failPixelCreation = false;
  std::set<std::uint32_t> liveVertex, livePixel;
  std::vector<std::uint32_t> usages;
  std::vector<std::uint32_t> vertexSets, pixelSets;
  int creations = 0;

  std::int32_t createVertexShader(const std::uint32_t* declaration, const std::vector<std::uint32_t>& code,
                                  std::uint32_t usage, std::uint32_t& handle) override {
    EXPECT_NE(declaration, nullptr);
    EXPECT_FALSE(code.empty());
    usages.push_back(usage);
    ++creations;
    if (failVertexCreation) return invalidCall;
    handle = next_++;
    liveVertex.insert(handle);
    return 0;
  }
  std::int32_t createPixelShader(const std::vector<std::uint32_t>& code, std::uint32_t& handle) override {
    EXPECT_FALSE(code.empty());
    ++creations;
    if (failPixelCreation) return invalidCall;
    handle = next_++;
    livePixel.insert(handle);
    return 0;
  }
  void deleteVertexShader(std::uint32_t handle) override { EXPECT_EQ(liveVertex.erase(handle), 1u); }
  void deletePixelShader(std::uint32_t handle) override { EXPECT_EQ(livePixel.erase(handle), 1u); }
  std::string errorName(std::int32_t code) const override {
    return code == invalidCall ? "D3DERR_INVALIDCALL" : "E_FAIL";
  }
  std::string errorDescription(std::int32_t code) const override {
    return code == invalidCall ? "Invalid call" : "An undetermined error occurred";
  }
  std::int32_t setVertexShader(std::uint32_t handle) override {
    vertexSets.push_back(handle);
    return 0;
  }
  std::int32_t setPixelShader(std::uint32_t handle) override {
    pixelSets.push_back(handle);
    return 0;
  }

 private:
  std::uint32_t next_ = 0x101;
};

struct ShaderCacheTest : ::testing::Test {
  FakeShaderDevice device;
  MessageLog log;
  ShaderCache cache{device, log};
  EffectShaderHandles handles;
  std::uint32_t declaration[3] = {0x20000000, 0x40020000, 0xFFFFFFFF};

  ShaderCacheTest() { cache.setSupport({true, 1.4f}); }
};

TEST_F(ShaderCacheTest, SameNameSharesOneShaderUntilTheLastRelease) {
  std::uint32_t first = cache.acquireVertexShader("Shared", goodVertexSource, declaration, 0);
  std::uint32_t second = cache.acquireVertexShader("Shared", "not even read", declaration, 0);
  ASSERT_NE(first, 0u);
  EXPECT_EQ(first, second);
  EXPECT_EQ(device.creations, 1);
  ASSERT_EQ(cache.vertexShaders().size(), 1u);
  EXPECT_EQ(cache.vertexShaders()[0].useCount, 2);

  EXPECT_TRUE(cache.release(first));
  EXPECT_EQ(device.liveVertex.count(first), 1u) << "still used by the other holder";
  EXPECT_TRUE(cache.release(first));
  EXPECT_TRUE(device.liveVertex.empty());
  EXPECT_TRUE(cache.vertexShaders().empty());
  EXPECT_FALSE(cache.release(first)) << "gone after its last use";
  EXPECT_FALSE(cache.release(0));
}

// The renderer assembles a source as Apply does: its #include lines look
// beside the file it came from, then in the shader folder.
TEST_F(ShaderCacheTest, IncludesResolveBesideTheSourceThenInTheShaderFolder) {
  struct Files : shader::IncludeFileReader {
    std::optional<std::string> read(const std::string& path) const override {
      if (path == "fx\\glass\\transform.inc") return "m4x4 oPos, v0, c0\n";
      if (path == "prog\\shader\\colour.inc") return "mov r0, t0\n";
      return std::nullopt;
    }
  } files;
  cache.setIncludeReader(&files);
  cache.setShaderFolders("prog");
  EXPECT_NE(cache.acquireVertexShader("V", "vs.1.1\n#include \"transform.inc\"\n", declaration, 0,
                                      "fx\\glass\\vertexshader.txt"),
            0u);
  EXPECT_NE(cache.acquirePixelShader("P", "ps.1.1\ntex t0\n#include \"colour.inc\"\n", "fx\\glass\\pixelshader.txt"),
            0u);
  EXPECT_EQ(cache.acquireVertexShader("W", "vs.1.1\n#include \"transform.inc\"\n", declaration, 0,
                                      "fx\\other\\vertexshader.txt"),
            0u)
      << "not beside this source nor in the shader folder";
}

TEST_F(ShaderCacheTest, NamesAreCaseSensitiveAndKindsSeparate) {
  std::uint32_t upper = cache.acquireVertexShader("Shader", goodVertexSource, declaration, 0);
  std::uint32_t lower = cache.acquireVertexShader("shader", goodVertexSource, declaration, 0);
  std::uint32_t pixel = cache.acquirePixelShader("Shader", goodPixelSource);
  EXPECT_NE(upper, lower);
  EXPECT_NE(pixel, upper);
  EXPECT_EQ(cache.vertexShaders().size(), 2u);
  EXPECT_EQ(cache.pixelShaders().size(), 1u);
  // Releasing removes the entry; later ones move up.
  EXPECT_TRUE(cache.release(upper));
  ASSERT_EQ(cache.vertexShaders().size(), 1u);
  EXPECT_EQ(cache.vertexShaders()[0].slotName, "shader");
  EXPECT_TRUE(cache.release(pixel));
  EXPECT_TRUE(device.livePixel.empty());
}

TEST_F(ShaderCacheTest, ReleaseAllDeletesEveryShader) {
  cache.acquireVertexShader("A", goodVertexSource, declaration, 0);
  cache.acquireVertexShader("A", goodVertexSource, declaration, 0);
  cache.acquirePixelShader("B", goodPixelSource);
  cache.releaseAll();
  EXPECT_TRUE(device.liveVertex.empty());
  EXPECT_TRUE(device.livePixel.empty());
  EXPECT_TRUE(cache.vertexShaders().empty());
  EXPECT_TRUE(cache.pixelShaders().empty());
}

TEST_F(ShaderCacheTest, CodeBytesCountAssembledCodeAndOnlyGrow) {
  std::uint32_t handle = cache.acquireVertexShader("A", goodVertexSource, declaration, 0);
  std::int32_t afterOne = cache.codeBytes();
  EXPECT_GT(afterOne, 0);
  EXPECT_EQ(afterOne % 4, 0);
  cache.acquireVertexShader("A", goodVertexSource, declaration, 0);
  EXPECT_EQ(cache.codeBytes(), afterOne) << "a shared shader is not assembled again";
  cache.release(handle);
  cache.release(handle);
  EXPECT_EQ(cache.codeBytes(), afterOne);
  cache.acquireVertexShader("A", goodVertexSource, declaration, 0);
  EXPECT_EQ(cache.codeBytes(), 2 * afterOne);
}

TEST_F(ShaderCacheTest, CreationMessagesAreExact) {
  EXPECT_EQ(cache.acquireVertexShader("Bad", "vs.1.1\nfoo r0, v0\n", declaration, 0), 0u);
  EXPECT_EQ(log.takePending(),
            (std::vector<std::string>{"Failed to load Vertex Shader !", "E_FAIL (An undetermined error occurred)"}));
  EXPECT_EQ(device.creations, 0);

  device.failVertexCreation = true;
  EXPECT_EQ(cache.acquireVertexShader("Refused", goodVertexSource, declaration, 0), 0u);
  EXPECT_EQ(log.takePending(),
            (std::vector<std::string>{
                "Failed to create Vertex Shader - Invalid call !",
                "Maybe stream mapping doesn't match shader input registers or hardware does not support shader "
                "version... "}));
  EXPECT_EQ(cache.acquireVertexShader("Refused", goodVertexSource, declaration, usageSoftwareProcessing), 0u);
  EXPECT_EQ(log.takePending(),
            std::vector<std::string>{"Failed to create Vertex Shader with software vertex processing !"});
  EXPECT_TRUE(cache.vertexShaders().empty()) << "failures leave no entry";

  EXPECT_EQ(cache.acquirePixelShader("Effect PixelShader #3", "ps.1.1\nbogus\n"), 0u);
  EXPECT_EQ(log.takePending(),
            (std::vector<std::string>{"Failed to load Pixel Shader \"Effect PixelShader #3\"!",
                                      "DirectX Error : E_FAIL - An undetermined error occurred"}));
  device.failPixelCreation = true;
  EXPECT_EQ(cache.acquirePixelShader("P", goodPixelSource), 0u);
  EXPECT_EQ(log.takePending(), std::vector<std::string>{"Failed to create Pixel Shader \"P\"!"});
}

TEST_F(ShaderCacheTest, WithoutShaderHardware) {
  cache.setSupport({false, 0.0f});
  EXPECT_EQ(cache.acquirePixelShader("P", goodPixelSource), 0u);
  EXPECT_EQ(log.takePending(), std::vector<std::string>{"No Pixel Shader hardware support present !"});
  // A hardware vertex shader is refused; software processing runs it.
  EXPECT_EQ(cache.acquireVertexShader("V", goodVertexSource, declaration, 0), 0u);
  EXPECT_EQ(log.takePending(), std::vector<std::string>{"No Vertex Shader hardware support present !"});
  EXPECT_NE(cache.acquireVertexShader("V", goodVertexSource, declaration, usageSoftwareProcessing), 0u);
  EXPECT_TRUE(log.pending().empty());
  EXPECT_EQ(device.usages.back(), usageSoftwareProcessing);
}

TEST_F(ShaderCacheTest, ShaderFoldersEndInABackslash) {
  cache.setShaderFolders("C:\\prog");
  EXPECT_EQ(cache.vertexShaderFolder(), "C:\\prog\\shader\\");
  EXPECT_EQ(cache.pixelShaderFolder(), "C:\\prog\\shader\\");
}

// --- shader selection -------------------------------------------------------

TEST(EffectShaderHandles, KeepEachEffectsSlotsApartAndForgetThemTogether) {
  Effect first, second;
  EffectShaderHandles handles;
  handles.setHandle(first, ShaderKind::vertex, 7);
  handles.setHandle(first, ShaderKind::pixel, 8);
  handles.setHandle(second, ShaderKind::vertex, 9);
  EXPECT_EQ(handles.handle(first, ShaderKind::vertex), 7u);
  EXPECT_EQ(handles.handle(first, ShaderKind::pixel), 8u);
  EXPECT_EQ(handles.handle(second, ShaderKind::pixel), 0u) << "never set";
  handles.forget(first);
  EXPECT_EQ(handles.handle(first, ShaderKind::vertex), 0u);
  EXPECT_EQ(handles.handle(first, ShaderKind::pixel), 0u);
  EXPECT_EQ(handles.handle(second, ShaderKind::vertex), 9u);
  handles.setHandle(second, ShaderKind::vertex, 0);
  EXPECT_EQ(handles.handle(second, ShaderKind::vertex), 0u);
  handles.setHandle(second, ShaderKind::pixel, 3);
  handles.clear();
  EXPECT_EQ(handles.handle(second, ShaderKind::pixel), 0u);
}

Effect effectWithShaders(const std::string& vertexName, const std::string& pixelName) {
  Effect effect;
  effect.vertexShader = {vertexName, goodVertexSource, true, true};
  effect.pixelShader = {pixelName, goodPixelSource, true, true};
  effect.shadersChanged = true;
  return effect;
}

TEST_F(ShaderCacheTest, SelectionBuildsOnceAndClearsTheFlag) {
  Effect effect = effectWithShaders("V", "P");
  EXPECT_EQ(selectShaders(effect, handles, cache, device, log), 0);
  EXPECT_FALSE(effect.shadersChanged);
  ASSERT_NE(handles.handle(effect, ShaderKind::vertex), 0u);
  ASSERT_NE(handles.handle(effect, ShaderKind::pixel), 0u);
  EXPECT_EQ(device.vertexSets, std::vector<std::uint32_t>{handles.handle(effect, ShaderKind::vertex)});
  EXPECT_EQ(selectShaders(effect, handles, cache, device, log), 0);
  EXPECT_EQ(device.creations, 2) << "nothing is created while the shaders are unchanged";
  EXPECT_EQ(device.vertexSets.size(), 2u);

  // An edit: the old shader goes, a new one comes.
  std::uint32_t old = handles.handle(effect, ShaderKind::vertex);
  effect.vertexShader.name = "V2";
  effect.shadersChanged = true;
  selectShaders(effect, handles, cache, device, log);
  EXPECT_EQ(device.liveVertex.count(old), 0u);
  EXPECT_NE(handles.handle(effect, ShaderKind::vertex), 0u);
  EXPECT_EQ(cache.vertexShaders().size(), 1u);
}

TEST_F(ShaderCacheTest, FailedCreationIsReportedOncePerChange) {
  Effect effect = effectWithShaders("V", "P");
  device.failVertexCreation = true;
  for (int frame = 0; frame < 3; ++frame) selectShaders(effect, handles, cache, device, log);
  EXPECT_EQ(log.takePending().size(), 2u) << "the two creation lines, once";
  EXPECT_EQ(handles.handle(effect, ShaderKind::vertex), 0u);
  EXPECT_TRUE(device.vertexSets.empty()) << "the device keeps the vertex shader it had";
  effect.shadersChanged = true;
  selectShaders(effect, handles, cache, device, log);
  EXPECT_EQ(log.takePending().size(), 2u);
}

TEST_F(ShaderCacheTest, SlotsNotPresentOrNotBuiltSetNoShader) {
  Effect effect = effectWithShaders("V", "P");
  effect.vertexShader.present = false;
  effect.pixelShader.present = false;
  selectShaders(effect, handles, cache, device, log);
  EXPECT_EQ(device.vertexSets, std::vector<std::uint32_t>{0});
  EXPECT_EQ(device.pixelSets, std::vector<std::uint32_t>{0});
  EXPECT_EQ(device.creations, 0);

  Effect unbuilt = effectWithShaders("V", "P");
  unbuilt.vertexShader.buildState = false;
  unbuilt.pixelShader.source.clear();
  selectShaders(unbuilt, handles, cache, device, log);
  EXPECT_EQ(device.creations, 0);
  EXPECT_EQ(handles.handle(unbuilt, ShaderKind::vertex), 0u);
}

TEST_F(ShaderCacheTest, NoPixelShaderVersionIsReportedOncePerChange) {
  cache.setSupport({true, 0.0f});
  Effect effect = effectWithShaders("V", "P");
  selectShaders(effect, handles, cache, device, log);
  selectShaders(effect, handles, cache, device, log);
  EXPECT_EQ(log.takePending(), std::vector<std::string>{"No hardware support for Pixel Shader 1.0 or higher !"});
  EXPECT_TRUE(device.pixelSets.empty());
  EXPECT_NE(handles.handle(effect, ShaderKind::vertex), 0u);
}

TEST_F(ShaderCacheTest, SoftwareProcessingWhenNoHardwareVertexShaders) {
  cache.setSupport({false, 1.1f});
  Effect effect = effectWithShaders("V", "P");
  selectShaders(effect, handles, cache, device, log);
  EXPECT_NE(handles.handle(effect, ShaderKind::vertex), 0u);
  EXPECT_EQ(device.usages, std::vector<std::uint32_t>{usageSoftwareProcessing});
  EXPECT_TRUE(log.pending().empty());
}

TEST_F(ShaderCacheTest, SharedShadersStayUntilBothEffectsRelease) {
  Effect first = effectWithShaders("Common VS", "Common PS");
  Effect second = effectWithShaders("Common VS", "Common PS");
  selectShaders(first, handles, cache, device, log);
  selectShaders(second, handles, cache, device, log);
  EXPECT_EQ(handles.handle(first, ShaderKind::vertex), handles.handle(second, ShaderKind::vertex));
  EXPECT_EQ(device.creations, 2);

  // The first effect's shader is edited: the shared device shader stays for
  // the second.
  std::uint32_t shared = handles.handle(second, ShaderKind::vertex);
  first.vertexShader.name = "Edited VS";
  first.shadersChanged = true;
  selectShaders(first, handles, cache, device, log);
  EXPECT_EQ(device.liveVertex.count(shared), 1u);
  releaseEffectShaders(second, handles, cache);
  EXPECT_EQ(device.liveVertex.count(shared), 0u);
  EXPECT_EQ(handles.handle(second, ShaderKind::vertex), 0u);
  EXPECT_TRUE(second.shadersChanged);
  releaseEffectShaders(first, handles, cache);
  EXPECT_TRUE(device.liveVertex.empty());
  EXPECT_TRUE(device.livePixel.empty());
}

}  // namespace
