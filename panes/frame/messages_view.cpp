#include "panes/frame/messages_view.h"

#include "app/message_log_edit.h"

namespace veltrace::panes {

bool CVeltraceViewMessages::create(HWND parent) {
  ui::WindowPlacement placement;
  placement.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
  placement.x = placement.y = 0;
  placement.width = placement.height = 100;
  placement.parent = parent;
  if (!Window::create("VeltraceMessagesView", "Messages", placement)) return false;
  edit_ = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                              ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                          0, 0, 100, 100, handle(), nullptr, ui::programInstance(), nullptr);
  if (!edit_) return false;
  font_.reset(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New"));
  SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return true;
}

void CVeltraceViewMessages::flush(MessageLog& log) {
  if (edit_) app::flushMessageLog(edit_, log);
}

LRESULT CVeltraceViewMessages::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE && edit_) {
    MoveWindow(edit_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  return Window::handleMessage(message, wParam, lParam);
}

}  // namespace veltrace::panes
