#include "effect/state_values.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>
#include <limits>

#include "base/text.h"

namespace veltrace {
namespace {

// D3DRENDERSTATETYPE values of the float-valued render states.
constexpr std::int32_t floatRenderStates[] = {
    36,   // D3DRS_FOGSTART
    37,   // D3DRS_FOGEND
    38,   // D3DRS_FOGDENSITY
    154,  // D3DRS_POINTSIZE
    155,  // D3DRS_POINTSIZE_MIN
    158,  // D3DRS_POINTSCALE_A
    159,  // D3DRS_POINTSCALE_B
    160,  // D3DRS_POINTSCALE_C
    164,  // D3DRS_PATCHSEGMENTS
    166,  // D3DRS_POINTSIZE_MAX
    170,  // D3DRS_TWEENFACTOR
};

// D3DTEXTURESTAGESTATETYPE values of the float-valued texture stage states.
constexpr std::int32_t floatTextureStageStates[] = {
    7,   // D3DTSS_BUMPENVMAT00
    8,   // D3DTSS_BUMPENVMAT01
    9,   // D3DTSS_BUMPENVMAT10
    10,  // D3DTSS_BUMPENVMAT11
    19,  // D3DTSS_MIPMAPLODBIAS
    22,  // D3DTSS_BUMPENVLSCALE
    23,  // D3DTSS_BUMPENVLOFFSET
};

}  // namespace

std::int32_t truncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

bool isFloatValuedState(std::int32_t stateNumber, StateTable table) {
  if (table == StateTable::renderStates)
    return std::find(std::begin(floatRenderStates), std::end(floatRenderStates), stateNumber) !=
           std::end(floatRenderStates);
  return std::find(std::begin(floatTextureStageStates), std::end(floatTextureStageStates), stateNumber) !=
         std::end(floatTextureStageStates);
}

std::vector<std::uint32_t> stateValuesToApply(const StateEntry& entry, StateTable table) {
  std::vector<std::uint32_t> values;
  const StateValueType type = entry.valueType;
  if (choosesEnumerants(type)) {
    for (const auto& enumerant : entry.enumerants)
      if (enumerant.selected) values.push_back(static_cast<std::uint32_t>(enumerant.value));
  } else if (holdsNumber(type)) {
    if (isFloatValuedState(entry.stateNumber, table))
      values.push_back(std::bit_cast<std::uint32_t>(entry.numericValue));
    else
      values.push_back(static_cast<std::uint32_t>(truncateToInt32(entry.numericValue)));
  } else if (holdsLiteral(type)) {
    values.push_back(readLenientIntOrHex(entry.textValue));
  }
  return values;
}

}  // namespace veltrace
