#include "render/shader/shader_disassembler.h"

#include <cstring>

#include "base/text.h"
#include "render/shader/register_set.h"
#include "render/shader/shader_encoder.h"

namespace veltrace::shader {

namespace {

char componentLetter(int component, ShaderKind kind) {
  static constexpr char vertexLetters[] = "xyzw";
  static constexpr char pixelLetters[] = "rgba";
  return (kind == ShaderKind::vertex ? vertexLetters : pixelLetters)[component & 3];
}

std::string registerText(RegisterType type, std::uint32_t number, bool relative, ShaderKind kind) {
  auto file = registerFileOf(type, number, kind);
  if (!file) return formatText("?%u", number);
  if (relative) return number == 0 ? "c[a0.x]" : formatText("c[a0.x + %u]", number);
  return registerName(*file, number);
}

std::string destinationText(const DestinationParameter& destination, ShaderKind kind) {
  std::string text = registerText(destination.type, destination.number, false, kind);
  if (destination.mask.bits() != WriteMask::all) {
    text += '.';
    for (int component = 0; component < 4; ++component)
      if (destination.mask.has(component)) text += componentLetter(component, kind);
  }
  return text;
}

std::string sourceText(const SourceParameter& source, ShaderKind kind) {
  std::string prefix;
  std::string suffix;
  switch (source.modifier) {
    case SourceModifier::none: break;
    case SourceModifier::negate: prefix = "-"; break;
    case SourceModifier::bias: suffix = "_bias"; break;
    case SourceModifier::biasNegate: prefix = "-"; suffix = "_bias"; break;
    case SourceModifier::signedScale: suffix = "_bx2"; break;
    case SourceModifier::signedScaleNegate: prefix = "-"; suffix = "_bx2"; break;
    case SourceModifier::complement: prefix = "1-"; break;
    case SourceModifier::times2: suffix = "_x2"; break;
    case SourceModifier::times2Negate: prefix = "-"; suffix = "_x2"; break;
    case SourceModifier::divideByZ: suffix = "_dz"; break;
    case SourceModifier::divideByW: suffix = "_dw"; break;
  }
  std::string text = prefix + registerText(source.type, source.number, source.relative, kind) + suffix;
  if (!source.swizzle.isIdentity()) {
    // The parser repeats the last component written, so trailing repeats
    // are left out: .xyzz prints as .xyz, .wwww as .w.
    int length = 4;
    while (length > 1 && source.swizzle.component(length - 1) == source.swizzle.component(length - 2)) --length;
    text += '.';
    for (int slot = 0; slot < length; ++slot) text += componentLetter(source.swizzle.component(slot), kind);
  }
  return text;
}

std::string valueText(std::uint32_t bits) {
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  // Nine significant digits read back to the same float.
  return formatText("%.9g", static_cast<double>(value));
}

std::string instructionText(const Instruction& instruction, ShaderKind kind) {
  const InstructionInfo& info = *instruction.info;
  std::string text = instruction.coIssued ? "+" : "";
  text += info.mnemonic;
  if (info.destinations) {
    static constexpr const char* shiftNames[] = {"_d8", "_d4", "_d2", "", "_x2", "_x4", "_x8"};
    int shift = instruction.destination.shift;
    if (shift >= -3 && shift <= 3)
      text += shiftNames[shift + 3];
    else
      text += formatText("_shift%d", shift);  // no assembler spelling exists
    if (instruction.destination.saturate) text += "_sat";
  }
  std::string operands;
  auto addOperand = [&](const std::string& operand) {
    operands += operands.empty() ? " " : ", ";
    operands += operand;
  };
  if (info.destinations) addOperand(destinationText(instruction.destination, kind));
  if (info.kind == InstructionClass::definition)
    for (std::uint32_t bits : instruction.values) addOperand(valueText(bits));
  for (const SourceParameter& source : instruction.sources) addOperand(sourceText(source, kind));
  return text + operands;
}

}  // namespace

std::string printShader(const ShaderProgram& program) {
  std::string text = program.version.name() + "\n";
  for (const Instruction& instruction : program.instructions)
    text += instructionText(instruction, program.version.kind) + "\n";
  return text;
}

DisassembleResult disassembleShader(std::span<const std::uint32_t> tokens) {
  DisassembleResult result;
  DecodeResult decoded = decodeShader(tokens);
  if (!decoded.program) {
    result.error = decoded.error;
    return result;
  }
  result.succeeded = true;
  result.text = printShader(*decoded.program);
  return result;
}

}  // namespace veltrace::shader
