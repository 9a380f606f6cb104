#include "setup/install_paths.h"

#include "setup/script_document.h"

namespace veltrace::setup {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isPlainComponent(std::string_view component) {
  if (component.find_first_not_of(". ") == std::string_view::npos) return false;
  for (char c : component)
    if (c == ':' || c == '\0') return false;
  return true;
}

}  // namespace

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  while (!name.empty() && isSeparator(name.front())) name.remove_prefix(1);
  if (!joined.empty() && !isSeparator(joined.back())) joined += '\\';
  joined += name;
  return joined;
}

std::string lastComponent(std::string_view path) {
  size_t last = path.find_last_of("\\/");
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string parentFolder(std::string_view path) {
  size_t last = path.find_last_of("\\/");
  if (last == std::string_view::npos) return {};
  std::string parent(path.substr(0, last));
  // "C:\name" has the parent "C:\", "\name" the parent "\".
  if (parent.empty() || (parent.size() == 2 && parent[1] == ':')) parent += '\\';
  return parent;
}

std::string withoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && isSeparator(path.back()) && !(path.size() == 3 && path[1] == ':')) path.pop_back();
  return path;
}

std::string pathRoot(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
    size_t server = path.find_first_of("\\/", 2);
    if (server == std::string_view::npos) return std::string(path);
    size_t share = path.find_first_of("\\/", server + 1);
    return std::string(path.substr(0, share));
  }
  if (!path.empty() && isSeparator(path[0])) return "\\";
  return {};
}

std::vector<std::string> pathComponents(std::string_view path) {
  std::string root = pathRoot(path);
  std::vector<std::string> components;
  size_t at = root == "\\" ? 1 : root.size();
  while (at < path.size()) {
    size_t end = path.find_first_of("\\/", at);
    if (end == std::string_view::npos) end = path.size();
    if (end > at) components.emplace_back(path.substr(at, end - at));
    at = end + 1;
  }
  return components;
}

bool hasOnlyPlainComponents(std::string_view path) {
  for (const std::string& component : pathComponents(path))
    if (!isPlainComponent(component)) return false;
  return true;
}

bool isBelowFolder(std::string_view path, std::string_view folder) {
  std::string base = withoutTrailingSeparators(std::string(folder));
  if (base.empty() || path.size() <= base.size() + 1) return false;
  if (!equalsIgnoringCase(path.substr(0, base.size()), base)) return false;
  if (!isSeparator(path[base.size()]) && !isSeparator(base.back())) return false;
  return hasOnlyPlainComponents(path) && hasOnlyPlainComponents(base);
}

std::string validShortcutPath(std::string_view path) {
  std::string valid;
  for (size_t i = 0; i < path.size(); ++i) {
    char c = path[i];
    bool driveColon = c == ':' && i == 1;
    if (c == '"' || c == '|' || c == '<' || c == '>' || c == '*' || c == '?' || (c == ':' && !driveColon)) c = '_';
    if (c == '\\' && !valid.empty() && valid.back() == '\\' && i > 1) continue;
    valid += c;
  }
  return valid;
}

bool hasWildcards(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

bool matchesWildcard(std::string_view name, std::string_view pattern) {
  // Greedy matching with one remembered star, linear in practice.
  size_t n = 0, p = 0, starAt = std::string_view::npos, resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace veltrace::setup
