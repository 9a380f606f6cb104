#pragma once
// The character scanner under the scene reader. The reader does not parse the
// keyword blocks as a grammar: it looks for the keywords it needs in a fixed
// order and reads numbers and tokens behind them. The primitives below keep
// the exact reading rules of the format, odd ones included, because files
// written for the original reader rely on them:
//   - find() restarts a failed partial match at the keyword's first character
//     with the NEXT character, so "**GEOMOBJECT" does not contain
//     "*GEOMOBJECT" for it;
//   - integer() and real() swallow the one character behind the number;
//   - real() has no exponent: "1e5" reads as 1 and leaves "5".
// The whole file is held in memory (see file_text.h); positions are byte
// offsets into it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace veltrace {

class SceneScanner {
 public:
  // Tokens longer than this are cut to it; the rest of the token is skipped.
  static constexpr size_t maxTokenLength = 259;

  explicit SceneScanner(std::string text);
  SceneScanner(std::shared_ptr<const void> storage, std::string_view text);

  // Reads the whole file; nothing when it cannot be opened or read.
  static std::optional<SceneScanner> openFile(std::string_view corePath);

  // Reads until the keyword has been read; false at the end (the position is
  // then at the end). Exact, case-sensitive, naive matching as described above.
  bool find(std::string_view keyword);

  // Skips white space and collects one token; quotes switch to quoted mode
  // (blanks kept, the closing quote ends the token) and are not stored. The
  // white space character that ends a token is consumed. Nothing when the end
  // comes before the first character. The view stays valid until the next
  // call.
  std::optional<std::string_view> token();

  // Optional "-" and decimal digits; no digits reads 0. Saturates instead of
  // overflowing. The character behind the number is consumed.
  std::int32_t integer();

  // Optional "-", digits, optional "." and digits; no digits reads 0. Values
  // beyond the float range are clamped to it. The character behind the
  // number is consumed.
  float real();

  size_t save() const { return position_; }
  void restore(size_t position) { position_ = position < end_ ? position : end_; }
  void rewind() { position_ = 0; }
  bool atEnd() const { return position_ >= end_; }

  // Everything at or behind `end` reads as the end of the file until the
  // limit is lifted again. The reader uses it to keep the search for one
  // mesh's parts inside that mesh.
  void limitTo(size_t end) { end_ = end < text_.size() ? end : text_.size(); }
  void liftLimit() { end_ = text_.size(); }

  size_t size() const { return text_.size(); }
  std::string_view text() const { return text_; }

 private:
  void skipWhiteSpace();
  // The naive scan from the position, stopping at `stop`.
  bool findNaively(std::string_view keyword, size_t stop);
  // Keywords at least this long are looked for with a skipping search.
  static constexpr size_t skipSearchLength = 10;

  std::shared_ptr<const void> storage_;  // owns what text_ shows
  std::string_view text_;
  size_t position_ = 0;
  size_t end_ = 0;
  std::string quoted_;  // token text gathered across quotes
};

bool isSceneWhiteSpace(char c);

}  // namespace veltrace
