#pragma once
// What every group of validation rules shares: the shader's version, where
// to report, and the masks and selectors the pixel versions speak of.

#include <string>

#include "render/shader/register_set.h"
#include "render/shader/shader_diagnostics.h"
#include "render/shader/shader_program.h"

namespace veltrace::shader {

constexpr std::uint8_t colourMask = WriteMask::x | WriteMask::y | WriteMask::z;
constexpr std::uint8_t alphaMask = WriteMask::w;
constexpr std::uint8_t redGreenMask = WriteMask::x | WriteMask::y;
constexpr Swizzle alphaReplicate = Swizzle::replicate(3);
constexpr Swizzle blueReplicate = Swizzle::replicate(2);
constexpr Swizzle xyzSelector = Swizzle::of(0, 1, 2, 2);
constexpr Swizzle xywSelector = Swizzle::of(0, 1, 3, 3);

class ValidationContext {
 public:
  ValidationContext(const ShaderProgram& program, DiagnosticList& diagnostics)
      : program_(program), diagnostics_(diagnostics) {}

  const ShaderProgram& program() const { return program_; }
  VersionBit version() const { return program_.version.bit(); }
  std::string versionName() const { return program_.version.name(); }
  bool isPixel() const { return program_.version.isPixel(); }
  bool isPixel14() const { return version() == ps14; }
  bool isPixelBefore14() const { return isPixel() && !isPixel14(); }

  RegisterFile fileOf(RegisterType type, std::uint32_t number) const {
    return registerFileOf(type, number, program_.version.kind).value_or(RegisterFile::temporary);
  }
  RegisterFile fileOf(const DestinationParameter& destination) const {
    return fileOf(destination.type, destination.number);
  }
  RegisterFile fileOf(const SourceParameter& source) const { return fileOf(source.type, source.number); }

  void add(const Instruction& instruction, DiagnosticCode code, std::string text) const {
    diagnostics_.add(instruction.line, instruction.column, code, std::move(text));
  }
  DiagnosticList& diagnostics() const { return diagnostics_; }

 private:
  const ShaderProgram& program_;
  DiagnosticList& diagnostics_;
};

inline std::string mnemonicOf(const Instruction& instruction) { return std::string(instruction.info->mnemonic); }

}  // namespace veltrace::shader
