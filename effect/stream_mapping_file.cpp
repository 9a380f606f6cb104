// streammapping.txt: one "dataName,vN" line per entry, in model order; an
// unmapped entry is written as v-1.

#include "base/files.h"
#include "base/text.h"
#include "effect/component_files.h"
#include "effect/declaration.h"

namespace veltrace {

void parseStreamMapping(Effect& effect, std::string_view text) {
  auto& mapping = effect.streamMapping;
  mapping.stream = 0;
  for (const auto& line : splitLines(text)) {
    auto fields = splitFields(line);
    if (fields.size() < 2) continue;
    StreamMappingEntry* entry = findStreamEntry(mapping, fields[0]);
    if (!entry) continue;
    std::string_view registerText = fields[1];
    while (!registerText.empty() && registerText.front() == 'v') registerText.remove_prefix(1);
    entry->inputRegister = readLenientInt(registerText);
  }
  buildDeclaration(mapping);
}

bool readStreamMappingFile(Effect& effect, const std::string& path, MessageLog& log) {
  auto text = readWholeFile(path);
  if (!text) {
    log.append(formatText("Error while opening \"%s\" !", path.c_str()));
    return false;
  }
  parseStreamMapping(effect, *text);
  return true;
}

std::vector<FileLine> streamMappingFileLines(const Effect& effect) {
  std::vector<FileLine> lines;
  for (const auto& entry : effect.streamMapping.entries) {
    int linesBefore = static_cast<int>(lines.size());
    lines.push_back({formatText("%s,v%d", entry.dataName.c_str(), entry.inputRegister),
                     formatText("Error while writing stream mapping in line %i !", linesBefore)});
  }
  return lines;
}

}  // namespace veltrace
