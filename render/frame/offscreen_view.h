#pragma once
// The preview without the program around it: a hidden window of a fixed
// size with the device framework, the preview state and the frame renderer,
// drawing frames on request at a given application time and reading them
// back. The headless render command and the golden-image tests use it.

#include <windows.h>
#include <d3d8.h>

#include <string>

#include "app/message_log.h"
#include "render/device/d3d_framework.h"
#include "render/device/device_rules.h"
#include "render/frame/frame_renderer.h"
#include "render/frame/png_file.h"
#include "render/preview/preview_state.h"

namespace veltrace::render {

class OffscreenView : public D3DFramework {
 public:
  explicit OffscreenView(MessageLog& log);
  ~OffscreenView() override;

  // The hidden window with a client area of the size, and the device. False
  // with a message when either cannot be made.
  bool start(int width, int height, std::string& error);

  // One frame at the application time: the frame move of the preview, then
  // the renderer's frame. Not presented: the back buffer keeps the frame.
  HRESULT drawFrame(float appTime);

  bool capture(RgbaImage& image, std::string& error);

  PreviewState preview;
  FrameRenderer renderer;
  ShaderSupport shaderSupport;
  std::vector<std::string> frameworkMessages;  // instead of message boxes

 protected:
  HRESULT confirmDevice(const D3DCAPS8& caps, DWORD behaviour, D3DFORMAT format) override;
  HRESULT initDeviceObjects() override;
  HRESULT restoreDeviceObjects() override;
  HRESULT invalidateDeviceObjects() override;
  HRESULT deleteDeviceObjects() override;
  void showMessage(const std::string& text, MessageKind kind) override;

 private:
  float aspect() const;

  HWND hiddenWindow_ = nullptr;
};

}  // namespace veltrace::render
