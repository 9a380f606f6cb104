#pragma once
// The two catalogues in the prefs folder that list every render state and
// texture stage state an effect may set: name, Direct3D state number, value
// type, allowed values and the defaults of a new effect. One line per state:
//   name,number,ENUM,enumerant,value,flag[,enumerant,value,flag...]
//   name,number,BOOL,TRUE,flag,FALSE,flag
//   name,number,INT|FLOAT,default,isSet
//   name,number,MASK|COLOR,0x00000000,isSet

#include <string>
#include <string_view>
#include <vector>

#include "app/message_log.h"
#include "effect/effect.h"

namespace veltrace {

enum class CatalogueKind { renderStates, textureStates };

struct StateCatalogue {
  std::vector<StateEntry> entries;  // file order
  // Line number (from 1) of the first line that was short or incomplete; 0
  // when every line was whole. Bad lines are kept with what they held.
  int firstBadLine = 0;
};

// Parses a catalogue's text. The texture catalogue knows the types ENUM, INT,
// FLOAT and COLOR; the render catalogue all six. A line of a type the reader
// does not know becomes an entry without values.
StateCatalogue parseStateCatalogue(std::string_view text, CatalogueKind kind);

// Read the catalogue file into an effect: one entry per line appended to the
// render state table, or a copy appended to each of the eight stage tables.
// Logs "Error while opening ..." or the reading error and returns false on
// failure; the entries read stay in the effect either way.
bool readRenderStateCatalogue(const std::string& path, Effect& effect, MessageLog& log);
bool readTextureStateCatalogue(const std::string& path, Effect& effect, MessageLog& log);

}  // namespace veltrace
