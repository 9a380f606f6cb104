#pragma once
// The Direct3D 8 vertex shader declaration built from a stream mapping: one
// stream token, one register token per mapped entry, the end token.

#include <cstdint>

#include "effect/effect.h"

namespace veltrace {

// D3DVSD token layout: bits 29..31 hold the token type; a register token
// carries the data type in bits 16..19 and the input register in bits 0..4.
inline constexpr std::uint32_t vsdTokenTypeShift = 29;
inline constexpr std::uint32_t vsdTokenStream = 1u << vsdTokenTypeShift;   // 0x20000000
inline constexpr std::uint32_t vsdTokenStreamData = 2u << vsdTokenTypeShift;  // 0x40000000
inline constexpr std::uint32_t vsdTokenEnd = 0xFFFFFFFFu;
inline constexpr std::uint32_t vsdDataTypeShift = 16;
inline constexpr std::uint32_t vsdDataTypeMask = 0xFu << vsdDataTypeShift;
inline constexpr std::uint32_t vsdRegisterMask = 0x1Fu;
inline constexpr std::uint32_t vsdStreamMask = 0xFu;

// D3DVSDT data type codes.
inline constexpr std::uint32_t vsdTypeFloat2 = 1;
inline constexpr std::uint32_t vsdTypeFloat3 = 2;

// Recomputes mapping.declaration from its entries. An entry whose type is
// neither "Float2" nor "Float3" takes the type of the entry before it;
// entries with no register are left out without a gap.
void buildDeclaration(StreamMapping& mapping);

}  // namespace veltrace
