#include "render/shader/register_set.h"

#include <array>

namespace veltrace::shader {

namespace {

using enum RegisterFile;

constexpr std::array files = {
    RegisterFileInfo{RegisterFile::temporary, "r", true, ShaderKind::vertex, true, RegisterType::temporary, 0},
    RegisterFileInfo{RegisterFile::input, "v", true, ShaderKind::vertex, true, RegisterType::input, 0},
    RegisterFileInfo{RegisterFile::constant, "c", true, ShaderKind::vertex, true, RegisterType::constant, 0},
    RegisterFileInfo{address, "a", true, ShaderKind::vertex, false, RegisterType::addressOrTexture, 0},
    RegisterFileInfo{texture, "t", true, ShaderKind::pixel, false, RegisterType::addressOrTexture, 0},
    RegisterFileInfo{position, "oPos", false, ShaderKind::vertex, false, RegisterType::rasterizerOutput, outputPosition},
    RegisterFileInfo{fog, "oFog", false, ShaderKind::vertex, false, RegisterType::rasterizerOutput, outputFog},
    RegisterFileInfo{pointSize, "oPts", false, ShaderKind::vertex, false, RegisterType::rasterizerOutput, outputPointSize},
    RegisterFileInfo{colorOutput, "oD", true, ShaderKind::vertex, false, RegisterType::attributeOutput, 0},
    RegisterFileInfo{textureOutput, "oT", true, ShaderKind::vertex, false, RegisterType::textureCoordinateOutput, 0},
};

// versions, file, count, read ports, readable, writable
constexpr std::array rules = {
    RegisterRule{anyVertex, RegisterFile::temporary, 12, 3, true, true},
    RegisterRule{anyVertex, RegisterFile::input, 16, 1, true, false},
    RegisterRule{anyVertex, RegisterFile::constant, 96, 1, true, false},
    // a0 came with vs.1.1; it is written by mov and read only through
    // relative addressing.
    RegisterRule{vs11, address, 1, 1, false, true},
    RegisterRule{anyVertex, position, 1, 0, false, true},
    RegisterRule{anyVertex, fog, 1, 0, false, true},
    RegisterRule{anyVertex, pointSize, 1, 0, false, true},
    RegisterRule{anyVertex, colorOutput, 2, 0, false, true},
    RegisterRule{anyVertex, textureOutput, 8, 0, false, true},

    RegisterRule{ps10to13, RegisterFile::temporary, 2, 2, true, true},
    RegisterRule{ps10 | ps11, texture, 4, 2, true, true},
    RegisterRule{ps12 | ps13, texture, 4, 3, true, true},
    RegisterRule{ps10to13, RegisterFile::constant, 8, 2, true, false},
    RegisterRule{ps10to13, RegisterFile::input, 2, 2, true, false},

    // ps.1.4: texture registers hold coordinates, read by texture
    // instructions only; colour registers exist in the second phase only.
    RegisterRule{ps14, RegisterFile::temporary, 6, 3, true, true},
    RegisterRule{ps14, texture, 6, 1, true, false},
    RegisterRule{ps14, RegisterFile::constant, 8, 2, true, false},
    RegisterRule{ps14, RegisterFile::input, 2, 2, true, false},
};

bool matchesKind(const RegisterFileInfo& info, ShaderKind kind) {
  return info.bothKinds || info.kind == kind;
}

bool equalsIgnoringCase(std::string_view lower, std::string_view spelling) {
  if (lower.size() != spelling.size()) return false;
  for (size_t i = 0; i < lower.size(); ++i) {
    char c = spelling[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

}  // namespace

const RegisterFileInfo* findRegisterFile(std::string_view lowerSpelling, ShaderKind kind) {
  for (const auto& info : files)
    if (matchesKind(info, kind) && equalsIgnoringCase(lowerSpelling, info.spelling)) return &info;
  return nullptr;
}

const RegisterFileInfo& registerFileInfo(RegisterFile file) {
  for (const auto& info : files)
    if (info.file == file) return info;
  return files[0];
}

std::optional<RegisterFile> registerFileOf(RegisterType type, std::uint32_t number, ShaderKind kind) {
  for (const auto& info : files) {
    if (!matchesKind(info, kind) || info.type != type) continue;
    if (!info.numbered && info.fixedNumber != number) continue;
    return info.file;
  }
  return std::nullopt;
}

const RegisterRule* findRegisterRule(RegisterFile file, VersionBit version) {
  for (const auto& rule : rules)
    if (rule.file == file && (rule.versions & version)) return &rule;
  return nullptr;
}

std::string registerName(RegisterFile file, std::uint32_t number) {
  const RegisterFileInfo& info = registerFileInfo(file);
  std::string name(info.spelling);
  if (info.numbered) name += std::to_string(number);
  return name;
}

}  // namespace veltrace::shader
