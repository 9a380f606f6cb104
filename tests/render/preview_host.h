// A plain window running the device framework the way the view will: frames
// in idle time, the preview state driven by the window's key and mouse
// messages, the clear colour, the light marker and the overlay text. The
// Windows-tier tests drive it and read its frames back.

#pragma once

#include <windows.h>
#include <d3d8.h>

#include <string>
#include <vector>

#include "render/device/d3d_font.h"
#include "render/device/d3d_framework.h"
#include "render/device/device_rules.h"
#include "render/preview/light_marker.h"
#include "render/preview/preview_state.h"
#include "ui/window.h"

namespace veltrace::render::test {

inline constexpr D3DCOLOR clearColour = 0xFF000032;
inline constexpr D3DCOLOR overlayColour = 0xFFFFFF00;

class PreviewHost : public D3DFramework {
 public:
  PreviewHost();
  ~PreviewHost() override;

  // A window whose client area has the given size.
  bool openWindow(int clientWidth, int clientHeight);
  void resizeClient(int clientWidth, int clientHeight);

  // Attaches the window and creates the device.
  HRESULT start();

  // Handles pending window messages, then runs one frame step; `count` times.
  void runFrames(int count);
  // The same until `seconds` have passed.
  void runFor(double seconds);

  // Sends a message to the window as the system would.
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // The colour (0x00RRGGBB) of a back-buffer pixel of the last frame drawn
  // with capture on; 0xFFFFFFFF when there is none.
  std::uint32_t capturedPixel(int x, int y) const;

  PreviewState preview;
  ShaderSupport shaderSupport;
  D3DFont font{"Arial", 10};
  LightMarker marker;
  bool captureFrames = false;
  std::vector<std::string> messages;  // framework messages instead of boxes
  int initCount = 0, restoreCount = 0, invalidateCount = 0, deleteCount = 0;
  HRESULT lastFrameResult = S_OK;

 protected:
  HRESULT confirmDevice(const D3DCAPS8& caps, DWORD behaviour, D3DFORMAT format) override;
  HRESULT initDeviceObjects() override;
  HRESULT restoreDeviceObjects() override;
  HRESULT frameMove() override;
  HRESULT render() override;
  HRESULT invalidateDeviceObjects() override;
  HRESULT deleteDeviceObjects() override;
  void showMessage(const std::string& text, MessageKind kind) override;

 private:
  // The host's window: the framework sees its messages first, then the
  // preview's key and mouse handling.
  class HostWindow : public ui::Window {
   public:
    explicit HostWindow(PreviewHost& host) : host_(host) {}

   protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

   private:
    PreviewHost& host_;
  };

  void captureBackBuffer();

  HostWindow window_{*this};
  std::vector<std::uint32_t> captured_;
  int capturedWidth_ = 0, capturedHeight_ = 0;
};

}  // namespace veltrace::render::test
