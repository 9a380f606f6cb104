#include "panes/frame/sizing_control_bar.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace veltrace::panes {

namespace {

constexpr char barClassName[] = "VeltraceSizingControlBar";

POINT pointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

bool inside(const RECT& area, POINT point) { return PtInRect(&area, point) != FALSE; }

}  // namespace

CSizingControlBar::CSizingControlBar(int barId, std::string title, DockHost& host)
    : host_(host), barId_(barId), title_(std::move(title)) {}

bool CSizingControlBar::create(HWND parent) {
  ui::WindowPlacement placement;
  placement.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  placement.x = placement.y = 0;
  placement.width = placement.height = 100;
  placement.parent = parent;
  placement.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(barId_));
  ui::WindowClassStyle classStyle;
  classStyle.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  return Window::create(barClassName, title_, placement, classStyle);
}

void CSizingControlBar::setSide(DockSide side) {
  side_ = side;
  layoutContent();
  redraw();
}

RECT CSizingControlBar::edgeArea() const {
  RECT area = clientArea();
  switch (side_) {
    case DockSide::left: area.left = area.right - edgeSize; break;
    case DockSide::right: area.right = area.left + edgeSize; break;
    case DockSide::top: area.top = area.bottom - edgeSize; break;
    case DockSide::bottom: area.bottom = area.top + edgeSize; break;
    case DockSide::floating: return RECT{};  // the floating window's frame sizes it
  }
  return area;
}

RECT CSizingControlBar::contentArea() const {
  RECT area = clientArea();
  switch (side_) {
    case DockSide::left: area.right -= edgeSize; break;
    case DockSide::right: area.left += edgeSize; break;
    case DockSide::top: area.bottom -= edgeSize; break;
    case DockSide::bottom: area.top += edgeSize; break;
    case DockSide::floating: break;
  }
  return area;
}

void CSizingControlBar::beginTracking(POINT client) {
  tracking_ = true;
  trackStart_ = client;
  trackOffset_ = 0;
  SetCapture(handle());
  trackTo(client);
}

int CSizingControlBar::trackedSize() const {
  RECT area = clientArea();
  int size = isVerticalSide(side_) ? area.right - area.left : area.bottom - area.top;
  // Dragging away from the docked side makes the bar larger.
  bool growsWithOffset = side_ == DockSide::left || side_ == DockSide::top;
  return size + (growsWithOffset ? trackOffset_ : -trackOffset_);
}

void CSizingControlBar::trackTo(POINT client) {
  trackOffset_ = isVerticalSide(side_) ? client.x - trackStart_.x : client.y - trackStart_.y;
  // Never track the bar below its least size.
  int least = minimumBarSize;
  if (trackedSize() < least) {
    bool growsWithOffset = side_ == DockSide::left || side_ == DockSide::top;
    RECT area = clientArea();
    int size = isVerticalSide(side_) ? area.right - area.left : area.bottom - area.top;
    trackOffset_ = growsWithOffset ? least - size : size - least;
  }
  RECT line = edgeArea();
  if (isVerticalSide(side_)) {
    OffsetRect(&line, trackOffset_, 0);
  } else {
    OffsetRect(&line, 0, trackOffset_);
  }
  MapWindowPoints(handle(), nullptr, reinterpret_cast<POINT*>(&line), 2);
  trackingLine_.showAt(line);
}

void CSizingControlBar::endTracking(bool apply) {
  if (!tracking_) return;
  tracking_ = false;
  trackingLine_.remove();
  if (GetCapture() == handle()) ReleaseCapture();
  if (apply && trackOffset_ != 0) host_.barResized(barId_, trackedSize());
}

LRESULT CSizingControlBar::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      layoutContent();
      redraw();
      return 0;
    case WM_PAINT: {
      ui::PaintScope paint(handle());
      paintDecorations(paint.dc());
      return 0;
    }
    case WM_SETCURSOR: {
      POINT cursor{};
      GetCursorPos(&cursor);
      ScreenToClient(handle(), &cursor);
      if (LOWORD(lParam) == HTCLIENT && inside(edgeArea(), cursor)) {
        SetCursor(LoadCursor(nullptr, isVerticalSide(side_) ? IDC_SIZEWE : IDC_SIZENS));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN: {
      POINT point = pointOf(lParam);
      if (inside(edgeArea(), point)) {
        beginTracking(point);
        return 0;
      }
      if (startGripperDrag(point)) return 0;
      break;
    }
    case WM_MOUSEMOVE:
      if (tracking_) {
        trackTo(pointOf(lParam));
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (tracking_) {
        endTracking(true);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (tracking_ && reinterpret_cast<HWND>(lParam) != handle()) endTracking(false);
      break;
    case WM_KEYDOWN:
      if (tracking_ && wParam == VK_ESCAPE) {
        endTracking(false);
        return 0;
      }
      break;
  }
  return Window::handleMessage(message, wParam, lParam);
}

// ---- CSizingControlBarG: gripper, hide button, dragging to another side

RECT CSizingControlBarG::gripperArea() const {
  RECT area = CSizingControlBar::contentArea();
  // A column or a floating bar has its gripper across the top; a row has it
  // down the left side.
  if (isVerticalSide(side()) || side() == DockSide::floating) {
    area.bottom = area.top + gripperSize;
  } else {
    area.right = area.left + gripperSize;
  }
  return area;
}

RECT CSizingControlBarG::hideButtonArea() const {
  RECT gripper = gripperArea();
  RECT button{};
  if (isVerticalSide(side()) || side() == DockSide::floating) {
    button.right = gripper.right - 1;
    button.left = button.right - hideButtonSize;
    button.top = gripper.top + (gripperSize - hideButtonSize) / 2;
  } else {
    button.left = gripper.left + (gripperSize - hideButtonSize) / 2;
    button.top = gripper.top + 1;
    button.right = button.left + hideButtonSize;
  }
  button.bottom = button.top + hideButtonSize;
  return button;
}

RECT CSizingControlBarG::contentArea() const {
  RECT area = CSizingControlBar::contentArea();
  if (isVerticalSide(side()) || side() == DockSide::floating) {
    area.top += gripperSize + 2;
  } else {
    area.left += gripperSize + 2;
  }
  return area;
}

void CSizingControlBarG::paintGripper(HDC dc, const RECT& gripper) {
  // Two raised lines along the gripper, stopping short of the hide button.
  RECT button = hideButtonArea();
  bool across = isVerticalSide(side()) || side() == DockSide::floating;
  for (int line = 0; line < 2; ++line) {
    RECT bar = gripper;
    if (across) {
      bar.left += 2;
      bar.right = button.left - 2;
      bar.top = gripper.top + 3 + line * 4;
      bar.bottom = bar.top + 3;
    } else {
      bar.top = button.bottom + 2;
      bar.bottom -= 2;
      bar.left = gripper.left + 3 + line * 4;
      bar.right = bar.left + 3;
    }
    if (bar.right > bar.left && bar.bottom > bar.top) DrawEdge(dc, &bar, BDR_RAISEDINNER, BF_RECT);
  }
}

void CSizingControlBarG::paintHideButton(HDC dc) {
  RECT button = hideButtonArea();
  if (buttonDown_ && buttonHot_) {
    DrawEdge(dc, &button, BDR_SUNKENOUTER, BF_RECT);
  } else if (buttonHot_) {
    DrawEdge(dc, &button, BDR_RAISEDINNER, BF_RECT);
  }
  // The cross, drawn as two lines so that it does not depend on a symbol
  // font being installed.
  RECT glyph = button;
  InflateRect(&glyph, -3, -3);
  if (buttonDown_ && buttonHot_) OffsetRect(&glyph, 1, 1);
  ui::PenHandle pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT)));
  ui::SelectedObject selected(dc, pen.get());
  MoveToEx(dc, glyph.left, glyph.top, nullptr);
  LineTo(dc, glyph.right, glyph.bottom);
  MoveToEx(dc, glyph.right - 1, glyph.top, nullptr);
  LineTo(dc, glyph.left - 1, glyph.bottom);
}

void CSizingControlBarG::paintDecorations(HDC dc) {
  paintGripper(dc, gripperArea());
  paintHideButton(dc);
}

void CSizingControlBarG::invalidateHideButton() {
  RECT button = hideButtonArea();
  InflateRect(&button, 1, 1);
  InvalidateRect(handle(), &button, TRUE);
}

void CSizingControlBarG::dragTo(POINT screen) {
  RECT frame = barAtStart_;
  OffsetRect(&frame, screen.x - dragStart_.x, screen.y - dragStart_.y);
  dragFrame_.showAt(frame);
}

LRESULT CSizingControlBarG::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      POINT point = pointOf(lParam);
      if (inside(hideButtonArea(), point)) {
        buttonDown_ = buttonHot_ = true;
        SetCapture(handle());
        invalidateHideButton();
        return 0;
      }
      if (inside(gripperArea(), point)) {
        dragging_ = true;
        GetCursorPos(&dragStart_);
        GetWindowRect(handle(), &barAtStart_);
        SetCapture(handle());
        dragTo(dragStart_);
        return 0;
      }
      break;
    }
    case WM_MOUSEMOVE: {
      POINT point = pointOf(lParam);
      if (dragging_) {
        POINT screen = point;
        ClientToScreen(handle(), &screen);
        dragTo(screen);
        return 0;
      }
      bool hot = inside(hideButtonArea(), point);
      if (hot != buttonHot_) {
        buttonHot_ = hot;
        invalidateHideButton();
        if (hot && !buttonDown_) {
          TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, handle(), 0};
          TrackMouseEvent(&leave);
        }
      }
      break;
    }
    case WM_MOUSELEAVE:
      if (buttonHot_ && !buttonDown_) {
        buttonHot_ = false;
        invalidateHideButton();
      }
      return 0;
    case WM_LBUTTONUP: {
      POINT point = pointOf(lParam);
      if (buttonDown_) {
        buttonDown_ = false;
        if (GetCapture() == handle()) ReleaseCapture();
        invalidateHideButton();
        if (inside(hideButtonArea(), point)) host_.barHidden(barId());
        return 0;
      }
      if (dragging_) {
        dragging_ = false;
        dragFrame_.remove();
        if (GetCapture() == handle()) ReleaseCapture();
        POINT screen = point;
        ClientToScreen(handle(), &screen);
        // A click on the gripper without a move is no drag.
        if (std::abs(screen.x - dragStart_.x) > 3 || std::abs(screen.y - dragStart_.y) > 3) {
          host_.barDropped(barId(), screen);
        }
        return 0;
      }
      break;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != handle()) {
        if (dragging_) {
          dragging_ = false;
          dragFrame_.remove();
        }
        buttonDown_ = false;
      }
      break;
    case WM_KEYDOWN:
      if (dragging_ && wParam == VK_ESCAPE) {
        dragging_ = false;
        dragFrame_.remove();
        ReleaseCapture();
        return 0;
      }
      break;
  }
  return CSizingControlBar::handleMessage(message, wParam, lParam);
}

void CSizingControlBarCF::paintGripper(HDC dc, const RECT& gripper) {
  // A flat caption: the title in small text on the button face.
  RECT text = gripper;
  RECT button = hideButtonArea();
  if (isVerticalSide(side()) || side() == DockSide::floating) {
    text.left += 3;
    text.right = button.left - 2;
  } else {
    CSizingControlBarG::paintGripper(dc, gripper);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  ui::SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(dc, barTitle().c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// ---- CViewBar

void CViewBar::setView(HWND view) {
  view_ = view;
  if (view_) SetParent(view_, handle());
  layoutContent();
}

void CViewBar::layoutContent() {
  if (!view_) return;
  RECT area = contentArea();
  MoveWindow(view_, area.left, area.top, std::max(0L, area.right - area.left), std::max(0L, area.bottom - area.top),
             TRUE);
}

}  // namespace veltrace::panes
