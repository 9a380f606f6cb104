#pragma once
// The texture stage states and render states an effect applies to the
// device before a subset is drawn, in the order they are set: stage by stage
// and in catalogue order, each selected enumerant of an ENUM or BOOL state
// in turn (the last one wins), every INT, FLOAT, MASK and COLOR state with
// its value whether or not the effect records it.

#include <cstdint>
#include <vector>

#include "effect/effect.h"

namespace veltrace::render {

struct StateAssignment {
  std::int32_t stage = 0;      // texture stage; unused for render states
  std::uint32_t state = 0;     // D3DTEXTURESTAGESTATETYPE or D3DRENDERSTATETYPE
  std::uint32_t value = 0;

  bool operator==(const StateAssignment&) const = default;
};

std::vector<StateAssignment> textureStageAssignments(const Effect& effect);
std::vector<StateAssignment> renderStateAssignments(const Effect& effect);

}  // namespace veltrace::render
