// The disassembler's text, and its refusal of streams that are no shader.

#include <gtest/gtest.h>

#include "render/shader/shader_disassembler.h"

namespace veltrace::shader {
namespace {

TEST(ShaderDisassembler, PrintsModifiersMasksSelectorsAndRelativeAddresses) {
  DisassembleResult vertex = disassembleShader(std::vector<std::uint32_t>{
      0xFFFE0101, 0x00000001, 0xB0010000, 0x90000000, 0x00000005, 0x80070000, 0xA0E42005, 0x91C90001,
      0x00000051, 0xA00F0003, 0x3F800000, 0x00000000, 0x3EAAAAAB, 0xBF000000, 0x0000FFFF});
  ASSERT_TRUE(vertex.succeeded) << vertex.error;
  EXPECT_EQ(vertex.text,
            "vs.1.1\nmov a0.x, v0.x\nmul r0.xyz, c[a0.x + 5], -v1.yzxw\n"
            "def c3, 1, 0, 0.333333343, -0.5\n");

  DisassembleResult pixel = disassembleShader(std::vector<std::uint32_t>{
      0xFFFF0104, 0x00000042, 0x800F0000, 0xBAF40000, 0x00000005, 0x8E130002, 0x86FF0000, 0x83AA0000,
      0x40000001, 0x80080002, 0xA0FF0000, 0x0000FFFD, 0x0000FFFF});
  ASSERT_TRUE(pixel.succeeded) << pixel.error;
  EXPECT_EQ(pixel.text,
            "ps.1.4\ntexld r0, t0_dw.rga\nmul_d4_sat r2.rg, 1-r0.a, -r0_bias.b\n+mov r2.a, c0.a\nphase\n");
}

TEST(ShaderDisassembler, SkipsCommentBlocks) {
  DisassembleResult result = disassembleShader(
      std::vector<std::uint32_t>{0xFFFE0101, 0x0002FFFE, 0x12345678, 0x9ABCDEF0, 0x00000000, 0x0000FFFF});
  ASSERT_TRUE(result.succeeded) << result.error;
  EXPECT_EQ(result.text, "vs.1.1\nnop\n");
}

TEST(ShaderDisassembler, RefusesStreamsThatAreNoShader) {
  struct Case {
    const char* why;
    std::vector<std::uint32_t> tokens;
  };
  const Case cases[] = {
      {"empty", {}},
      {"unknown version", {0xFFFE0200, 0x0000FFFF}},
      {"no end token", {0xFFFE0101, 0x00000000}},
      {"unknown opcode", {0xFFFE0101, 0x00000063, 0x0000FFFF}},
      {"pixel opcode in a vertex shader", {0xFFFE0101, 0x00000042, 0xB00F0000, 0x0000FFFF}},
      {"instruction cut short", {0xFFFE0101, 0x00000002, 0x800F0000, 0x90E40000}},
      {"parameter where an instruction belongs", {0xFFFE0101, 0x800F0000, 0x0000FFFF}},
      {"instruction token where a parameter belongs", {0xFFFE0101, 0x00000001, 0x800F0000, 0x00000001, 0x0000FFFF}},
      {"register type no version has", {0xFFFF0101, 0x00000001, 0xC00F0000, 0x90E40000, 0x0000FFFF}},
      {"comment longer than the stream", {0xFFFE0101, 0x0010FFFE, 0x0000FFFF}},
      {"source modifier beyond the known ones", {0xFFFF0101, 0x00000001, 0x800F0000, 0x9FE40000, 0x0000FFFF}},
  };
  for (const Case& c : cases) {
    DisassembleResult result = disassembleShader(c.tokens);
    EXPECT_FALSE(result.succeeded) << c.why;
    EXPECT_FALSE(result.error.empty()) << c.why;
  }
}

}  // namespace
}  // namespace veltrace::shader
