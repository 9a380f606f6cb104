#pragma once
// The Messages pane's side of a flush: a multi-line EDIT control that keeps
// every line of a long session. The control's default capacity (about 32,000
// characters) would silently drop the newest messages, so the limit is raised;
// and only the new text is appended at the end, never the whole log set
// again, so a flush costs the same in the first minute and after hours.

#include <windows.h>

#include "app/message_flush.h"
#include "app/message_log.h"

namespace veltrace::app {

// The text limit the pane's control is raised to (the largest a multi-line
// edit control takes).
inline constexpr unsigned messagePaneTextLimit = 0x7FFFFFFE;

// Adds the flush to the control: the text at the end (or in place of the old
// text when the flush replaces), then the view is moved down by the lines
// added from where it stood. An empty flush changes nothing.
void applyMessageFlush(HWND edit, const MessageFlush& flush);

// Once per rendered frame: the log's pending lines into the control. Without
// a control the lines stay pending for the next call.
void flushMessageLog(HWND edit, MessageLog& log, bool replace = false);

}  // namespace veltrace::app
