// Proves the rendering path the program stands on: a Direct3D 8 device on a
// real window clears its back buffer, and the colour reads back.

#include <windows.h>
#include <d3d8.h>

#include <gtest/gtest.h>

namespace {

struct TestWindow {
  HWND handle = nullptr;
  TestWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VeltraceClearTest";
    RegisterClassA(&windowClass);
    handle = CreateWindowA("VeltraceClearTest", "clear test", WS_OVERLAPPEDWINDOW, 0, 0, 160, 120,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
  }
  ~TestWindow() {
    if (handle) DestroyWindow(handle);
  }
};

template <typename T>
void release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

}  // namespace

TEST(Direct3D8, ClearedBackBufferReadsBackTheClearColour) {
  TestWindow window;
  ASSERT_NE(window.handle, nullptr);

  IDirect3D8* direct3d = Direct3DCreate8(D3D_SDK_VERSION);
  if (!direct3d) GTEST_SKIP() << "no Direct3D 8 on this machine";

  D3DDISPLAYMODE mode{};
  ASSERT_EQ(direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);

  D3DPRESENT_PARAMETERS parameters{};
  parameters.Windowed = TRUE;
  parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  parameters.BackBufferFormat = mode.Format;
  parameters.BackBufferWidth = 64;
  parameters.BackBufferHeight = 64;
  parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;

  IDirect3DDevice8* device = nullptr;
  HRESULT created = direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window.handle,
                                           D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
  if (FAILED(created)) {
    release(direct3d);
    GTEST_SKIP() << "no Direct3D 8 device could be created (0x" << std::hex << created << ")";
  }

  const D3DCOLOR clearColour = 0xFF000032;
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, clearColour, 1.0f, 0), D3D_OK);

  IDirect3DSurface8* backBuffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
  D3DLOCKED_RECT locked{};
  ASSERT_EQ(backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  // Sample the middle, never a corner; X8 formats leave the top byte open.
  auto row = static_cast<const unsigned char*>(locked.pBits) + 32 * locked.Pitch;
  DWORD pixel = reinterpret_cast<const DWORD*>(row)[32];
  backBuffer->UnlockRect();
  EXPECT_EQ(pixel & 0x00FFFFFF, clearColour & 0x00FFFFFF);

  release(backBuffer);
  EXPECT_EQ(device->Release(), 0u) << "device objects left alive";
  device = nullptr;
  release(direct3d);
}
