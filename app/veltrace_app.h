#pragma once
// The program: start-up (common controls, rich edit, the frame with its
// bars and view, the command line), the message loop with its idle passes
// that draw the preview, and shutdown (the view size kept in the settings).

#include <windows.h>

#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/message_log.h"
#include "panes/frame/main_frame.h"

namespace veltrace {

// A measuring run for the benchmarks, asked for with the environment
// variable VELTRACE_MEASURE=FRAMES,REPORT_FILE: after that many frames the
// program writes how long the first frame took from the process start and
// the frame rate since, then closes without asking.
struct MeasuringRun {
  long frames = 0;
  std::string reportFile;
  explicit operator bool() const { return frames > 0 && !reportFile.empty(); }
};
MeasuringRun measuringRunFrom(const char* setting);

class CVeltraceApp {
 public:
  // Start-up in order; false when the main window cannot be made.
  bool initInstance(const std::string& commandLine, int showCommand);
  // The message loop; the exit code.
  int run();

  panes::CMainFrame* frame() { return frame_.get(); }
  MessageLog& log() { return log_; }

  // One pass of the loop for tests: handles waiting messages, then idle
  // passes while they are wanted and no message arrives. False once the
  // program has been asked to quit.
  bool pumpOnce();

 private:
  void openRequest(const StartRequest& request);
  void storeViewSize();
  void measure();

  MeasuringRun measuring_;
  double firstFrameSeconds_ = -1;
  long framesAtFirst_ = 0;
  LARGE_INTEGER firstFrameCount_{};

  MessageLog log_;
  std::unique_ptr<panes::CMainFrame> frame_;
  long idlePass_ = 0;
  bool quit_ = false;
  int exitCode_ = 0;
};

}  // namespace veltrace
