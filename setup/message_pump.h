// Setup does its work on the thread that owns its windows, so the work
// itself lets them repaint and see their buttons between steps.
#pragma once

#include <windows.h>

namespace veltrace::setup {

// Decides whether a message is a dialog's keyboard message and handles it
// if so (IsDialogMessage for a dialog, PSM_ISDIALOGMESSAGE for a property
// sheet).
using DialogMessageFilter = bool (*)(HWND window, MSG* message);

bool isDialogMessage(HWND dialog, MSG* message);

// Handles every message waiting in the thread's queue, giving the window's
// keyboard messages to the filter first. A WM_QUIT is posted again for the
// loop that owns it and ends the pumping: then the answer is false.
bool pumpWaitingMessages(HWND window, DialogMessageFilter filter = isDialogMessage);

}  // namespace veltrace::setup
