#include "effect/effect.h"

namespace veltrace {

std::vector<EffectVariable>& variablesOfKind(Effect& effect, VariableKind kind) {
  switch (kind) {
    case VariableKind::matrix: return effect.matrices;
    case VariableKind::color: return effect.colors;
    case VariableKind::vector: break;
  }
  return effect.vectors;
}

const std::vector<EffectVariable>& variablesOfKind(const Effect& effect, VariableKind kind) {
  return variablesOfKind(const_cast<Effect&>(effect), kind);
}

StateEntry* findState(std::vector<StateEntry>& entries, std::string_view name) {
  for (auto& entry : entries)
    if (entry.name == name) return &entry;
  return nullptr;
}

const StateEntry* findState(const std::vector<StateEntry>& entries, std::string_view name) {
  return findState(const_cast<std::vector<StateEntry>&>(entries), name);
}

StateEnumerant* findEnumerant(StateEntry& entry, std::string_view name) {
  for (auto& enumerant : entry.enumerants)
    if (enumerant.name == name) return &enumerant;
  return nullptr;
}

StreamMappingEntry* findStreamEntry(StreamMapping& mapping, std::string_view dataName) {
  for (auto& entry : mapping.entries)
    if (entry.dataName == dataName) return &entry;
  return nullptr;
}

bool stateIsSet(const StateEntry& entry) {
  if (choosesEnumerants(entry.valueType)) {
    for (const auto& enumerant : entry.enumerants)
      if (enumerant.selected) return true;
    return false;
  }
  return entry.isSet;
}

}  // namespace veltrace
