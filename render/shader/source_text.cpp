#include "render/shader/source_text.h"

namespace veltrace::shader {

std::string quote(std::string_view text) {
  std::string shown;
  for (char c : text.substr(0, quoteLimit)) {
    unsigned char u = static_cast<unsigned char>(c);
    shown += (u >= 0x20 && u < 0x7F) ? c : '?';
  }
  if (text.size() > quoteLimit) shown += "...";
  return "'" + shown + "'";
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string> linesWithoutComments(std::string_view source, DiagnosticList& diagnostics) {
  std::vector<std::string> lines(1);
  bool inBlock = false;
  int blockStartLine = 0;
  int blockStartColumn = 0;
  for (size_t i = 0; i < source.size(); ++i) {
    char c = source[i];
    if (c == '\n') {
      lines.emplace_back();
      continue;
    }
    if (inBlock) {
      if (c == '*' && i + 1 < source.size() && source[i + 1] == '/') {
        inBlock = false;
        ++i;
      }
      lines.back() += ' ';
      continue;
    }
    bool slashSlash = c == '/' && i + 1 < source.size() && source[i + 1] == '/';
    if (c == ';' || slashSlash) {
      while (i + 1 < source.size() && source[i + 1] != '\n') ++i;
      continue;
    }
    if (c == '/' && i + 1 < source.size() && source[i + 1] == '*') {
      inBlock = true;
      blockStartLine = static_cast<int>(lines.size());
      blockStartColumn = static_cast<int>(lines.back().size()) + 1;
      lines.back() += ' ';
      ++i;
      continue;
    }
    lines.back() += c;
  }
  if (inBlock)
    diagnostics.add(blockStartLine, blockStartColumn, DiagnosticCode::unterminatedComment,
                    "comment '/*' is never closed");
  return lines;
}

std::vector<std::string_view> splitOperands(std::string_view text) {
  std::vector<std::string_view> pieces;
  if (trim(text).empty()) return pieces;
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    pieces.push_back(trim(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return pieces;
}

}  // namespace veltrace::shader
