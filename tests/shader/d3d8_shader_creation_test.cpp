// What the assembler produces must be taken by the Direct3D 8 device:
// CreateVertexShader and CreatePixelShader accept every golden shader.

#include <windows.h>
#include <d3d8.h>

#include <gtest/gtest.h>

#include "render/shader/shader_assembler.h"
#include "tests/shader/golden_shaders.h"

namespace veltrace::shader {
namespace {

struct TestWindow {
  HWND handle = nullptr;
  TestWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VeltraceShaderTest";
    RegisterClassA(&windowClass);
    handle = CreateWindowA("VeltraceShaderTest", "shader test", WS_OVERLAPPEDWINDOW, 0, 0, 160, 120, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
  }
  ~TestWindow() {
    if (handle) DestroyWindow(handle);
  }
};

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
    ASSERT_NE(window_.handle, nullptr);
    direct3d_ = Direct3DCreate8(D3D_SDK_VERSION);
    if (!direct3d_) GTEST_SKIP() << "no Direct3D 8 on this machine";
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(direct3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.BackBufferFormat = mode.Format;
    parameters.BackBufferWidth = 64;
    parameters.BackBufferHeight = 64;
    HRESULT created = direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_.handle,
                                              D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device_);
    if (FAILED(created)) GTEST_SKIP() << "no Direct3D 8 device (0x" << std::hex << created << ")";
    device_->GetDeviceCaps(&caps_);
  }
  void TearDown() override {
    if (device_) {
      EXPECT_EQ(device_->Release(), 0u) << "device objects left alive";
    }
    if (direct3d_) direct3d_->Release();
  }

  TestWindow window_;
  IDirect3D8* direct3d_ = nullptr;
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
