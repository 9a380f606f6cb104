#include "panes/shader/splitter_bar.h"

#include <windowsx.h>

namespace veltrace::panes {

namespace {

constexpr int trackingLineHeight = 2;

}  // namespace

bool SplitterBar::create(HWND parent, const RECT& bounds) {
  ui::WindowPlacement placement;
  placement.style = WS_CHILD | WS_VISIBLE;
  placement.x = bounds.left;
  placement.y = bounds.top;
  placement.width = bounds.right - bounds.left;
  placement.height = bounds.bottom - bounds.top;
  placement.parent = parent;
  ui::WindowClassStyle classStyle;
  classStyle.cursor = LoadCursor(nullptr, IDC_SIZENS);
  classStyle.background = GetSysColorBrush(COLOR_3DFACE);
  range_.centre = (bounds.top + bounds.bottom) / 2;
  return Window::create("VeltraceSplitterBar", "", placement, classStyle);
}

int SplitterBar::parentY(LPARAM lParam) const {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  MapWindowPoints(handle(), GetParent(handle()), &point, 1);
  return point.y;
}

void SplitterBar::track(int y) {
  currentY_ = range_.clamp(y);
  RECT bar{};
  GetWindowRect(handle(), &bar);
  POINT lineStart{0, currentY_};
  ClientToScreen(GetParent(handle()), &lineStart);
  line_.showAt({bar.left, lineStart.y - trackingLineHeight / 2, bar.right, lineStart.y + trackingLineHeight / 2});
}

LRESULT SplitterBar::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      dragging_ = true;
      SetCapture(handle());
      startY_ = range_.clamp(parentY(lParam));
      track(startY_);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) track(parentY(lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (!dragging_) break;
      dragging_ = false;
      if (message == WM_LBUTTONUP) ReleaseCapture();
      line_.remove();
      if (message == WM_LBUTTONUP && currentY_ != startY_ && moved) {
        int distance = currentY_ - startY_;
        moved(distance);
      }
      return 0;
    default:
      break;
  }
  return Window::handleMessage(message, wParam, lParam);
}

}  // namespace veltrace::panes
