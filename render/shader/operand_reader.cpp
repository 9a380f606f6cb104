#include "render/shader/operand_reader.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "base/text.h"
#include "render/shader/register_set.h"
#include "render/shader/source_text.h"

namespace veltrace::shader {

namespace {

// Register numbers are 11 bits wide in a token.
constexpr std::uint32_t largestRegisterNumber = registerNumberMask >> registerNumberShift;

struct RegisterReference {
  RegisterFile file = RegisterFile::temporary;
  std::uint32_t number = 0;
  bool relative = false;
};

// One operand as written: an optional prefix ("-", "1-"), a register, an
// optional '.' component list and '_' modifier suffixes.
struct OperandText {
  bool negate = false;
  bool complement = false;
  RegisterReference reg;
  bool hasComponents = false;
  std::string components;              // lower case
  std::vector<std::string> modifiers;  // lower case, without '_'
};

class OperandReader {
 public:
  // column: where the operand starts in its line.
  OperandReader(std::string_view text, int line, int column, ShaderKind kind, DiagnosticList& diagnostics)
      : text_(trim(text)), line_(line), column_(column), kind_(kind), diagnostics_(diagnostics) {}

  std::optional<OperandText> read() {
    OperandText operand;
    if (peek() == '-') {
      operand.negate = true;
      ++at_;
      skipSpaces();
    } else if (peek() == '1') {
      size_t save = at_++;
      skipSpaces();
      if (peek() != '-') {
        at_ = save;
        return fail(DiagnosticCode::malformedOperand, "expected a register, found " + quote(text_));
      }
      ++at_;
      skipSpaces();
      operand.complement = true;
    }
    auto reg = readRegister();
    if (!reg) return std::nullopt;
    operand.reg = *reg;
    while (at_ < text_.size()) {
      char c = text_[at_];
      if (c == '.') {
        if (operand.hasComponents) return fail(DiagnosticCode::badSwizzle, "second component list in " + quote(text_));
        ++at_;
        operand.hasComponents = true;
        while (at_ < text_.size() && isLetter(text_[at_])) operand.components += lower(text_[at_++]);
      } else if (c == '_') {
        ++at_;
        std::string modifier;
        while (at_ < text_.size() && (isLetter(text_[at_]) || isDigit(text_[at_])))
          modifier += lower(text_[at_++]);
        operand.modifiers.push_back(modifier);
      } else if (isSpace(c)) {
        skipSpaces();
        if (at_ < text_.size())
          return fail(DiagnosticCode::malformedOperand, "unexpected text in operand " + quote(text_));
      } else {
        return fail(DiagnosticCode::malformedOperand, "unexpected text in operand " + quote(text_));
      }
    }
    return operand;
  }

 private:
  char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  void skipSpaces() {
    while (at_ < text_.size() && isSpace(text_[at_])) ++at_;
  }

  std::nullopt_t fail(DiagnosticCode code, std::string message) {
    diagnostics_.add(line_, column_, code, std::move(message));
    return std::nullopt;
  }

  // Decimal digits as a register number or offset; nothing when too large.
  std::optional<std::uint32_t> readNumber() {
    std::uint32_t value = 0;
    size_t start = at_;
    while (at_ < text_.size() && isDigit(text_[at_])) {
      value = value * 10 + static_cast<std::uint32_t>(text_[at_] - '0');
      if (value > largestRegisterNumber) {
        fail(DiagnosticCode::badNumber, "register number too large in " + quote(text_));
        return std::nullopt;
      }
      ++at_;
    }
    if (at_ == start) {
      fail(DiagnosticCode::malformedOperand, "expected a register number in " + quote(text_));
      return std::nullopt;
    }
    return value;
  }

  std::optional<RegisterReference> readRegister() {
    size_t start = at_;
    std::string spelling;
    while (at_ < text_.size() && isLetter(text_[at_])) spelling += lower(text_[at_++]);
    if (spelling.empty()) {
      if (at_ >= text_.size()) return fail(DiagnosticCode::malformedOperand, "missing operand");
      return fail(DiagnosticCode::malformedOperand, "expected a register, found " + quote(text_.substr(start)));
    }
    const RegisterFileInfo* info = findRegisterFile(spelling, kind_);
    if (!info) {
      ShaderKind other = kind_ == ShaderKind::vertex ? ShaderKind::pixel : ShaderKind::vertex;
      if (findRegisterFile(spelling, other))
        return fail(DiagnosticCode::registerNotInShader,
                    formatText("register %s does not exist in %s shaders", quote(text_.substr(start)).c_str(),
                               kind_ == ShaderKind::vertex ? "vertex" : "pixel"));
      return fail(DiagnosticCode::unknownRegister, "unknown register " + quote(text_.substr(start)));
    }
    RegisterReference reg;
    reg.file = info->file;
    if (!info->numbered) {
      reg.number = info->fixedNumber;
      return reg;
    }
    if (info->file == RegisterFile::constant && peek() == '[') return readBracket(reg);
    auto number = readNumber();
    if (!number) return std::nullopt;
    reg.number = *number;
    return reg;
  }

  // c[n], c[a0.x], c[a0.x + n], c[n + a0.x]
  std::optional<RegisterReference> readBracket(RegisterReference reg) {
    ++at_;  // '['
    bool haveOffset = false;
    for (;;) {
      skipSpaces();
      if (isDigit(peek())) {
        if (haveOffset) return fail(DiagnosticCode::malformedOperand, "two offsets in " + quote(text_));
        auto number = readNumber();
        if (!number) return std::nullopt;
        reg.number = *number;
        haveOffset = true;
      } else if (lower(peek()) == 'a') {
        if (reg.relative) return fail(DiagnosticCode::malformedOperand, "a0.x twice in " + quote(text_));
        if (!readAddressRegister()) return std::nullopt;
        reg.relative = true;
      } else {
        return fail(DiagnosticCode::malformedOperand, "expected a0.x or a number inside [] in " + quote(text_));
      }
      skipSpaces();
      if (peek() == '+') {
        ++at_;
        continue;
      }
      if (peek() == ']') {
        ++at_;
        return reg;
      }
      return fail(DiagnosticCode::malformedOperand, "expected ']' in " + quote(text_));
    }
  }

  bool readAddressRegister() {
    // "a0.x"
    static constexpr std::string_view expected = "a0.x";
    if (text_.size() - at_ < expected.size()) {
      fail(DiagnosticCode::malformedOperand, "expected a0.x in " + quote(text_));
      return false;
    }
    for (size_t i = 0; i < expected.size(); ++i) {
      if (lower(text_[at_ + i]) != expected[i]) {
        fail(DiagnosticCode::malformedOperand, "expected a0.x in " + quote(text_));
        return false;
      }
    }
    at_ += expected.size();
    return true;
  }

  std::string_view text_;
  size_t at_ = 0;
  int line_;
  int column_;
  ShaderKind kind_;
  DiagnosticList& diagnostics_;
};

// x y z w or r g b a as component numbers.
int componentIndex(char c) {
  switch (c) {
    case 'x': case 'r': return 0;
    case 'y': case 'g': return 1;
    case 'z': case 'b': return 2;
    case 'w': case 'a': return 3;
    default: return -1;
  }
}

std::optional<DestinationParameter> toDestination(const OperandText& operand, const std::string& text, int line,
                                                  int column, DiagnosticList& diagnostics) {
  if (operand.negate || operand.complement || !operand.modifiers.empty()) {
    diagnostics.add(line, column, DiagnosticCode::badModifier,
                    "a destination takes no source modifiers, found " + quote(text));
    return std::nullopt;
  }
  if (operand.reg.relative) {
    diagnostics.add(line, column, DiagnosticCode::relativeAddressingNotAllowed,
                    "a destination cannot be addressed relatively: " + quote(text));
    return std::nullopt;
  }
  DestinationParameter destination;
  const RegisterFileInfo& info = registerFileInfo(operand.reg.file);
  destination.type = info.type;
  destination.number = operand.reg.number;
  if (operand.hasComponents) {
    std::uint8_t bits = 0;
    int previous = -1;
    if (operand.components.empty() || operand.components.size() > 4) {
      diagnostics.add(line, column, DiagnosticCode::badWriteMask, "bad write mask in " + quote(text));
      return std::nullopt;
    }
    for (char c : operand.components) {
      int index = componentIndex(c);
      if (index <= previous) {
        diagnostics.add(line, column, DiagnosticCode::badWriteMask,
                        "write mask components must be distinct and in x y z w order: " + quote(text));
        return std::nullopt;
      }
      bits = static_cast<std::uint8_t>(bits | (1 << index));
      previous = index;
    }
    destination.mask = WriteMask(bits);
  }
  return destination;
}

std::optional<SourceModifier> sourceModifierFor(const OperandText& operand, const std::string& text, int line,
                                                int column, DiagnosticList& diagnostics) {
  auto fail = [&](std::string message) -> std::optional<SourceModifier> {
    diagnostics.add(line, column, DiagnosticCode::badModifier, std::move(message));
    return std::nullopt;
  };
  if (operand.modifiers.size() > 1) return fail("more than one source modifier in " + quote(text));
  std::string suffix = operand.modifiers.empty() ? std::string() : operand.modifiers.front();
  if (operand.complement) {
    if (!suffix.empty()) return fail("'1-' cannot be combined with another modifier in " + quote(text));
    return SourceModifier::complement;
  }
  bool negate = operand.negate;
  if (suffix.empty()) return negate ? SourceModifier::negate : SourceModifier::none;
  if (suffix == "bias") return negate ? SourceModifier::biasNegate : SourceModifier::bias;
  if (suffix == "bx2") return negate ? SourceModifier::signedScaleNegate : SourceModifier::signedScale;
  if (suffix == "x2") return negate ? SourceModifier::times2Negate : SourceModifier::times2;
  bool divideByZ = suffix == "dz" || suffix == "db";
  bool divideByW = suffix == "dw" || suffix == "da";
  if (divideByZ || divideByW) {
    if (negate) return fail("'-' cannot be combined with _" + suffix + " in " + quote(text));
    return divideByZ ? SourceModifier::divideByZ : SourceModifier::divideByW;
  }
  return fail("unknown source modifier '_" + suffix.substr(0, quoteLimit) + "'");
}

std::optional<SourceParameter> toSource(const OperandText& operand, const std::string& text, int line, int column,
                                        DiagnosticList& diagnostics) {
  SourceParameter source;
  const RegisterFileInfo& info = registerFileInfo(operand.reg.file);
  source.type = info.type;
  source.number = operand.reg.number;
  source.relative = operand.reg.relative;
  auto modifier = sourceModifierFor(operand, text, line, column, diagnostics);
  if (!modifier) return std::nullopt;
  source.modifier = *modifier;
  if (operand.hasComponents) {
    const std::string& components = operand.components;
    if (components.empty() || components.size() > 4) {
      diagnostics.add(line, column, DiagnosticCode::badSwizzle, "bad swizzle in " + quote(text));
      return std::nullopt;
    }
    // Fewer than four components repeat the last one: .xy is .xyyy.
    int selected[4] = {0, 0, 0, 0};
    for (size_t slot = 0; slot < 4; ++slot) {
      char c = components[slot < components.size() ? slot : components.size() - 1];
      selected[slot] = componentIndex(c);
      if (selected[slot] < 0) {
        diagnostics.add(line, column, DiagnosticCode::badSwizzle, "bad swizzle in " + quote(text));
        return std::nullopt;
      }
    }
    source.swizzle = Swizzle::of(selected[0], selected[1], selected[2], selected[3]);
  }
  return source;
}

}  // namespace

std::optional<DestinationParameter> readDestinationOperand(std::string_view text, OperandPlace place, ShaderKind kind,
                                                           DiagnosticList& diagnostics) {
  std::string copy(text);
  OperandReader reader(copy, place.line, place.column, kind, diagnostics);
  auto operand = reader.read();
  if (!operand) return std::nullopt;
  return toDestination(*operand, copy, place.line, place.column, diagnostics);
}

std::optional<SourceParameter> readSourceOperand(std::string_view text, OperandPlace place, ShaderKind kind,
                                                 DiagnosticList& diagnostics) {
  std::string copy(text);
  OperandReader reader(copy, place.line, place.column, kind, diagnostics);
  auto operand = reader.read();
  if (!operand) return std::nullopt;
  return toSource(*operand, copy, place.line, place.column, diagnostics);
}

std::optional<float> readDefinitionValue(std::string_view text) {
  text = trim(text);
  if (!text.empty() && (text.back() == 'f' || text.back() == 'F')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text.front() == '-' || text.front() == '+') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  // from_chars would also take "inf" and "nan"; a shader value never is one.
  for (char c : text)
    if (!isDigit(c) && c != '.' && c != 'e' && c != 'E' && c != '-' && c != '+') return std::nullopt;
  float value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace veltrace::shader
