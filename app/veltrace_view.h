#pragma once
// The main 3D view: a child window of the main frame that is at the same
// time the device framework. It owns the preview state (camera, object,
// light, toggles, the loading flag) and the frame renderer with its texture
// store and shader cache, draws frames in idle time, and turns its key,
// mouse and wheel messages into preview input.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "app/help_system.h"
#include "app/message_log.h"
#include "render/device/d3d_framework.h"
#include "render/device/device_rules.h"
#include "render/frame/frame_renderer.h"
#include "render/preview/frame_move.h"
#include "render/preview/preview_state.h"
#include "ui/window.h"

namespace veltrace {

inline constexpr char loadingNotice[] = "Loading... Please wait";
// Idle passes after the last window message that still draw a frame.
inline constexpr long lastRenderingIdlePass = 1000;
// The pass number Load Scene uses to paint the loading notice directly.
inline constexpr long loadingNoticePass = 100000000;

class CVeltraceView : public ui::Window, public render::D3DFramework {
 public:
  // Construction before the window exists: title, depth buffer, program
  // folder, help path, preview defaults, texture and shader folders, and
  // the stored view size.
  CVeltraceView(std::string programFolder, MessageLog& log);
  ~CVeltraceView() override;

  bool createWindow(HWND parent, int controlId);
  // First update: the view becomes the device window and, the first time
  // only, the device is created. False when no device could be made.
  bool firstUpdate();

  // One idle pass: the loading notice or a frame. True while more idle
  // passes are wanted.
  bool idle(long pass);

  // Device objects, the device and Direct3D released; the view size is
  // written to the settings.
  void shutdown();

  const std::string& programFolder() const { return programFolder_; }
  const std::string& helpPath() const { return helpPath_; }

  render::PreviewState preview;
  render::FrameRenderer renderer;
  app::HelpSystem help;
  render::ShaderSupport shaderSupport;
  bool loading = false;

  // The Parameter pane's values, read at every frame (none: keep the
  // preview's own).
  std::function<std::optional<render::PreviewParameters>()> parameters;
  // The mouse wheel turned over the preview (WHEEL_DELTA steps): the
  // Parameter pane changes the field of view.
  std::function<void(int wheelDelta)> wheelTurned;
  // Runs after every frame: the message log is flushed, panes refresh.
  std::function<void()> afterFrame;

  // The client size last recorded (at creation and each resize): what the
  // settings store at the end.
  int recordedWidth() const { return recordedWidth_; }
  int recordedHeight() const { return recordedHeight_; }
  // Frames drawn since the device was made.
  long framesDrawn() const { return framesDrawn_; }

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  HRESULT confirmDevice(const D3DCAPS8& caps, DWORD behaviour, D3DFORMAT format) override;
  HRESULT initDeviceObjects() override;
  HRESULT restoreDeviceObjects() override;
  HRESULT frameMove() override;
  HRESULT render() override;
  HRESULT invalidateDeviceObjects() override;
  HRESULT deleteDeviceObjects() override;
  HRESULT finalCleanup() override;

 private:
  float aspect() const;
  void paintLoadingNotice();
  void recordClientSize();

  std::string programFolder_;
  std::string helpPath_;
  MessageLog& log_;
  int recordedWidth_ = 0, recordedHeight_ = 0;
  bool shutDown_ = false;
  long framesDrawn_ = 0;
};

}  // namespace veltrace
