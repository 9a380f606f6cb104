// texturesstagesstates.txt:
//   TEXTURE,Material Base Texture,1,BASE,stage     (also BUMP, ALPHA)
//   TEXTURE,name,0,stored path,stage               (a file texture)
//   STAGE,stage,state name,value                   (one per state set)

#include "base/files.h"
#include "base/text.h"
#include "effect/float_reading.h"
#include "effect/component_files.h"
#include "effect/state_values.h"

namespace veltrace {
namespace {

constexpr size_t textureLineFields = 5;  // TEXTURE,name,kind,path or role,stage
constexpr size_t stageLineFields = 4;    // STAGE,stage,state,value
constexpr std::int32_t fileTextureKind = 0;

struct MaterialRole {
  const char* role;
  const char* label;
  std::int32_t TextureStageTable::*stage;
};
constexpr MaterialRole materialRoles[] = {
    {"BASE", "Material Base Texture", &TextureStageTable::baseStage},
    {"BUMP", "Material Bump Texture", &TextureStageTable::bumpStage},
    {"ALPHA", "Material Alpha Texture", &TextureStageTable::alphaStage},
};

struct TextureFields {
  std::string name;
  std::string kind;
  std::string pathOrRole;
  std::string stage;
};

std::string joinFields(const std::vector<std::string>& fields, size_t first, size_t end) {
  std::string joined = fields[first];
  for (size_t at = first + 1; at < end; ++at) joined += "," + fields[at];
  return joined;
}

// The written path is the folder followed by the name.
bool pathEndsInName(const std::string& path, const std::string& name) {
  if (path == name) return true;
  return path.size() > name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0 &&
         path[path.size() - name.size() - 1] == '\\';
}

// A file texture is written as name,0,path,stage with the path ending in the
// name, so a name or folder holding commas spreads the line over more than
// five fields. The stage is then the last field, and the name, which holds no
// backslash, is what follows the last backslash (the whole path when there is
// none); the line must start with that name and the kind 0. Any other line is
// taken field by field.
TextureFields textureFields(const std::vector<std::string>& fields) {
  const size_t last = fields.size() - 1;
  if (fields.size() > textureLineFields) {
    const std::string middle = joinFields(fields, 1, last);
    const std::string kindField = ",0,";
    size_t slash = middle.rfind('\\');
    size_t nameLength = slash != std::string::npos ? middle.size() - slash - 1
                        : middle.size() > kindField.size() ? (middle.size() - kindField.size()) / 2
                                                            : 0;
    std::string name = middle.substr(middle.size() - nameLength);
    if (middle.size() >= nameLength + kindField.size() && middle.compare(0, nameLength, name) == 0 &&
        middle.compare(nameLength, kindField.size(), kindField) == 0) {
      std::string path = middle.substr(nameLength + kindField.size());
      if (pathEndsInName(path, name)) return {name, "0", path, fields[last]};
    }
  }
  return {fields[1], fields[2], fields[3], fields[4]};
}

void readTextureLine(TextureStageTable& table, const std::vector<std::string>& fieldList,
                     const std::string& programFolder) {
  TextureFields fields = textureFields(fieldList);
  std::int32_t kind = readLenientInt(fields.kind);
  std::int32_t stage = readLenientInt(fields.stage);
  if (kind == fileTextureKind) {
    table.textures.push_back({fields.name, underProgramFolder(fields.pathOrRole, programFolder), kind, stage});
    return;
  }
  for (const auto& role : materialRoles)
    if (fields.pathOrRole == role.role) table.*role.stage = stage;
}

void readStageLine(TextureStageTable& table, const std::vector<std::string>& fields) {
  std::int32_t stage = readLenientInt(fields[1]);
  if (stage < 0 || stage >= textureStageCount) return;
  StateEntry* entry = findState(table.stages[stage].settings, fields[2]);
  if (!entry) return;
  const std::string& value = fields[3];
  if (entry->valueType == StateValueType::enumeration) {
    if (StateEnumerant* enumerant = findEnumerant(*entry, value)) enumerant->selected = true;
  } else if (entry->valueType == StateValueType::real) {
    entry->isSet = true;
    entry->numericValue = readLenientFloat(value);
  } else if (entry->valueType == StateValueType::integer) {
    entry->isSet = true;
    entry->numericValue = static_cast<float>(readLenientInt(value));
  } else if (entry->valueType == StateValueType::colour) {
    entry->isSet = true;
    entry->textValue = value;
  }
}

}  // namespace

void parseTextureStages(Effect& effect, std::string_view text, const std::string& programFolder) {
  auto& table = effect.textureStages;
  for (const auto& line : splitLines(text)) {
    auto fields = splitFields(line);
    // A short line is skipped; a line of any other kind ends the file.
    if (fields[0] == "TEXTURE") {
      if (fields.size() >= textureLineFields) readTextureLine(table, fields, programFolder);
    } else if (fields[0] == "STAGE") {
      if (fields.size() >= stageLineFields) readStageLine(table, fields);
    } else {
      return;
    }
  }
}

bool readTextureStageFile(Effect& effect, const std::string& path, const std::string& programFolder,
                          MessageLog& log) {
  auto text = readWholeFile(path);
  if (!text) {
    log.append(formatText("Error while opening \"%s\" !", path.c_str()));
    return false;
  }
  parseTextureStages(effect, *text, programFolder);
  return true;
}

std::string storedTexturePath(const TextureSlot& slot, const std::string& programFolder) {
  std::string path = slot.path;
  if (!path.empty() && path.back() == '\\') path.pop_back();
  std::string folder = toLowerAscii(folderPart(path));
  std::string programPrefix = toLowerAscii(programFolder);
  if (!programPrefix.empty() && programPrefix.back() == '\\') programPrefix.pop_back();
  // Only a whole folder counts as the program folder: "c:\tool2\" does not
  // lie in "c:\tool".
  if (!programPrefix.empty() && folder.size() > programPrefix.size() &&
      folder.compare(0, programPrefix.size(), programPrefix) == 0 && folder[programPrefix.size()] == '\\')
    folder.erase(0, programPrefix.size());
  return folder + slot.name;
}

std::vector<FileLine> textureStageFileLines(const Effect& effect, const std::string& programFolder) {
  const auto& table = effect.textureStages;
  std::vector<FileLine> lines;
  auto add = [&lines](std::string text, const char* failure) {
    int linesBefore = static_cast<int>(lines.size());
    lines.push_back({std::move(text), formatText(failure, linesBefore)});
  };
  const char* textureFailure = "Error while writing textures in line %i !";
  const char* stageFailure = "Error while writing texture state in line %i !";

  for (const auto& role : materialRoles) {
    std::int32_t stage = table.*role.stage;
    if (stage >= 0) add(formatText("TEXTURE,%s,1,%s,%d", role.label, role.role, stage), textureFailure);
  }
  for (const auto& slot : table.textures)
    add(formatText("TEXTURE,%s,%d,%s,%d", slot.name.c_str(), slot.kind, storedTexturePath(slot, programFolder).c_str(),
                   slot.stage),
        textureFailure);

  for (const auto& stage : table.stages) {
    for (const auto& entry : stage.settings) {
      const char* name = entry.name.c_str();
      if (entry.valueType == StateValueType::enumeration) {
        for (const auto& enumerant : entry.enumerants)
          if (enumerant.selected)
            add(formatText("STAGE,%d,%s,%s", stage.stage, name, enumerant.name.c_str()), stageFailure);
      } else if (!entry.isSet) {
        continue;
      } else if (holdsNumber(entry.valueType)) {
        add(formatText("STAGE,%d,%s,%.2f", stage.stage, name, static_cast<double>(entry.numericValue)), stageFailure);
      } else if (holdsLiteral(entry.valueType)) {
        add(formatText("STAGE,%d,%s,%s", stage.stage, name, entry.textValue.c_str()), stageFailure);
      }
    }
  }
  return lines;
}

}  // namespace veltrace
