#include "render/shader/shader_parser.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "render/shader/operand_reader.h"
#include "render/shader/source_text.h"

namespace veltrace::shader {

namespace {

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
        auto value = readDefinitionValue(text);
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
      auto source = readSourceOperand(piece, {line_, columnOf(piece)}, version_.kind, diagnostics_);
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
    return readDestinationOperand(piece, {line_, columnOf(piece)}, version_.kind, diagnostics_);
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
