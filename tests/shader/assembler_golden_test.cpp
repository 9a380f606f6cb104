// Every golden source assembles to exactly its tokens, and its disassembly
// assembles to the same tokens again.

#include <gtest/gtest.h>

#include "render/shader/shader_assembler.h"
#include "render/shader/shader_disassembler.h"
#include "tests/shader/golden_shaders.h"

namespace veltrace::shader {
namespace {

std::string hexList(const std::vector<std::uint32_t>& tokens) {
  std::string text;
  char buffer[16];
  for (std::uint32_t token : tokens) {
    std::snprintf(buffer, sizeof buffer, "%08X ", token);
    text += buffer;
  }
  return text;
}

TEST(ShaderAssemblerGolden, EverySourceGivesItsExactTokens) {
  for (const auto& golden : test::goldenShaders()) {
    SCOPED_TRACE(golden.name);
    AssembleResult result = assembleShader(golden.source);
    EXPECT_TRUE(result.diagnostics.empty()) << result.errorText();
    EXPECT_EQ(hexList(result.tokens), hexList(golden.tokens));
  }
}

TEST(ShaderAssemblerGolden, DisassemblyReassemblesToTheSameTokens) {
  for (const auto& golden : test::goldenShaders()) {
    SCOPED_TRACE(golden.name);
    DisassembleResult text = disassembleShader(golden.tokens);
    ASSERT_TRUE(text.succeeded) << text.error;
    AssembleResult again = assembleShader(text.text);
    EXPECT_TRUE(again.diagnostics.empty()) << text.text << again.errorText();
    EXPECT_EQ(hexList(again.tokens), hexList(golden.tokens)) << text.text;
  }
}

TEST(ShaderAssemblerGolden, TheTablesCoverEveryInstructionOfEveryVersion) {
  // Each row of the instruction table must appear in some golden stream of a
  // version the row applies to, so a new row cannot go untested.
  for (const InstructionInfo& row : instructionTable()) {
    bool covered = false;
    for (const auto& golden : test::goldenShaders()) {
      auto version = ShaderVersion::fromToken(golden.tokens.front());
      if (!version || !(row.versions & version->bit())) continue;
      if (golden.source.find(std::string(row.mnemonic)) != std::string::npos) covered = true;
    }
    EXPECT_TRUE(covered) << row.mnemonic << " has no golden shader";
  }
}

TEST(ShaderAssemblerGolden, SkippingValidationStillEncodesTheSameTokens) {
  for (const auto& golden : test::goldenShaders()) {
    SCOPED_TRACE(golden.name);
    EXPECT_EQ(hexList(assembleShader(golden.source, assemblerSkipValidation).tokens), hexList(golden.tokens));
  }
}

}  // namespace
}  // namespace veltrace::shader
