#include "panes/shader/rich_text_runs.h"

#include <algorithm>
#include <vector>

#include "base/text.h"

namespace veltrace {

namespace {

constexpr TextColour plainColour{0, 0, 0};

// Characters [begin, end) of the text; a line feed right after a carriage
// return belongs to its paragraph break, wherever a run boundary falls.
void appendEscaped(std::string& rtf, std::string_view text, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '\\': rtf += "\\\\"; break;
      case '{': rtf += "\\{"; break;
      case '}': rtf += "\\}"; break;
      case '\t': rtf += "\\tab "; break;
      case '\r': rtf += "\\par\r\n"; break;
      case '\n':
        if (i == 0 || text[i - 1] != '\r') rtf += "\\par\r\n";
        break;
      default:
        if (c >= 0x80) rtf += formatText("\\'%02x", c);
        else if (c < 0x20) rtf += '?';
        else rtf += static_cast<char>(c);
    }
  }
}

}  // namespace

std::string richTextOf(std::string_view text, const std::vector<ColouredRun>& runs, RichTextUse use) {
  std::vector<TextColour> colours{plainColour};
  for (const ColouredRun& run : runs)
    if (std::find(colours.begin(), colours.end(), run.colour) == colours.end()) colours.push_back(run.colour);
  auto colourIndex = [&](TextColour colour) {
    // Index 0 of an RTF colour table is the "automatic" colour; ours start at 1.
    return static_cast<int>(std::find(colours.begin(), colours.end(), colour) - colours.begin()) + 1;
  };

  std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}{\\colortbl ;";
  for (TextColour colour : colours) rtf += formatText("\\red%d\\green%d\\blue%d;", colour.red, colour.green, colour.blue);
  rtf += "}\\f0\\fs20\\cf1 ";
  rtf.reserve(rtf.size() + text.size() + text.size() / 4);

  size_t position = 0;
  for (const ColouredRun& run : runs) {
    if (run.offset < position || run.offset >= text.size()) continue;  // runs come in order; be safe all the same
    size_t length = std::min(run.length, text.size() - run.offset);
    appendEscaped(rtf, text, position, run.offset);
    rtf += formatText("\\cf%d ", colourIndex(run.colour));
    appendEscaped(rtf, text, run.offset, run.offset + length);
    rtf += "\\cf1 ";
    position = run.offset + length;
  }
  appendEscaped(rtf, text, std::min(position, text.size()), text.size());
  // The control takes the last paragraph mark of a document as its own end
  // of text, which would swallow a line break at the end of the text.
  bool endsWithBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
  if (endsWithBreak && use == RichTextUse::wholeDocument) rtf += "\\par";
  rtf += "}";
  return rtf;
}

size_t endOfLines(std::string_view text, size_t from, size_t lines) {
  size_t position = std::min(from, text.size());
  for (size_t counted = 0; counted < lines && position < text.size(); ++position) {
    char c = text[position];
    if (c == '\r' && position + 1 < text.size() && text[position + 1] == '\n') ++position;
    if (c == '\r' || c == '\n') ++counted;
  }
  return position;
}

std::vector<ColouredRun> runsWithin(const std::vector<ColouredRun>& runs, size_t begin, size_t end) {
  std::vector<ColouredRun> within;
  for (const ColouredRun& run : runs) {
    size_t runBegin = std::max(run.offset, begin);
    size_t runEnd = std::min(run.offset + run.length, end);
    if (runBegin < runEnd) within.push_back({runBegin - begin, runEnd - runBegin, run.colour});
  }
  return within;
}

}  // namespace veltrace
