#pragma once
// Progress shown in a window without slowing the run that reports it.
// The engine reports its progress after every piece of every file and names
// every file; repainting the bar and the status line and looking at the
// message queue every few tens of milliseconds is as smooth to the eye,
// while doing it per piece took about a sixth of a quiet installation of
// Veltrace under Wine. (The question whether to cancel comes once per file
// and is always answered at once.)

#include <windows.h>

#include <string>
#include <string_view>

#include "setup/install_context.h"

namespace veltrace::setup {

class UpdatePacer {
 public:
  // True at most once per interval; the first call is always due.
  bool due() {
    ULONGLONG now = GetTickCount64();
    if (started_ && now - last_ < intervalMilliseconds) return false;
    started_ = true;
    last_ = now;
    return true;
  }

 private:
  static constexpr ULONGLONG intervalMilliseconds = 40;
  ULONGLONG last_ = 0;
  bool started_ = false;
};

// A window's step boxes, status line and bar as the run's progress view,
// paced: the status line shows the latest name at most one interval late,
// the bar moves at most once per interval (and always to its end), and the
// window's messages are handled whenever either was painted, at each step
// and before every file.
class PacedProgressView : public ProgressView {
 public:
  void stepStarted(int step) override {
    enableStep(step);
    pumpMessages();
  }
  void stepEnded(int step) override {
    checkStep(step);
    showStatus();
    pumpMessages();
  }
  void status(std::string_view text) override {
    status_.assign(text);
    if (pacer_.due()) {
      showStatus();
      pumpMessages();
    }
  }
  void progress(int perMille) override {
    if (perMille == shownProgress_) return;
    shownProgress_ = perMille;
    if (perMille != progressComplete && !pacer_.due()) return;
    setBar(perMille);
    showStatus();
    pumpMessages();
  }
  bool cancelRequested() override {
    pumpMessages();
    return userCancelled();
  }

 protected:
  virtual void enableStep(int step) = 0;
  virtual void checkStep(int step) = 0;
  virtual void setStatusText(const char* text) = 0;
  virtual void setBar(int perMille) = 0;
  virtual void pumpMessages() = 0;
  virtual bool userCancelled() = 0;

 private:
  void showStatus() {
    if (status_ == shownStatus_) return;
    shownStatus_ = status_;
    setStatusText(shownStatus_.c_str());
  }

  UpdatePacer pacer_;
  std::string status_, shownStatus_;
  int shownProgress_ = -1;
};

}  // namespace veltrace::setup
