#pragma once
// A group of files written together: each is written completely under a
// temporary name beside its target, and only commit() puts them all in place.
// Anything staged but not committed is removed when the group is destroyed,
// so an interrupted save leaves the previous files untouched.

#include <string>
#include <vector>

#include "app/message_log.h"

namespace veltrace {

// One line of a file being written, and what to log if writing it fails.
struct FileLine {
  std::string text;            // without line end
  std::string failureMessage;  // logged when this line cannot be written
  bool lineEnd = true;         // followed by CR LF
};

class StagedFiles {
 public:
  StagedFiles() = default;
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;
  ~StagedFiles();

  // Creates the temporary file for the target path; false (nothing logged)
  // when it cannot be created.
  bool open(const std::string& path);

  // Writes the lines to the temporary file opened for path. A line that
  // cannot be written logs its failure message and writing goes on with the
  // next line; returns false when any line failed.
  bool write(const std::string& path, const std::vector<FileLine>& lines, MessageLog& log);

  // Drops a staged file again, so that its target stays as it was.
  void discard(const std::string& path);

  // Puts every staged file in place, the last staged first, so that a file
  // staged first because it refers to the others (an index file) is replaced
  // only after them. Returns false, after
  // logging "Error while creating ..." for the target, when one cannot be put
  // in place; the others are still tried.
  bool commit(MessageLog& log);

 private:
  struct Staged {
    std::string target;
    std::string temporary;
  };
  std::vector<Staged> staged_;
};

// The temporary name a file is written under before it replaces path.
std::string stagingPath(const std::string& path);

}  // namespace veltrace
