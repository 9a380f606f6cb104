// variables.txt, one variable per line:
//   VECTOR,name,predefined,(predefinedName | x,y,z,w),vsRegister,psRegister
//   MATRIX,name,predefined,(predefinedName | 16 elements row by row),vs,ps
//   COLOR,name,predefined,(predefinedName | red,green,blue,alpha 0..255),vs,ps
// A register is a decimal number or "NA" for none.

#include "base/files.h"
#include "base/text.h"
#include "effect/float_reading.h"
#include "effect/component_files.h"
#include "effect/state_values.h"

namespace veltrace {
namespace {

constexpr const char* registerNone = "NA";
// Colours are stored as 0..255 integers and read back with this factor.
constexpr float colorReadScale = 0.003921569f;
constexpr float colorWriteScale = 255.0f;

struct KindWord {
  const char* word;
  VariableKind kind;
};
constexpr KindWord kindWords[] = {
    {"VECTOR", VariableKind::vector}, {"MATRIX", VariableKind::matrix}, {"COLOR", VariableKind::color}};

const KindWord* kindOfWord(const std::string& word) {
  for (const auto& entry : kindWords)
    if (word == entry.word) return &entry;
  return nullptr;
}

std::int32_t readRegister(const std::string& field) {
  return field == registerNone ? noRegister : readLenientInt(field);
}

// Fields a variable of this kind takes after its kind word.
size_t fieldsAfterKind(VariableKind kind, bool predefined) {
  size_t valueFields = predefined ? 1 : static_cast<size_t>(valueCount(kind));
  return 2 + valueFields + 2;  // name, predefined, values, two registers
}

}  // namespace

bool parseVariables(Effect& effect, std::string_view text, MessageLog& log) {
  int lineNumber = 0;
  for (const auto& line : splitLines(text)) {
    ++lineNumber;
    auto fields = splitFields(line);
    size_t at = 0;
    // Fields left behind a variable start another one on the same line.
    bool lineIsWhole = true;
    while (at < fields.size()) {
      const KindWord* kind = kindOfWord(fields[at]);
      // The predefined flag sits two fields behind the kind word.
      if (!kind || at + 2 >= fields.size()) {
        lineIsWhole = false;
        break;
      }
      EffectVariable variable;
      variable.kind = kind->kind;
      variable.name = fields[at + 1];
      variable.predefined = readLenientInt(fields[at + 2]) == 1;
      if (fields.size() - at - 1 < fieldsAfterKind(variable.kind, variable.predefined)) {
        lineIsWhole = false;
        break;
      }
      at += 3;
      if (variable.predefined) {
        variable.predefinedName = fields[at++];
      } else {
        float scale = variable.kind == VariableKind::color ? colorReadScale : 1.0f;
        for (int i = 0; i < valueCount(variable.kind); ++i)
          variable.value[i] = readLenientFloat(fields[at++]) * scale;
      }
      variable.vsRegister = readRegister(fields[at++]);
      variable.psRegister = readRegister(fields[at++]);
      variablesOfKind(effect, variable.kind).push_back(std::move(variable));
    }
    if (!lineIsWhole) {
      log.append(formatText("Error while reading effect file \"%s\" in line %i !", effect.variablesFile.c_str(),
                            lineNumber));
      return false;
    }
  }
  return true;
}

bool readVariablesFile(Effect& effect, const std::string& path, MessageLog& log) {
  auto text = readWholeFile(path);
  if (!text) {
    log.append(formatText("Error while opening \"%s\" !", path.c_str()));
    return false;
  }
  return parseVariables(effect, *text, log);
}

namespace {

std::string registerText(std::int32_t number) {
  return number == noRegister ? std::string(registerNone) : std::to_string(number);
}

// The list decides the kind written, so a line always matches its word.
std::string variableLine(const EffectVariable& variable, VariableKind kind, const char* word) {
  std::string line = formatText("%s,%s,%d,", word, variable.name.c_str(), variable.predefined ? 1 : 0);
  if (variable.predefined) {
    line += variable.predefinedName + ",";
  } else if (kind == VariableKind::color) {
    for (int i = 0; i < 4; ++i)
      line += formatText("%d,", truncateToInt32(static_cast<double>(variable.value[i]) * colorWriteScale));
  } else {
    for (int i = 0; i < valueCount(kind); ++i)
      line += formatText("%.5f,", static_cast<double>(variable.value[i]));
  }
  line += registerText(variable.vsRegister) + "," + registerText(variable.psRegister);
  return line;
}

}  // namespace

std::vector<FileLine> variablesFileLines(const Effect& effect) {
  struct Group {
    const std::vector<EffectVariable>& variables;
    VariableKind kind;
    const char* word;
    const char* failure;
  };
  const Group groups[] = {
      {effect.vectors, VariableKind::vector, "VECTOR", "Error while writing vector in variables file in line %i !"},
      {effect.matrices, VariableKind::matrix, "MATRIX", "Error while writing matrix in variables file in line %i !"},
      {effect.colors, VariableKind::color, "COLOR", "Error while writing color in variables file in line %i !"},
  };
  std::vector<FileLine> lines;
  for (const auto& group : groups)
    for (const auto& variable : group.variables) {
      int linesBefore = static_cast<int>(lines.size());
      lines.push_back({variableLine(variable, group.kind, group.word), formatText(group.failure, linesBefore)});
    }
  return lines;
}

}  // namespace veltrace
