#pragma once
// The Direct3D 8 device framework the main view is built on. It owns the
// Direct3D object and the device: it lists the adapters, devices and modes,
// picks a device, creates it in the view's window (falling back once to the
// reference rasterizer), resets it after a size change or a lost device, and
// runs the frame step with its timing and statistics. The view fills in the
// overridable steps; device objects go through explicit init, restore,
// invalidate and delete steps around creation and every reset.
//
// Window messages only record what happened (a new size, a size-move loop);
// the frame step does the heavy work, such as the reset after WM_SIZE.

#include <windows.h>
#include <d3d8.h>

#include <cstdint>
#include <optional>
#include <string>

#include "render/device/com_ptr.h"
#include "render/device/device_list.h"
#include "render/device/frame_timer.h"
#include "render/device/framework_errors.h"
#include "render/device/windows_clock.h"

namespace veltrace::render {

// Where the device stands:
//   none        no device (before creation, after clean-up or a failed reset)
//   ok          frames are drawn and presented
//   lost        the device was taken away; frames are skipped until it can
//               be reset
//   needsReset  it can be reset now; the next frame step does it
enum class DeviceState { none, ok, lost, needsReset };

class D3DFramework {
 public:
  D3DFramework();
  virtual ~D3DFramework();
  D3DFramework(const D3DFramework&) = delete;
  D3DFramework& operator=(const D3DFramework&) = delete;

  // The view attaches its own window before create(); without one, create()
  // makes a "D3D Window" of the creation size.
  void attachWindow(HWND window) { window_ = window; }

  // Direct3D, the device list, the window, the timer, one-time scene init and
  // the device. Failures are shown through the message table (must-exit) and
  // returned.
  HRESULT create(HINSTANCE instance);

  // One frame: cooperative level and resets, timing, frame move, render,
  // statistics, present.
  HRESULT render3DEnvironment();

  // Invalidate device objects, reset the device with the current
  // presentation parameters, restore device objects.
  HRESULT resize3DEnvironment();

  // Device objects deleted, final clean-up, device and Direct3D released.
  void cleanup3DEnvironment();

  // The program-wide pause count: frames run only while it is 0.
  void pause(bool pausing);

  // Records what the frame step must act on; returns whether it handled the
  // message (the caller passes unhandled ones on to DefWindowProc).
  bool handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Settings the view changes before create().
  std::string windowTitle = "D3D8 Application";
  int creationWidth = 800;
  int creationHeight = 600;
  bool useDepthBuffer = false;
  int minimumDepthBits = 16;
  int minimumStencilBits = 0;
  bool showCursorWhenFullScreen = false;
  bool clipCursorWhenFullScreen = true;
  // Makes the back buffer lockable so that a frame can be read back.
  bool lockableBackBuffer = false;

  IDirect3DDevice8* device() const { return device_.get(); }
  IDirect3D8* direct3d() const { return direct3d_.get(); }
  HWND window() const { return window_; }
  DeviceState deviceState() const { return deviceState_; }
  bool ready() const { return ready_; }
  bool active() const { return active_; }
  bool windowed() const { return windowed_; }
  const D3DSURFACE_DESC& backBufferDescription() const { return backBuffer_; }
  const std::string& deviceDescription() const { return deviceDescription_; }
  const std::string& frameStatistics() const { return frameStatistics_; }
  double time() const { return time_; }
  double elapsedTime() const { return elapsedTime_; }
  double framesPerSecond() const { return framesPerSecond_; }
  FrameTimer& timer() { return timer_; }
  const DeviceList& deviceList() const { return deviceList_; }
  void setFrameMoving(bool moving) { frameMoving_ = moving; }
  void requestSingleStep() { singleStep_ = true; }

  // The program-wide pause count; 0 when nothing pauses.
  static int pauseCount();

 protected:
  // Counts a drawn frame; once more than the period has passed since the
  // last update, turns the count into the statistics text. The frame step
  // uses a second; a view drawing a few frames on request asks for less.
  void updateStatistics(double periodSeconds = 1.0);

  // Overridable steps; the defaults do nothing and succeed.
  virtual HRESULT adjustWindowForChange() { return S_OK; }
  virtual HRESULT confirmDevice(const D3DCAPS8& caps, DWORD behaviour, D3DFORMAT format) { return S_OK; }
  virtual HRESULT oneTimeSceneInit() { return S_OK; }
  virtual HRESULT initDeviceObjects() { return S_OK; }
  virtual HRESULT restoreDeviceObjects() { return S_OK; }
  virtual HRESULT frameMove() { return S_OK; }
  virtual HRESULT render() { return S_OK; }
  virtual HRESULT invalidateDeviceObjects() { return S_OK; }
  virtual HRESULT deleteDeviceObjects() { return S_OK; }
  virtual HRESULT finalCleanup() { return S_OK; }

  // Shows a framework message in a box titled with the window title; the
  // must-exit kind then closes the main window. Tests replace it to record.
  virtual void showMessage(const std::string& text, MessageKind kind);

 private:
  friend class Direct3DProbe;

  HRESULT initialize3DEnvironment();
  HRESULT displayError(HRESULT error, MessageKind kind);
  D3DPRESENT_PARAMETERS presentationParameters(const AdapterRecord& adapter, const DeviceRecord& device) const;
  FormatChoice currentChoice(const AdapterRecord& adapter, const DeviceRecord& device) const;
  void readBackBufferDescription();
  void applyCursorSettings();
  void releaseDevice();
  bool resizePending() const;

  ComPtr<IDirect3D8> direct3d_;
  ComPtr<IDirect3DDevice8> device_;
  HWND window_ = nullptr;
  bool ownsWindow_ = false;
  DeviceList deviceList_;
  int currentAdapter_ = 0;
  D3DPRESENT_PARAMETERS presentation_{};
  D3DSURFACE_DESC backBuffer_{};
  DWORD windowStyle_ = 0;
  RECT windowBounds_{};
  RECT clientBounds_{};

  DeviceState deviceState_ = DeviceState::none;
  bool windowed_ = true;
  bool active_ = false;
  bool ready_ = false;
  bool frameMoving_ = true;
  bool singleStep_ = false;
  bool sizeChanged_ = false;  // WM_SIZE seen; the frame step compares sizes
  bool inSizeMove_ = false;

  WindowsClock clock_;
  FrameTimer timer_;
  double time_ = 0;
  double elapsedTime_ = 0;
  double framesPerSecond_ = 0;
  double statisticsSince_ = 0;
  int framesCounted_ = 0;
  std::string deviceDescription_;
  std::string frameStatistics_;
};

}  // namespace veltrace::render
