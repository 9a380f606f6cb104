#pragma once
// The colouring engine of the shader source editor: a keyword table and a
// character-by-character state machine. It knows nothing of edit controls;
// it turns a text into coloured runs that the editor applies in one batch.
//
// The rules are deliberately simple and match what users of the editor are
// used to, quirks included:
// - a keyword is found only with a delimiter (or the start of the scanned
//   text) before it and a delimiter (or its end) after it; the delimiter
//   after a keyword is passed over unexamined, so in "r0.rgb" only r0 is
//   coloured;
// - ';' and "//" start a line comment, which a backslash two characters
//   before the line feed (that is, before CR LF) continues onto the next
//   line; "/*" starts a block comment;
// - strings run from '"' to the next '"' with no escapes; character
//   literals from '\'' to the next '\'' unless it is written \' with a quote
//   after it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrace {

struct TextColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const TextColour&, const TextColour&) = default;
};

// The state the scanner is in between characters.
enum class ScanState { normal, string, characterLiteral, lineComment, blockComment };

// A piece of the scanned text that gets a colour other than the plain text
// colour; offsets count bytes of the scanned text.
struct ColouredRun {
  std::size_t offset = 0;
  std::size_t length = 0;
  TextColour colour;
  friend bool operator==(const ColouredRun&, const ColouredRun&) = default;
};

struct HighlightResult {
  // In text order, never overlapping. Text outside every run is plain.
  std::vector<ColouredRun> runs;
  // The state at the end of the text: where a following piece of text would
  // start (a block comment still open, for example).
  ScanState endState = ScanState::normal;
};

struct KeywordEntry {
  std::string text;
  TextColour colour;
};

class SyntaxHighlighter {
 public:
  SyntaxHighlighter();

  // Adds every non-empty comma-separated piece of the list with the colour.
  // A word already in the table takes the new colour. The group number is
  // kept with the call only (it names the list; it does not change colouring).
  void AddKeywordList(std::string_view commaSeparatedWords, TextColour colour, int group);
  void clearKeywords();
  void setCommentColour(TextColour colour) { commentColour_ = colour; }
  void setStringColour(TextColour colour) { stringColour_ = colour; }

  // Scans the text from its first character, starting in the given state
  // (normal for a whole text; the state at the start of a line to recolour
  // one line as part of the text around it).
  HighlightResult ColourRange(std::string_view text, ScanState startState = ScanState::normal) const;

  // Sorted ascending by byte-wise comparison of their text.
  const std::vector<KeywordEntry>& keywords() const { return keywords_; }
  const std::vector<int>& keywordGroups() const { return groups_; }

 private:
  // Character classes per scanner state.
  enum CharacterClass : std::uint8_t {
    plain = 0,
    stringStart = 1,
    stringEnd = 2,
    literalStart = 3,
    literalEnd = 4,
    commentStart = 5,
    lineCommentEnd = 6,
    blockCommentEnd = 7,
    keywordStart = 8,
  };
  using ClassTable = std::array<std::uint8_t, 256>;

  void addKeyword(std::string_view word, TextColour colour);
  // The keyword that stands at index with delimiters around it, if any.
  const KeywordEntry* keywordAt(std::string_view text, std::size_t index) const;
  void rebuildFirstCharacterIndex();

  std::array<ClassTable, 5> classes_{};
  std::vector<KeywordEntry> keywords_;
  // keywords_ indices [first, end) of the entries starting with each byte.
  std::array<std::uint32_t, 256> firstWithByte_{};
  std::array<std::uint32_t, 256> endWithByte_{};
  std::vector<int> groups_;
  TextColour commentColour_;
  TextColour stringColour_;
};

// The characters that may stand before and after a keyword. End of text
// counts as code 0.
bool isKeywordDelimiter(unsigned char c);

}  // namespace veltrace
