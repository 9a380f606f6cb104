#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "effect/state_values.h"
#include "effect_test_support.h"

namespace veltrace {
namespace {

using Values = std::vector<std::uint32_t>;

StateEntry numericEntry(const char* type, std::int32_t number, float value) {
  StateEntry entry;
  entry.name = "S";
  entry.stateNumber = number;
  entry.valueType = parseStateValueType(type);
  entry.numericValue = value;
  return entry;
}

StateEntry textEntry(const char* type, const char* text) {
  StateEntry entry;
  entry.name = "S";
  entry.valueType = parseStateValueType(type);
  entry.textValue = text;
  return entry;
}

TEST(StateValues, EnumGivesEverySelectedValueInListOrderAndNothingWhenNoneIsSelected) {
  StateEntry entry;
  entry.valueType = StateValueType::enumeration;
  entry.enumerants = {{"A", 1, false}, {"B", 2, true}, {"C", 3, true}};
  EXPECT_EQ(stateValuesToApply(entry, StateTable::renderStates), (Values{2, 3}));
  for (auto& enumerant : entry.enumerants) enumerant.selected = false;
  EXPECT_TRUE(stateValuesToApply(entry, StateTable::renderStates).empty());

  entry.valueType = StateValueType::boolean;
  entry.enumerants = {{"TRUE", 1, false}, {"FALSE", 0, true}};
  EXPECT_EQ(stateValuesToApply(entry, StateTable::renderStates), (Values{0}));
}

TEST(StateValues, IntegerStatesAreTruncatedTowardZeroWhetherOrNotSet) {
  // D3DRS_ZBIAS is an integer in Direct3D 8 although the catalogue says FLOAT.
  EXPECT_EQ(stateValuesToApply(numericEntry("FLOAT", 47, 1.9f), StateTable::renderStates), (Values{1}));
  EXPECT_EQ(stateValuesToApply(numericEntry("INT", 152, -2.7f), StateTable::renderStates),
            (Values{static_cast<std::uint32_t>(-2)}));
  // D3DTSS_MAXANISOTROPY.
  EXPECT_EQ(stateValuesToApply(numericEntry("INT", 21, 16.0f), StateTable::textureStages), (Values{16}));
}

TEST(StateValues, FloatValuedStatesAreHandedOverAsFloatBits) {
  const std::int32_t renderFloats[] = {36, 37, 38, 154, 155, 158, 159, 160, 164, 166, 170};
  for (std::int32_t number : renderFloats)
    EXPECT_EQ(stateValuesToApply(numericEntry("FLOAT", number, 0.25f), StateTable::renderStates),
              (Values{std::bit_cast<std::uint32_t>(0.25f)}))
        << number;
  const std::int32_t textureFloats[] = {7, 8, 9, 10, 19, 22, 23};
  for (std::int32_t number : textureFloats)
    EXPECT_EQ(stateValuesToApply(numericEntry("FLOAT", number, -0.5f), StateTable::textureStages),
              (Values{std::bit_cast<std::uint32_t>(-0.5f)}))
        << number;
  // The same numbers mean integer states in the other table: render state 7
  // is D3DRS_ZENABLE, texture stage state 36 does not exist.
  EXPECT_FALSE(isFloatValuedState(7, StateTable::renderStates));
  EXPECT_FALSE(isFloatValuedState(36, StateTable::textureStages));
  EXPECT_FALSE(isFloatValuedState(47, StateTable::renderStates));
}

TEST(StateValues, MasksAndColoursReadHexadecimalAndDecimalLiterals) {
  EXPECT_EQ(stateValuesToApply(textEntry("MASK", "255"), StateTable::renderStates), (Values{255}));
  EXPECT_EQ(stateValuesToApply(textEntry("COLOR", "0xFF00FF00"), StateTable::renderStates), (Values{0xFF00FF00u}));
  EXPECT_EQ(stateValuesToApply(textEntry("COLOR", "0X0000abcd"), StateTable::textureStages), (Values{0xABCDu}));
  EXPECT_EQ(stateValuesToApply(textEntry("MASK", "0x00000000"), StateTable::renderStates), (Values{0}));
  EXPECT_EQ(stateValuesToApply(textEntry("MASK", "-1"), StateTable::renderStates), (Values{0xFFFFFFFFu}));
  EXPECT_EQ(stateValuesToApply(textEntry("MASK", "junk"), StateTable::renderStates), (Values{0}));
}

TEST(StateValues, UnknownTypesGiveNothing) {
  EXPECT_TRUE(stateValuesToApply(textEntry("", "1"), StateTable::renderStates).empty());
  EXPECT_TRUE(stateValuesToApply(textEntry("DWORD", "1"), StateTable::renderStates).empty());
}

TEST(StateValues, TruncationSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(truncateToInt32(1e20), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(truncateToInt32(-1e20), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(truncateToInt32(std::nan("")), 0);
  EXPECT_EQ(truncateToInt32(-0.99), 0);
  EXPECT_EQ(stateValuesToApply(numericEntry("INT", 152, INFINITY), StateTable::renderStates),
            (Values{0x7FFFFFFFu}));
}

}  // namespace
}  // namespace veltrace
