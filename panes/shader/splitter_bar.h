#pragma once
// The thin bar between the constants list and the source editor. The user
// drags it up or down; a light grey line follows the mouse within the range
// fixed when the bar was made, and on release the bar reports how far it
// was moved.

#include <windows.h>

#include <functional>

#include "panes/shader/shader_pane_model.h"
#include "ui/tracking_marks.h"
#include "ui/window.h"

namespace veltrace::panes {

class SplitterBar : public ui::Window {
 public:
  // Over the given rectangle of the parent's client area; the range is taken
  // around its centre.
  bool create(HWND parent, const RECT& bounds);
  // Called on release with the distance moved (down positive).
  std::function<void(int distance)> moved;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int parentY(LPARAM lParam) const;  // the mouse's y in the parent's client area
  void track(int y);

  SplitterRange range_;
  bool dragging_ = false;
  int startY_ = 0;
  int currentY_ = 0;
  ui::TrackingLine line_;  // shown over the list and the editor while dragging
};

}  // namespace veltrace::panes
