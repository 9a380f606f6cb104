#pragma once
// Plain-text handling of shader source shared by the parser's parts: lines
// with their comments blanked out, blanks, operand lists, quoting user text
// in messages.

#include <string>
#include <string_view>
#include <vector>

#include "render/shader/shader_diagnostics.h"

namespace veltrace::shader {

// Longest piece of user text quoted in a message; garbage lines can be long.
constexpr size_t quoteLimit = 40;

// The text in single quotes, cut to quoteLimit characters, with anything
// unprintable shown as '?'.
std::string quote(std::string_view text);

inline bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
inline bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view trim(std::string_view text);

// The source split into lines with every comment (';' or "//" to the end of
// the line, "/*" to "*/") blanked out, so that line and column numbers stay
// those of the source. An unclosed "/*" is reported.
std::vector<std::string> linesWithoutComments(std::string_view source, DiagnosticList& diagnostics);

// The comma-separated operands of an instruction, each trimmed; views into
// the given text. No text gives no operands; "a," gives "a" and "".
std::vector<std::string_view> splitOperands(std::string_view text);

}  // namespace veltrace::shader
