#pragma once
// How a render state or texture stage state gives its value. The catalogues
// and effect files spell the types "ENUM", "BOOL", "INT", "FLOAT", "MASK" and
// "COLOR"; the spelling is read once, where a catalogue line is read, and the
// rest of the program works with the enum.

#include <string_view>

namespace veltrace {

enum class StateValueType {
  unknown,      // no type field, or a spelling the program does not know
  enumeration,  // "ENUM": named enumerants, any number selected
  boolean,      // "BOOL": the enumerants TRUE and FALSE
  integer,      // "INT": a number, truncated toward zero when applied
  real,         // "FLOAT": a number
  mask,         // "MASK": a literal such as "0x0000000F"
  colour,       // "COLOR": a literal such as "0xFF000000"
};

// The type a catalogue spells this way (exact, case-sensitive); unknown for
// anything else.
StateValueType parseStateValueType(std::string_view spelling);

// The catalogue spelling of a type; empty for unknown.
std::string_view stateValueTypeName(StateValueType type);

// ENUM and BOOL states choose among enumerants.
constexpr bool choosesEnumerants(StateValueType type) {
  return type == StateValueType::enumeration || type == StateValueType::boolean;
}
// INT and FLOAT states hold a number.
constexpr bool holdsNumber(StateValueType type) {
  return type == StateValueType::integer || type == StateValueType::real;
}
// MASK and COLOR states hold the literal as written.
constexpr bool holdsLiteral(StateValueType type) {
  return type == StateValueType::mask || type == StateValueType::colour;
}

}  // namespace veltrace
