#include "render/frame/state_assignments.h"

#include <gtest/gtest.h>

using namespace veltrace;
using namespace veltrace::render;

namespace {

StateEntry enumState(std::int32_t number, std::vector<std::pair<std::int32_t, bool>> choices) {
  StateEntry entry;
  entry.stateNumber = number;
  entry.valueType = StateValueType::enumeration;
  for (auto [value, selected] : choices) entry.enumerants.push_back({"E", value, selected});
  return entry;
}

StateEntry valueState(std::int32_t number, StateValueType type, float numeric, std::string text = {}) {
  StateEntry entry;
  entry.stateNumber = number;
  entry.valueType = type;
  entry.numericValue = numeric;
  entry.textValue = std::move(text);
  return entry;
}

TEST(StateAssignments, RenderStatesInCatalogueOrderWithEverySelectedEnumerant) {
  Effect effect;
  effect.renderStates.push_back(enumState(22, {{1, false}, {2, true}, {3, true}}));  // two selected: both, in order
  effect.renderStates.push_back(enumState(7, {{0, false}, {1, false}}));             // none selected: not set
  effect.renderStates.push_back(valueState(60, StateValueType::colour, 0, "0x00FF0000"));     // hex colour
  effect.renderStates.push_back(valueState(24, StateValueType::integer, -3.7f));                  // truncated toward zero
  StateEntry unknown = valueState(9, StateValueType::unknown, 1);
  effect.renderStates.push_back(unknown);
  StateEntry boolean = enumState(137, {{1, false}, {0, true}});
  boolean.valueType = StateValueType::boolean;
  effect.renderStates.push_back(boolean);

  std::vector<StateAssignment> expected{
      {0, 22, 2}, {0, 22, 3}, {0, 60, 0x00FF0000u}, {0, 24, static_cast<std::uint32_t>(-3)}, {0, 137, 0}};
  EXPECT_EQ(renderStateAssignments(effect), expected);
}

TEST(StateAssignments, FloatValuedStatesCarryTheirBits) {
  Effect effect;
  effect.renderStates.push_back(valueState(38, StateValueType::real, 0.5f));  // D3DRS_FOGDENSITY
  auto assignments = renderStateAssignments(effect);
  ASSERT_EQ(assignments.size(), 1u);
  EXPECT_EQ(assignments[0].value, 0x3F000000u);
}

TEST(StateAssignments, TextureStagesStageByStage) {
  Effect effect;
  effect.textureStages.stages[0].settings.push_back(enumState(1, {{4, true}}));
  effect.textureStages.stages[3].settings.push_back(valueState(11, StateValueType::integer, 2));
  effect.textureStages.stages[7].settings.push_back(enumState(17, {{2, true}}));
  std::vector<StateAssignment> expected{{0, 1, 4}, {3, 11, 2}, {7, 17, 2}};
  EXPECT_EQ(textureStageAssignments(effect), expected);
}

TEST(StateAssignments, NegativeStateNumbersAreLeftOut) {
  Effect effect;
  effect.renderStates.push_back(valueState(-5, StateValueType::integer, 1));
  EXPECT_TRUE(renderStateAssignments(effect).empty());
}

}  // namespace
