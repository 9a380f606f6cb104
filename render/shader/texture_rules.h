#pragma once
// The rules of texture instructions, which differ most between the pixel
// versions: ps.1.0-1.3 load each texture register once, in order, before
// any arithmetic, with matrix rows in fixed sequences; ps.1.4 works in up to
// two phases, each with its texture instructions first.

#include <cstdint>
#include <set>
#include <string>

#include "render/shader/validation_context.h"

namespace veltrace::shader {

// ps.1.0 to ps.1.3
class TextureOrderRules {
 public:
  explicit TextureOrderRules(const ValidationContext& context) : context_(context) {}

  // Every arithmetic and texture instruction, in order.
  void check(const Instruction& instruction);
  // After the last instruction: a matrix left open.
  void finish();

 private:
  void checkMatrixSequence(const Instruction& instruction);
  void checkBumpSources(const Instruction& instruction);

  struct PendingMatrix {
    MatrixRole role = MatrixRole::none;  // the first row of the open matrix
    int rowsLeft = 0;
    std::uint32_t nextRegister = 0;
    int line = 0;
    int column = 0;
    std::string mnemonic;
  };

  const ValidationContext& context_;
  std::set<std::uint32_t> loaded_;  // t# written by texture instructions
  // t# read by texbem or texbeml: only those two may read it again.
  std::set<std::uint32_t> readByBump_;
  PendingMatrix pendingMatrix_;
  bool arithmeticSeen_ = false;
};

// ps.1.4
class PhaseRules {
 public:
  PhaseRules(const ValidationContext& context, bool hasPhaseMarker)
      : context_(context), hasPhaseMarker_(hasPhaseMarker), secondPhase_(!hasPhaseMarker) {}

  // The phase marker; one at most, checked by the caller.
  void enterSecondPhase() {
    secondPhase_ = true;
    arithmeticSeen_ = false;
  }
  void check(const Instruction& instruction);

 private:
  void checkTextureLoad(const Instruction& instruction);

  const ValidationContext& context_;
  bool hasPhaseMarker_;
  // Without a phase marker a ps.1.4 shader is all second phase.
  bool secondPhase_;
  bool arithmeticSeen_ = false;  // in the current phase
};

}  // namespace veltrace::shader
