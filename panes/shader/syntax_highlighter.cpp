#include "panes/shader/syntax_highlighter.h"

#include <algorithm>

namespace veltrace {

namespace {

std::size_t stateIndex(ScanState state) { return static_cast<std::size_t>(state); }

}  // namespace

bool isKeywordDelimiter(unsigned char c) {
  switch (c) {
    case 0: case '\t': case '\n': case '\r': case ' ':
    case '(': case ')': case '*': case ',': case '.':
    case '[': case ']': case '{': case '}':
      return true;
    default:
      return false;
  }
}

SyntaxHighlighter::SyntaxHighlighter() {
  ClassTable& normal = classes_[stateIndex(ScanState::normal)];
  normal['"'] = stringStart;
  normal['\''] = literalStart;
  normal['/'] = commentStart;
  normal[';'] = commentStart;
  classes_[stateIndex(ScanState::string)]['"'] = stringEnd;
  classes_[stateIndex(ScanState::characterLiteral)]['\''] = literalEnd;
  classes_[stateIndex(ScanState::lineComment)]['\n'] = lineCommentEnd;
  classes_[stateIndex(ScanState::blockComment)]['*'] = blockCommentEnd;
}

void SyntaxHighlighter::AddKeywordList(std::string_view commaSeparatedWords, TextColour colour, int group) {
  groups_.push_back(group);
  std::size_t start = 0;
  while (start <= commaSeparatedWords.size()) {
    std::size_t comma = commaSeparatedWords.find(',', start);
    if (comma == std::string_view::npos) comma = commaSeparatedWords.size();
    if (comma > start) addKeyword(commaSeparatedWords.substr(start, comma - start), colour);
    start = comma + 1;
  }
  rebuildFirstCharacterIndex();
}

void SyntaxHighlighter::addKeyword(std::string_view word, TextColour colour) {
  classes_[stateIndex(ScanState::normal)][static_cast<unsigned char>(word.front())] = keywordStart;
  // std::string compares as unsigned bytes, which is the order the table keeps.
  auto position = std::lower_bound(keywords_.begin(), keywords_.end(), word,
                                   [](const KeywordEntry& entry, std::string_view w) { return entry.text < w; });
  if (position != keywords_.end() && position->text == word) {
    position->colour = colour;  // the later list wins
    return;
  }
  keywords_.insert(position, KeywordEntry{std::string(word), colour});
}

void SyntaxHighlighter::clearKeywords() {
  keywords_.clear();
  groups_.clear();
  // Back to the classes the normal state has without keywords, so that a
  // keyword starting with a quote or a comment character does not take the
  // quote or comment away for good.
  ClassTable& normal = classes_[stateIndex(ScanState::normal)];
  normal.fill(plain);
  normal['"'] = stringStart;
  normal['\''] = literalStart;
  normal['/'] = commentStart;
  normal[';'] = commentStart;
  rebuildFirstCharacterIndex();
}

void SyntaxHighlighter::rebuildFirstCharacterIndex() {
  firstWithByte_.fill(0);
  endWithByte_.fill(0);
  for (std::size_t i = keywords_.size(); i-- > 0;) {
    unsigned char first = static_cast<unsigned char>(keywords_[i].text.front());
    if (endWithByte_[first] == 0) endWithByte_[first] = static_cast<std::uint32_t>(i + 1);
    firstWithByte_[first] = static_cast<std::uint32_t>(i);
  }
}

const KeywordEntry* SyntaxHighlighter::keywordAt(std::string_view text, std::size_t index) const {
  if (index > 0 && !isKeywordDelimiter(static_cast<unsigned char>(text[index - 1]))) return nullptr;
  unsigned char first = static_cast<unsigned char>(text[index]);
  // The table is sorted, so the entries with this first byte stand together;
  // the first of them that fits is the one the walk from the top would find.
  for (std::uint32_t i = firstWithByte_[first]; i < endWithByte_[first]; ++i) {
    const KeywordEntry& entry = keywords_[i];
    std::size_t end = index + entry.text.size();
    if (end > text.size() || text.compare(index, entry.text.size(), entry.text) != 0) continue;
    if (end == text.size() || isKeywordDelimiter(static_cast<unsigned char>(text[end]))) return &entry;
  }
  return nullptr;
}

HighlightResult SyntaxHighlighter::ColourRange(std::string_view text, ScanState startState) const {
  HighlightResult result;
  ScanState state = startState;
  std::size_t tokenStart = 0;
  const std::size_t size = text.size();
  auto at = [&](std::size_t i) -> unsigned char { return i < size ? static_cast<unsigned char>(text[i]) : 0; };
  auto colourUpTo = [&](std::size_t lastIndex, TextColour colour) {
    result.runs.push_back({tokenStart, lastIndex + 1 - tokenStart, colour});
  };

  for (std::size_t i = 0; i < size; ++i) {
    unsigned char c = at(i);
    switch (classes_[stateIndex(state)][c]) {
      case stringStart:
        tokenStart = i;
        state = ScanState::string;
        break;
      case literalStart:
        tokenStart = i;
        state = ScanState::characterLiteral;
        break;
      case commentStart:
        if (at(i + 1) == '/') {
          tokenStart = i;
          state = ScanState::lineComment;
          ++i;
        } else if (at(i + 1) == '*') {
          tokenStart = i;
          state = ScanState::blockComment;
          ++i;
        } else if (c == ';') {
          tokenStart = i;
          state = ScanState::lineComment;
        }
        break;
      case keywordStart:
        if (const KeywordEntry* keyword = keywordAt(text, i)) {
          result.runs.push_back({i, keyword->text.size(), keyword->colour});
          // The loop's step passes over the delimiter after the word.
          i += keyword->text.size();
        }
        break;
      case stringEnd:
        colourUpTo(i, stringColour_);
        state = ScanState::normal;
        break;
      case literalEnd:
        if (!(i > 0 && at(i - 1) == '\\' && i + 1 < size && at(i + 1) == '\'')) {
          colourUpTo(i, stringColour_);
          state = ScanState::normal;
        }
        break;
      case blockCommentEnd:
        if (at(i + 1) == '/') {
          ++i;
          colourUpTo(i, commentColour_);
          state = ScanState::normal;
        }
        break;
      case lineCommentEnd:
        // A backslash before CR LF continues the comment.
        if (!(i >= 2 && at(i - 2) == '\\')) {
          colourUpTo(i, commentColour_);
          state = ScanState::normal;
        }
        break;
      default:
        break;
    }
  }

  // A token still open at the end runs to the end of the text.
  if (state != ScanState::normal && size > tokenStart) {
    bool literal = state == ScanState::string || state == ScanState::characterLiteral;
    result.runs.push_back({tokenStart, size - tokenStart, literal ? stringColour_ : commentColour_});
  }
  result.endState = state;
  return result;
}

}  // namespace veltrace
