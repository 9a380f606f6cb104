#include "scene/scene_scanner.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fstream>
#include <limits>

#include "base/files.h"

namespace veltrace {

bool isSceneWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

SceneScanner::SceneScanner(std::string text) : text_(std::move(text)), end_(text_.size()) {}

std::optional<SceneScanner> SceneScanner::openFile(std::string_view corePath) {
  // One read of the whole file: scene files run to hundreds of megabytes and
  // are scanned several times, so they are not read character by character.
  std::ifstream in(nativePath(corePath), std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  std::streamoff length = in.tellg();
  if (length < 0) return std::nullopt;
  std::string text;
  try {
    text.resize(static_cast<size_t>(length));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  in.seekg(0);
  in.read(text.data(), length);
  if (in.gcount() != length) return std::nullopt;
  return SceneScanner(std::move(text));
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
  quoted_.assign(text_, start, std::min(position_ - start, maxTokenLength));
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
  bool negative = false;
  if (position_ < end_ && text_[position_] == '-') {
    negative = true;
    ++position_;
  }
  bool digits = false;
  bool nonZeroWholePart = false;
  while (position_ < end_ && isDigit(text_[position_])) {
    digits = true;
    nonZeroWholePart = nonZeroWholePart || text_[position_] != '0';
    ++position_;
  }
  if (position_ < end_ && text_[position_] == '.') {
    ++position_;
    while (position_ < end_ && isDigit(text_[position_])) {
      digits = true;
      ++position_;
    }
  }
  const size_t numberEnd = position_;
  if (position_ < end_) ++position_;  // the character behind the number
  if (!digits) return 0.0f;

  float value = 0.0f;
  auto result = std::from_chars(text_.data() + start, text_.data() + numberEnd, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large or too small for a float: clamp to the range, keep the sign.
    float magnitude = nonZeroWholePart ? std::numeric_limits<float>::max() : 0.0f;
    return negative ? -magnitude : magnitude;
  }
  if (result.ec != std::errc()) return 0.0f;
  return value;
}

}  // namespace veltrace
