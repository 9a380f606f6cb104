#pragma once
// The instruction set of vs.1.0, vs.1.1 and ps.1.0 to ps.1.4 as one table.
// The parser finds rows by mnemonic, the disassembler by opcode, the encoder
// takes the opcode and operand counts, the validator the versions, slot costs
// and the roles in texture matrix sequences.

#include <cstdint>
#include <span>
#include <string_view>

#include "render/shader/shader_tokens.h"

namespace veltrace::shader {

enum class InstructionClass : std::uint8_t {
  arithmetic,  // colour and vector maths; may be co-issued in pixel shaders
  texture,     // texture addressing: tex..., texld, texcrd, texkill, texdepth
  definition,  // def: a constant register and four immediate values
  phase        // ps.1.4 phase marker
};

// Where a ps.1.0-1.3 texture matrix instruction stands in its sequence:
// texm3x2pad is followed by one closing row, two texm3x3pad rows by one.
enum class MatrixRole : std::uint8_t { none, pad2, last2, pad3, last3 };

struct InstructionInfo {
  std::string_view mnemonic;
  std::uint16_t opcode;
  std::uint8_t destinations;  // 0 or 1 destination parameter tokens
  std::uint8_t sources;       // source parameter tokens after it
  InstructionClass kind;
  std::uint16_t versions;     // VersionBit set where the row applies
  std::uint8_t vertexSlots;   // instruction slots in a vertex shader
  std::uint8_t arithmeticSlotsBefore14;  // pixel arithmetic slots, ps.1.0-1.3
  std::uint8_t arithmeticSlots14;  // pixel arithmetic slots, ps.1.4
  std::uint8_t textureSlots;       // pixel texture slots
  std::uint8_t matrixRows;    // vs macros: rows of the constant matrix read by source 1
  MatrixRole matrixRole;
  // ps.1.0-1.3 texture addressing: source 0 is an earlier texture register.
  bool readsTextureSource;
};

// Every row, in opcode order.
std::span<const InstructionInfo> instructionTable();

// The row for a mnemonic (lower case) in a version; nullptr when the version
// has no such instruction.
const InstructionInfo* findInstruction(std::string_view mnemonic, VersionBit version);
// Whether any version knows the mnemonic (for a clearer message).
bool isKnownMnemonic(std::string_view mnemonic);
// The row for an opcode in a version; nullptr when there is none.
const InstructionInfo* findInstruction(std::uint16_t opcode, VersionBit version);

// Opcodes the rules refer to by name.
namespace opcode {
constexpr std::uint16_t mov = 1;
constexpr std::uint16_t dp3 = 8;
constexpr std::uint16_t dp4 = 9;
constexpr std::uint16_t cnd = 80;
constexpr std::uint16_t texcoord = 64;  // texcrd in ps.1.4
constexpr std::uint16_t texkill = 65;
constexpr std::uint16_t tex = 66;       // texld in ps.1.4
constexpr std::uint16_t texbem = 67;
constexpr std::uint16_t texbeml = 68;
constexpr std::uint16_t texreg2ar = 69;
constexpr std::uint16_t texreg2gb = 70;
constexpr std::uint16_t texm3x3spec = 76;
constexpr std::uint16_t texdepth = 87;
constexpr std::uint16_t cmp = 88;
constexpr std::uint16_t bem = 89;
}  // namespace opcode

// def carries four 32-bit values after its destination.
constexpr int definitionValueCount = 4;

}  // namespace veltrace::shader
