#include "render/shader/shader_validator.h"

#include <map>
#include <set>
#include <utility>

#include "base/text.h"
#include "render/shader/register_set.h"

namespace veltrace::shader {

namespace {

using Code = DiagnosticCode;

constexpr int vertexSlotLimit = 128;
constexpr int pixelArithmeticLimit = 8;
constexpr int pixel13TextureLimit = 4;
constexpr int pixel14TextureLimit = 6;
// texdepth writes depth from r5 only.
constexpr std::uint32_t depthRegister = 5;

// Masks and swizzles the pixel versions allow.
constexpr std::uint8_t colourMask = WriteMask::x | WriteMask::y | WriteMask::z;
constexpr std::uint8_t alphaMask = WriteMask::w;
constexpr std::uint8_t redGreenMask = WriteMask::x | WriteMask::y;
constexpr Swizzle alphaReplicate = Swizzle::replicate(3);
constexpr Swizzle blueReplicate = Swizzle::replicate(2);
constexpr Swizzle xyzSelector = Swizzle::of(0, 1, 2, 2);
constexpr Swizzle xywSelector = Swizzle::of(0, 1, 3, 3);

std::string mnemonicOf(const Instruction& instruction) { return std::string(instruction.info->mnemonic); }

using RegisterKey = std::pair<RegisterFile, std::uint32_t>;

class Validator {
 public:
  Validator(const ShaderProgram& program, DiagnosticList& diagnostics)
      : program_(program), diagnostics_(diagnostics), version_(program.version.bit()),
        kind_(program.version.kind) {
    for (const Instruction& instruction : program.instructions)
      if (instruction.info->kind == InstructionClass::phase) hasPhase_ = true;
    // Without a phase marker a ps.1.4 shader is all second phase.
    secondPhase_ = !hasPhase_;
  }

  void run() {
    for (size_t i = 0; i < program_.instructions.size() && !diagnostics_.full(); ++i) {
      const Instruction& instruction = program_.instructions[i];
      const Instruction* previous = i > 0 ? &program_.instructions[i - 1] : nullptr;
      checkCoIssue(instruction, previous);
      switch (instruction.info->kind) {
        case InstructionClass::definition: checkDefinition(instruction); break;
        case InstructionClass::phase: checkPhase(instruction); break;
        case InstructionClass::arithmetic:
        case InstructionClass::texture: checkOperation(instruction); break;
      }
    }
    if (pendingMatrix_.role != MatrixRole::none)
      diagnostics_.add(pendingMatrix_.line, pendingMatrix_.column, Code::matrixSequence,
          formatText("'%s' is not followed by the rest of its matrix", pendingMatrix_.mnemonic.c_str()));
  }

 private:
  void add(const Instruction& instruction, Code code, std::string text) {
    diagnostics_.add(instruction.line, instruction.column, code, std::move(text));
  }

  bool isPixel() const { return kind_ == ShaderKind::pixel; }
  bool isPixel14() const { return version_ == ps14; }
  bool isPixel13() const { return isPixel() && !isPixel14(); }

  RegisterFile fileOf(RegisterType type, std::uint32_t number) const {
    return registerFileOf(type, number, kind_).value_or(RegisterFile::temporary);
  }

  // --- Whole-instruction rules ------------------------------------------------

  void checkDefinition(const Instruction& instruction) {
    if (operationSeen_)
      add(instruction, Code::definitionPlacement, "def must come before the first instruction");
    const DestinationParameter& destination = instruction.destination;
    RegisterFile file = fileOf(destination.type, destination.number);
    if (file != RegisterFile::constant) {
      add(instruction, Code::destinationRule, "def defines constant registers only");
      return;
    }
    checkRange(instruction, file, destination.number);
    if (destination.mask.bits() != WriteMask::all)
      add(instruction, Code::writeMaskNotAllowed, "def takes no write mask");
    if (destination.saturate || destination.shift != 0)
      add(instruction, Code::resultModifierNotAllowed, "def takes no modifiers");
  }

  void checkPhase(const Instruction& instruction) {
    if (phaseSeen_) {
      add(instruction, Code::phase, "only one phase marker is allowed");
      return;
    }
    phaseSeen_ = true;
    secondPhase_ = true;
    arithmeticSeen_ = false;
    arithmeticSlots_ = 0;
    textureSlots_ = 0;
    arithmeticReported_ = textureReported_ = false;
  }

  void checkCoIssue(const Instruction& instruction, const Instruction* previous) {
    if (!instruction.coIssued) return;
    if (!isPixel()) {
      add(instruction, Code::coIssue, "co-issue ('+') exists in pixel shaders only");
      return;
    }
    if (instruction.info->kind != InstructionClass::arithmetic || instruction.info->mnemonic == "nop") {
      add(instruction, Code::coIssue, "only arithmetic instructions can be co-issued");
      return;
    }
    if (!previous || previous->coIssued || previous->info->kind != InstructionClass::arithmetic ||
        previous->info->mnemonic == "nop") {
      add(instruction, Code::coIssue, "a co-issued instruction must follow an arithmetic instruction of its own");
      return;
    }
    // One of the pair writes colour, the other alpha only.
    std::uint8_t first = previous->destination.mask.bits();
    std::uint8_t second = instruction.destination.mask.bits();
    bool firstIsAlpha = first == alphaMask;
    std::uint8_t colour = firstIsAlpha ? second : first;
    std::uint8_t alpha = firstIsAlpha ? first : second;
    bool colourOk = isPixel14() ? (colour != 0 && (colour & alphaMask) == 0) : colour == colourMask;
    if (alpha != alphaMask || !colourOk)
      add(instruction, Code::coIssue,
          isPixel14() ? "co-issued instructions must write colour components and alpha separately"
                      : "co-issued instructions must write .rgb and .a");
  }

  void checkOperation(const Instruction& instruction) {
    const InstructionInfo& info = *instruction.info;
    checkDestination(instruction);
    checkSources(instruction);
    checkReadPorts(instruction);
    checkResultModifiers(instruction);
    if (isPixel13()) checkPixel13Texture(instruction);
    if (isPixel14()) checkPixel14(instruction);
    if (!isPixel()) checkVertex(instruction);
    countSlots(instruction);
    // Writes take effect after the reads of the same instruction.
    if (info.destinations && info.opcode != opcode::texkill) {  // texkill only reads
      RegisterFile file = fileOf(instruction.destination.type, instruction.destination.number);
      written_.insert({file, instruction.destination.number});
    }
    if (info.kind == InstructionClass::arithmetic) arithmeticSeen_ = true;
    operationSeen_ = true;
  }

  // --- Registers ------------------------------------------------------------------

  bool checkRange(const Instruction& instruction, RegisterFile file, std::uint32_t number, std::uint32_t rows = 1) {
    const RegisterRule* rule = findRegisterRule(file, version_);
    if (!rule) {
      add(instruction, Code::registerNotInShader,
          formatText("%s has no %s registers", program_.version.name().c_str(),
                     std::string(registerFileInfo(file).spelling).c_str()));
      return false;
    }
    // oPos, oFog and oPts are single registers with fixed token numbers.
    const RegisterFileInfo& info = registerFileInfo(file);
    std::uint32_t index = info.numbered ? number : number - info.fixedNumber;
    if (index + rows > rule->count) {
      std::string name = registerName(file, number);
      if (rows > 1) name += formatText(" (with the %u rows after it)", rows - 1);
      add(instruction, Code::registerOutOfRange,
          formatText("register %s is out of range for %s", name.c_str(), program_.version.name().c_str()));
      return false;
    }
    return true;
  }

  void checkDestination(const Instruction& instruction) {
    const InstructionInfo& info = *instruction.info;
    if (!info.destinations) return;
    const DestinationParameter& destination = instruction.destination;
    RegisterFile file = fileOf(destination.type, destination.number);
    if (!checkRange(instruction, file, destination.number)) return;
    const RegisterRule* rule = findRegisterRule(file, version_);
    std::string name = registerName(file, destination.number);
    if (info.opcode == opcode::texkill) {  // names the register it tests
      bool allowed = file == RegisterFile::texture || (isPixel14() && file == RegisterFile::temporary);
      if (!allowed) add(instruction, Code::destinationRule, "texkill tests a texture register" +
                                                                    std::string(isPixel14() ? " or a temporary register" : ""));
      return;
    }
    if (!rule->writable) {
      add(instruction, Code::registerNotWritable, formatText("register %s cannot be written", name.c_str()));
      return;
    }
    if (file == RegisterFile::address && info.opcode != opcode::mov)
      add(instruction, Code::destinationRule, "a0 can only be written by mov");
    if (file == RegisterFile::address && destination.mask.bits() != WriteMask::x)
      add(instruction, Code::writeMaskNotAllowed, "a0 must be written with the mask .x");
  }

  void checkSources(const Instruction& instruction) {
    for (const SourceParameter& source : instruction.sources) {
      RegisterFile file = fileOf(source.type, source.number);
      std::uint32_t rows = 1;
      if (instruction.info->matrixRows && &source == &instruction.sources[1]) rows = instruction.info->matrixRows;
      if (!checkRange(instruction, file, source.number, rows)) continue;
      const RegisterRule* rule = findRegisterRule(file, version_);
      std::string name = registerName(file, source.number);
      if (!rule->readable) {
        add(instruction, Code::registerNotReadable, formatText("register %s cannot be read", name.c_str()));
        continue;
      }
      if (source.relative) {
        if (isPixel() || file != RegisterFile::constant) {
          add(instruction, Code::relativeAddressingNotAllowed,
              "relative addressing is for vertex shader constants only");
        } else if (!written_.count({RegisterFile::address, 0})) {
          add(instruction, Code::uninitializedRegister, "a0 is used before it is written");
        }
      }
      bool tracked = file == RegisterFile::temporary || (isPixel13() && file == RegisterFile::texture);
      if (tracked && !written_.count({file, source.number}))
        add(instruction, Code::uninitializedRegister,
            formatText("register %s is read before it is written", name.c_str()));
      checkSourceModifier(instruction, source);
      checkSwizzle(instruction, source);
    }
  }

  void checkReadPorts(const Instruction& instruction) {
    std::map<RegisterFile, std::set<std::uint32_t>> read;
    for (const SourceParameter& source : instruction.sources)
      read[fileOf(source.type, source.number)].insert(source.number + (source.relative ? 0x10000u : 0u));
    for (const auto& [file, numbers] : read) {
      const RegisterRule* rule = findRegisterRule(file, version_);
      if (rule && numbers.size() > rule->readPorts)
        add(instruction, Code::readPortLimit,
            formatText("'%s' reads %d different %s registers; %s allows %u", mnemonicOf(instruction).c_str(),
                       static_cast<int>(numbers.size()), std::string(registerFileInfo(file).spelling).c_str(),
                       program_.version.name().c_str(), rule->readPorts));
    }
  }

  // --- Modifiers, masks, swizzles -----------------------------------------------------

  void checkResultModifiers(const Instruction& instruction) {
    if (!instruction.info->destinations) return;
    const DestinationParameter& destination = instruction.destination;
    if (!destination.saturate && destination.shift == 0) return;
    std::string name = mnemonicOf(instruction);
    if (!isPixel()) {
      add(instruction, Code::resultModifierNotAllowed, "vertex shader instructions take no modifiers");
    } else if (instruction.info->kind != InstructionClass::arithmetic) {
      add(instruction, Code::resultModifierNotAllowed, formatText("'%s' takes no modifiers", name.c_str()));
    } else if (isPixel13() && (destination.shift > 2 || destination.shift < -1)) {
      add(instruction, Code::resultModifierNotAllowed,
          formatText("%s allows the scale modifiers _x2, _x4 and _d2 only", program_.version.name().c_str()));
    }
  }

  void checkSourceModifier(const Instruction& instruction, const SourceParameter& source) {
    SourceModifier modifier = source.modifier;
    if (modifier == SourceModifier::none) return;
    const InstructionInfo& info = *instruction.info;
    auto reject = [&](const char* why) { add(instruction, Code::sourceModifierNotAllowed, why); };
    if (!isPixel()) {
      if (modifier != SourceModifier::negate) reject("vertex shader sources take only the '-' modifier");
      return;
    }
    bool divide = modifier == SourceModifier::divideByZ || modifier == SourceModifier::divideByW;
    bool textureCoordinates = isPixel14() && (info.opcode == opcode::texcoord || info.opcode == opcode::tex);
    if (textureCoordinates) {
      if (!divide) reject("texld and texcrd take only the _dz and _dw modifiers");
      return;
    }
    if (divide) {
      reject("_dz and _dw are for the ps.1.4 texld and texcrd sources only");
      return;
    }
    if (info.kind == InstructionClass::texture) {
      // Signed reads of texture data: ps.1.1 allows _bx2 on the source of the
      // texm* rows, ps.1.2 and ps.1.3 on any texture addressing source but
      // that of texreg2ar and texreg2gb.
      bool anyAddressing = (version_ == ps12 || version_ == ps13) && info.opcode != opcode::texreg2ar &&
                           info.opcode != opcode::texreg2gb;
      bool matrixRow = version_ == ps11 && info.matrixRole != MatrixRole::none;
      bool signedRead = modifier == SourceModifier::signedScale && (anyAddressing || matrixRow);
      if (!signedRead) reject("texture addressing sources take no modifiers here");
      return;
    }
    if ((modifier == SourceModifier::times2 || modifier == SourceModifier::times2Negate) && !isPixel14())
      reject("the source modifier _x2 needs ps.1.4");
  }

  void checkSwizzle(const Instruction& instruction, const SourceParameter& source) {
    Swizzle swizzle = source.swizzle;
    if (!isPixel() || swizzle.isIdentity()) return;
    const InstructionInfo& info = *instruction.info;
    auto reject = [&](const std::string& why) { add(instruction, Code::swizzleNotAllowed, why); };
    if (isPixel14()) {
      if (info.opcode == opcode::texcoord || info.opcode == opcode::tex) {
        if (!(swizzle == xyzSelector || swizzle == xywSelector))
          reject("texld and texcrd sources select .xyz or .xyw only");
      } else if (!swizzle.isReplicate()) {
        reject("ps.1.4 sources take only replicate selectors (.r .g .b .a)");
      }
      return;
    }
    if (info.kind == InstructionClass::texture) {
      reject("texture addressing sources take no selectors");
      return;
    }
    if (swizzle == alphaReplicate) return;
    // The blue replicate came with ps.1.1, for instructions that write alpha.
    if (swizzle == blueReplicate && version_ != ps10 && instruction.destination.mask.bits() == alphaMask) return;
    reject(formatText("%s sources take only the .a selector%s", program_.version.name().c_str(),
                      version_ == ps10 ? "" : " (and .b when writing alpha only)"));
  }

  void checkWriteMaskPixel13(const Instruction& instruction) {
    std::uint8_t mask = instruction.destination.mask.bits();
    if (instruction.info->kind == InstructionClass::texture) {
      if (mask != WriteMask::all) add(instruction, Code::writeMaskNotAllowed, "texture instructions take no write mask");
    } else if (mask != WriteMask::all && mask != colourMask && mask != alphaMask) {
      add(instruction, Code::writeMaskNotAllowed,
          formatText("%s write masks are .rgba, .rgb and .a", program_.version.name().c_str()));
    }
  }

  // --- ps.1.0 to ps.1.3 ----------------------------------------------------------------

  void checkPixel13Texture(const Instruction& instruction) {
    const InstructionInfo& info = *instruction.info;
    if (info.destinations) checkWriteMaskPixel13(instruction);
    checkMatrixSequence(instruction);
    // Before ps.1.4 the condition of cnd comes from r0.a only.
    if (info.opcode == opcode::cnd && !instruction.sources.empty()) {
      const SourceParameter& condition = instruction.sources[0];
      if (fileOf(condition.type, condition.number) != RegisterFile::temporary || condition.number != 0 ||
          condition.swizzle != alphaReplicate)
        add(instruction, Code::sourceRule, "the condition of cnd must be r0.a");
    }
    if (info.kind != InstructionClass::texture) return;
    if (arithmeticSeen_)
      add(instruction, Code::textureAfterArithmetic, "texture instructions must come before arithmetic ones");
    const DestinationParameter& destination = instruction.destination;
    RegisterFile file = fileOf(destination.type, destination.number);
    if (file != RegisterFile::texture) {
      add(instruction, Code::destinationRule, "texture instructions work on texture registers");
      return;
    }
    if (info.opcode != opcode::texkill) {
      if (textureWritten_.count(destination.number))
        add(instruction, Code::textureRegisterRewritten,
            formatText("texture register t%u is already written", destination.number));
      textureWritten_.insert(destination.number);
    }
    if (info.readsTextureSource && !instruction.sources.empty()) {
      const SourceParameter& source = instruction.sources[0];
      if (fileOf(source.type, source.number) != RegisterFile::texture) {
        add(instruction, Code::sourceRule, formatText("'%s' reads a texture register", mnemonicOf(instruction).c_str()));
      } else if (source.number >= destination.number) {
        add(instruction, Code::textureSourceOrder,
            formatText("t%u must be read by a later texture register than itself", source.number));
      }
    }
    if (info.opcode == opcode::texm3x3spec && instruction.sources.size() == 2 &&
        fileOf(instruction.sources[1].type, instruction.sources[1].number) != RegisterFile::constant)
      add(instruction, Code::sourceRule, "texm3x3spec takes its eye vector from a constant register");
  }

  struct PendingMatrix {
    MatrixRole role = MatrixRole::none;  // what the last row seen was
    int rowsLeft = 0;
    std::uint32_t nextRegister = 0;
    int line = 0;
    int column = 0;
    std::string mnemonic;
  };

  void checkMatrixSequence(const Instruction& instruction) {
    MatrixRole role = instruction.info->matrixRole;
    std::uint32_t reg = instruction.destination.number;
    std::string name = mnemonicOf(instruction);
    if (pendingMatrix_.role != MatrixRole::none) {
      bool wantsPad3 = pendingMatrix_.role == MatrixRole::pad3 && pendingMatrix_.rowsLeft == 2;
      MatrixRole expected = pendingMatrix_.role == MatrixRole::pad2 ? MatrixRole::last2
                            : wantsPad3                           ? MatrixRole::pad3
                                                                  : MatrixRole::last3;
      if (role != expected || reg != pendingMatrix_.nextRegister) {
        add(instruction, Code::matrixSequence,
            formatText("'%s' must be followed by the next row of its matrix on t%u", pendingMatrix_.mnemonic.c_str(),
                       pendingMatrix_.nextRegister));
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
      pendingMatrix_ = {role, role == MatrixRole::pad2 ? 1 : 2, reg + 1, instruction.line, instruction.column, name};
    } else if (role == MatrixRole::last2 || role == MatrixRole::last3) {
      add(instruction, Code::matrixSequence,
          formatText("'%s' must follow %s", name.c_str(), role == MatrixRole::last2 ? "texm3x2pad" : "two texm3x3pad rows"));
    }
  }

  // --- ps.1.4 ----------------------------------------------------------------------------

  void checkPixel14(const Instruction& instruction) {
    const InstructionInfo& info = *instruction.info;
    std::string name = mnemonicOf(instruction);
    for (const SourceParameter& source : instruction.sources) {
      RegisterFile file = fileOf(source.type, source.number);
      if (file == RegisterFile::input && !secondPhase_)
        add(instruction, Code::registerNotReadable, "colour registers can be read in the second phase only");
      if (file == RegisterFile::texture && info.kind != InstructionClass::texture)
        add(instruction, Code::registerNotReadable, "texture registers are read by texld and texcrd only");
    }
    if (info.kind == InstructionClass::texture) {
      if (arithmeticSeen_)
        add(instruction, Code::textureAfterArithmetic,
            "texture instructions must come before the arithmetic ones of their phase");
      if (info.opcode == opcode::tex || info.opcode == opcode::texcoord) checkTextureLoad14(instruction);
      if (info.opcode == opcode::texdepth) {
        if (fileOf(instruction.destination.type, instruction.destination.number) != RegisterFile::temporary ||
            instruction.destination.number != depthRegister)
          add(instruction, Code::destinationRule, "texdepth works on r5 only");
        if (!secondPhase_) add(instruction, Code::phase, "texdepth belongs to the second phase");
      }
    }
    if (info.opcode == opcode::bem) {
      if (!hasPhase_ || secondPhase_) add(instruction, Code::phase, "bem belongs to the first phase");
      if (instruction.destination.mask.bits() != redGreenMask)
        add(instruction, Code::writeMaskNotAllowed, "bem writes .rg");
    }
  }

  void checkTextureLoad14(const Instruction& instruction) {
    bool isLoad = instruction.info->opcode == opcode::tex;
    std::uint8_t mask = instruction.destination.mask.bits();
    if (isLoad && mask != WriteMask::all)
      add(instruction, Code::writeMaskNotAllowed, "texld takes no write mask");
    if (!isLoad && mask != WriteMask::all && mask != colourMask && mask != redGreenMask)
      add(instruction, Code::writeMaskNotAllowed, "texcrd writes .rgb or .rg");
    if (instruction.sources.empty()) return;
    const SourceParameter& source = instruction.sources[0];
    RegisterFile file = fileOf(source.type, source.number);
    if (file == RegisterFile::texture) return;
    if (isLoad && file == RegisterFile::temporary) {
      if (!secondPhase_ || !hasPhase_)
        add(instruction, Code::sourceRule, "texld reads a temporary register in the second phase only");
      return;
    }
    add(instruction, Code::sourceRule,
        isLoad ? "texld reads a texture or temporary register" : "texcrd reads a texture register");
  }

  // --- Vertex shaders -----------------------------------------------------------------------

  void checkVertex(const Instruction& instruction) {
    if (!instruction.info->matrixRows) return;
    // The macros expand to several instructions; writing a register they
    // still read would change the later rows.
    const DestinationParameter& destination = instruction.destination;
    for (const SourceParameter& source : instruction.sources)
      if (source.type == destination.type && source.number == destination.number && !source.relative)
        add(instruction, Code::destinationRule,
            formatText("'%s' cannot write a register it reads", mnemonicOf(instruction).c_str()));
  }

  // --- Slots ------------------------------------------------------------------------------------

  void countSlots(const Instruction& instruction) {
    const InstructionInfo& info = *instruction.info;
    if (!isPixel()) {
      vertexSlots_ += info.vertexSlots;
      if (vertexSlots_ > vertexSlotLimit && !arithmeticReported_) {
        arithmeticReported_ = true;
        add(instruction, Code::instructionSlots,
            formatText("more than %d instruction slots used", vertexSlotLimit));
      }
      return;
    }
    // A co-issued instruction shares the slot of the one before it.
    if (!instruction.coIssued)
      arithmeticSlots_ += isPixel14() ? info.arithmeticSlots14 : info.arithmeticSlots13;
    textureSlots_ += info.textureSlots;
    int textureLimit = isPixel14() ? pixel14TextureLimit : pixel13TextureLimit;
    const char* where = isPixel14() ? " in one phase" : "";
    if (arithmeticSlots_ > pixelArithmeticLimit && !arithmeticReported_) {
      arithmeticReported_ = true;
      add(instruction, Code::instructionSlots,
          formatText("more than %d arithmetic instruction slots used%s", pixelArithmeticLimit, where));
    }
    if (textureSlots_ > textureLimit && !textureReported_) {
      textureReported_ = true;
      add(instruction, Code::instructionSlots,
          formatText("more than %d texture instructions used%s", textureLimit, where));
    }
  }

  const ShaderProgram& program_;
  DiagnosticList& diagnostics_;
  VersionBit version_;
  ShaderKind kind_;

  std::set<RegisterKey> written_;
  std::set<std::uint32_t> textureWritten_;  // ps.1.0-1.3 t# written by texture instructions
  PendingMatrix pendingMatrix_;
  bool arithmeticSeen_ = false;
  bool operationSeen_ = false;  // any arithmetic or texture instruction so far
  bool hasPhase_ = false;
  bool phaseSeen_ = false;
  bool secondPhase_ = false;
  int vertexSlots_ = 0;
  int arithmeticSlots_ = 0;
  int textureSlots_ = 0;
  bool arithmeticReported_ = false;
  bool textureReported_ = false;
};

}  // namespace

void validateShader(const ShaderProgram& program, DiagnosticList& diagnostics) {
  Validator(program, diagnostics).run();
}

}  // namespace veltrace::shader
