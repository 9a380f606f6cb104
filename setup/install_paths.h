#pragma once
// Path text as the installer handles it: Windows form (backslashes), a
// drive ("C:"), a network root ("\\server\share") or a leading backslash as
// the root. Also the checks that keep script paths inside their folder.

#include <string>
#include <string_view>
#include <vector>

namespace veltrace::setup {

// "folder\name", with exactly one separator between them.
std::string joinPath(std::string_view folder, std::string_view name);
// The last component; the folder in front of it without its separator.
std::string lastComponent(std::string_view path);
std::string parentFolder(std::string_view path);
std::string withoutTrailingSeparators(std::string path);
// "C:", "\\server\share", "\" or "" (relative), and the components after it.
std::string pathRoot(std::string_view path);
std::vector<std::string> pathComponents(std::string_view path);

// True when every component of `path` is a plain name: no "..", no "."
// alone, nothing made only of dots and spaces (Windows reads ".. " as ".."),
// no ":" after the root (stream separators). Both separators count.
bool hasOnlyPlainComponents(std::string_view path);
// `path` lies strictly below `folder` (ASCII case-insensitive), and has
// only plain components.
bool isBelowFolder(std::string_view path, std::string_view folder);

// Shortcut paths: '"', '|', '<', '>', '*', '?' and every ':' except the one
// after a drive letter become '_'; doubled separators collapse (the two of a
// network root stay).
std::string validShortcutPath(std::string_view path);

bool hasWildcards(std::string_view name);
// "*" any run, "?" any one character; ASCII case-insensitive.
bool matchesWildcard(std::string_view name, std::string_view pattern);

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix);

}  // namespace veltrace::setup
