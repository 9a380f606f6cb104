#pragma once
// The install script as text: an ordered list of documents (the first one
// unnamed; a "[[name" line starts another), each an ordered list of
// sections (the first one the unnamed root), each an ordered list of
// entries. Sections with the same name are kept apart, in file order.
// Entries keep exactly what was read, so comment lines and sections nobody
// reads are written back as they came.

#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrace::setup {

// Longest line the reader takes at once; a longer one goes on as the next.
constexpr std::size_t maxScriptLineLength = 4095;

struct ScriptEntry {
  std::string key;
  std::optional<std::string> value;  // none for a line without "="
};

struct ScriptSection {
  std::string name;
  bool hasHeader = true;  // false only for the root section
  std::vector<ScriptEntry> entries;
};

struct ScriptDocument {
  std::string name;
  bool hasHeader = false;  // false only for the first document
  // A list, so that references to sections survive adding more.
  std::list<ScriptSection> sections;
};

// The trimmed, non-empty lines of the text: CR dropped, LF ends a line,
// lines cut every maxScriptLineLength characters.
std::vector<std::string> readScriptLines(std::string_view text);

// Never fails: every line is a header or an entry. "[[name]]" (the closing
// brackets optional) starts a document, "[name]" (up to the first "]", or
// the end of the line) a section.
std::vector<ScriptDocument> parseScriptDocuments(std::string_view text);

// CR LF line ends; "[[name]]" before every named document, "[name]" before
// every named section, one empty line after each section that has entries.
std::string writeScriptDocuments(const std::vector<ScriptDocument>& documents);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace veltrace::setup
