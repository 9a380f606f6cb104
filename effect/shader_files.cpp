// The shader source files of an effect: written by the save, read back by
// what the shader panes do when they open.

#include "base/files.h"
#include "base/text.h"
#include "effect/component_files.h"
#include "effect/effect_files.h"

namespace veltrace {

std::vector<FileLine> shaderFileLines(const ShaderSlot& slot, const char* failureMessage) {
  std::string text;
  text.reserve(slot.source.size());
  for (char c : slot.source)
    if (c != '\r') text += c;

  std::vector<FileLine> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      // Text after the last line feed is written without a line end.
      lines.push_back({text.substr(start), failureMessage, false});
      break;
    }
    lines.push_back({text.substr(start, end - start), failureMessage, true});
    start = end + 1;
  }
  return lines;
}

namespace {

bool namesShaderFile(const std::string& fileName) { return !fileName.empty() && fileName != "NULL"; }

// Every line of the file, the last one included, followed by CR LF: the text
// the source editor holds after loading a file.
bool readShaderSource(ShaderSlot& slot, const std::string& path, MessageLog& log) {
  auto text = readWholeFile(path);
  if (!text) {
    log.append(formatText("Error while opening \"%s\" !", path.c_str()));
    return false;
  }
  std::string source;
  for (const auto& line : splitLines(*text)) source += line + "\r\n";
  slot.source = std::move(source);
  return true;
}

}  // namespace

std::string shaderSourcePath(const Effect& effect, bool vertexShader) {
  const std::string& fileName = vertexShader ? effect.vertexShaderFile : effect.pixelShaderFile;
  return namesShaderFile(fileName) ? effect.folder + fileName : std::string();
}

bool readShaderSources(Effect& effect, MessageLog& log) {
  bool allRead = true;
  if (effect.vertexShader.present && namesShaderFile(effect.vertexShaderFile))
    allRead &= readShaderSource(effect.vertexShader, effect.folder + effect.vertexShaderFile, log);
  if (effect.pixelShader.present && namesShaderFile(effect.pixelShaderFile))
    allRead &= readShaderSource(effect.pixelShader, effect.folder + effect.pixelShaderFile, log);
  return allRead;
}

}  // namespace veltrace
