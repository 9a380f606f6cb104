#include "effect/state_catalogue.h"

#include "base/files.h"
#include "base/text.h"
#include "effect/float_reading.h"

namespace veltrace {
namespace {

// Field positions of a catalogue line.
constexpr size_t nameField = 0;
constexpr size_t numberField = 1;
constexpr size_t typeField = 2;
constexpr size_t firstValueField = 3;

// Whether this catalogue reads values for the type: the texture catalogue
// has no BOOL or MASK states.
bool typeIsKnown(StateValueType type, CatalogueKind kind) {
  switch (type) {
    case StateValueType::enumeration:
    case StateValueType::integer:
    case StateValueType::real:
    case StateValueType::colour:
      return true;
    case StateValueType::boolean:
    case StateValueType::mask:
      return kind == CatalogueKind::renderStates;
    case StateValueType::unknown:
      break;
  }
  return false;
}

bool flagIsSet(const std::string& field) { return readLenientInt(field) != 0; }

// Fills the entry's values from fields[3...]; false when the values are
// incomplete (what was complete is kept).
bool readValues(const std::vector<std::string>& fields, StateEntry& entry) {
  size_t at = firstValueField;
  size_t left = fields.size() - at;
  if (entry.valueType == StateValueType::enumeration) {
    for (; left >= 3; at += 3, left -= 3)
      entry.enumerants.push_back({fields[at], readLenientInt(fields[at + 1]), flagIsSet(fields[at + 2])});
    return left == 0;
  }
  if (entry.valueType == StateValueType::boolean) {
    for (; left >= 2; at += 2, left -= 2) {
      std::int32_t value = fields[at] == "TRUE" ? 1 : 0;
      entry.enumerants.push_back({fields[at], value, flagIsSet(fields[at + 1])});
    }
    return left == 0;
  }
  // INT, FLOAT, MASK and COLOR: a default value and the isSet flag.
  if (left >= 1) {
    if (holdsLiteral(entry.valueType))
      entry.textValue = fields[at];
    else
      entry.numericValue = readLenientFloat(fields[at]);
  }
  if (left >= 2) entry.isSet = flagIsSet(fields[at + 1]);
  return left >= 2;
}

}  // namespace

StateCatalogue parseStateCatalogue(std::string_view text, CatalogueKind kind) {
  StateCatalogue catalogue;
  int lineNumber = 0;
  for (const auto& line : splitLines(text)) {
    ++lineNumber;
    auto fields = splitFields(line);
    StateEntry entry;
    bool whole = fields.size() > typeField;
    if (fields.size() > nameField) entry.name = fields[nameField];
    if (fields.size() > numberField) entry.stateNumber = readLenientInt(fields[numberField]);
    if (whole) {
      entry.valueType = parseStateValueType(fields[typeField]);
      if (typeIsKnown(entry.valueType, kind)) whole = readValues(fields, entry);
    }
    if (!whole && catalogue.firstBadLine == 0) catalogue.firstBadLine = lineNumber;
    catalogue.entries.push_back(std::move(entry));
  }
  return catalogue;
}

namespace {

bool readCatalogue(const std::string& path, CatalogueKind kind, MessageLog& log, StateCatalogue& catalogue) {
  auto text = readWholeFile(path);
  if (!text) {
    log.append(formatText("Error while opening \"%s\" !", path.c_str()));
    return false;
  }
  catalogue = parseStateCatalogue(*text, kind);
  if (catalogue.firstBadLine != 0) {
    const char* format = kind == CatalogueKind::renderStates ? "Error while reading renderstates in line %i !"
                                                             : "Error while reading texture states in line %i !";
    log.append(formatText(format, catalogue.firstBadLine));
    return false;
  }
  return true;
}

}  // namespace

bool readRenderStateCatalogue(const std::string& path, Effect& effect, MessageLog& log) {
  StateCatalogue catalogue;
  bool ok = readCatalogue(path, CatalogueKind::renderStates, log, catalogue);
  for (auto& entry : catalogue.entries) effect.renderStates.push_back(std::move(entry));
  return ok;
}

bool readTextureStateCatalogue(const std::string& path, Effect& effect, MessageLog& log) {
  StateCatalogue catalogue;
  bool ok = readCatalogue(path, CatalogueKind::textureStates, log, catalogue);
  for (auto& stage : effect.textureStages.stages)
    stage.settings.insert(stage.settings.end(), catalogue.entries.begin(), catalogue.entries.end());
  return ok;
}

}  // namespace veltrace
