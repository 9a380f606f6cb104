#pragma once
// What a shader uses of its version's limits: instruction slots (vertex
// shaders), arithmetic and texture slots per phase (pixel shaders; ps.1.4
// with a phase marker has two phases), and the temporary and constant
// registers it names. The validator fills the slots as it counts them for
// its own checks; the registers come from the program.

#include <vector>

#include "render/shader/shader_program.h"

namespace veltrace::shader {

struct SlotCount {
  int used = 0;
  int limit = 0;
  friend bool operator==(const SlotCount&, const SlotCount&) = default;
};

struct PhaseSlots {
  SlotCount arithmetic;
  SlotCount texture;
  friend bool operator==(const PhaseSlots&, const PhaseSlots&) = default;
};

struct ShaderBudget {
  ShaderVersion version;
  SlotCount instructionSlots;      // vertex shaders
  std::vector<PhaseSlots> phases;  // pixel shaders, in order
  SlotCount temporaryRegisters;    // different r# named
  SlotCount constantRegisters;     // different c# read or defined; c[a0.x + n] counts as cn
};

// The registers part of the budget; the slots are the validator's.
void countRegistersUsed(const ShaderProgram& program, ShaderBudget& budget);

}  // namespace veltrace::shader
