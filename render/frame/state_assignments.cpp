#include "render/frame/state_assignments.h"

#include "effect/state_values.h"

namespace veltrace::render {

namespace {

void appendEntry(std::vector<StateAssignment>& out, std::int32_t stage, const StateEntry& entry, StateTable table) {
  // A negative state number is no state of the device; such a catalogue
  // line is left out rather than handed over as a huge number.
  if (entry.stateNumber < 0) return;
  for (std::uint32_t value : stateValuesToApply(entry, table))
    out.push_back({stage, static_cast<std::uint32_t>(entry.stateNumber), value});
}

}  // namespace

std::vector<StateAssignment> textureStageAssignments(const Effect& effect) {
  std::vector<StateAssignment> out;
  for (int stage = 0; stage < textureStageCount; ++stage)
    for (const auto& entry : effect.textureStages.stages[stage].settings)
      appendEntry(out, stage, entry, StateTable::textureStages);
  return out;
}

std::vector<StateAssignment> renderStateAssignments(const Effect& effect) {
  std::vector<StateAssignment> out;
  for (const auto& entry : effect.renderStates) appendEntry(out, 0, entry, StateTable::renderStates);
  return out;
}

}  // namespace veltrace::render
