#include "panes/frame/floating_bar.h"

namespace veltrace::panes {

bool FloatingBar::create(HWND owner, const std::string& title, const RECT& screen) {
  ui::WindowPlacement placement;
  placement.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  placement.extendedStyle = WS_EX_TOOLWINDOW;
  placement.x = screen.left;
  placement.y = screen.top;
  placement.width = screen.right - screen.left;
  placement.height = screen.bottom - screen.top;
  placement.parent = owner;
  ui::WindowClassStyle classStyle;
  classStyle.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  return Window::create("VeltraceFloatingBar", title, placement, classStyle);
}

void FloatingBar::hold(HWND bar) {
  held_ = bar;
  if (!bar) return;
  SetParent(bar, handle());
  fitHeld();
  ShowWindow(bar, SW_SHOW);
}

void FloatingBar::fitHeld() {
  if (!held_) return;
  RECT area = clientArea();
  MoveWindow(held_, 0, 0, area.right, area.bottom, TRUE);
}

LRESULT FloatingBar::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      fitHeld();
      return 0;
    case WM_CLOSE:
      if (closed) closed();
      return 0;
  }
  return Window::handleMessage(message, wParam, lParam);
}

}  // namespace veltrace::panes
