#include "panes/frame/recent_files.h"

#include <algorithm>
#include <cctype>

namespace veltrace::panes {

namespace {

bool samePath(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

void RecentFiles::add(const std::string& path) {
  if (path.empty() || capacity_ == 0) return;
  std::erase_if(paths_, [&](const std::string& known) { return samePath(known, path); });
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > capacity_) paths_.resize(capacity_);
}

void RecentFiles::remove(size_t index) {
  if (index < paths_.size()) paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RecentFiles::assign(const std::vector<std::string>& stored) {
  paths_.clear();
  for (const std::string& path : stored) {
    if (path.empty() || paths_.size() == capacity_) continue;
    if (std::none_of(paths_.begin(), paths_.end(), [&](const std::string& known) { return samePath(known, path); }))
      paths_.push_back(path);
  }
}

}  // namespace veltrace::panes
