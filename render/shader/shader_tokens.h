#pragma once
// The Direct3D 8 shader token stream, bit by bit, and small value types for
// the pieces an instruction is made of. Everything that packs or unpacks a
// token goes through the named shifts and masks below.
//
// A shader is a sequence of 32-bit tokens:
//   version token, { instruction token, parameter tokens... }, end token.
// Shader model 1 instruction tokens carry no length: the reader knows the
// parameter count of each opcode from the instruction table.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrace::shader {

// --- Version token ---------------------------------------------------------
// bits 0-7 minor version, bits 8-15 major version, bits 16-31 the kind:
// 0xFFFE vertex shader, 0xFFFF pixel shader.
constexpr std::uint32_t versionMinorShift = 0;
constexpr std::uint32_t versionMinorMask = 0x000000FFu;
constexpr std::uint32_t versionMajorShift = 8;
constexpr std::uint32_t versionMajorMask = 0x0000FF00u;
constexpr std::uint32_t versionKindShift = 16;
constexpr std::uint32_t versionKindMask = 0xFFFF0000u;
constexpr std::uint32_t vertexShaderKind = 0xFFFEu;
constexpr std::uint32_t pixelShaderKind = 0xFFFFu;

// --- Instruction token -----------------------------------------------------
// bits 0-15 opcode, bits 16-23 opcode-specific controls (unused by shader
// model 1), bit 30 co-issue (the instruction runs in the same slot as the one
// before it), bit 31 always 0 (it tells instruction from parameter tokens).
constexpr std::uint32_t opcodeShift = 0;
constexpr std::uint32_t opcodeMask = 0x0000FFFFu;
constexpr std::uint32_t opcodeControlShift = 16;
constexpr std::uint32_t opcodeControlMask = 0x00FF0000u;
constexpr std::uint32_t coIssueBit = 0x40000000u;

// Comment tokens: opcode 0xFFFE, bits 16-30 the number of comment tokens
// that follow.
constexpr std::uint32_t commentOpcode = 0xFFFEu;
constexpr std::uint32_t commentLengthShift = 16;
constexpr std::uint32_t commentLengthMask = 0x7FFF0000u;

constexpr std::uint32_t phaseOpcode = 0xFFFDu;
constexpr std::uint32_t endToken = 0x0000FFFFu;

// --- Parameter tokens (destination and source) ------------------------------
// bits 0-10 register number, bit 13 relative addressing (vertex shader
// constants, offset by a0.x), bits 28-30 register type, bit 31 always 1.
constexpr std::uint32_t parameterBit = 0x80000000u;
constexpr std::uint32_t registerNumberShift = 0;
constexpr std::uint32_t registerNumberMask = 0x000007FFu;
constexpr std::uint32_t relativeAddressingBit = 0x00002000u;
constexpr std::uint32_t registerTypeShift = 28;
constexpr std::uint32_t registerTypeMask = 0x70000000u;

// Destination only: bits 16-19 write mask (x y z w), bits 20-23 result
// modifier (1 = saturate), bits 24-27 result shift as a signed 4-bit number
// (1 = _x2, 2 = _x4, 3 = _x8, -1 = _d2, -2 = _d4, -3 = _d8).
constexpr std::uint32_t writeMaskShift = 16;
constexpr std::uint32_t writeMaskMask = 0x000F0000u;
constexpr std::uint32_t resultModifierShift = 20;
constexpr std::uint32_t resultModifierMask = 0x00F00000u;
constexpr std::uint32_t resultModifierSaturate = 1;
constexpr std::uint32_t resultShiftShift = 24;
constexpr std::uint32_t resultShiftMask = 0x0F000000u;

// Source only: bits 16-23 swizzle (2 bits per component, x first), bits 24-27
// source modifier.
constexpr std::uint32_t swizzleShift = 16;
constexpr std::uint32_t swizzleMask = 0x00FF0000u;
constexpr std::uint32_t sourceModifierShift = 24;
constexpr std::uint32_t sourceModifierMask = 0x0F000000u;

// Register types as the token stores them. Type 3 is a0 in vertex shaders
// and the texture registers t# in pixel shaders.
enum class RegisterType : std::uint8_t {
  temporary = 0,               // r#
  input = 1,                   // v#
  constant = 2,                // c#
  addressOrTexture = 3,        // a0 (vertex), t# (pixel)
  rasterizerOutput = 4,        // oPos, oFog, oPts
  attributeOutput = 5,         // oD0, oD1
  textureCoordinateOutput = 6  // oT0..oT7
};

// Register numbers of the rasterizer outputs.
constexpr std::uint32_t outputPosition = 0;
constexpr std::uint32_t outputFog = 1;
constexpr std::uint32_t outputPointSize = 2;

enum class SourceModifier : std::uint8_t {
  none = 0,
  negate = 1,
  bias = 2,               // _bias
  biasNegate = 3,         // -r_bias
  signedScale = 4,        // _bx2
  signedScaleNegate = 5,  // -r_bx2
  complement = 6,         // 1-r
  times2 = 7,             // _x2 (ps.1.4)
  times2Negate = 8,       // -r_x2
  divideByZ = 9,          // _dz / _db (ps.1.4 texld, texcrd)
  divideByW = 10          // _dw / _da
};
constexpr std::uint8_t highestSourceModifier = 10;

// Four write mask bits, x in bit 0.
class WriteMask {
 public:
  static constexpr std::uint8_t x = 1, y = 2, z = 4, w = 8, all = 15;
  constexpr WriteMask() = default;
  constexpr explicit WriteMask(std::uint8_t bits) : bits_(bits & all) {}
  constexpr std::uint8_t bits() const { return bits_; }
  constexpr bool has(int component) const { return (bits_ >> component) & 1; }
  constexpr bool operator==(const WriteMask&) const = default;

 private:
  std::uint8_t bits_ = all;
};

// Four 2-bit component selectors, the one for x in bits 0-1.
class Swizzle {
 public:
  static constexpr std::uint8_t identityBits = 0xE4;  // x y z w
  constexpr Swizzle() = default;
  constexpr explicit Swizzle(std::uint8_t bits) : bits_(bits) {}
  static constexpr Swizzle of(int c0, int c1, int c2, int c3) {
    return Swizzle(static_cast<std::uint8_t>(c0 | (c1 << 2) | (c2 << 4) | (c3 << 6)));
  }
  static constexpr Swizzle replicate(int c) { return of(c, c, c, c); }
  constexpr std::uint8_t bits() const { return bits_; }
  constexpr int component(int slot) const { return (bits_ >> (2 * slot)) & 3; }
  constexpr bool isIdentity() const { return bits_ == identityBits; }
  // One component selected for all four slots (.r .g .b .a, .x ...).
  constexpr bool isReplicate() const { return bits_ == replicate(component(0)).bits(); }
  constexpr bool operator==(const Swizzle&) const = default;

 private:
  std::uint8_t bits_ = identityBits;
};

struct DestinationParameter {
  RegisterType type = RegisterType::temporary;
  std::uint32_t number = 0;
  WriteMask mask;
  bool saturate = false;
  int shift = 0;  // -3 (_d8) .. 3 (_x8)

  std::uint32_t encode() const;
  static DestinationParameter decode(std::uint32_t token);
  bool operator==(const DestinationParameter&) const = default;
};

struct SourceParameter {
  RegisterType type = RegisterType::temporary;
  std::uint32_t number = 0;
  Swizzle swizzle;
  SourceModifier modifier = SourceModifier::none;
  bool relative = false;  // c[a0.x + number]

  std::uint32_t encode() const;
  static SourceParameter decode(std::uint32_t token);
  bool operator==(const SourceParameter&) const = default;
};

inline bool isParameterToken(std::uint32_t token) { return (token & parameterBit) != 0; }

// --- Versions ----------------------------------------------------------------

enum class ShaderKind : std::uint8_t { vertex, pixel };

// One bit per supported version, so that tables can list where a row applies.
enum VersionBit : std::uint16_t {
  vs10 = 1 << 0,
  vs11 = 1 << 1,
  ps10 = 1 << 2,
  ps11 = 1 << 3,
  ps12 = 1 << 4,
  ps13 = 1 << 5,
  ps14 = 1 << 6,
};
constexpr std::uint16_t anyVertex = vs10 | vs11;
constexpr std::uint16_t ps10to13 = ps10 | ps11 | ps12 | ps13;
constexpr std::uint16_t anyPixel = ps10to13 | ps14;

struct ShaderVersion {
  ShaderKind kind = ShaderKind::vertex;
  int major = 1;
  int minor = 1;

  std::uint32_t token() const;
  VersionBit bit() const;
  bool isPixel() const { return kind == ShaderKind::pixel; }
  // "vs.1.1", "ps.1.4"
  std::string name() const;
  bool operator==(const ShaderVersion&) const = default;

  // Only the versions this assembler knows: vs.1.0, vs.1.1, ps.1.0 to ps.1.4.
  static std::optional<ShaderVersion> fromToken(std::uint32_t token);
  // "vs.1.1" or "vs_1_1", any case.
  static std::optional<ShaderVersion> fromName(std::string_view name);
};

}  // namespace veltrace::shader
