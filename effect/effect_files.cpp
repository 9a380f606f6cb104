// The index file (.veff) and the order in which an effect's files are read
// and written. The index holds key,value pairs:
//   EFFECT_NAME,name
//   EFFECT_PATH,\base\             (or an absolute folder ending in a backslash)
//   VARIABLES_FILE,variables.txt  ... one key per component file
//   VERTEXSHADER_FILE,vertexshader.txt or NULL, the same for the pixel shader

#include "effect/effect_files.h"

#include "base/files.h"
#include "base/text.h"
#include "effect/component_files.h"
#include "effect/shader_numbering.h"
#include "effect/staged_files.h"

namespace veltrace {
namespace {

constexpr const char* noShaderFile = "NULL";

// The effect field each index key sets; EFFECT_PATH is handled on its own.
std::string* fieldOfKey(Effect& effect, const std::string& key) {
  if (key == "EFFECT_NAME") return &effect.name;
  if (key == "VARIABLES_FILE") return &effect.variablesFile;
  if (key == "TEXTURESTAGESTATES_FILE") return &effect.textureStatesFile;
  if (key == "RENDERSTATES_FILE") return &effect.renderStatesFile;
  if (key == "STREAMMAPPING_FILE") return &effect.streamMappingFile;
  if (key == "VERTEXSHADER_FILE") return &effect.vertexShaderFile;
  if (key == "PIXELSHADER_FILE") return &effect.pixelShaderFile;
  return nullptr;
}

// A value starting with a backslash is a folder below the index file's
// folder; anything else is an absolute folder.
std::string componentFolder(const std::string& indexPath, const std::string& value) {
  if (value.empty() || value[0] != '\\') return value;
  std::string indexFolder = folderPart(indexPath);
  if (indexFolder.empty()) return "." + value;  // index named without a folder: the current one
  indexFolder.pop_back();
  return indexFolder + value;
}

// Returns the number of the first bad line, 0 when every line was read.
int readIndexLines(Effect& effect, const std::string& indexPath, std::string_view text) {
  int lineNumber = 0;
  for (const auto& line : splitLines(text)) {
    ++lineNumber;
    auto fields = splitFields(line);
    bool bad = false;
    for (size_t at = 0; at < fields.size(); at += 2) {
      const std::string& key = fields[at];
      if (at + 1 >= fields.size()) {  // a key without its value
        bad = true;
        break;
      }
      const std::string& value = fields[at + 1];
      if (key == "EFFECT_PATH") {
        // A folder holding commas spreads over several fields: it runs on to
        // the first field that ends in a backslash, as a written folder does.
        size_t end = at + 1;
        while (end < fields.size() && (fields[end].empty() || fields[end].back() != '\\')) ++end;
        if (end == fields.size()) end = at + 1;
        std::string folder = value;
        for (size_t part = at + 2; part <= end; ++part) folder += "," + fields[part];
        effect.folder = componentFolder(indexPath, folder);
        at = end - 1;
      } else if (std::string* field = fieldOfKey(effect, key)) {
        *field = value;
      } else {
        bad = true;  // the rest of the line is still read
      }
    }
    if (bad) return lineNumber;
  }
  return 0;
}

}  // namespace

bool parseIndexFile(Effect& effect, const std::string& indexPath, std::string_view text, MessageLog& log) {
  if (int badLine = readIndexLines(effect, indexPath, text)) {
    log.append(formatText("Error while reading effect file \"%s\" in line %i !", indexPath.c_str(), badLine));
    return false;
  }
  return true;
}

namespace {

bool namesShaderFile(const std::string& fileName) { return !fileName.empty() && fileName != noShaderFile; }

void nameLoadedShaders(Effect& effect) {
  if (namesShaderFile(effect.vertexShaderFile)) {
    effect.vertexShader.present = true;
    effect.vertexShader.name =
        formatText("%s VertexShader #%d", effect.name.c_str(), takeNextShaderNumber());
  }
  if (namesShaderFile(effect.pixelShaderFile)) {
    effect.pixelShader.present = true;
    effect.pixelShader.name = formatText("%s PixelShader #%d", effect.name.c_str(), takeNextShaderNumber());
  }
}

}  // namespace

bool loadEffect(Effect& effect, const std::string& indexPath, const std::string& programFolder,
                MessageLog& log) {
  auto text = readWholeFile(indexPath);
  if (!text) {
    log.append(formatText("Error while opening effect \"%s\" !", indexPath.c_str()));
    return false;
  }
  effect.indexFileName = namePart(indexPath);
  effect.folder = folderPart(indexPath);
  if (!parseIndexFile(effect, indexPath, *text, log)) return false;

  const std::string& folder = effect.folder;
  if (!readVariablesFile(effect, folder + effect.variablesFile, log)) {
    log.append("Error while initializing Variables !");
    return false;
  }
  if (!readTextureStageFile(effect, folder + effect.textureStatesFile, programFolder, log)) {
    log.append("Error while initializing Textures/Stages/States!");
    return false;
  }
  if (!readRenderStateFile(effect, folder + effect.renderStatesFile, log)) {
    log.append("Error while initializing Render States!");
    return false;
  }
  if (!readStreamMappingFile(effect, folder + effect.streamMappingFile, log)) {
    log.append("Error while initializing Stream Mapping !");
    return false;
  }
  nameLoadedShaders(effect);
  return true;
}

namespace {

struct Component {
  const char* fileName;
  const char* indexKey;
  const char* saveFailure;
  std::vector<FileLine> lines;
};

struct ShaderComponent {
  const ShaderSlot& slot;
  const char* fileName;
  const char* indexKey;
  const char* writeFailure;
};

}  // namespace

bool saveEffect(Effect& effect, const std::string& indexPath, const std::string& programFolder,
                MessageLog& log) {
  const std::string folder = folderPart(indexPath);
  const std::string fileName = namePart(indexPath);
  effect.indexFileName = fileName;
  const size_t dot = fileName.rfind('.');
  const std::string base = fileName.substr(0, dot);

  StagedFiles files;
  if (!files.open(indexPath)) {
    log.append(formatText("Error while creating \"%s\" !", indexPath.c_str()));
    return false;
  }
  // Without an extension the component folder would take the index file's
  // own name.
  const std::string componentFolder = folder + base;
  if (dot == std::string::npos || base.empty() || createFolder(componentFolder) == FolderResult::failed) {
    log.append("Error while creating new effect directory - try again !");
    return false;
  }

  std::vector<FileLine> indexLines;
  auto addIndexLine = [&](std::string text) {
    int number = static_cast<int>(indexLines.size());
    indexLines.push_back(
        {std::move(text), formatText("Error while writing effect file \"%s\" in line %i !", indexPath.c_str(), number)});
  };
  addIndexLine("EFFECT_NAME," + effect.name);
  addIndexLine("EFFECT_PATH,\\" + base + "\\");

  Component components[] = {
      {"variables.txt", "VARIABLES_FILE", "Error while saving variables !", variablesFileLines(effect)},
      {"texturesstagesstates.txt", "TEXTURESTAGESTATES_FILE", "Error while saving textures/stages/states !",
       textureStageFileLines(effect, programFolder)},
      {"renderstates.txt", "RENDERSTATES_FILE", "Error while saving renderstates !", renderStateFileLines(effect)},
      {"streammapping.txt", "STREAMMAPPING_FILE", "Error while saving stream mapping !",
       streamMappingFileLines(effect)},
  };
  for (const auto& component : components) {
    std::string path = componentFolder + "\\" + component.fileName;
    bool written = files.open(path);
    if (!written) log.append(formatText("Error while creating \"%s\" !", path.c_str()));
    if (!written || !files.write(path, component.lines, log)) {
      log.append(component.saveFailure);
      return false;
    }
    addIndexLine(std::string(component.indexKey) + "," + component.fileName);
  }

  const ShaderComponent shaders[] = {
      {effect.vertexShader, "vertexshader.txt", "VERTEXSHADER_FILE", "Error while writing Vertex Shader !"},
      {effect.pixelShader, "pixelshader.txt", "PIXELSHADER_FILE", "Error while writing Pixel Shader !"},
  };
  for (const auto& shader : shaders) {
    if (!shader.slot.present) {
      addIndexLine(std::string(shader.indexKey) + "," + noShaderFile);
      continue;
    }
    // A shader that cannot be written keeps its previous file and does not
    // fail the save.
    std::string path = componentFolder + "\\" + shader.fileName;
    if (!files.open(path)) {
      log.append(formatText("Error while creating \"%s\" !", path.c_str()));
      log.append(shader.writeFailure);
    } else if (!files.write(path, shaderFileLines(shader.slot, shader.writeFailure), log)) {
      files.discard(path);  // each failed line has been reported
    }
    addIndexLine(std::string(shader.indexKey) + "," + shader.fileName);
  }

  // An index file with a line missing would lose the effect: every failed
  // line is reported, and the previous files are kept.
  if (!files.write(indexPath, indexLines, log)) return false;
  if (!files.commit(log)) return false;
  log.append(formatText("Effect file \"%s\" saved ...", indexPath.c_str()));
  return true;
}

}  // namespace veltrace
