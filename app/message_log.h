#pragma once
// The program-wide text log shown in the Messages pane. Any part of the
// program appends a line; appending never fails and never redraws. The pane
// takes the pending lines once per rendered frame.

#include <string>
#include <vector>

namespace veltrace {

class MessageLog {
 public:
  void append(std::string line) { pending_.push_back(std::move(line)); }

  const std::vector<std::string>& pending() const { return pending_; }

  // Hands the lines appended since the last call over to the caller.
  std::vector<std::string> takePending() {
    std::vector<std::string> lines;
    lines.swap(pending_);
    return lines;
  }

 private:
  std::vector<std::string> pending_;
};

}  // namespace veltrace
