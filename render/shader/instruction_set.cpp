#include "render/shader/instruction_set.h"

#include <array>

namespace veltrace::shader {

namespace {

using enum InstructionClass;
using enum MatrixRole;

constexpr std::uint16_t allVersions = anyVertex | anyPixel;
constexpr std::uint16_t ps12to14 = ps12 | ps13 | ps14;
constexpr std::uint16_t ps12to13 = ps12 | ps13;

// Slot costs follow the published tables: vs macros cost their expansion
// (exp and log 10, frc 3, m4x4 4 ...); in pixel shaders nop costs nothing,
// dp4 and cmp take two arithmetic slots before ps.1.4, bem two, and texbeml
// one texture plus one arithmetic slot.
//
// mnemonic, opcode, dst, src, class, versions, vs slots, ps arith 1.0-1.3,
// ps arith 1.4, ps texture, matrix rows, matrix role, reads texture source
constexpr std::array table = {
    InstructionInfo{"nop", 0, 0, 0, arithmetic, allVersions, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"mov", 1, 1, 1, arithmetic, allVersions, 1, 1, 1, 0, 0, none, false},
    InstructionInfo{"add", 2, 1, 2, arithmetic, allVersions, 1, 1, 1, 0, 0, none, false},
    InstructionInfo{"sub", 3, 1, 2, arithmetic, allVersions, 1, 1, 1, 0, 0, none, false},
    InstructionInfo{"mad", 4, 1, 3, arithmetic, allVersions, 1, 1, 1, 0, 0, none, false},
    InstructionInfo{"mul", 5, 1, 2, arithmetic, allVersions, 1, 1, 1, 0, 0, none, false},
    InstructionInfo{"rcp", 6, 1, 1, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"rsq", 7, 1, 1, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"dp3", 8, 1, 2, arithmetic, allVersions, 1, 1, 1, 0, 0, none, false},
    InstructionInfo{"dp4", 9, 1, 2, arithmetic, anyVertex | ps12to14, 1, 2, 1, 0, 0, none, false},
    InstructionInfo{"min", 10, 1, 2, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"max", 11, 1, 2, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"slt", 12, 1, 2, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"sge", 13, 1, 2, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"exp", 14, 1, 1, arithmetic, anyVertex, 10, 0, 0, 0, 0, none, false},
    InstructionInfo{"log", 15, 1, 1, arithmetic, anyVertex, 10, 0, 0, 0, 0, none, false},
    InstructionInfo{"lit", 16, 1, 1, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"dst", 17, 1, 2, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"lrp", 18, 1, 3, arithmetic, anyPixel, 0, 1, 1, 0, 0, none, false},
    InstructionInfo{"frc", 19, 1, 1, arithmetic, anyVertex, 3, 0, 0, 0, 0, none, false},
    InstructionInfo{"m4x4", 20, 1, 2, arithmetic, anyVertex, 4, 0, 0, 0, 4, none, false},
    InstructionInfo{"m4x3", 21, 1, 2, arithmetic, anyVertex, 3, 0, 0, 0, 3, none, false},
    InstructionInfo{"m3x4", 22, 1, 2, arithmetic, anyVertex, 4, 0, 0, 0, 4, none, false},
    InstructionInfo{"m3x3", 23, 1, 2, arithmetic, anyVertex, 3, 0, 0, 0, 3, none, false},
    InstructionInfo{"m3x2", 24, 1, 2, arithmetic, anyVertex, 2, 0, 0, 0, 2, none, false},
    // ps.1.0-1.3 texture addressing; texkill's register is written as a
    // destination token although the instruction only reads it.
    InstructionInfo{"texcoord", 64, 1, 0, texture, ps10to13, 0, 0, 0, 1, 0, none, false},
    InstructionInfo{"texcrd", 64, 1, 1, texture, ps14, 0, 0, 0, 1, 0, none, false},
    InstructionInfo{"texkill", 65, 1, 0, texture, anyPixel, 0, 0, 0, 1, 0, none, false},
    InstructionInfo{"tex", 66, 1, 0, texture, ps10to13, 0, 0, 0, 1, 0, none, false},
    InstructionInfo{"texld", 66, 1, 1, texture, ps14, 0, 0, 0, 1, 0, none, false},
    InstructionInfo{"texbem", 67, 1, 1, texture, ps10to13, 0, 0, 0, 1, 0, none, true},
    InstructionInfo{"texbeml", 68, 1, 1, texture, ps10to13, 0, 1, 0, 1, 0, none, true},
    InstructionInfo{"texreg2ar", 69, 1, 1, texture, ps10to13, 0, 0, 0, 1, 0, none, true},
    InstructionInfo{"texreg2gb", 70, 1, 1, texture, ps10to13, 0, 0, 0, 1, 0, none, true},
    InstructionInfo{"texm3x2pad", 71, 1, 1, texture, ps10to13, 0, 0, 0, 1, 0, pad2, true},
    InstructionInfo{"texm3x2tex", 72, 1, 1, texture, ps10to13, 0, 0, 0, 1, 0, last2, true},
    InstructionInfo{"texm3x3pad", 73, 1, 1, texture, ps10to13, 0, 0, 0, 1, 0, pad3, true},
    InstructionInfo{"texm3x3tex", 74, 1, 1, texture, ps10to13, 0, 0, 0, 1, 0, last3, true},
    InstructionInfo{"texm3x3spec", 76, 1, 2, texture, ps10to13, 0, 0, 0, 1, 0, last3, true},
    InstructionInfo{"texm3x3vspec", 77, 1, 1, texture, ps10to13, 0, 0, 0, 1, 0, last3, true},
    InstructionInfo{"expp", 78, 1, 1, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"logp", 79, 1, 1, arithmetic, anyVertex, 1, 0, 0, 0, 0, none, false},
    InstructionInfo{"cnd", 80, 1, 3, arithmetic, anyPixel, 0, 1, 1, 0, 0, none, false},
    InstructionInfo{"def", 81, 1, 0, definition, allVersions, 0, 0, 0, 0, 0, none, false},
    InstructionInfo{"texreg2rgb", 82, 1, 1, texture, ps12to13, 0, 0, 0, 1, 0, none, true},
    InstructionInfo{"texdp3tex", 83, 1, 1, texture, ps12to13, 0, 0, 0, 1, 0, none, true},
    InstructionInfo{"texm3x2depth", 84, 1, 1, texture, ps13, 0, 0, 0, 1, 0, last2, true},
    InstructionInfo{"texdp3", 85, 1, 1, texture, ps12to13, 0, 0, 0, 1, 0, none, true},
    InstructionInfo{"texm3x3", 86, 1, 1, texture, ps12to13, 0, 0, 0, 1, 0, last3, true},
    InstructionInfo{"texdepth", 87, 1, 0, texture, ps14, 0, 0, 0, 1, 0, none, false},
    InstructionInfo{"cmp", 88, 1, 3, arithmetic, ps12to14, 0, 2, 1, 0, 0, none, false},
    InstructionInfo{"bem", 89, 1, 2, arithmetic, ps14, 0, 0, 2, 0, 0, none, false},
    InstructionInfo{"phase", phaseOpcode, 0, 0, phase, ps14, 0, 0, 0, 0, 0, none, false},
};

}  // namespace

std::span<const InstructionInfo> instructionTable() { return table; }

const InstructionInfo* findInstruction(std::string_view mnemonic, VersionBit version) {
  for (const auto& row : table)
    if (row.mnemonic == mnemonic && (row.versions & version)) return &row;
  return nullptr;
}

bool isKnownMnemonic(std::string_view mnemonic) {
  for (const auto& row : table)
    if (row.mnemonic == mnemonic) return true;
  return false;
}

const InstructionInfo* findInstruction(std::uint16_t opcode, VersionBit version) {
  for (const auto& row : table)
    if (row.opcode == opcode && (row.versions & version)) return &row;
  return nullptr;
}

}  // namespace veltrace::shader
