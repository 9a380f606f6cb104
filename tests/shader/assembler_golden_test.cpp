// Every golden source assembles to exactly its tokens, and its disassembly
// assembles to the same tokens again.

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "base/text.h"
#include "render/shader/instruction_set.h"

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
  for (const auto& golden : test::goldenShadersInEveryVersion()) {
    SCOPED_TRACE(golden.name);
    AssembleResult result = assembleShader(golden.source);
    EXPECT_TRUE(result.diagnostics.empty()) << result.errorText();
    EXPECT_EQ(hexList(result.tokens), hexList(golden.tokens));
  }
}

TEST(ShaderAssemblerGolden, DisassemblyReassemblesToTheSameTokens) {
  for (const auto& golden : test::goldenShadersInEveryVersion()) {
    SCOPED_TRACE(golden.name);
    DisassembleResult text = disassembleShader(golden.tokens);
    ASSERT_TRUE(text.succeeded) << text.error;
    AssembleResult again = assembleShader(text.text);
    EXPECT_TRUE(again.diagnostics.empty()) << text.text << again.errorText();
    EXPECT_EQ(hexList(again.tokens), hexList(golden.tokens)) << text.text;
  }
}

// The instruction names used by a source: the first word of each line after
// the version, without a co-issue '+' and without modifiers.
std::set<std::string> mnemonicsOf(const std::string& source) {
  std::set<std::string> names;
  std::istringstream lines(source);
  std::string line;
  std::getline(lines, line);  // the version
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    if (word[0] == '+') word.erase(0, 1);
    word = toLowerAscii(word.substr(0, word.find('_')));
    if (!word.empty() && word[0] != ';' && word[0] != '/') names.insert(word);
  }
  return names;
}

TEST(ShaderAssemblerGolden, TheTablesCoverEveryInstructionInEveryVersion) {
  // Each row of the instruction table must appear in a golden shader of each
  // version it applies to, so a new row or version cannot go untested.
  const VersionBit versions[] = {vs10, vs11, ps10, ps11, ps12, ps13, ps14};
  for (const InstructionInfo& row : instructionTable()) {
    for (VersionBit version : versions) {
      if (!(row.versions & version)) continue;
      bool covered = false;
      for (const auto& golden : test::goldenShadersInEveryVersion()) {
        auto goldenVersion = ShaderVersion::fromToken(golden.tokens.front());
        if (goldenVersion && goldenVersion->bit() == version &&
            mnemonicsOf(golden.source).count(std::string(row.mnemonic)))
          covered = true;
      }
      EXPECT_TRUE(covered) << row.mnemonic << " has no golden shader for version bit " << version;
    }
  }
}

TEST(ShaderAssemblerGolden, SkippingValidationStillEncodesTheSameTokens) {
  for (const auto& golden : test::goldenShadersInEveryVersion()) {
    SCOPED_TRACE(golden.name);
    EXPECT_EQ(hexList(assembleShader(golden.source, assemblerSkipValidation).tokens), hexList(golden.tokens));
  }
}

}  // namespace
}  // namespace veltrace::shader
