#pragma once
// The registers of each shader version: how they are written in source, how
// they map to register types in tokens, how many there are, how many
// different ones one instruction may read (read ports), and which may be
// read or written.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "render/shader/shader_tokens.h"

namespace veltrace::shader {

enum class RegisterFile : std::uint8_t {
  temporary,      // r#
  input,          // v#
  constant,       // c#
  address,        // a0 (vertex)
  texture,        // t# (pixel)
  position,       // oPos
  fog,            // oFog
  pointSize,      // oPts
  colorOutput,    // oD#
  textureOutput,  // oT#
};

// How a register file is spelt and stored.
struct RegisterFileInfo {
  RegisterFile file;
  std::string_view spelling;  // as printed: "r", "oPos", "oD" ...
  bool numbered;              // a number follows the spelling
  ShaderKind kind;            // vertex or pixel; both for r, v, c
  bool bothKinds;
  RegisterType type;
  std::uint32_t fixedNumber;  // the token's number for oPos, oFog, oPts
};

// What a version allows of one register file.
struct RegisterRule {
  std::uint16_t versions;
  RegisterFile file;
  std::uint32_t count;
  std::uint8_t readPorts;  // different registers of the file per instruction
  bool readable;
  bool writable;
};

// The spelling of a register as the lexer sees it, lower case and without
// its number: "r", "opos", "od" ...; nothing when no register is spelt so.
const RegisterFileInfo* findRegisterFile(std::string_view lowerSpelling, ShaderKind kind);
const RegisterFileInfo& registerFileInfo(RegisterFile file);

// The register file of a token's type and number; nothing for pairs no
// version uses.
std::optional<RegisterFile> registerFileOf(RegisterType type, std::uint32_t number, ShaderKind kind);

// The rule of a register file in a version; nullptr when the version has no
// such registers.
const RegisterRule* findRegisterRule(RegisterFile file, VersionBit version);

// "r0", "c12", "oPos", "oT3", "a0", "t1".
std::string registerName(RegisterFile file, std::uint32_t number);

}  // namespace veltrace::shader
