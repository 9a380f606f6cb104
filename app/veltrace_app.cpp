#include "app/veltrace_app.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "app/view_settings_registry.h"
#include "base/text.h"

namespace veltrace {

namespace {

// The process's current folder when the program starts: every data folder
// lies below it.
std::string currentFolder() {
  char folder[MAX_PATH + 1] = {};
  DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  if (length == 0 || length > MAX_PATH) return ".";
  return std::string(folder, length);
}

double secondsSinceProcessStart() {
  FILETIME created{}, ended{}, kernel{}, user{}, now{};
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return static_cast<double>(ticks(now) - ticks(created)) / 1e7;
}

}  // namespace

MeasuringRun measuringRunFrom(const char* setting) {
  MeasuringRun run;
  if (!setting) return run;
  std::string text = setting;
  size_t comma = text.find(',');
  if (comma == std::string::npos) return run;
  run.frames = std::strtol(text.substr(0, comma).c_str(), nullptr, 10);
  run.reportFile = text.substr(comma + 1);
  return run;
}

bool CVeltraceApp::initInstance(const std::string& commandLine, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  // The shader editors are rich edit controls of this library.
  LoadLibraryA("riched20.dll");

  frame_ = std::make_unique<panes::CMainFrame>(currentFolder(), log_);
  app::ViewSize size = app::readViewSize();
  frame_->view().creationWidth = size.width;
  frame_->view().creationHeight = size.height;
  if (!frame_->create()) return false;
  // The device is made at the stored size; showing the window maximised
  // then resizes it to what the screen gives.
  frame_->firstUpdate();
  ShowWindow(frame_->handle(), showCommand == SW_HIDE ? SW_HIDE : SW_SHOWMAXIMIZED);
  UpdateWindow(frame_->handle());
  // A session that ended without closing left its workspace behind; once
  // that is restored, a file named on the command line is not opened over it.
  if (!frame_->offerRecovery()) openRequest(parseCommandLine(commandLine));
  measuring_ = measuringRunFrom(std::getenv("VELTRACE_MEASURE"));
  return true;
}

void CVeltraceApp::measure() {
  long frames = frame_->view().framesDrawn();
  if (frames == 0) return;
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  if (firstFrameSeconds_ < 0) {
    firstFrameSeconds_ = secondsSinceProcessStart();
    framesAtFirst_ = frames;
    firstFrameCount_ = now;
    return;
  }
  if (frames - framesAtFirst_ < measuring_.frames) return;
  double seconds = static_cast<double>(now.QuadPart - firstFrameCount_.QuadPart) / static_cast<double>(frequency.QuadPart);
  if (FILE* report = std::fopen(measuring_.reportFile.c_str(), "w")) {
    std::fprintf(report, "first_frame_seconds=%.3f\nframes=%ld\nframes_per_second=%.2f\nview=%ux%u\n",
                 firstFrameSeconds_, frames - framesAtFirst_, static_cast<double>(frames - framesAtFirst_) / seconds,
                 frame_->view().backBufferDescription().Width, frame_->view().backBufferDescription().Height);
    std::fclose(report);
  }
  measuring_ = {};
  // A measuring run ends without the exit question.
  DestroyWindow(frame_->handle());
}

void CVeltraceApp::openRequest(const StartRequest& request) {
  if (!request.workspace.empty()) {
    frame_->document().openWorkspaceFile(request.workspace, false);
  } else if (!request.scene.empty()) {
    frame_->document().loadScene(request.scene);
  } else if (!request.unknown.empty()) {
    log_.append(formatText("Cannot open \"%s\": neither a workspace (.vwork) nor a scene (.vase) !",
                           request.unknown.c_str()));
  }
}

bool CVeltraceApp::pumpOnce() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit_ = true;
      exitCode_ = static_cast<int>(message.wParam);
      return false;
    }
    // A new message starts the idle passes again.
    idlePass_ = 0;
    if (frame_ && frame_->preTranslate(message)) continue;
    if (frame_ && frame_->routeDialogMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (frame_ && frame_->handle()) {
    bool more = frame_->idle(idlePass_);
    if (measuring_) {
      measure();
      // A measuring run keeps drawing as fast as it can.
      more = true;
    }
    if (more) {
      ++idlePass_;
      return true;
    }
  }
  // Nothing more to draw until the next message arrives.
  WaitMessage();
  return true;
}

int CVeltraceApp::run() {
  while (!quit_) pumpOnce();
  storeViewSize();
  return exitCode_;
}

void CVeltraceApp::storeViewSize() {
  if (!frame_) return;
  app::writeViewSize({frame_->view().recordedWidth(), frame_->view().recordedHeight()});
}

}  // namespace veltrace
