#include "ui/tracking_marks.h"

namespace veltrace::ui {

void TrackingLine::showAt(const RECT& screen) {
  if (!handle()) {
    WindowPlacement placement;
    placement.style = WS_POPUP;
    placement.extendedStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    placement.x = screen.left;
    placement.y = screen.top;
    placement.width = screen.right - screen.left;
    placement.height = screen.bottom - screen.top;
    WindowClassStyle classStyle;
    classStyle.background = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
    if (!create("VeltraceTrackingLine", "", placement, classStyle)) return;
  }
  SetWindowPos(handle(), HWND_TOPMOST, screen.left, screen.top, screen.right - screen.left,
               screen.bottom - screen.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TrackingFrame::showAt(const RECT& screen) {
  const RECT pieces[4] = {
      {screen.left, screen.top, screen.right, screen.top + thickness},
      {screen.left, screen.bottom - thickness, screen.right, screen.bottom},
      {screen.left, screen.top, screen.left + thickness, screen.bottom},
      {screen.right - thickness, screen.top, screen.right, screen.bottom},
  };
  for (size_t i = 0; i < sides_.size(); ++i) sides_[i].showAt(pieces[i]);
}

void TrackingFrame::remove() {
  for (TrackingLine& side : sides_) side.remove();
}

}  // namespace veltrace::ui
