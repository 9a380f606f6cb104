// The check while typing: errors at the lines to mark and the budget the
// validator counted.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "render/shader/shader_check.h"

namespace veltrace::shader {
namespace {

TEST(ShaderCheck, VertexShaderBudgetCountsMacroSlotsAndRegisters) {
  ShaderCheck check = checkShaderSource("vs.1.1\nm4x4 oPos, v0, c0\ndp3 r0, v3, c4\nmul r1, r0, c[a0.x + 10]\n"
                                        "mov a0.x, v1.x\nmov oD0, r1\n",
                                        ShaderKind::vertex);
  // a0 is read before it is written: the budget is there all the same.
  ASSERT_EQ(check.errors.size(), 1u);
  EXPECT_EQ(check.errors[0].line, 4);
  ASSERT_TRUE(check.budget);
  EXPECT_EQ(check.budget->version.name(), "vs.1.1");
  EXPECT_EQ(check.budget->instructionSlots, (SlotCount{8, 128}));
  EXPECT_EQ(check.budget->temporaryRegisters, (SlotCount{2, 12}));
  EXPECT_EQ(check.budget->constantRegisters, (SlotCount{6, 96}));
  EXPECT_TRUE(check.budget->phases.empty());
}

TEST(ShaderCheck, PixelShader14CountsEachPhaseOnItsOwn) {
  ShaderCheck check = checkShaderSource("ps.1.4\ndef c7, 0.5, 0.5, 0.5, 1\ntexld r0, t0\ntexld r1, t1\n"
                                        "mul r2, r0, c1\nphase\ntexld r3, r2\nmad r0, r3, r1, c7\n"
                                        "mul r0.rgb, r0, v0\n+mov r0.a, c7\n",
                                        ShaderKind::pixel);
  EXPECT_TRUE(check.errors.empty()) << check.errors[0].text;
  ASSERT_TRUE(check.budget);
  ASSERT_EQ(check.budget->phases.size(), 2u);
  EXPECT_EQ(check.budget->phases[0], (PhaseSlots{{1, 8}, {2, 6}}));
  EXPECT_EQ(check.budget->phases[1], (PhaseSlots{{2, 8}, {1, 6}}));  // the co-issued mov shares a slot
  EXPECT_EQ(check.budget->temporaryRegisters, (SlotCount{4, 6}));
  EXPECT_EQ(check.budget->constantRegisters, (SlotCount{2, 8}));
}

TEST(ShaderCheck, PixelShader11HasOnePhaseWithFourTextureSlots) {
  ShaderCheck check = checkShaderSource("ps.1.1\ntex t0\nmul r0, t0, v0\n", ShaderKind::pixel);
  ASSERT_TRUE(check.budget);
  ASSERT_EQ(check.budget->phases.size(), 1u);
  EXPECT_EQ(check.budget->phases[0], (PhaseSlots{{1, 8}, {1, 4}}));
}

TEST(ShaderCheck, ReportsOverBudgetAndStillCounts) {
  std::string source = "vs.1.1\n";
  for (int i = 0; i < 129; ++i) source += "mov oD0, v0\n";
  ShaderCheck check = checkShaderSource(source, ShaderKind::vertex);
  ASSERT_EQ(check.errors.size(), 1u);
  EXPECT_EQ(check.errors[0], (CheckError{130, "more than 128 instruction slots used"}));
  EXPECT_EQ(check.budget->instructionSlots, (SlotCount{129, 128}));
}

TEST(ShaderCheck, WrongKindAndFormErrorsCarryTheirLines) {
  ShaderCheck check = checkShaderSource("\nvs.1.1\nmvo r0, v0\n", ShaderKind::pixel);
  ASSERT_EQ(check.errors.size(), 2u);
  EXPECT_EQ(check.errors[0], (CheckError{2, "a pixel shader (ps.1.x) is expected here"}));
  EXPECT_EQ(check.errors[1], (CheckError{3, "unknown instruction 'mvo'"}));

  ShaderCheck noVersion = checkShaderSource("mov r0, v0", ShaderKind::vertex);
  EXPECT_FALSE(noVersion.budget);
  EXPECT_EQ(noVersion.errors.size(), 1u);
}

TEST(ShaderCheck, ErrorInAnIncludedFileIsShownAtTheIncludeLine) {
  struct OneFile : IncludeFileReader {
    std::optional<std::string> read(const std::string& path) const override {
      if (path == "shaders\\lib.inc") return std::string("\nmvo r0, v0\n");
      return std::nullopt;
    }
  } reader;
  PreprocessOptions options;
  options.includeFolders = {"shaders"};
  options.reader = &reader;
  ShaderCheck check = checkShaderSource("vs.1.1\n\n#include \"lib.inc\"\n", ShaderKind::vertex, options);
  ASSERT_EQ(check.errors.size(), 1u);
  EXPECT_EQ(check.errors[0], (CheckError{3, "shaders\\lib.inc(2): unknown instruction 'mvo'"}));
}

}  // namespace
}  // namespace veltrace::shader
