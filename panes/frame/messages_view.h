#pragma once
// The view in the "Messages" bar: a read-only multi-line edit control that
// shows the message log. The log's pending lines are flushed into it once
// per rendered frame.

#include <windows.h>

#include "app/message_log.h"
#include "ui/handles.h"
#include "ui/window.h"

namespace veltrace::panes {

class CVeltraceViewMessages : public ui::Window {
 public:
  bool create(HWND parent);
  HWND edit() const { return edit_; }

  // Moves the log's pending lines into the edit control.
  void flush(MessageLog& log);

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND edit_ = nullptr;
  ui::FontHandle font_;
};

}  // namespace veltrace::panes
