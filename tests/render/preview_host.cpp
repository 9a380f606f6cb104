#include "preview_host.h"

#include <windowsx.h>

#include "render/preview/frame_move.h"
#include "render/preview/preview_input.h"
#include "render/preview/preview_messages.h"
#include "render/preview/preview_transforms_d3d.h"

namespace veltrace::render::test {

namespace {

constexpr char hostWindowClass[] = "VeltracePreviewHost";
constexpr DWORD hostWindowStyle = WS_OVERLAPPEDWINDOW;

VertexProcessing processingOf(DWORD behaviour) {
  if (behaviour & createPureDevice) return VertexProcessing::pureHardware;
  if (behaviour & createHardwareVertexProcessing) return VertexProcessing::hardware;
  if (behaviour & createMixedVertexProcessing) return VertexProcessing::mixed;
  return VertexProcessing::software;
}

}  // namespace

PreviewHost::PreviewHost() {
  windowTitle = "Veltrace";
  useDepthBuffer = true;
}

PreviewHost::~PreviewHost() { cleanup3DEnvironment(); }

bool PreviewHost::openWindow(int clientWidth, int clientHeight) {
  RECT bounds{0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&bounds, hostWindowStyle, FALSE);
  ui::WindowPlacement placement;
  placement.style = hostWindowStyle | WS_VISIBLE;
  placement.x = placement.y = 0;
  placement.width = bounds.right - bounds.left;
  placement.height = bounds.bottom - bounds.top;
  ui::WindowClassStyle classStyle;
  classStyle.background = nullptr;
  return window_.create(hostWindowClass, "preview host", placement, classStyle);
}

void PreviewHost::resizeClient(int clientWidth, int clientHeight) {
  RECT bounds{0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&bounds, hostWindowStyle, FALSE);
  SetWindowPos(window_.handle(), nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOMOVE | SWP_NOZORDER);
}

HRESULT PreviewHost::start() {
  attachWindow(window_.handle());
  return create(GetModuleHandleA(nullptr));
}

void PreviewHost::runFrames(int count) {
  for (int i = 0; i < count; ++i) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (ready()) lastFrameResult = render3DEnvironment();
    // The timer may not have moved since the last step: a frame step with no
    // elapsed time does nothing, so give it a moment.
    Sleep(1);
  }
}

void PreviewHost::runFor(double seconds) {
  double until = timer().absoluteTime() + seconds;
  while (timer().absoluteTime() < until) runFrames(1);
}

LRESULT PreviewHost::send(UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(window_.handle(), message, wParam, lParam);
}

std::uint32_t PreviewHost::capturedPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= capturedWidth_ || y >= capturedHeight_) return 0xFFFFFFFF;
  return captured_[static_cast<std::size_t>(y) * capturedWidth_ + x];
}

LRESULT PreviewHost::HostWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  host_.D3DFramework::handleMessage(handle(), message, wParam, lParam);
  if (applyPreviewMessage(host_.preview, handle(), message, wParam, lParam)) return 0;
  return defaultHandling(message, wParam, lParam);
}

HRESULT PreviewHost::confirmDevice(const D3DCAPS8& caps, DWORD behaviour, D3DFORMAT) {
  confirmShaderSupport(processingOf(behaviour), caps.VertexShaderVersion, caps.PixelShaderVersion, shaderSupport);
  return S_OK;
}

HRESULT PreviewHost::initDeviceObjects() {
  ++initCount;
  HRESULT result = font.initDeviceObjects(device());
  if (FAILED(result)) return result;
  initialiseLight(preview);
  std::string error;
  result = marker.create(*device(), error);
  if (FAILED(result)) messages.push_back(error);
  return result;
}

HRESULT PreviewHost::restoreDeviceObjects() {
  ++restoreCount;
  float aspect = backBufferAspect(static_cast<int>(backBufferDescription().Width),
                                  static_cast<int>(backBufferDescription().Height));
  restorePreviewTransforms(*device(), preview, aspect);
  return font.restoreDeviceObjects();
}

HRESULT PreviewHost::frameMove() {
  float aspect = backBufferAspect(static_cast<int>(backBufferDescription().Width),
                                  static_cast<int>(backBufferDescription().Height));
  render::frameMove(preview, aspect, std::nullopt);
  return S_OK;
}

HRESULT PreviewHost::render() {
  IDirect3DDevice8* d = device();
  d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColour, 1.0f, 0);
  if (SUCCEEDED(d->BeginScene())) {
    if (preview.showLight) marker.draw(*d, preview);
    if (preview.showStats) {
      font.drawText(2, 0, overlayColour, deviceDescription());
      font.drawText(2, 20, overlayColour, frameStatistics());
    }
    d->EndScene();
  }
  if (captureFrames) captureBackBuffer();
  return S_OK;
}

void PreviewHost::captureBackBuffer() {
  captured_.clear();
  capturedWidth_ = capturedHeight_ = 0;
  ComPtr<IDirect3DSurface8> surface;
  if (FAILED(device()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, surface.put()))) return;
  D3DSURFACE_DESC description{};
  surface->GetDesc(&description);
  bool thirtyTwoBit = description.Format == D3DFMT_X8R8G8B8 || description.Format == D3DFMT_A8R8G8B8;
  bool sixteenBit = description.Format == D3DFMT_R5G6B5;
  if (!thirtyTwoBit && !sixteenBit) return;
  D3DLOCKED_RECT locked{};
  if (FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return;
  capturedWidth_ = static_cast<int>(description.Width);
  capturedHeight_ = static_cast<int>(description.Height);
  captured_.resize(static_cast<std::size_t>(capturedWidth_) * capturedHeight_);
  for (int y = 0; y < capturedHeight_; ++y) {
    auto row = static_cast<const std::uint8_t*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch;
    for (int x = 0; x < capturedWidth_; ++x) {
      std::uint32_t colour;
      if (thirtyTwoBit) {
        colour = reinterpret_cast<const std::uint32_t*>(row)[x] & 0x00FFFFFF;
      } else {
        std::uint16_t texel = reinterpret_cast<const std::uint16_t*>(row)[x];
        std::uint32_t r = (texel >> 11) & 0x1F, g = (texel >> 5) & 0x3F, b = texel & 0x1F;
        colour = ((r * 255 / 31) << 16) | ((g * 255 / 63) << 8) | (b * 255 / 31);
      }
      captured_[static_cast<std::size_t>(y) * capturedWidth_ + x] = colour;
    }
  }
  surface->UnlockRect();
}

HRESULT PreviewHost::invalidateDeviceObjects() {
  ++invalidateCount;
  return font.invalidateDeviceObjects();
}

HRESULT PreviewHost::deleteDeviceObjects() {
  ++deleteCount;
  marker.destroy();
  return font.deleteDeviceObjects();
}

void PreviewHost::showMessage(const std::string& text, MessageKind) { messages.push_back(text); }

}  // namespace veltrace::render::test
