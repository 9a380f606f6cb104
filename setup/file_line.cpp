#include "setup/file_line.h"

#include <vector>

#include "base/text.h"
#include "setup/file_info.h"

namespace veltrace::setup {

namespace {

// Splits into at most `limit` fields; the last one keeps any further "|".
std::vector<std::string_view> splitBars(std::string_view text, std::size_t limit) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (fields.size() + 1 < limit) {
    std::size_t bar = text.find('|', start);
    if (bar == std::string_view::npos) break;
    fields.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  fields.push_back(text.substr(start));
  return fields;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

std::int32_t readScriptInt(std::string_view text) { return static_cast<std::int32_t>(readScriptUnsigned(text)); }

std::uint32_t readScriptUnsigned(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::uint32_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    value = value * 10u + static_cast<std::uint32_t>(text[at] - '0');
  return negative ? 0u - value : value;
}

std::optional<FileLine> parseFileLine(std::string_view value) {
  auto fields = splitBars(value, fileLineFieldCount);
  if (fields.size() < fileLineFieldCount) return std::nullopt;
  std::size_t equals = fields[5].find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  FileLine line;
  line.name = std::string(fields[0]);
  line.size = readScriptUnsigned(fields[1]);
  line.flags = readScriptUnsigned(fields[2]);
  line.overwrite = readScriptInt(fields[3]);
  line.shared = readScriptInt(fields[4]);
  line.registration = readScriptInt(fields[5].substr(0, equals));
  line.source = std::string(fields[5].substr(equals + 1));
  line.state = readScriptInt(fields[6]);
  line.reserved = readScriptInt(fields[7]);
  line.platforms = readScriptUnsigned(fields[8]);
  line.attributes = readScriptUnsigned(fields[9]);
  line.text1 = std::string(fields[10]);
  line.text2 = std::string(fields[11]);
  if (!isSafeRecordName(line.source)) return std::nullopt;
  return line;
}

std::string formatFileLine(const FileLine& line) {
  // The texts are joined rather than printed with "%s", which would stop at
  // a NUL byte inside one of them.
  return line.name + formatText("|%lu|%lu|%d|%d|%d=", static_cast<unsigned long>(line.size),
                                static_cast<unsigned long>(line.flags), line.overwrite, line.shared,
                                line.registration) +
         line.source +
         formatText("|%d|%d|%lu|%lu|", line.state, line.reserved, static_cast<unsigned long>(line.platforms),
                    static_cast<unsigned long>(line.attributes)) +
         line.text1 + "|" + line.text2;
}

}  // namespace veltrace::setup
