#include "effect/state_value_type.h"

#include <array>
#include <utility>

namespace veltrace {
namespace {

constexpr std::array<std::pair<StateValueType, std::string_view>, 6> spellings = {{
    {StateValueType::enumeration, "ENUM"},
    {StateValueType::boolean, "BOOL"},
    {StateValueType::integer, "INT"},
    {StateValueType::real, "FLOAT"},
    {StateValueType::mask, "MASK"},
    {StateValueType::colour, "COLOR"},
}};

}  // namespace

StateValueType parseStateValueType(std::string_view spelling) {
  for (const auto& [type, name] : spellings)
    if (name == spelling) return type;
  return StateValueType::unknown;
}

std::string_view stateValueTypeName(StateValueType type) {
  for (const auto& [known, name] : spellings)
    if (known == type) return name;
  return {};
}

}  // namespace veltrace
