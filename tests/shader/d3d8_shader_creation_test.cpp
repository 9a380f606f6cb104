// What the assembler produces must be taken by the Direct3D 8 device:
// CreateVertexShader and CreatePixelShader accept every golden shader.

#include <windows.h>
#include <d3d8.h>

#include <gtest/gtest.h>

#include "render/shader/shader_assembler.h"
#include "tests/shader/golden_shaders.h"
#include "tests/support/d3d_test_device.h"

namespace veltrace::shader {
namespace {

// The golden vertex shaders read v0 to v3: one stream of four float4s.
const DWORD vertexDeclaration[] = {
    D3DVSD_STREAM(0),
    D3DVSD_REG(0, D3DVSDT_FLOAT4),
    D3DVSD_REG(1, D3DVSDT_FLOAT4),
    D3DVSD_REG(2, D3DVSDT_FLOAT4),
    D3DVSD_REG(3, D3DVSDT_FLOAT4),
    D3DVSD_END(),
};

class Direct3D8Device : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testDevice_.device()) GTEST_SKIP() << testDevice_.problem();
    device_ = testDevice_.device();
    device_->GetDeviceCaps(&caps_);
  }
  void TearDown() override {
    if (device_) EXPECT_EQ(testDevice_.releaseDevice(), 0u) << "device objects left alive";
  }

  veltrace::test::D3DTestDevice testDevice_;
  IDirect3DDevice8* device_ = nullptr;
  D3DCAPS8 caps_{};
};

TEST_F(Direct3D8Device, AcceptsEveryGoldenShader) {
  int vertexCreated = 0;
  int pixelCreated = 0;
  for (const auto& golden : test::goldenShadersInEveryVersion()) {
    SCOPED_TRACE(golden.name);
    AssembleResult result = assembleShader(golden.source);
    ASSERT_TRUE(result.succeeded()) << result.errorText();
    const DWORD* code = reinterpret_cast<const DWORD*>(result.tokens.data());
    DWORD handle = 0;
    if (result.version->kind == ShaderKind::vertex) {
      HRESULT created = device_->CreateVertexShader(vertexDeclaration, code, &handle, 0);
      EXPECT_EQ(created, D3D_OK) << golden.source;
      if (SUCCEEDED(created)) {
        device_->DeleteVertexShader(handle);
        ++vertexCreated;
      }
      continue;
    }
    DWORD wanted = D3DPS_VERSION(result.version->major, result.version->minor);
    if (caps_.PixelShaderVersion < wanted) continue;
    HRESULT created = device_->CreatePixelShader(code, &handle);
    EXPECT_EQ(created, D3D_OK) << golden.source;
    if (SUCCEEDED(created)) {
      device_->DeletePixelShader(handle);
      ++pixelCreated;
    }
  }
  EXPECT_GT(vertexCreated, 10);
  if (caps_.PixelShaderVersion >= D3DPS_VERSION(1, 4)) {
    EXPECT_GT(pixelCreated, 20);
  }
}

}  // namespace
}  // namespace veltrace::shader
