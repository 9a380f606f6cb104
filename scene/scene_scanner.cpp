#include "scene/scene_scanner.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <limits>

#include "scene/file_text.h"

namespace veltrace {

bool isSceneWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The quick way to the correctly rounded float of a short decimal such as
// "-34.887005", which is what scene files are made of: its digits as an
// integer m with k decimals, both exact in a double, so d = m / 10^k is
// rounded once (or, with x87 extended precision, twice, which is still
// monotonic). Rounding d to float then gives the float nearest the decimal
// unless d landed exactly on a point halfway between two floats; then, and
// outside the normal float range, it answers false and the general
// conversion takes over. Up to 15 digits the integer stays below 2^53, and
// the powers of ten up to 10^15 are exact as well.
constexpr int maxExactDigits = 15;

bool shortDecimalToFloat(std::uint64_t mantissa, int decimals, bool negative, float& value) {
  static constexpr double powersOfTen[maxExactDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  if (mantissa == 0) {
    value = negative ? -0.0f : 0.0f;
    return true;
  }
  double quotient = static_cast<double>(mantissa) / powersOfTen[decimals];
  if (quotient > static_cast<double>(std::numeric_limits<float>::max()) ||
      quotient < static_cast<double>(std::numeric_limits<float>::min()))
    return false;
  std::uint64_t bits;
  std::memcpy(&bits, &quotient, sizeof bits);
  // A float keeps 24 of the double's 53 significant bits; the 29 dropped
  // bits read 1000...0 exactly on a halfway point.
  constexpr std::uint64_t droppedMask = (std::uint64_t{1} << 29) - 1;
  if ((bits & droppedMask) == (std::uint64_t{1} << 28)) return false;
  float rounded = static_cast<float>(quotient);
  value = negative ? -rounded : rounded;
  return true;
}

}  // namespace

SceneScanner::SceneScanner(std::shared_ptr<const void> storage, std::string_view text)
    : storage_(std::move(storage)), text_(text), end_(text.size()) {}

SceneScanner::SceneScanner(std::string text) {
  FileText owned = ownedText(std::move(text));
  storage_ = std::move(owned.storage);
  text_ = owned.text;
  end_ = text_.size();
}

std::optional<SceneScanner> SceneScanner::openFile(std::string_view corePath) {
  auto file = readFileText(corePath);
  if (!file) return std::nullopt;
  return SceneScanner(std::move(file->storage), file->text);
}

void SceneScanner::skipWhiteSpace() {
  while (position_ < end_ && isSceneWhiteSpace(text_[position_])) ++position_;
}

namespace {

// The first occurrence of the keyword in [from, to), or `to`.
const char* searchText(const char* from, const char* to, std::string_view keyword) {
#ifdef __GLIBC__
  const void* hit = memmem(from, static_cast<size_t>(to - from), keyword.data(), keyword.size());
  return hit ? static_cast<const char*>(hit) : to;
#else
  return std::search(from, to, std::boyer_moore_horspool_searcher(keyword.begin(), keyword.end()));
#endif
}

}  // namespace

bool SceneScanner::findNaively(std::string_view keyword, size_t stop) {
  const char* data = text_.data();
  const char first = keyword[0];
  size_t matched = 0;
  while (position_ < stop) {
    if (matched == 0) {
      // Nothing matched yet: jump to the next candidate first character.
      const void* hit = std::memchr(data + position_, first, stop - position_);
      if (!hit) {
        position_ = stop;
        return false;
      }
      position_ = static_cast<size_t>(static_cast<const char*>(hit) - data) + 1;
      matched = 1;
    } else {
      // A mismatch drops the partial match; the mismatching character is
      // not tried as the start of a new one.
      matched = data[position_++] == keyword[matched] ? matched + 1 : 0;
    }
    if (matched == keyword.size()) return true;
  }
  return false;
}

bool SceneScanner::find(std::string_view keyword) {
  if (keyword.empty()) return true;
  // Keywords searched across whole meshes or files: the text is searched
  // with skips, and each occurrence checked against the naive rule. When
  // the keyword's first character appears nowhere else in it, the naive
  // scan misses an occurrence only while a partial match is under way
  // there, which needs that character within the few characters before it;
  // only then is the naive scan run, up to the occurrence.
  const bool skipSearch = keyword.size() >= skipSearchLength && keyword.find(keyword[0], 1) == std::string_view::npos;
  if (!skipSearch) return findNaively(keyword, end_);
  const char* data = text_.data();
  while (position_ < end_) {
    const char* hit = searchText(data + position_, data + end_, keyword);
    if (hit == data + end_) {
      position_ = end_;
      return false;
    }
    const size_t at = static_cast<size_t>(hit - data);
    const size_t windowStart = at - std::min(at - position_, keyword.size() - 1);
    if (!std::memchr(data + windowStart, keyword[0], at - windowStart)) {
      position_ = at + keyword.size();
      return true;
    }
    // No partial match reaches past the occurrence's end: it holds the
    // first character only at its start.
    if (findNaively(keyword, at + keyword.size())) return true;
  }
  return false;
}

std::optional<std::string_view> SceneScanner::token() {
  skipWhiteSpace();
  if (position_ >= end_) return std::nullopt;

  // Plain tokens are handed out as a view into the text.
  size_t start = position_;
  while (position_ < end_ && text_[position_] != '"' && !isSceneWhiteSpace(text_[position_])) ++position_;
  if (position_ >= end_ || text_[position_] != '"') {
    std::string_view plain(text_.data() + start, position_ - start);
    if (position_ < end_) ++position_;  // the white space that ends it
    return plain.substr(0, maxTokenLength);
  }

  // A quote: gather the token, quotes left out, into the scanner's buffer.
  quoted_.assign(text_.substr(start, std::min(position_ - start, maxTokenLength)));
  auto keep = [this](char c) {
    if (quoted_.size() < maxTokenLength) quoted_.push_back(c);
  };
  while (position_ < end_) {
    char c = text_[position_++];
    if (c == '"') {
      while (position_ < end_) {
        c = text_[position_++];
        if (c == '"') return std::string_view(quoted_);
        keep(c);
      }
      break;
    }
    if (isSceneWhiteSpace(c)) break;
    keep(c);
  }
  return std::string_view(quoted_);
}

std::int32_t SceneScanner::integer() {
  skipWhiteSpace();
  bool negative = false;
  if (position_ < end_ && text_[position_] == '-') {
    negative = true;
    ++position_;
  }
  constexpr std::int64_t cap = std::int64_t{1} << 31;
  std::int64_t value = 0;
  while (position_ < end_ && isDigit(text_[position_])) {
    value = value * 10 + (text_[position_] - '0');
    if (value > cap) value = cap;
    ++position_;
  }
  if (position_ < end_) ++position_;  // the character behind the number
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(value >= cap ? cap - 1 : value);
}

float SceneScanner::real() {
  skipWhiteSpace();
  const char* const text = text_.data();
  const char* const start = text + position_;
  const char* const end = text + end_;
  const char* at = start;
  const bool negative = at < end && *at == '-';
  if (negative) ++at;
  // The digits are gathered as they are read, for the quick conversion;
  // the integer wraps for long numbers, which then take the general way.
  std::uint64_t mantissa = 0;
  int wholeDigits = 0;
  int decimals = 0;
  bool nonZeroWholePart = false;
  for (; at < end && isDigit(*at); ++at, ++wholeDigits) {
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(*at - '0');
    nonZeroWholePart = nonZeroWholePart || *at != '0';
  }
  if (at < end && *at == '.') {
    for (++at; at < end && isDigit(*at); ++at, ++decimals)
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(*at - '0');
  }
  const char* const numberEnd = at;
  position_ = static_cast<size_t>(numberEnd - text);
  if (position_ < end_) ++position_;  // the character behind the number
  if (wholeDigits + decimals == 0) return 0.0f;

  float value = 0.0f;
  if (wholeDigits + decimals <= maxExactDigits && shortDecimalToFloat(mantissa, decimals, negative, value))
    return value;
  auto result = std::from_chars(start, numberEnd, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large or too small for a float: clamp to the range, keep the sign.
    float magnitude = nonZeroWholePart ? std::numeric_limits<float>::max() : 0.0f;
    return negative ? -magnitude : magnitude;
  }
  if (result.ec != std::errc()) return 0.0f;
  return value;
}

}  // namespace veltrace
