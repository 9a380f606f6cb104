#include "app/veltrace_view.h"

#include <windowsx.h>

#include "app/veltrace_doc.h"
#include "render/preview/preview_messages.h"
#include "render/preview/preview_transforms_d3d.h"

namespace veltrace {

namespace {

constexpr char viewClassName[] = "VeltraceView";
render::VertexProcessing processingOf(DWORD behaviour) {
  using render::VertexProcessing;
  if (behaviour & render::createPureDevice) return VertexProcessing::pureHardware;
  if (behaviour & render::createHardwareVertexProcessing) return VertexProcessing::hardware;
  if (behaviour & render::createMixedVertexProcessing) return VertexProcessing::mixed;
  return VertexProcessing::software;
}

}  // namespace

CVeltraceView::CVeltraceView(std::string programFolder, MessageLog& log)
    : renderer(preview, log),
      help(programFolder + helpFileSuffix),
      programFolder_(std::move(programFolder)),
      log_(log) {
  creationWidth = 1024;
  creationHeight = 768;
  windowTitle = programTitle;
  useDepthBuffer = true;
  helpPath_ = programFolder_ + helpFileSuffix;
  renderer.textures().setProgramFolder(programFolder_);
  renderer.textures().setFolder(programFolder_ + texturesFolderSuffix);
  renderer.shaders().setShaderFolders(programFolder_);
  renderer.afterFrame = [this] {
    if (afterFrame) afterFrame();
  };
}

CVeltraceView::~CVeltraceView() { shutdown(); }

bool CVeltraceView::createWindow(HWND parent, int controlId) {
  ui::WindowPlacement placement;
  placement.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  placement.extendedStyle = WS_EX_CLIENTEDGE;
  placement.x = placement.y = 0;
  placement.width = creationWidth;
  placement.height = creationHeight;
  placement.parent = parent;
  placement.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId));
  ui::WindowClassStyle classStyle;
  classStyle.background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  return ui::Window::create(viewClassName, programTitle, placement, classStyle);
}

bool CVeltraceView::firstUpdate() {
  if (direct3d()) return device() != nullptr;
  attachWindow(handle());
  recordClientSize();
  return SUCCEEDED(D3DFramework::create(ui::programInstance())) && device();
}

void CVeltraceView::shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  renderer.setScene(nullptr);
  cleanup3DEnvironment();
}

bool CVeltraceView::idle(long pass) {
  if (!handle()) return false;
  if (loading) {
    paintLoadingNotice();
  } else if (ready()) {
    render3DEnvironment();
  }
  return pass <= lastRenderingIdlePass;
}

void CVeltraceView::paintLoadingNotice() {
  ui::WindowDc dc(handle());
  RECT area = clientArea();
  FillRect(dc.get(), &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(255, 255, 255));
  DrawTextA(dc.get(), loadingNotice, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CVeltraceView::recordClientSize() {
  RECT area = clientArea();
  if (area.right > 0 && area.bottom > 0) {
    recordedWidth_ = area.right;
    recordedHeight_ = area.bottom;
  }
}

float CVeltraceView::aspect() const {
  return render::backBufferAspect(static_cast<int>(backBufferDescription().Width),
                                  static_cast<int>(backBufferDescription().Height));
}

LRESULT CVeltraceView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  D3DFramework::handleMessage(handle(), message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) recordClientSize();
      return 0;
    case WM_ERASEBKGND:
      // The device paints every pixel; erasing would only flicker.
      return device() ? 1 : defaultHandling(message, wParam, lParam);
    case WM_PAINT:
      if (loading) {
        ValidateRect(handle(), nullptr);
        paintLoadingNotice();
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      // Keys reach the preview through the focus.
      SetFocus(handle());
      break;
    case WM_MOUSEWHEEL:
      if (wheelTurned) wheelTurned(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
  }
  if (render::applyPreviewMessage(preview, handle(), message, wParam, lParam)) return 0;
  return defaultHandling(message, wParam, lParam);
}

HRESULT CVeltraceView::confirmDevice(const D3DCAPS8& caps, DWORD behaviour, D3DFORMAT) {
  render::confirmShaderSupport(processingOf(behaviour), caps.VertexShaderVersion, caps.PixelShaderVersion,
                               shaderSupport);
  return S_OK;
}

HRESULT CVeltraceView::initDeviceObjects() {
  render::initialiseLight(preview);
  return renderer.initDeviceObjects(device(), shaderSupport);
}

HRESULT CVeltraceView::restoreDeviceObjects() {
  render::restorePreviewTransforms(*device(), preview, aspect());
  return renderer.restoreDeviceObjects();
}

HRESULT CVeltraceView::frameMove() {
  std::optional<render::PreviewParameters> pane;
  if (parameters) pane = parameters();
  render::frameMove(preview, aspect(), pane);
  return S_OK;
}

HRESULT CVeltraceView::render() {
  render::OverlayText overlay{deviceDescription(), frameStatistics(),
                              static_cast<int>(backBufferDescription().Height)};
  ++framesDrawn_;
  return renderer.render(static_cast<float>(time()), overlay);
}

HRESULT CVeltraceView::invalidateDeviceObjects() { return renderer.invalidateDeviceObjects(); }

HRESULT CVeltraceView::deleteDeviceObjects() {
  renderer.deleteDeviceObjects();
  return S_OK;
}

HRESULT CVeltraceView::finalCleanup() { return S_OK; }

}  // namespace veltrace
