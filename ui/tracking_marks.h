#pragma once
// What follows the mouse while an edge, a splitter or a gripper is dragged:
// a thin line, or a frame of four lines, drawn as small top-most popup windows.
// Popups rather than inverted pixels on the frame, because the preview keeps
// drawing underneath while the mouse moves and would leave inverted
// leftovers behind.

#include <windows.h>

#include <array>

#include "ui/window.h"

namespace veltrace::ui {

class TrackingLine : public Window {
 public:
  // Shows the line over the given screen rectangle (created on first use).
  void showAt(const RECT& screen);
  void remove() {
    if (handle()) hide();
  }
};

class TrackingFrame {
 public:
  inline static constexpr int thickness = 3;
  void showAt(const RECT& screen);
  void remove();

 private:
  std::array<TrackingLine, 4> sides_;
};

}  // namespace veltrace::ui
