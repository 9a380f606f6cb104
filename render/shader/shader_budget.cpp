#include "render/shader/shader_budget.h"

#include <set>

#include "render/shader/register_set.h"

namespace veltrace::shader {

namespace {

int registerLimit(RegisterFile file, VersionBit version) {
  const RegisterRule* rule = findRegisterRule(file, version);
  return rule ? static_cast<int>(rule->count) : 0;
}

}  // namespace

void countRegistersUsed(const ShaderProgram& program, ShaderBudget& budget) {
  ShaderKind kind = program.version.kind;
  std::set<std::uint32_t> temporaries;
  std::set<std::uint32_t> constants;
  auto note = [&](RegisterType type, std::uint32_t number, std::uint32_t rows) {
    std::optional<RegisterFile> file = registerFileOf(type, number, kind);
    if (file == RegisterFile::temporary) temporaries.insert(number);
    if (file == RegisterFile::constant)
      for (std::uint32_t row = 0; row < rows; ++row) constants.insert(number + row);
  };
  for (const Instruction& instruction : program.instructions) {
    if (instruction.info->destinations) note(instruction.destination.type, instruction.destination.number, 1);
    for (size_t i = 0; i < instruction.sources.size(); ++i) {
      // m4x4 and its kin read as many constant rows as the matrix has.
      std::uint32_t rows = (i == 1 && instruction.info->matrixRows) ? instruction.info->matrixRows : 1;
      note(instruction.sources[i].type, instruction.sources[i].number, rows);
    }
  }
  budget.temporaryRegisters = {static_cast<int>(temporaries.size()),
                               registerLimit(RegisterFile::temporary, program.version.bit())};
  budget.constantRegisters = {static_cast<int>(constants.size()),
                              registerLimit(RegisterFile::constant, program.version.bit())};
}

}  // namespace veltrace::shader
