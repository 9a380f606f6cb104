#include "setup/script_document.h"

namespace veltrace::setup {

namespace {

// Header names are cut so that "[name]" and "[[name]]" written back still
// fit in one line and read back the same.
constexpr std::size_t maxHeaderNameLength = maxScriptLineLength - 2;

bool isScriptBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\b';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isScriptBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isScriptBlank(text.back())) text.remove_suffix(1);
  return text;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

ScriptDocument newDocument(std::string name, bool hasHeader) {
  ScriptDocument document;
  document.name = std::move(name);
  document.hasHeader = hasHeader;
  ScriptSection root;
  root.hasHeader = false;
  document.sections.push_back(std::move(root));
  return document;
}

}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  return true;
}

std::vector<std::string> readScriptLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string current;
  auto emit = [&] {
    std::string_view line = trimmed(current);
    if (!line.empty()) lines.emplace_back(line);
    current.clear();
  };
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      emit();
      continue;
    }
    current += c;
    if (current.size() == maxScriptLineLength) emit();
  }
  emit();
  return lines;
}

std::vector<ScriptDocument> parseScriptDocuments(std::string_view text) {
  std::vector<ScriptDocument> documents;
  documents.push_back(newDocument("", false));
  for (const std::string& lineText : readScriptLines(text)) {
    std::string_view line = lineText;
    if (line.substr(0, 2) == "[[") {
      std::string_view name = line.substr(2);
      if (name.size() >= 2 && name.substr(name.size() - 2) == "]]") name.remove_suffix(2);
      documents.push_back(newDocument(std::string(name.substr(0, maxHeaderNameLength - 2)), true));
      continue;
    }
    auto& sections = documents.back().sections;
    if (line.front() == '[') {
      std::string_view name = line.substr(1);
      name = name.substr(0, name.find(']'));
      name = name.substr(0, maxHeaderNameLength);
      ScriptSection section;
      section.name = std::string(name);
      sections.push_back(std::move(section));
      continue;
    }
    ScriptEntry entry;
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      entry.key = std::string(line);
    } else {
      std::string_view key = line.substr(0, equals);
      while (!key.empty() && isScriptBlank(key.back())) key.remove_suffix(1);
      entry.key = std::string(key);
      entry.value = std::string(line.substr(equals + 1));
    }
    sections.back().entries.push_back(std::move(entry));
  }
  return documents;
}

std::string writeScriptDocuments(const std::vector<ScriptDocument>& documents) {
  std::string text;
  for (const auto& document : documents) {
    if (document.hasHeader) text += "[[" + document.name + "]]\r\n";
    for (const auto& section : document.sections) {
      if (section.hasHeader) text += "[" + section.name + "]\r\n";
      for (const auto& entry : section.entries) {
        text += entry.key;
        if (entry.value) text += "=" + *entry.value;
        text += "\r\n";
      }
      if (!section.entries.empty()) text += "\r\n";
    }
  }
  return text;
}

}  // namespace veltrace::setup
