#include "render/shader/texture_rules.h"

#include "base/text.h"

namespace veltrace::shader {

namespace {

using Code = DiagnosticCode;

// texdepth writes depth from r5 only.
constexpr std::uint32_t depthRegister = 5;

}  // namespace

// --- ps.1.0 to ps.1.3 -------------------------------------------------------

void TextureOrderRules::check(const Instruction& instruction) {
  const InstructionInfo& info = *instruction.info;
  checkMatrixSequence(instruction);
  checkBumpSources(instruction);
  if (info.kind != InstructionClass::texture) {
    arithmeticSeen_ = true;
    return;
  }
  if (arithmeticSeen_)
    context_.add(instruction, Code::textureAfterArithmetic, "texture instructions must come before arithmetic ones");
  const DestinationParameter& destination = instruction.destination;
  if (context_.fileOf(destination) != RegisterFile::texture) {
    context_.add(instruction, Code::destinationRule, "texture instructions work on texture registers");
    return;
  }
  if (info.opcode != opcode::texkill) {
    if (loaded_.count(destination.number))
      context_.add(instruction, Code::textureRegisterRewritten,
                   formatText("texture register t%u is already written", destination.number));
    loaded_.insert(destination.number);
  }
  if (info.readsTextureSource && !instruction.sources.empty()) {
    const SourceParameter& source = instruction.sources[0];
    if (context_.fileOf(source) != RegisterFile::texture) {
      context_.add(instruction, Code::sourceRule,
                   formatText("'%s' reads a texture register", mnemonicOf(instruction).c_str()));
    } else if (source.number >= destination.number) {
      context_.add(instruction, Code::textureSourceOrder,
                   formatText("t%u must be read by a later texture register than itself", source.number));
    }
  }
  if (info.opcode == opcode::texm3x3spec && instruction.sources.size() == 2 &&
      context_.fileOf(instruction.sources[1]) != RegisterFile::constant)
    context_.add(instruction, Code::sourceRule, "texm3x3spec takes its eye vector from a constant register");
}

void TextureOrderRules::checkBumpSources(const Instruction& instruction) {
  std::uint16_t op = instruction.info->opcode;
  bool bump = op == opcode::texbem || op == opcode::texbeml;
  for (const SourceParameter& source : instruction.sources) {
    if (context_.fileOf(source) != RegisterFile::texture) continue;
    if (bump) {
      readByBump_.insert(source.number);
    } else if (readByBump_.count(source.number)) {
      context_.add(instruction, Code::sourceRule,
                   formatText("t%u was read by texbem or texbeml; only they may read it again", source.number));
    }
  }
  // A register written anew holds new data.
  if (instruction.info->destinations && context_.fileOf(instruction.destination) == RegisterFile::texture &&
      op != opcode::texkill)
    readByBump_.erase(instruction.destination.number);
}

void TextureOrderRules::checkMatrixSequence(const Instruction& instruction) {
  MatrixRole role = instruction.info->matrixRole;
  std::uint32_t reg = instruction.destination.number;
  if (pendingMatrix_.role != MatrixRole::none) {
    bool wantsPad3 = pendingMatrix_.role == MatrixRole::pad3 && pendingMatrix_.rowsLeft == 2;
    MatrixRole expected = pendingMatrix_.role == MatrixRole::pad2 ? MatrixRole::last2
                          : wantsPad3                           ? MatrixRole::pad3
                                                                : MatrixRole::last3;
    if (role != expected || reg != pendingMatrix_.nextRegister) {
      context_.add(instruction, Code::matrixSequence,
                   formatText("'%s' must be followed by the next row of its matrix on t%u",
                              pendingMatrix_.mnemonic.c_str(), pendingMatrix_.nextRegister));
      pendingMatrix_ = {};
      return;
    }
    if (--pendingMatrix_.rowsLeft == 0) {
      pendingMatrix_ = {};
    } else {
      pendingMatrix_.nextRegister = reg + 1;
      pendingMatrix_.line = instruction.line;
      pendingMatrix_.column = instruction.column;
    }
    return;
  }
  if (role == MatrixRole::pad2 || role == MatrixRole::pad3) {
    pendingMatrix_ = {role, role == MatrixRole::pad2 ? 1 : 2, reg + 1, instruction.line, instruction.column,
                      mnemonicOf(instruction)};
  } else if (role == MatrixRole::last2 || role == MatrixRole::last3) {
    context_.add(instruction, Code::matrixSequence,
                 formatText("'%s' must follow %s", mnemonicOf(instruction).c_str(),
                            role == MatrixRole::last2 ? "texm3x2pad" : "two texm3x3pad rows"));
  }
}

void TextureOrderRules::finish() {
  if (pendingMatrix_.role == MatrixRole::none) return;
  context_.diagnostics().add(pendingMatrix_.line, pendingMatrix_.column, Code::matrixSequence,
                             formatText("'%s' is not followed by the rest of its matrix",
                                        pendingMatrix_.mnemonic.c_str()));
}

// --- ps.1.4 -------------------------------------------------------------------

void PhaseRules::check(const Instruction& instruction) {
  const InstructionInfo& info = *instruction.info;
  for (const SourceParameter& source : instruction.sources) {
    RegisterFile file = context_.fileOf(source);
    if (file == RegisterFile::input && !secondPhase_)
      context_.add(instruction, Code::registerNotReadable, "colour registers can be read in the second phase only");
    if (file == RegisterFile::texture && info.kind != InstructionClass::texture)
      context_.add(instruction, Code::registerNotReadable, "texture registers are read by texld and texcrd only");
  }
  if (info.kind == InstructionClass::texture) {
    if (arithmeticSeen_)
      context_.add(instruction, Code::textureAfterArithmetic,
                   "texture instructions must come before the arithmetic ones of their phase");
    if (info.opcode == opcode::tex || info.opcode == opcode::texcoord) checkTextureLoad(instruction);
    if (info.opcode == opcode::texdepth) {
      if (context_.fileOf(instruction.destination) != RegisterFile::temporary ||
          instruction.destination.number != depthRegister)
        context_.add(instruction, Code::destinationRule, "texdepth works on r5 only");
      if (!secondPhase_) context_.add(instruction, Code::phase, "texdepth belongs to the second phase");
    }
  } else {
    arithmeticSeen_ = true;
  }
  if (info.opcode == opcode::bem) {
    if (!hasPhaseMarker_ || secondPhase_) context_.add(instruction, Code::phase, "bem belongs to the first phase");
    if (instruction.destination.mask.bits() != redGreenMask)
      context_.add(instruction, Code::writeMaskNotAllowed, "bem writes .rg");
  }
}

void PhaseRules::checkTextureLoad(const Instruction& instruction) {
  bool isLoad = instruction.info->opcode == opcode::tex;
  std::uint8_t mask = instruction.destination.mask.bits();
  if (isLoad && mask != WriteMask::all)
    context_.add(instruction, Code::writeMaskNotAllowed, "texld takes no write mask");
  if (!isLoad && mask != WriteMask::all && mask != colourMask && mask != redGreenMask)
    context_.add(instruction, Code::writeMaskNotAllowed, "texcrd writes .rgb or .rg");
  if (instruction.sources.empty()) return;
  RegisterFile file = context_.fileOf(instruction.sources[0]);
  if (file == RegisterFile::texture) return;
  if (isLoad && file == RegisterFile::temporary) {
    // A dependent read: coordinates computed in the first phase.
    if (!secondPhase_ || !hasPhaseMarker_)
      context_.add(instruction, Code::sourceRule, "texld reads a temporary register in the second phase only");
    return;
  }
  context_.add(instruction, Code::sourceRule,
               isLoad ? "texld reads a texture or temporary register" : "texcrd reads a texture register");
}

}  // namespace veltrace::shader
