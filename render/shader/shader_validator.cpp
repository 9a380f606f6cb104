#include "render/shader/shader_validator.h"

#include <map>
#include <set>
#include <utility>

#include "base/text.h"
#include "render/shader/texture_rules.h"
#include "render/shader/validation_context.h"

namespace veltrace::shader {

namespace {

using Code = DiagnosticCode;

constexpr int vertexSlotLimit = 128;
constexpr int pixelArithmeticLimit = 8;
constexpr int pixelBefore14TextureLimit = 4;
constexpr int pixel14TextureLimit = 6;
constexpr int maxCmpBefore14 = 3;  // ps.1.2 and ps.1.3
constexpr int maxDivideByZ = 2;

using RegisterKey = std::pair<RegisterFile, std::uint32_t>;

// Walks the instructions once, checking the rules every version has
// (registers, read ports, modifiers, masks, selectors, co-issue, slots) and
// handing texture instructions to the rules of their pixel version.
class Validator {
 public:
  Validator(const ShaderProgram& program, DiagnosticList& diagnostics)
      : program_(program), diagnostics_(diagnostics), context_(program, diagnostics),
        version_(program.version.bit()), textureOrder_(context_),
        phases_(context_, hasPhaseMarker(program)) {}

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
    if (context_.isPixelBefore14()) textureOrder_.finish();
  }

  // The slots counted by run(), against the limits the checks use.
  void reportSlots(ShaderBudget& budget) const {
    budget.version = program_.version;
    budget.phases.clear();
    if (!isPixel()) {
      budget.instructionSlots = {vertexSlots_, vertexSlotLimit};
      return;
    }
    int textureLimit = isPixel14() ? pixel14TextureLimit : pixelBefore14TextureLimit;
    if (phaseSeen_)
      budget.phases.push_back({{firstPhaseArithmeticSlots_, pixelArithmeticLimit}, {firstPhaseTextureSlots_, textureLimit}});
    budget.phases.push_back({{arithmeticSlots_, pixelArithmeticLimit}, {textureSlots_, textureLimit}});
  }

 private:
  static bool hasPhaseMarker(const ShaderProgram& program) {
    for (const Instruction& instruction : program.instructions)
      if (instruction.info->kind == InstructionClass::phase) return true;
    return false;
  }

  void add(const Instruction& instruction, Code code, std::string text) {
    context_.add(instruction, code, std::move(text));
  }
  bool isPixel() const { return context_.isPixel(); }
  bool isPixel14() const { return context_.isPixel14(); }
  bool isPixelBefore14() const { return context_.isPixelBefore14(); }
  RegisterFile fileOf(RegisterType type, std::uint32_t number) const { return context_.fileOf(type, number); }

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
    phases_.enterSecondPhase();
    firstPhaseArithmeticSlots_ = arithmeticSlots_;
    firstPhaseTextureSlots_ = textureSlots_;
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
    // dp4 runs in the colour and the alpha pipe at once; bem takes two slots.
    for (const Instruction* member : {previous, &instruction}) {
      std::uint16_t op = member->info->opcode;
      if (op == opcode::dp4 || op == opcode::bem) {
        add(instruction, Code::coIssue, formatText("'%s' cannot be co-issued", mnemonicOf(*member).c_str()));
        return;
      }
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
    if (isPixelBefore14()) {
      checkPixelBefore14Operands(instruction);
      textureOrder_.check(instruction);
    }
    if (isPixel14()) phases_.check(instruction);
    if (!isPixel()) checkVertex(instruction);
    countSlots(instruction);
    countLimitedInstructions(instruction);
    // Writes take effect after the reads of the same instruction.
    if (info.destinations && info.opcode != opcode::texkill) {  // texkill only reads
      RegisterFile file = fileOf(instruction.destination.type, instruction.destination.number);
      written_.insert({file, instruction.destination.number});
    }
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
      bool tracked = file == RegisterFile::temporary || (isPixelBefore14() && file == RegisterFile::texture);
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
    } else if (isPixelBefore14() && (destination.shift > 2 || destination.shift < -1)) {
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
      if (!divide) {
        reject("texld and texcrd take only the _dz and _dw modifiers");
      } else if (modifier == SourceModifier::divideByZ &&
                 (info.opcode != opcode::tex || fileOf(source.type, source.number) != RegisterFile::temporary)) {
        reject("_dz divides only the coordinates texld reads from a temporary register");
      } else if (modifier == SourceModifier::divideByZ && ++divideByZCount_ == maxDivideByZ + 1) {
        reject("_dz can be used twice in a shader");
      }
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

  void checkWriteMaskPixelBefore14(const Instruction& instruction) {
    std::uint8_t mask = instruction.destination.mask.bits();
    if (instruction.info->kind == InstructionClass::texture) {
      if (mask != WriteMask::all) add(instruction, Code::writeMaskNotAllowed, "texture instructions take no write mask");
    } else if (mask != WriteMask::all && mask != colourMask && mask != alphaMask) {
      add(instruction, Code::writeMaskNotAllowed,
          formatText("%s write masks are .rgba, .rgb and .a", program_.version.name().c_str()));
    } else if (instruction.info->opcode == opcode::dp3 && mask == alphaMask) {
      // dp3 runs in the colour pipe only.
      add(instruction, Code::writeMaskNotAllowed,
          formatText("dp3 writes .rgb or .rgba in %s", program_.version.name().c_str()));
    }
  }

  // Masks and the cnd condition before ps.1.4.
  void checkPixelBefore14Operands(const Instruction& instruction) {
    const InstructionInfo& info = *instruction.info;
    if (info.destinations) checkWriteMaskPixelBefore14(instruction);
    if (info.opcode == opcode::cmp) {
      const DestinationParameter& destination = instruction.destination;
      for (const SourceParameter& source : instruction.sources)
        if (source.type == destination.type && source.number == destination.number) {
          add(instruction, Code::destinationRule,
              formatText("cmp cannot write one of its sources in %s", program_.version.name().c_str()));
          break;
        }
    }
    // Before ps.1.4 the condition of cnd comes from r0.a only.
    if (info.opcode == opcode::cnd && !instruction.sources.empty()) {
      const SourceParameter& condition = instruction.sources[0];
      if (fileOf(condition.type, condition.number) != RegisterFile::temporary || condition.number != 0 ||
          condition.swizzle != alphaReplicate)
        add(instruction, Code::sourceRule, "the condition of cnd must be r0.a");
    }
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

  // --- Instructions a shader may use only a few times ----------------------------------

  void countLimitedInstructions(const Instruction& instruction) {
    std::uint16_t op = instruction.info->opcode;
    if (op == opcode::cmp && isPixelBefore14() && ++cmpCount_ == maxCmpBefore14 + 1)
      add(instruction, Code::instructionSlots,
          formatText("%s allows %d cmp instructions", program_.version.name().c_str(), maxCmpBefore14));
    if (op == opcode::bem && ++bemCount_ == 2)
      add(instruction, Code::instructionSlots, "bem can be used once in a shader");
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
      arithmeticSlots_ += isPixel14() ? info.arithmeticSlots14 : info.arithmeticSlotsBefore14;
    textureSlots_ += info.textureSlots;
    int textureLimit = isPixel14() ? pixel14TextureLimit : pixelBefore14TextureLimit;
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
  ValidationContext context_;
  VersionBit version_;
  TextureOrderRules textureOrder_;  // ps.1.0-1.3
  PhaseRules phases_;               // ps.1.4

  std::set<RegisterKey> written_;
  bool operationSeen_ = false;  // any arithmetic or texture instruction so far
  bool phaseSeen_ = false;
  int vertexSlots_ = 0;
  int cmpCount_ = 0;
  int bemCount_ = 0;
  int divideByZCount_ = 0;
  int arithmeticSlots_ = 0;
  int textureSlots_ = 0;
  int firstPhaseArithmeticSlots_ = 0;  // ps.1.4: the counts before the phase marker
  int firstPhaseTextureSlots_ = 0;
  bool arithmeticReported_ = false;
  bool textureReported_ = false;
};

}  // namespace

void validateShader(const ShaderProgram& program, DiagnosticList& diagnostics, ShaderBudget* budget) {
  Validator validator(program, diagnostics);
  validator.run();
  if (budget) {
    validator.reportSlots(*budget);
    countRegistersUsed(program, *budget);
  }
}

}  // namespace veltrace::shader
