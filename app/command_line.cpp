#include "app/command_line.h"

#include <algorithm>
#include <cctype>

namespace veltrace {

namespace {

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool endsWith(const std::string& text, const std::string& ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.rbegin(), ending.rend(), text.rbegin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

StartRequest parseCommandLine(const std::string& arguments) {
  StartRequest request;
  std::string path = trimmed(arguments);
  // A path with blanks comes in quotes; the quotes are not part of it.
  if (path.size() >= 2 && path.front() == '"') {
    size_t closing = path.find('"', 1);
    path = path.substr(1, closing == std::string::npos ? std::string::npos : closing - 1);
  }
  if (path.empty()) return request;
  if (endsWith(path, ".vwork")) {
    request.workspace = path;
  } else if (endsWith(path, ".vase")) {
    request.scene = path;
  } else {
    request.unknown = path;
  }
  return request;
}

}  // namespace veltrace
