// Validate vertex shader and validate pixel shader: the message log lines
// the shader panes rely on.

#include <gtest/gtest.h>

#include "render/shader/shader_validation.h"

namespace veltrace::shader {
namespace {

using Lines = std::vector<std::string>;

TEST(ShaderValidationLog, ValidVertexShaderSaysSo) {
  MessageLog log;
  EXPECT_TRUE(validateVertexShader("vs.1.1\nm4x4 oPos, v0, c0\n", 0, log));
  EXPECT_EQ(log.takePending(), Lines{"Vertex Shader is valid !!"});
}

TEST(ShaderValidationLog, FailingVertexShaderNamesEachErrorLine) {
  MessageLog log;
  EXPECT_FALSE(validateVertexShader("vs.1.1\nmov oPos, v0\nmvo r0, v0\nmov r0, v99\n", 0, log));
  EXPECT_EQ(log.takePending(), (Lines{"Error : Failed to assemble Vertex Shader !",
                                      "Error in Line (3): error: unknown instruction 'mvo'",
                                      "Error in Line (4): error: register v99 is out of range for vs.1.1"}));
}

TEST(ShaderValidationLog, FlagSixteenSkipsValidationOnly) {
  const char* source = "vs.1.1\nmov r12, v0\n";
  MessageLog log;
  EXPECT_FALSE(validateVertexShader(source, 0, log));
  EXPECT_TRUE(validateVertexShader(source, 16, log));
  Lines lines = log.takePending();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines.back(), "Vertex Shader is valid !!");
}

TEST(ShaderValidationLog, PixelShaderTexts) {
  MessageLog log;
  EXPECT_TRUE(validatePixelShader("ps.1.1\ntex t0\nmov r0, t0\n", log));
  EXPECT_FALSE(validatePixelShader("ps.1.1\nmov r0, t0\n", log));
  EXPECT_EQ(log.takePending(), (Lines{"Pixel Shader is valid !!", "Failed to assemble Pixel Shader !",
                                      "Error in Line (2): error: register t0 is read before it is written"}));
}

TEST(ShaderValidationLog, AVertexSourceIsNoPixelShader) {
  MessageLog log;
  EXPECT_FALSE(validatePixelShader("vs.1.1\nmov oPos, v0\n", log));
  Lines lines = log.takePending();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Failed to assemble Pixel Shader !");
}

}  // namespace
}  // namespace veltrace::shader
