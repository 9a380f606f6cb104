#pragma once
// The small tool window a docking bar lives in while it floats. Closing it
// hides the bar (as its hide button does) instead of destroying it.

#include <windows.h>

#include <functional>
#include <string>

#include "ui/window.h"

namespace veltrace::panes {

class FloatingBar : public ui::Window {
 public:
  // A tool window owned by the frame, at the given screen rectangle.
  bool create(HWND owner, const std::string& title, const RECT& screen);
  // Takes the bar window in as its only child.
  void hold(HWND bar);
  HWND held() const { return held_; }

  std::function<void()> closed;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void fitHeld();
  HWND held_ = nullptr;
};

}  // namespace veltrace::panes
