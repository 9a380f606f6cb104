#include "effect/staged_files.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/files.h"
#include "base/text.h"

namespace veltrace {

std::string stagingPath(const std::string& path) { return path + ".saving~"; }

StagedFiles::~StagedFiles() {
  for (const auto& file : staged_) {
    std::error_code ignored;
    std::filesystem::remove(nativePath(file.temporary), ignored);
  }
}

bool StagedFiles::open(const std::string& path) {
  discard(path);
  std::string temporary = stagingPath(path);
  std::ofstream out(nativePath(temporary), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  staged_.push_back({path, temporary});
  return true;
}

bool StagedFiles::write(const std::string& path, const std::vector<FileLine>& lines, MessageLog& log) {
  const Staged* file = nullptr;
  for (const auto& staged : staged_)
    if (staged.target == path) file = &staged;
  if (!file) return false;
  std::ofstream out(nativePath(file->temporary), std::ios::binary | std::ios::app);
  bool allWritten = static_cast<bool>(out);
  for (const auto& line : lines) {
    // Flushing each line lets a failure (a full disk) be pinned to its line.
    out << line.text;
    if (line.lineEnd) out << "\r\n";
    out.flush();
    if (!out) {
      log.append(line.failureMessage);
      allWritten = false;
      out.clear();
    }
  }
  return allWritten;
}

void StagedFiles::discard(const std::string& path) {
  for (auto it = staged_.begin(); it != staged_.end(); ++it) {
    if (it->target != path) continue;
    std::error_code ignored;
    std::filesystem::remove(nativePath(it->temporary), ignored);
    staged_.erase(it);
    return;
  }
}

bool StagedFiles::commit(MessageLog& log) {
  bool allPlaced = true;
  for (auto it = staged_.rbegin(); it != staged_.rend(); ++it) {
    const Staged& file = *it;
    std::error_code error;
    std::filesystem::rename(nativePath(file.temporary), nativePath(file.target), error);
    if (error) {
      log.append(formatText("Error while creating \"%s\" !", file.target.c_str()));
      std::filesystem::remove(nativePath(file.temporary), error);
      allPlaced = false;
    }
  }
  staged_.clear();
  return allPlaced;
}

}  // namespace veltrace
