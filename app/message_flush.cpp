#include "app/message_flush.h"

namespace veltrace::app {

namespace {

// Appends one log line with its own line breaks as "\r\n" and a closing
// "\r\n"; returns the number of line breaks written.
int appendLine(std::string& text, const std::string& line) {
  int breaks = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\r' && i + 1 < line.size() && line[i + 1] == '\n') continue;  // written with the '\n'
    if (c == '\n') {
      text += "\r\n";
      ++breaks;
      continue;
    }
    text += c;
  }
  text += "\r\n";
  return breaks + 1;
}

}  // namespace

MessageFlush takeMessageFlush(MessageLog& log, bool replace) {
  MessageFlush flush;
  if (log.pending().empty()) return flush;
  flush.replace = replace;
  for (const std::string& line : log.takePending()) flush.linesAdded += appendLine(flush.text, line);
  return flush;
}

}  // namespace veltrace::app
