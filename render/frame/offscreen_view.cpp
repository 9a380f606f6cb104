#include "render/frame/offscreen_view.h"

#include "base/text.h"
#include "render/frame/frame_capture.h"
#include "render/preview/frame_move.h"
#include "render/preview/preview_transforms_d3d.h"

namespace veltrace::render {

namespace {

constexpr char windowClassName[] = "VeltraceOffscreenView";
constexpr DWORD windowStyle = WS_POPUP;  // never shown; no frame to limit its size

VertexProcessing processingOf(DWORD behaviour) {
  if (behaviour & createPureDevice) return VertexProcessing::pureHardware;
  if (behaviour & createHardwareVertexProcessing) return VertexProcessing::hardware;
  if (behaviour & createMixedVertexProcessing) return VertexProcessing::mixed;
  return VertexProcessing::software;
}

}  // namespace

OffscreenView::OffscreenView(MessageLog& log) : renderer(preview, log) {
  windowTitle = "Veltrace";
  useDepthBuffer = true;
  lockableBackBuffer = true;
}

OffscreenView::~OffscreenView() {
  cleanup3DEnvironment();
  if (hiddenWindow_) DestroyWindow(hiddenWindow_);
}

bool OffscreenView::start(int width, int height, std::string& error) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = windowClassName;
  RegisterClassA(&windowClass);
  RECT bounds{0, 0, width, height};
  AdjustWindowRect(&bounds, windowStyle, FALSE);
  hiddenWindow_ = CreateWindowA(windowClassName, "Veltrace", windowStyle, 0, 0, bounds.right - bounds.left,
                                bounds.bottom - bounds.top, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!hiddenWindow_) {
    // Under Wine this is nearly always a missing X display.
    error = "no window for the device: is there a display to open windows on?";
    return false;
  }
  // A window never grows beyond the display: a frame of another size than
  // asked for would be a different picture, so refuse it.
  RECT client{};
  GetClientRect(hiddenWindow_, &client);
  if (client.right - client.left != width || client.bottom - client.top != height) {
    error = formatText("a %dx%d frame does not fit on this display (at most %ldx%ld here)", width, height,
                       client.right - client.left, client.bottom - client.top);
    return false;
  }
  attachWindow(hiddenWindow_);
  if (FAILED(create(GetModuleHandleA(nullptr))) || !device()) {
    error = frameworkMessages.empty() ? "no Direct3D 8 device could be created" : frameworkMessages.back();
    return false;
  }
  return true;
}

float OffscreenView::aspect() const {
  return backBufferAspect(static_cast<int>(backBufferDescription().Width),
                          static_cast<int>(backBufferDescription().Height));
}

HRESULT OffscreenView::drawFrame(float appTime) {
  if (!device()) return D3DERR_INVALIDCALL;
  render::frameMove(preview, aspect(), std::nullopt);
  OverlayText overlay{deviceDescription(), frameStatistics(), static_cast<int>(backBufferDescription().Height)};
  HRESULT result = renderer.render(appTime, overlay);
  // A render on request draws a few frames in well under a second: every
  // frame updates the rate, so from the second frame on the overlay shows
  // how fast the frames before it were drawn.
  updateStatistics(0.0);
  return result;
}

bool OffscreenView::capture(RgbaImage& image, std::string& error) {
  if (!device()) {
    error = "no device";
    return false;
  }
  return SUCCEEDED(captureBackBuffer(*device(), image, error));
}

HRESULT OffscreenView::confirmDevice(const D3DCAPS8& caps, DWORD behaviour, D3DFORMAT) {
  confirmShaderSupport(processingOf(behaviour), caps.VertexShaderVersion, caps.PixelShaderVersion, shaderSupport);
  return S_OK;
}

HRESULT OffscreenView::initDeviceObjects() { return renderer.initDeviceObjects(device(), shaderSupport); }

HRESULT OffscreenView::restoreDeviceObjects() {
  restorePreviewTransforms(*device(), preview, aspect());
  return renderer.restoreDeviceObjects();
}

HRESULT OffscreenView::invalidateDeviceObjects() { return renderer.invalidateDeviceObjects(); }

HRESULT OffscreenView::deleteDeviceObjects() {
  renderer.deleteDeviceObjects();
  return S_OK;
}

void OffscreenView::showMessage(const std::string& text, MessageKind) { frameworkMessages.push_back(text); }

}  // namespace veltrace::render
