#pragma once
// The 32-bit values handed to the device for a render state or texture stage
// state (SetRenderState / SetTextureStageState), and for display in the state
// panes.

#include <cstdint>
#include <vector>

#include "effect/effect.h"

namespace veltrace {

enum class StateTable { renderStates, textureStages };

// The values to apply for the entry, in order (the last one wins):
// - ENUM, BOOL: the value of every selected enumerant; none selected gives an
//   empty list and the state is left alone.
// - INT, FLOAT: numericValue; for the states Direct3D 8 takes as floats
//   (fog range and density, point sizes and scales, patch segments, tween
//   factor, the bump-environment matrix, its luminance scale and offset, the
//   mip-map LOD bias) the bit pattern of the 32-bit float, for the others the
//   value truncated toward zero.
// - MASK, COLOR: textValue read as a decimal or 0x-prefixed hexadecimal
//   integer.
// INT, FLOAT, MASK and COLOR give their value whether or not isSet is true.
// An unknown value type gives an empty list.
std::vector<std::uint32_t> stateValuesToApply(const StateEntry& entry, StateTable table);

// Whether Direct3D 8 reads this state number as the bits of a float.
bool isFloatValuedState(std::int32_t stateNumber, StateTable table);

// Truncation toward zero that saturates at the int32 limits and reads NaN as
// 0, where a plain cast would be undefined.
std::int32_t truncateToInt32(double value);

}  // namespace veltrace
