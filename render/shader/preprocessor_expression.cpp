#include "render/shader/preprocessor_expression.h"

#include <limits>

#include "render/shader/source_text.h"

namespace veltrace::shader {

namespace {

// Recursive descent, one function per precedence level, lowest first.
class ExpressionReader {
 public:
  explicit ExpressionReader(std::string_view text) : text_(text) {}

  ExpressionResult read() {
    ExpressionResult result;
    result.value = conditional();
    skipBlanks();
    if (error_.empty() && position_ < text_.size()) fail("unexpected " + quote(text_.substr(position_)) + " in the expression");
    result.error = error_;
    return result;
  }

 private:
  std::int64_t conditional() {
    std::int64_t condition = logicalOr();
    if (!take("?")) return condition;
    std::int64_t whenTrue = conditional();
    if (!take(":")) return fail("':' expected in the expression");
    std::int64_t whenFalse = conditional();
    return condition ? whenTrue : whenFalse;
  }

  std::int64_t logicalOr() {
    std::int64_t value = logicalAnd();
    while (take("||")) {
      std::int64_t right = logicalAnd();
      value = (value || right) ? 1 : 0;
    }
    return value;
  }

  std::int64_t logicalAnd() {
    std::int64_t value = bitOr();
    while (take("&&")) {
      std::int64_t right = bitOr();
      value = (value && right) ? 1 : 0;
    }
    return value;
  }

  std::int64_t bitOr() {
    std::int64_t value = bitXor();
    while (!peek("||") && take("|")) value |= bitXor();
    return value;
  }

  std::int64_t bitXor() {
    std::int64_t value = bitAnd();
    while (take("^")) value ^= bitAnd();
    return value;
  }

  std::int64_t bitAnd() {
    std::int64_t value = equality();
    while (!peek("&&") && take("&")) value &= equality();
    return value;
  }

  std::int64_t equality() {
    std::int64_t value = relational();
    for (;;) {
      if (take("==")) value = value == relational();
      else if (take("!=")) value = value != relational();
      else return value;
    }
  }

  std::int64_t relational() {
    std::int64_t value = shift();
    for (;;) {
      if (take("<=")) value = value <= shift();
      else if (take(">=")) value = value >= shift();
      else if (!peek("<<") && take("<")) value = value < shift();
      else if (!peek(">>") && take(">")) value = value > shift();
      else return value;
    }
  }

  std::int64_t shift() {
    std::int64_t value = additive();
    for (;;) {
      bool left = take("<<");
      if (!left && !take(">>")) return value;
      std::int64_t count = additive();
      if (count < 0 || count > 63) return fail("shift count out of range in the expression");
      value = left ? static_cast<std::int64_t>(static_cast<std::uint64_t>(value) << count) : value >> count;
    }
  }

  std::int64_t additive() {
    std::int64_t value = multiplicative();
    for (;;) {
      if (take("+")) value = wrap(static_cast<std::uint64_t>(value) + static_cast<std::uint64_t>(multiplicative()));
      else if (take("-")) value = wrap(static_cast<std::uint64_t>(value) - static_cast<std::uint64_t>(multiplicative()));
      else return value;
    }
  }

  std::int64_t multiplicative() {
    std::int64_t value = unary();
    for (;;) {
      char op = 0;
      if (take("*")) op = '*';
      else if (take("/")) op = '/';
      else if (take("%")) op = '%';
      else return value;
      std::int64_t right = unary();
      if (op == '*') {
        value = wrap(static_cast<std::uint64_t>(value) * static_cast<std::uint64_t>(right));
      } else if (right == 0) {
        return fail("division by zero in the expression");
      } else if (value == std::numeric_limits<std::int64_t>::min() && right == -1) {
        value = op == '/' ? value : 0;
      } else {
        value = op == '/' ? value / right : value % right;
      }
    }
  }

  std::int64_t unary() {
    if (++depth_ > depthLimit) return fail("expression nested too deeply");
    std::int64_t value = 0;
    if (take("!")) value = !unary();
    else if (take("~")) value = ~unary();
    else if (take("-")) value = wrap(0 - static_cast<std::uint64_t>(unary()));
    else if (take("+")) value = unary();
    else value = primary();
    --depth_;
    return value;
  }

  std::int64_t primary() {
    skipBlanks();
    if (take("(")) {
      std::int64_t value = conditional();
      if (!take(")")) return fail("')' expected in the expression");
      return value;
    }
    if (position_ < text_.size() && isDigit(text_[position_])) return number();
    std::string_view name = leadingIdentifier(text_.substr(position_));
    if (!name.empty()) {  // an identifier no macro stands for
      position_ += name.size();
      return 0;
    }
    if (position_ >= text_.size()) return fail("the expression ends too early");
    return fail("unexpected " + quote(text_.substr(position_, 1)) + " in the expression");
  }

  std::int64_t number() {
    int base = 10;
    if (text_[position_] == '0') {
      base = 8;
      if (position_ + 1 < text_.size() && (text_[position_ + 1] == 'x' || text_[position_ + 1] == 'X')) {
        base = 16;
        position_ += 2;
      }
    }
    std::uint64_t value = 0;
    size_t start = position_;
    while (position_ < text_.size()) {
      int digit = digitValue(text_[position_]);
      if (digit < 0 || digit >= base) break;
      value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
      ++position_;
    }
    if (base == 16 && position_ == start) return fail("hexadecimal number without digits in the expression");
    while (position_ < text_.size() && (text_[position_] == 'u' || text_[position_] == 'U' ||
                                        text_[position_] == 'l' || text_[position_] == 'L'))
      ++position_;  // C suffixes
    if (position_ < text_.size() && isIdentifierPart(text_[position_]))
      return fail("bad number in the expression");
    return wrap(value);
  }

  static int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  static std::int64_t wrap(std::uint64_t value) { return static_cast<std::int64_t>(value); }

  void skipBlanks() {
    while (position_ < text_.size() && isSpace(text_[position_])) ++position_;
  }
  bool peek(std::string_view token) {
    skipBlanks();
    return text_.substr(position_, token.size()) == token;
  }
  bool take(std::string_view token) {
    if (!error_.empty() || !peek(token)) return false;
    position_ += token.size();
    return true;
  }
  std::int64_t fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    position_ = text_.size();
    return 0;
  }

  static constexpr int depthLimit = 200;
  std::string_view text_;
  size_t position_ = 0;
  int depth_ = 0;
  std::string error_;
};

}  // namespace

ExpressionResult evaluatePreprocessorExpression(std::string_view expression) {
  if (trim(expression).empty()) return {0, "#if needs an expression"};
  return ExpressionReader(expression).read();
}

ExpansionResult replaceDefinedOperators(std::string_view expression, const MacroTable& macros) {
  ExpansionResult result;
  size_t i = 0;
  while (i < expression.size()) {
    std::string_view word = leadingIdentifier(expression.substr(i));
    bool midWord = i > 0 && isIdentifierPart(expression[i - 1]);
    if (word.empty() || midWord) {
      result.text += expression[i++];
      continue;
    }
    i += word.size();
    if (word != "defined") {
      result.text.append(word);
      continue;
    }
    while (i < expression.size() && isSpace(expression[i])) ++i;
    bool parenthesised = i < expression.size() && expression[i] == '(';
    if (parenthesised) {
      ++i;
      while (i < expression.size() && isSpace(expression[i])) ++i;
    }
    std::string_view name = leadingIdentifier(expression.substr(i));
    if (name.empty()) {
      result.error = "defined needs a macro name";
      return result;
    }
    i += name.size();
    if (parenthesised) {
      while (i < expression.size() && isSpace(expression[i])) ++i;
      if (i >= expression.size() || expression[i] != ')') {
        result.error = "')' expected after defined(" + std::string(name);
        return result;
      }
      ++i;
    }
    result.text += macros.isDefined(name) ? " 1 " : " 0 ";
  }
  return result;
}

}  // namespace veltrace::shader
