#include "scene/scene_scanner.h"

#include <algorithm>
#include <charconv>
#include <cstring>
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
// conversion takes over.
constexpr std::uint64_t exactMantissaLimit = std::uint64_t{1} << 53;
constexpr int mostExactDecimals = 22;

bool shortDecimalToFloat(std::uint64_t mantissa, int decimals, bool negative, float& value) {
  static constexpr double powersOfTen[mostExactDecimals + 1] = {
      1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
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

bool SceneScanner::find(std::string_view keyword) {
  if (keyword.empty()) return true;
  const char* data = text_.data();
  const char first = keyword[0];
  size_t matched = 0;
  while (position_ < end_) {
    if (matched == 0) {
      // Nothing matched yet: jump to the next candidate first character.
      const void* hit = std::memchr(data + position_, first, end_ - position_);
      if (!hit) {
        position_ = end_;
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
  const size_t start = position_;
  const char* text = text_.data();
  bool negative = false;
  if (position_ < end_ && text[position_] == '-') {
    negative = true;
    ++position_;
  }
  // The digits are gathered as they are read, for the quick conversion.
  bool digits = false;
  bool nonZeroWholePart = false;
  bool exact = true;
  std::uint64_t mantissa = 0;
  int decimals = 0;
  auto take = [&](char c) {
    digits = true;
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
    if (mantissa >= exactMantissaLimit) {
      exact = false;
      mantissa = 0;
    }
  };
  while (position_ < end_ && isDigit(text[position_])) {
    nonZeroWholePart = nonZeroWholePart || text[position_] != '0';
    take(text[position_++]);
  }
  if (position_ < end_ && text[position_] == '.') {
    ++position_;
    while (position_ < end_ && isDigit(text[position_])) {
      take(text[position_++]);
      if (++decimals > mostExactDecimals) exact = false;
    }
  }
  const size_t numberEnd = position_;
  if (position_ < end_) ++position_;  // the character behind the number
  if (!digits) return 0.0f;

  float value = 0.0f;
  if (exact && shortDecimalToFloat(mantissa, decimals, negative, value)) return value;
  auto result = std::from_chars(text + start, text + numberEnd, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large or too small for a float: clamp to the range, keep the sign.
    float magnitude = nonZeroWholePart ? std::numeric_limits<float>::max() : 0.0f;
    return negative ? -magnitude : magnitude;
  }
  if (result.ec != std::errc()) return 0.0f;
  return value;
}

}  // namespace veltrace
