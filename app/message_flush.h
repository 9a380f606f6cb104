#pragma once
// The hand-over of the message log to the Messages pane, once per rendered
// frame: the lines appended since the last frame become one text to add at
// the end of the pane, and the pane scrolls down by the lines it gained.
// Portable, so the counts are tested without a window; message_log_edit.h
// applies a flush to the pane's edit control.

#include <string>

#include "app/message_log.h"

namespace veltrace::app {

struct MessageFlush {
  std::string text;      // every line followed by "\r\n"
  int linesAdded = 0;    // line breaks in text: how far the pane scrolls down
  bool replace = false;  // the pane's old text is dropped first

  bool empty() const { return linesAdded == 0; }
};

// Takes every pending line of the log, oldest first. A line that itself holds
// line breaks (an assembler error over several lines) is shown as that many
// lines: its bare "\n" become "\r\n", which an edit control breaks at, and
// each counts as a line added. Nothing pending gives an empty flush, also
// when replace is asked for: the pane then keeps its text.
MessageFlush takeMessageFlush(MessageLog& log, bool replace = false);

}  // namespace veltrace::app
