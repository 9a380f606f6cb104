#include "render/shader/shader_encoder.h"

#include "base/text.h"
#include "render/shader/register_set.h"

namespace veltrace::shader {

std::vector<std::uint32_t> encodeShader(const ShaderProgram& program) {
  std::vector<std::uint32_t> tokens;
  tokens.push_back(program.version.token());
  for (const Instruction& instruction : program.instructions) {
    const InstructionInfo& info = *instruction.info;
    std::uint32_t opcodeToken = (static_cast<std::uint32_t>(info.opcode) << opcodeShift) & opcodeMask;
    if (instruction.coIssued) opcodeToken |= coIssueBit;
    tokens.push_back(opcodeToken);
    if (info.destinations) tokens.push_back(instruction.destination.encode());
    if (info.kind == InstructionClass::definition)
      tokens.insert(tokens.end(), instruction.values.begin(), instruction.values.end());
    for (const SourceParameter& source : instruction.sources) tokens.push_back(source.encode());
  }
  tokens.push_back(endToken);
  return tokens;
}

namespace {

class TokenReader {
 public:
  explicit TokenReader(std::span<const std::uint32_t> tokens) : tokens_(tokens) {}

  bool atEnd() const { return at_ >= tokens_.size(); }
  size_t position() const { return at_; }
  std::uint32_t next() { return tokens_[at_++]; }
  size_t remaining() const { return tokens_.size() - at_; }
  void skip(size_t count) { at_ += count; }

 private:
  std::span<const std::uint32_t> tokens_;
  size_t at_ = 0;
};

bool knownRegister(RegisterType type, std::uint32_t number, ShaderKind kind) {
  return registerFileOf(type, number, kind).has_value();
}

}  // namespace

DecodeResult decodeShader(std::span<const std::uint32_t> tokens) {
  DecodeResult result;
  if (tokens.empty()) {
    result.error = "empty token stream";
    return result;
  }
  auto version = ShaderVersion::fromToken(tokens[0]);
  if (!version) {
    result.error = formatText("unknown version token 0x%08X", tokens[0]);
    return result;
  }
  ShaderProgram program;
  program.version = *version;
  program.versionLine = 1;
  TokenReader reader(tokens.subspan(1));
  for (;;) {
    if (reader.atEnd()) {
      result.error = "the token stream has no end token";
      return result;
    }
    int where = static_cast<int>(reader.position() + 1);
    std::uint32_t token = reader.next();
    if (token == endToken) break;
    if (isParameterToken(token)) {
      result.error = formatText("parameter token 0x%08X at token %d where an instruction belongs", token, where);
      return result;
    }
    std::uint16_t opcode = static_cast<std::uint16_t>((token & opcodeMask) >> opcodeShift);
    if (opcode == commentOpcode) {
      size_t length = (token & commentLengthMask) >> commentLengthShift;
      if (length > reader.remaining()) {
        result.error = formatText("comment at token %d runs past the end", where);
        return result;
      }
      reader.skip(length);
      continue;
    }
    const InstructionInfo* info = findInstruction(opcode, version->bit());
    if (!info) {
      result.error = formatText("unknown opcode %u at token %d for %s", opcode, where, version->name().c_str());
      return result;
    }
    Instruction instruction;
    instruction.info = info;
    instruction.line = static_cast<int>(program.instructions.size()) + 2;
    instruction.coIssued = (token & coIssueBit) != 0;
    size_t parameters = info->destinations + info->sources +
                        (info->kind == InstructionClass::definition ? definitionValueCount : 0);
    if (parameters > reader.remaining()) {
      result.error = formatText("'%s' at token %d runs past the end", std::string(info->mnemonic).c_str(), where);
      return result;
    }
    auto badParameter = [&](std::uint32_t parameter) {
      result.error = formatText("bad parameter token 0x%08X of '%s' at token %d", parameter,
                                std::string(info->mnemonic).c_str(), where);
      return result;
    };
    if (info->destinations) {
      std::uint32_t parameter = reader.next();
      instruction.destination = DestinationParameter::decode(parameter);
      if (!isParameterToken(parameter) ||
          !knownRegister(instruction.destination.type, instruction.destination.number, version->kind))
        return badParameter(parameter);
    }
    if (info->kind == InstructionClass::definition)
      for (auto& value : instruction.values) value = reader.next();
    for (int i = 0; i < info->sources; ++i) {
      std::uint32_t parameter = reader.next();
      SourceParameter source = SourceParameter::decode(parameter);
      if (!isParameterToken(parameter) || !knownRegister(source.type, source.number, version->kind) ||
          static_cast<std::uint8_t>(source.modifier) > highestSourceModifier)
        return badParameter(parameter);
      instruction.sources.push_back(source);
    }
    program.instructions.push_back(instruction);
  }
  result.program = std::move(program);
  return result;
}

}  // namespace veltrace::shader
