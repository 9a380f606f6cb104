#include "setup/message_pump.h"

namespace veltrace::setup {

bool isDialogMessage(HWND dialog, MSG* message) { return dialog && IsDialogMessageA(dialog, message); }

bool pumpWaitingMessages(HWND window, DialogMessageFilter filter) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    if (filter(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

}  // namespace veltrace::setup
