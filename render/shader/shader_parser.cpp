#include "render/shader/shader_parser.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "render/shader/register_set.h"

namespace veltrace::shader {

namespace {

// Longest piece of user text quoted in a message; garbage lines can be long.
constexpr size_t quoteLimit = 40;
// Register numbers are 11 bits wide in a token.
constexpr std::uint32_t largestRegisterNumber = registerNumberMask >> registerNumberShift;

std::string quote(std::string_view text) {
  std::string shown;
  for (char c : text.substr(0, quoteLimit)) {
    unsigned char u = static_cast<unsigned char>(c);
    shown += (u >= 0x20 && u < 0x7F) ? c : '?';
  }
  if (text.size() > quoteLimit) shown += "...";
  return "'" + shown + "'";
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// --- Comments ---------------------------------------------------------------

// The source split into lines with every comment blanked out, so that line
// numbers stay those of the source.
std::vector<std::string> linesWithoutComments(std::string_view source, DiagnosticList& diagnostics) {
  std::vector<std::string> lines(1);
  bool inBlock = false;
  int blockStartLine = 0;
  int blockStartColumn = 0;
  for (size_t i = 0; i < source.size(); ++i) {
    char c = source[i];
    if (c == '\n') {
      lines.emplace_back();
      continue;
    }
    if (inBlock) {
      if (c == '*' && i + 1 < source.size() && source[i + 1] == '/') {
        inBlock = false;
        ++i;
      }
      lines.back() += ' ';
      continue;
    }
    bool slashSlash = c == '/' && i + 1 < source.size() && source[i + 1] == '/';
    if (c == ';' || slashSlash) {
      while (i + 1 < source.size() && source[i + 1] != '\n') ++i;
      continue;
    }
    if (c == '/' && i + 1 < source.size() && source[i + 1] == '*') {
      inBlock = true;
      blockStartLine = static_cast<int>(lines.size());
      blockStartColumn = static_cast<int>(lines.back().size()) + 1;
      lines.back() += ' ';
      ++i;
      continue;
    }
    lines.back() += c;
  }
  if (inBlock)
    diagnostics.add(blockStartLine, blockStartColumn, DiagnosticCode::unterminatedComment,
                    "comment '/*' is never closed");
  return lines;
}

// --- Operands ---------------------------------------------------------------

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

// A def value: a decimal number with an optional 'f' behind it.
std::optional<float> readValue(std::string_view text) {
  text = trim(text);
  if (!text.empty() && (text.back() == 'f' || text.back() == 'F')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text.front() == '-' || text.front() == '+') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // from_chars would also take "inf" and "nan"; a shader value never is one.
  for (char c : text)
    if (!isDigit(c) && c != '.' && c != 'e' && c != 'E' && c != '-' && c != '+') return std::nullopt;
  float value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::vector<std::string_view> splitOperands(std::string_view text) {
  std::vector<std::string_view> pieces;
  if (trim(text).empty()) return pieces;
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    pieces.push_back(trim(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return pieces;
}

// --- Instructions -------------------------------------------------------------

// The scale modifiers and the result shift each stands for.
std::optional<int> scaleShiftOf(std::string_view suffix) {
  struct Scale {
    std::string_view suffix;
    int shift;
  };
  static constexpr Scale scales[] = {{"x2", 1}, {"x4", 2}, {"x8", 3}, {"d2", -1}, {"d4", -2}, {"d8", -3}};
  for (const Scale& scale : scales)
    if (scale.suffix == suffix) return scale.shift;
  return std::nullopt;
}

class LineParser {
 public:
  LineParser(const ShaderVersion& version, DiagnosticList& diagnostics)
      : version_(version), diagnostics_(diagnostics) {}

  // statement: the trimmed text of a line, a view into that line's text.
  std::optional<Instruction> parse(std::string_view statement, std::string_view wholeLine, int line) {
    line_ = line;
    wholeLine_ = wholeLine;
    saturate_ = false;
    shift_ = 0;
    Instruction instruction;
    instruction.line = line;
    if (statement.front() == '+') {
      instruction.coIssued = true;
      statement = trim(statement.substr(1));
    }
    instruction.column = column_ = columnOf(statement);
    size_t nameEnd = 0;
    while (nameEnd < statement.size() && !isSpace(statement[nameEnd])) ++nameEnd;
    std::string word = toLowerAscii(statement.substr(0, nameEnd));
    std::string_view operandText = statement.substr(nameEnd);

    if (ShaderVersion::fromName(word)) {
      return fail(DiagnosticCode::misplacedVersion, "the version must be given once, on the first line");
    }
    size_t underscore = word.find('_');
    std::string name = word.substr(0, underscore);
    const InstructionInfo* info = findInstruction(name, version_.bit());
    if (!info) {
      if (isKnownMnemonic(name))
        return fail(DiagnosticCode::instructionNotInVersion,
                    formatText("instruction '%s' is not available in %s", name.c_str(), version_.name().c_str()));
      return fail(DiagnosticCode::unknownInstruction, "unknown instruction " + quote(word));
    }
    instruction.info = info;
    if (underscore != std::string::npos && !readResultModifiers(word.substr(underscore + 1)))
      return std::nullopt;

    std::vector<std::string_view> operands = splitOperands(operandText);
    size_t expected = info->destinations + info->sources +
                      (info->kind == InstructionClass::definition ? definitionValueCount : 0);
    if (operands.size() != expected)
      return fail(DiagnosticCode::operandCount,
                  formatText("'%s' takes %d operand%s, found %d", name.c_str(), static_cast<int>(expected),
                             expected == 1 ? "" : "s", static_cast<int>(operands.size())));
    size_t next = 0;
    bool ok = true;
    if (info->destinations) {
      auto destination = readDestination(operands[next++]);
      if (destination) {
        destination->saturate = saturate_;
        destination->shift = shift_;
        instruction.destination = *destination;
      } else {
        ok = false;
      }
    } else if (saturate_ || shift_ != 0) {
      return fail(DiagnosticCode::resultModifierNotAllowed, formatText("'%s' takes no modifiers", name.c_str()));
    }
    if (info->kind == InstructionClass::definition) {
      for (int i = 0; i < definitionValueCount; ++i) {
        std::string_view text = operands[next++];
        auto value = readValue(text);
        if (!value) {
          diagnostics_.add(line_, columnOf(text), DiagnosticCode::badNumber, "bad number " + quote(text));
          ok = false;
          continue;
        }
        std::uint32_t bits = 0;
        std::memcpy(&bits, &*value, sizeof bits);
        instruction.values[static_cast<size_t>(i)] = bits;
      }
    }
    for (int i = 0; i < info->sources; ++i) {
      std::string_view piece = operands[next++];
      std::string text(piece);
      int column = columnOf(piece);
      OperandReader reader(text, line_, column, version_.kind, diagnostics_);
      auto operand = reader.read();
      if (!operand) {
        ok = false;
        continue;
      }
      auto source = toSource(*operand, text, line_, column, diagnostics_);
      if (!source) {
        ok = false;
        continue;
      }
      instruction.sources.push_back(*source);
    }
    if (!ok) return std::nullopt;
    return instruction;
  }

 private:
  std::nullopt_t fail(DiagnosticCode code, std::string message) {
    diagnostics_.add(line_, column_, code, std::move(message));
    return std::nullopt;
  }

  int columnOf(std::string_view part) const { return static_cast<int>(part.data() - wholeLine_.data()) + 1; }

  bool readResultModifiers(const std::string& suffixes) {
    bool haveShift = false;
    size_t start = 0;
    for (;;) {
      size_t end = suffixes.find('_', start);
      std::string modifier = suffixes.substr(start, end == std::string::npos ? std::string::npos : end - start);
      int shift = 0;
      if (modifier == "sat") {
        if (saturate_) {
          fail(DiagnosticCode::badModifier, "_sat given twice");
          return false;
        }
        saturate_ = true;
      } else if (auto scale = scaleShiftOf(modifier)) {
        shift = *scale;
      } else {
        fail(DiagnosticCode::badModifier, "unknown instruction modifier '_" + modifier.substr(0, quoteLimit) + "'");
        return false;
      }
      if (shift != 0) {
        if (haveShift) {
          fail(DiagnosticCode::badModifier, "more than one scale modifier");
          return false;
        }
        haveShift = true;
        shift_ = shift;
      }
      if (end == std::string::npos) break;
      start = end + 1;
    }
    return true;
  }

  std::optional<DestinationParameter> readDestination(std::string_view piece) {
    std::string text(piece);
    int column = columnOf(piece);
    OperandReader reader(text, line_, column, version_.kind, diagnostics_);
    auto operand = reader.read();
    if (!operand) return std::nullopt;
    return toDestination(*operand, text, line_, column, diagnostics_);
  }

  ShaderVersion version_;
  DiagnosticList& diagnostics_;
  std::string_view wholeLine_;
  int line_ = 0;
  int column_ = 0;  // of the instruction, for errors about it as a whole
  bool saturate_ = false;
  int shift_ = 0;
};

bool looksLikeVersion(const std::string& word) {
  return word.size() >= 3 && (word.compare(0, 2, "vs") == 0 || word.compare(0, 2, "ps") == 0) &&
         (word[2] == '.' || word[2] == '_');
}

}  // namespace

std::optional<ShaderProgram> parseShaderSource(std::string_view source, DiagnosticList& diagnostics) {
  std::vector<std::string> lines = linesWithoutComments(source, diagnostics);
  std::optional<ShaderProgram> program;
  std::optional<LineParser> parser;
  for (size_t index = 0; index < lines.size() && !diagnostics.full(); ++index) {
    int line = static_cast<int>(index) + 1;
    std::string_view statement = trim(lines[index]);
    if (statement.empty()) continue;
    int column = static_cast<int>(statement.data() - lines[index].data()) + 1;
    if (!program) {
      size_t wordEnd = 0;
      while (wordEnd < statement.size() && !isSpace(statement[wordEnd])) ++wordEnd;
      std::string word = toLowerAscii(statement.substr(0, wordEnd));
      auto version = ShaderVersion::fromName(word);
      if (!version) {
        if (looksLikeVersion(word))
          diagnostics.add(line, column, DiagnosticCode::unknownVersion, "unknown shader version " + quote(word));
        else
          diagnostics.add(line, column, DiagnosticCode::missingVersion,
                          "the shader must start with a version (vs.1.0, vs.1.1, ps.1.0 to ps.1.4)");
        return std::nullopt;
      }
      if (!trim(statement.substr(wordEnd)).empty())
        diagnostics.add(line, column, DiagnosticCode::malformedOperand, "unexpected text after the version");
      program.emplace();
      program->version = *version;
      program->versionLine = line;
      parser.emplace(*version, diagnostics);
      continue;
    }
    if (auto instruction = parser->parse(statement, lines[index], line))
      program->instructions.push_back(*instruction);
  }
  if (!program && diagnostics.empty())
    diagnostics.add(1, DiagnosticCode::missingVersion,
                    "the shader must start with a version (vs.1.0, vs.1.1, ps.1.0 to ps.1.4)");
  return program;
}

}  // namespace veltrace::shader
