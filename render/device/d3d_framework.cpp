#include "render/device/d3d_framework.h"

#include <algorithm>

#include "render/device/d3d8_probe.h"

namespace veltrace::render {

namespace {

constexpr UINT sdkVersion = 220;  // D3D_SDK_VERSION of Direct3D 8.1
constexpr char ownWindowClass[] = "D3D Window";

int& pauseCounter() {
  static int count = 0;
  return count;
}

LRESULT CALLBACK ownWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto framework = reinterpret_cast<D3DFramework*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (framework) framework->handleMessage(window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND createOwnWindow(HINSTANCE instance, D3DFramework& framework, int width, int height) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ownWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = ownWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly when already registered

  DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  RECT bounds{0, 0, width, height};
  AdjustWindowRect(&bounds, style, FALSE);
  return CreateWindowA(ownWindowClass, framework.windowTitle.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                       bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr, instance,
                       &framework);
}

}  // namespace

D3DFramework::D3DFramework() : timer_(clock_) {}

D3DFramework::~D3DFramework() {
  releaseDevice();
  direct3d_.reset();
  if (ownsWindow_ && window_) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

int D3DFramework::pauseCount() { return pauseCounter(); }

HRESULT D3DFramework::create(HINSTANCE instance) {
  direct3d_ = ComPtr<IDirect3D8>(Direct3DCreate8(sdkVersion));
  if (!direct3d_) return displayError(errorNoDirect3D, MessageKind::mustExit);

  Direct3DProbe probe(*direct3d_.get(), *this);
  deviceList_ = buildDeviceList(probe, {useDepthBuffer, minimumDepthBits, minimumStencilBits});
  std::uint32_t selectionError = 0;
  auto selection = selectInitialDevice(deviceList_, selectionError);
  if (!selection) {
    direct3d_.reset();
    return displayError(static_cast<HRESULT>(selectionError), MessageKind::mustExit);
  }
  currentAdapter_ = selection->adapter;
  if (selection->referenceReason)
    displayError(static_cast<HRESULT>(*selection->referenceReason), MessageKind::switchedToReference);

  if (!window_) {
    window_ = createOwnWindow(instance, *this, creationWidth, creationHeight);
    ownsWindow_ = window_ != nullptr;
    if (!window_) {
      direct3d_.reset();
      return displayError(E_FAIL, MessageKind::mustExit);
    }
  }
  windowStyle_ = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
  GetWindowRect(window_, &windowBounds_);
  GetClientRect(window_, &clientBounds_);

  timer_.reset();
  timer_.start();

  HRESULT result = oneTimeSceneInit();
  if (FAILED(result)) {
    direct3d_.reset();
    return displayError(result, MessageKind::mustExit);
  }
  result = initialize3DEnvironment();
  if (FAILED(result)) {
    direct3d_.reset();
    return displayError(result, MessageKind::mustExit);
  }
  statisticsSince_ = timer_.absoluteTime();
  ready_ = pauseCounter() == 0;
  return S_OK;
}

FormatChoice D3DFramework::currentChoice(const AdapterRecord& adapter, const DeviceRecord& device) const {
  // Windowed, the back buffer takes the desktop format, so the processing and
  // depth format found for that format apply, not those of the full-screen
  // mode.
  if (device.windowed) return device.desktopChoice;
  const DeviceMode& mode = device.modes.at(static_cast<std::size_t>(device.currentMode));
  return {mode.mode.format, mode.processing, mode.depthFormat};
}

D3DPRESENT_PARAMETERS D3DFramework::presentationParameters(const AdapterRecord& adapter,
                                                           const DeviceRecord& device) const {
  D3DPRESENT_PARAMETERS parameters{};
  FormatChoice choice = currentChoice(adapter, device);
  parameters.Windowed = device.windowed;
  parameters.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(
      device.windowed ? device.windowedMultisample : device.fullScreenMultisample);
  parameters.BackBufferCount = 1;
  parameters.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
  parameters.hDeviceWindow = window_;
  parameters.EnableAutoDepthStencil = useDepthBuffer;
  parameters.AutoDepthStencilFormat = static_cast<D3DFORMAT>(choice.depthFormat);
  if (lockableBackBuffer) parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  if (device.windowed) {
    RECT client{};
    GetClientRect(window_, &client);
    parameters.BackBufferWidth = static_cast<UINT>(client.right - client.left);
    parameters.BackBufferHeight = static_cast<UINT>(client.bottom - client.top);
    parameters.BackBufferFormat = static_cast<D3DFORMAT>(adapter.facts.desktopMode.format);
  } else {
    const DeviceMode& mode = device.modes.at(static_cast<std::size_t>(device.currentMode));
    parameters.BackBufferWidth = static_cast<UINT>(mode.mode.width);
    parameters.BackBufferHeight = static_cast<UINT>(mode.mode.height);
    parameters.BackBufferFormat = static_cast<D3DFORMAT>(mode.mode.format);
  }
  return parameters;
}

HRESULT D3DFramework::initialize3DEnvironment() {
  for (;;) {
    AdapterRecord& adapter = deviceList_.adapters.at(static_cast<std::size_t>(currentAdapter_));
    DeviceRecord& device = adapter.devices.at(static_cast<std::size_t>(adapter.currentDevice));
    windowed_ = device.windowed;
    adjustWindowForChange();
    presentation_ = presentationParameters(adapter, device);

    if (device.facts.nullReference) displayError(errorNullReferenceDevice, MessageKind::plain);

    FormatChoice choice = currentChoice(adapter, device);
    HRESULT result = direct3d_->CreateDevice(static_cast<UINT>(adapter.ordinal),
                                             static_cast<D3DDEVTYPE>(device.type), window_,
                                             behaviourFlags(choice.processing), &presentation_, device_.put());
    if (SUCCEEDED(result)) {
      readBackBufferDescription();
      deviceDescription_ = render::deviceDescription(device.type, choice.processing, adapter.facts.description);
      applyCursorSettings();
      result = initDeviceObjects();
      if (SUCCEEDED(result)) result = restoreDeviceObjects();
      if (SUCCEEDED(result)) {
        active_ = true;
        deviceState_ = DeviceState::ok;
        return S_OK;
      }
      invalidateDeviceObjects();
      deleteDeviceObjects();
      releaseDevice();
    }

    if (device.type != DeviceType::hal) return result;
    if (!referenceDeviceOf(adapter)) return result;
    displayError(result, MessageKind::switchedToReference);
  }
}

void D3DFramework::readBackBufferDescription() {
  backBuffer_ = D3DSURFACE_DESC{};
  ComPtr<IDirect3DSurface8> surface;
  if (SUCCEEDED(device_->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, surface.put()))) surface->GetDesc(&backBuffer_);
}

void D3DFramework::applyCursorSettings() {
  if (windowed_) return;
  device_->ShowCursor(showCursorWhenFullScreen);
  if (clipCursorWhenFullScreen) {
    RECT bounds;
    GetWindowRect(window_, &bounds);
    ClipCursor(&bounds);
  } else {
    ClipCursor(nullptr);
  }
}

void D3DFramework::releaseDevice() {
  device_.reset();
  active_ = false;
  ready_ = false;
  deviceState_ = DeviceState::none;
}

HRESULT D3DFramework::resize3DEnvironment() {
  if (!device_) return E_FAIL;
  // Invalidate only what was restored: a failed reset is retried by the next
  // frame step, and device objects must not be invalidated twice.
  if (deviceState_ == DeviceState::ok) invalidateDeviceObjects();
  deviceState_ = DeviceState::needsReset;

  HRESULT result = device_->Reset(&presentation_);
  if (FAILED(result)) {
    if (result == D3DERR_DEVICELOST) deviceState_ = DeviceState::lost;
    return result;
  }
  readBackBufferDescription();
  applyCursorSettings();
  result = restoreDeviceObjects();
  if (FAILED(result)) {
    invalidateDeviceObjects();
    return result;
  }
  deviceState_ = DeviceState::ok;
  if (!frameMoving_) singleStep_ = true;
  return S_OK;
}

bool D3DFramework::resizePending() const {
  if (!sizeChanged_ || inSizeMove_ || !windowed_) return false;
  RECT client{};
  GetClientRect(window_, &client);
  LONG width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return false;  // minimised: wait for a real size
  return static_cast<UINT>(width) != backBuffer_.Width || static_cast<UINT>(height) != backBuffer_.Height;
}

HRESULT D3DFramework::render3DEnvironment() {
  if (!device_) return E_FAIL;

  HRESULT result = device_->TestCooperativeLevel();
  if (FAILED(result)) {
    if (result == D3DERR_DEVICELOST) {
      deviceState_ = DeviceState::lost;
      return S_OK;
    }
    if (result != D3DERR_DEVICENOTRESET) return result;
    deviceState_ = DeviceState::needsReset;
    if (windowed_) {
      AdapterRecord& adapter = deviceList_.adapters.at(static_cast<std::size_t>(currentAdapter_));
      D3DDISPLAYMODE desktop{};
      direct3d_->GetAdapterDisplayMode(static_cast<UINT>(adapter.ordinal), &desktop);
      adapter.facts.desktopMode.format = static_cast<DisplayFormat>(desktop.Format);
      presentation_.BackBufferFormat = desktop.Format;
    }
    return resize3DEnvironment();
  }
  if (deviceState_ != DeviceState::ok) {
    // A reset that failed earlier: try again now that the device allows it.
    result = resize3DEnvironment();
    if (FAILED(result)) return result;
  }

  if (resizePending()) {
    RECT client{};
    GetClientRect(window_, &client);
    presentation_.BackBufferWidth = static_cast<UINT>(client.right - client.left);
    presentation_.BackBufferHeight = static_cast<UINT>(client.bottom - client.top);
    sizeChanged_ = false;
    result = resize3DEnvironment();
    if (FAILED(result)) {
      sizeChanged_ = true;
      return result;
    }
  }

  double time = timer_.applicationTime();
  double elapsed = timer_.elapsedTime();
  if (elapsed == 0.0 && frameMoving_) return S_OK;

  if (frameMoving_ || singleStep_) {
    time_ = time;
    elapsedTime_ = elapsed;
    result = frameMove();
    if (FAILED(result)) return result;
    singleStep_ = false;
  }

  result = render();
  if (FAILED(result)) return result;

  updateStatistics();

  result = device_->Present(nullptr, nullptr, nullptr, nullptr);
  if (result == D3DERR_DEVICELOST) deviceState_ = DeviceState::lost;
  return S_OK;
}

void D3DFramework::updateStatistics(double periodSeconds) {
  ++framesCounted_;
  double now = timer_.absoluteTime();
  double passed = now - statisticsSince_;
  if (passed <= periodSeconds) return;
  framesPerSecond_ = framesCounted_ / passed;
  // Under a second the count goes on from the same start, so that a rate
  // taken every frame grows into an average instead of jumping with the
  // timer's resolution.
  if (passed >= 1.0) {
    statisticsSince_ = now;
    framesCounted_ = 0;
  }

  const AdapterRecord& adapter = deviceList_.adapters.at(static_cast<std::size_t>(currentAdapter_));
  const DeviceRecord& device = adapter.devices.at(static_cast<std::size_t>(adapter.currentDevice));
  frameStatistics_ = render::frameStatistics(framesPerSecond_, static_cast<int>(backBuffer_.Width),
                                             static_cast<int>(backBuffer_.Height),
                                             static_cast<DisplayFormat>(backBuffer_.Format), useDepthBuffer,
                                             currentChoice(adapter, device).depthFormat);
}

void D3DFramework::pause(bool pausing) {
  int& count = pauseCounter();
  if (pausing) {
    if (count++ == 0 && frameMoving_) timer_.stop();
  } else if (count > 0) {  // an unmatched resume must not leave the count below 0
    if (--count == 0 && frameMoving_) timer_.start();
  }
  ready_ = count == 0 && active_;
}

bool D3DFramework::handleMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_ENTERSIZEMOVE:
      inSizeMove_ = true;
      pause(true);
      return false;
    case WM_EXITSIZEMOVE:
      inSizeMove_ = false;
      sizeChanged_ = true;
      pause(false);
      return false;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) sizeChanged_ = true;
      return false;
    default:
      return false;
  }
}

void D3DFramework::cleanup3DEnvironment() {
  active_ = false;
  ready_ = false;
  if (device_) {
    if (deviceState_ == DeviceState::ok) invalidateDeviceObjects();
    deleteDeviceObjects();
  }
  finalCleanup();
  if (device_) {
    unsigned long remaining = device_.reset();
    if (remaining > 0) displayError(errorObjectsNotReleased, MessageKind::plain);
  }
  deviceState_ = DeviceState::none;
  direct3d_.reset();
}

HRESULT D3DFramework::displayError(HRESULT error, MessageKind kind) {
  showMessage(frameworkErrorText(static_cast<std::uint32_t>(error), kind), kind);
  return error;
}

void D3DFramework::showMessage(const std::string& text, MessageKind kind) {
  UINT icon = isWarning(kind) ? MB_ICONWARNING : MB_ICONERROR;
  MessageBoxA(window_, text.c_str(), windowTitle.c_str(), icon | MB_OK);
  if (kind == MessageKind::mustExit && window_) {
    HWND mainWindow = GetAncestor(window_, GA_ROOT);
    PostMessageA(mainWindow ? mainWindow : window_, WM_CLOSE, 0, 0);
  }
}

}  // namespace veltrace::render
