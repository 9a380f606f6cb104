#include "render/shader/shader_tokens.h"

#include "base/text.h"

namespace veltrace::shader {

namespace {

std::uint32_t field(std::uint32_t value, std::uint32_t shift, std::uint32_t mask) {
  return (value << shift) & mask;
}

std::uint32_t extract(std::uint32_t token, std::uint32_t shift, std::uint32_t mask) {
  return (token & mask) >> shift;
}

std::uint32_t registerPart(RegisterType type, std::uint32_t number) {
  return parameterBit | field(static_cast<std::uint32_t>(type), registerTypeShift, registerTypeMask) |
         field(number, registerNumberShift, registerNumberMask);
}

}  // namespace

std::uint32_t DestinationParameter::encode() const {
  // The shift is a signed 4-bit field: _d2 is 0xF.
  std::uint32_t shiftBits = static_cast<std::uint32_t>(shift) & 0xFu;
  return registerPart(type, number) | field(mask.bits(), writeMaskShift, writeMaskMask) |
         field(saturate ? resultModifierSaturate : 0u, resultModifierShift, resultModifierMask) |
         field(shiftBits, resultShiftShift, resultShiftMask);
}

DestinationParameter DestinationParameter::decode(std::uint32_t token) {
  DestinationParameter parameter;
  parameter.type = static_cast<RegisterType>(extract(token, registerTypeShift, registerTypeMask));
  parameter.number = extract(token, registerNumberShift, registerNumberMask);
  parameter.mask = WriteMask(static_cast<std::uint8_t>(extract(token, writeMaskShift, writeMaskMask)));
  parameter.saturate =
      (extract(token, resultModifierShift, resultModifierMask) & resultModifierSaturate) != 0;
  int shiftBits = static_cast<int>(extract(token, resultShiftShift, resultShiftMask));
  parameter.shift = shiftBits >= 8 ? shiftBits - 16 : shiftBits;
  return parameter;
}

std::uint32_t SourceParameter::encode() const {
  return registerPart(type, number) | (relative ? relativeAddressingBit : 0u) |
         field(swizzle.bits(), swizzleShift, swizzleMask) |
         field(static_cast<std::uint32_t>(modifier), sourceModifierShift, sourceModifierMask);
}

SourceParameter SourceParameter::decode(std::uint32_t token) {
  SourceParameter parameter;
  parameter.type = static_cast<RegisterType>(extract(token, registerTypeShift, registerTypeMask));
  parameter.number = extract(token, registerNumberShift, registerNumberMask);
  parameter.relative = (token & relativeAddressingBit) != 0;
  parameter.swizzle = Swizzle(static_cast<std::uint8_t>(extract(token, swizzleShift, swizzleMask)));
  parameter.modifier =
      static_cast<SourceModifier>(extract(token, sourceModifierShift, sourceModifierMask));
  return parameter;
}

std::uint32_t ShaderVersion::token() const {
  std::uint32_t kindBits = kind == ShaderKind::vertex ? vertexShaderKind : pixelShaderKind;
  return field(kindBits, versionKindShift, versionKindMask) |
         field(static_cast<std::uint32_t>(major), versionMajorShift, versionMajorMask) |
         field(static_cast<std::uint32_t>(minor), versionMinorShift, versionMinorMask);
}

VersionBit ShaderVersion::bit() const {
  if (kind == ShaderKind::vertex) return minor == 0 ? vs10 : vs11;
  switch (minor) {
    case 0: return ps10;
    case 1: return ps11;
    case 2: return ps12;
    case 3: return ps13;
    default: return ps14;
  }
}

std::string ShaderVersion::name() const {
  return formatText("%s.%d.%d", kind == ShaderKind::vertex ? "vs" : "ps", major, minor);
}

namespace {

bool isKnown(const ShaderVersion& version) {
  if (version.major != 1) return false;
  int highestMinor = version.kind == ShaderKind::vertex ? 1 : 4;
  return version.minor >= 0 && version.minor <= highestMinor;
}

}  // namespace

std::optional<ShaderVersion> ShaderVersion::fromToken(std::uint32_t token) {
  std::uint32_t kindBits = extract(token, versionKindShift, versionKindMask);
  if (kindBits != vertexShaderKind && kindBits != pixelShaderKind) return std::nullopt;
  ShaderVersion version;
  version.kind = kindBits == vertexShaderKind ? ShaderKind::vertex : ShaderKind::pixel;
  version.major = static_cast<int>(extract(token, versionMajorShift, versionMajorMask));
  version.minor = static_cast<int>(extract(token, versionMinorShift, versionMinorMask));
  if (!isKnown(version)) return std::nullopt;
  return version;
}

std::optional<ShaderVersion> ShaderVersion::fromName(std::string_view name) {
  // Exactly six characters: two letters, separator, digit, separator, digit,
  // with both separators the same ('.' or '_').
  std::string text = toLowerAscii(name);
  if (text.size() != 6) return std::nullopt;
  ShaderVersion version;
  if (text.compare(0, 2, "vs") == 0) {
    version.kind = ShaderKind::vertex;
  } else if (text.compare(0, 2, "ps") == 0) {
    version.kind = ShaderKind::pixel;
  } else {
    return std::nullopt;
  }
  char separator = text[2];
  if ((separator != '.' && separator != '_') || text[4] != separator) return std::nullopt;
  if (text[3] < '0' || text[3] > '9' || text[5] < '0' || text[5] > '9') return std::nullopt;
  version.major = text[3] - '0';
  version.minor = text[5] - '0';
  if (!isKnown(version)) return std::nullopt;
  return version;
}

}  // namespace veltrace::shader
