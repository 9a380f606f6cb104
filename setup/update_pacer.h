#pragma once
// When a window that shows a long run's progress is due to be seen to again.
// The engine reports its progress after every piece of every file;
// repainting the bar and looking at the message queue every few tens of
// milliseconds is as smooth to the eye, while doing it per piece took about
// a sixth of a quiet installation of Veltrace under Wine. (The question
// whether to cancel comes once per file and is always answered at once.)

#include <windows.h>

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

}  // namespace veltrace::setup
