#include "panes/shader/shader_source_text.h"

#include "base/text.h"

namespace veltrace {

std::string editorTextFromFile(std::string_view fileContent) {
  std::string text;
  text.reserve(fileContent.size() + fileContent.size() / 16);
  for (const std::string& line : splitLines(fileContent)) {
    for (char c : line) {
      unsigned char u = static_cast<unsigned char>(c);
      text += (u < 0x20 && c != '\t') ? '?' : c;
    }
    text += "\r\n";
  }
  return text;
}

TextLine lineAround(std::string_view text, std::size_t position) {
  if (position > text.size()) position = text.size();
  std::size_t start = position;
  while (start > 0 && text[start - 1] != '\n') --start;
  std::size_t end = position;
  while (end < text.size() && text[end] != '\n') ++end;
  if (end > start && text[end - 1] == '\r') --end;
  if (end < start) end = start;
  return {start, end - start};
}

}  // namespace veltrace
