#include "app/message_log_edit.h"

namespace veltrace::app {

namespace {

void raiseTextLimit(HWND edit) {
  auto limit = static_cast<unsigned>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
  if (limit < messagePaneTextLimit) SendMessageA(edit, EM_SETLIMITTEXT, messagePaneTextLimit, 0);
}

}  // namespace

void applyMessageFlush(HWND edit, const MessageFlush& flush) {
  if (!edit || flush.empty()) return;
  raiseTextLimit(edit);

  // Putting the text in moves the view to the caret; the scroll wanted is
  // relative to where the reader had it before.
  auto firstVisible = static_cast<int>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
  if (flush.replace) {
    SetWindowTextA(edit, flush.text.c_str());
    firstVisible = 0;
  } else {
    int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, end, end);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(flush.text.c_str()));
  }

  int wanted = firstVisible + flush.linesAdded;
  auto now = static_cast<int>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
  if (wanted != now) SendMessageA(edit, EM_LINESCROLL, 0, wanted - now);
}

void flushMessageLog(HWND edit, MessageLog& log, bool replace) {
  if (!edit) return;
  applyMessageFlush(edit, takeMessageFlush(log, replace));
}

}  // namespace veltrace::app
