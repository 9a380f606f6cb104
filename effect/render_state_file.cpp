// renderstates.txt: one "state name,value" line per state the effect sets, in
// catalogue order; ENUM and BOOL states give the enumerant's name, INT and
// FLOAT states their number, MASK and COLOR states their literal.

#include "base/files.h"
#include "base/text.h"
#include "effect/float_reading.h"
#include "effect/component_files.h"
#include "effect/state_values.h"

namespace veltrace {

void parseRenderStates(Effect& effect, std::string_view text) {
  for (const auto& line : splitLines(text)) {
    auto fields = splitFields(line);
    if (fields.size() < 2) continue;  // no value: nothing to set
    StateEntry* entry = findState(effect.renderStates, fields[0]);
    if (!entry) continue;
    const std::string& value = fields[1];
    const StateValueType type = entry->valueType;
    if (choosesEnumerants(type)) {
      // The file's choice replaces the catalogue default. A name the state
      // does not know is ignored like an unknown state, so the default stays
      // (clearing it would leave a state the file could never record).
      if (!findEnumerant(*entry, value)) continue;
      for (auto& enumerant : entry->enumerants) enumerant.selected = enumerant.name == value;
    } else if (type == StateValueType::real) {
      entry->isSet = true;
      entry->numericValue = readLenientFloat(value);
    } else if (type == StateValueType::integer) {
      entry->isSet = true;
      entry->numericValue = static_cast<float>(readLenientInt(value));
    } else if (holdsLiteral(type)) {
      entry->isSet = true;
      entry->textValue = value;
    }
  }
}

bool readRenderStateFile(Effect& effect, const std::string& path, MessageLog& log) {
  auto text = readWholeFile(path);
  if (!text) {
    log.append(formatText("Error while opening \"%s\" !", path.c_str()));
    return false;
  }
  parseRenderStates(effect, *text);
  return true;
}

std::vector<FileLine> renderStateFileLines(const Effect& effect) {
  std::vector<FileLine> lines;
  auto add = [&lines](std::string text) {
    int linesBefore = static_cast<int>(lines.size());
    lines.push_back({std::move(text), formatText("Error while writing render state in line %i !", linesBefore)});
  };
  for (const auto& entry : effect.renderStates) {
    const char* name = entry.name.c_str();
    const StateValueType type = entry.valueType;
    if (choosesEnumerants(type)) {
      for (const auto& enumerant : entry.enumerants)
        if (enumerant.selected) add(formatText("%s,%s", name, enumerant.name.c_str()));
    } else if (!entry.isSet) {
      continue;
    } else if (type == StateValueType::real) {
      add(formatText("%s,%.2f", name, static_cast<double>(entry.numericValue)));
    } else if (type == StateValueType::integer) {
      add(formatText("%s,%d", name, truncateToInt32(entry.numericValue)));
    } else if (holdsLiteral(type)) {
      add(formatText("%s,%s", name, entry.textValue.c_str()));
    }
  }
  return lines;
}

}  // namespace veltrace
