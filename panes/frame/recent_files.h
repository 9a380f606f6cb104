#pragma once
// The most recently opened workspaces shown in the File menu: newest first,
// each path once (compared without regard to case, as Windows does), at
// most four. Portable; the frame keeps it in the profile's registry key.

#include <string>
#include <vector>

namespace veltrace::panes {

class RecentFiles {
 public:
  explicit RecentFiles(size_t capacity) : capacity_(capacity) {}

  void add(const std::string& path);
  void remove(size_t index);
  // Replaces the list with stored entries, dropping empty and repeated ones.
  void assign(const std::vector<std::string>& stored);

  const std::vector<std::string>& paths() const { return paths_; }
  size_t capacity() const { return capacity_; }

 private:
  size_t capacity_;
  std::vector<std::string> paths_;
};

}  // namespace veltrace::panes
