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

void readTextureLine(TextureStageTable& table, const std::vector<std::string>& fields,
                     const std::string& programFolder) {
  std::int32_t kind = readLenientInt(fields[2]);
  std::int32_t stage = readLenientInt(fields[4]);
  if (kind == fileTextureKind) {
    std::string path = fields[3];
    if (!path.empty() && path[0] == '\\') path = programFolder + path;
    table.textures.push_back({fields[1], path, kind, stage});
    return;
  }
  for (const auto& role : materialRoles)
    if (fields[3] == role.role) table.*role.stage = stage;
}

void readStageLine(TextureStageTable& table, const std::vector<std::string>& fields) {
  std::int32_t stage = readLenientInt(fields[1]);
  if (stage < 0 || stage >= textureStageCount) return;
  StateEntry* entry = findState(table.stages[stage].settings, fields[2]);
  if (!entry) return;
  const std::string& value = fields[3];
  if (entry->valueType == valueTypeEnum) {
    if (StateEnumerant* enumerant = findEnumerant(*entry, value)) enumerant->selected = true;
  } else if (entry->valueType == valueTypeFloat) {
    entry->isSet = true;
    entry->numericValue = readLenientFloat(value);
  } else if (entry->valueType == valueTypeInt) {
    entry->isSet = true;
    entry->numericValue = static_cast<float>(readLenientInt(value));
  } else if (entry->valueType == valueTypeColor) {
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
      if (entry.valueType == valueTypeEnum) {
        for (const auto& enumerant : entry.enumerants)
          if (enumerant.selected)
            add(formatText("STAGE,%d,%s,%s", stage.stage, name, enumerant.name.c_str()), stageFailure);
      } else if (!entry.isSet) {
        continue;
      } else if (entry.valueType == valueTypeInt || entry.valueType == valueTypeFloat) {
        add(formatText("STAGE,%d,%s,%.2f", stage.stage, name, static_cast<double>(entry.numericValue)), stageFailure);
      } else if (entry.valueType == valueTypeMask || entry.valueType == valueTypeColor) {
        add(formatText("STAGE,%d,%s,%s", stage.stage, name, entry.textValue.c_str()), stageFailure);
      }
    }
  }
  return lines;
}

}  // namespace veltrace
