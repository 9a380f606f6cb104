// The token value types: every field lands in its bits and reads back.

#include <gtest/gtest.h>

#include "render/shader/shader_tokens.h"

namespace veltrace::shader {
namespace {

TEST(ShaderTokens, DestinationFieldsRoundTripThroughTheirBits) {
  for (int shift = -3; shift <= 3; ++shift) {
    for (bool saturate : {false, true}) {
      DestinationParameter destination;
      destination.type = RegisterType::textureCoordinateOutput;
      destination.number = 7;
      destination.mask = WriteMask(WriteMask::x | WriteMask::w);
      destination.saturate = saturate;
      destination.shift = shift;
      std::uint32_t token = destination.encode();
      EXPECT_EQ(token & parameterBit, parameterBit);
      EXPECT_EQ(DestinationParameter::decode(token), destination) << "shift " << shift;
    }
  }
  DestinationParameter halved;
  halved.shift = -1;
  EXPECT_EQ(halved.encode(), 0x8F0F0000u);
}

TEST(ShaderTokens, SourceFieldsRoundTripThroughTheirBits) {
  SourceParameter source;
  source.type = RegisterType::constant;
  source.number = 2047;
  source.relative = true;
  source.swizzle = Swizzle::of(3, 2, 1, 0);
  source.modifier = SourceModifier::divideByW;
  EXPECT_EQ(source.encode(), 0xAA1B27FFu);
  EXPECT_EQ(SourceParameter::decode(source.encode()), source);
}

TEST(ShaderTokens, SwizzleKnowsIdentityAndReplicates) {
  EXPECT_TRUE(Swizzle().isIdentity());
  EXPECT_TRUE(Swizzle::replicate(3).isReplicate());
  EXPECT_EQ(Swizzle::replicate(3).bits(), 0xFF);
  EXPECT_FALSE(Swizzle::of(0, 1, 2, 2).isReplicate());
  EXPECT_EQ(Swizzle::of(1, 2, 0, 3).component(2), 0);
}

TEST(ShaderTokens, VersionsByNameAndByToken) {
  auto vertex = ShaderVersion::fromName("vs.1.1");
  ASSERT_TRUE(vertex);
  EXPECT_EQ(vertex->token(), 0xFFFE0101u);
  auto pixel = ShaderVersion::fromName("PS_1_4");
  ASSERT_TRUE(pixel);
  EXPECT_EQ(pixel->token(), 0xFFFF0104u);
  EXPECT_EQ(pixel->name(), "ps.1.4");
  EXPECT_EQ(ShaderVersion::fromToken(0xFFFF0100u)->bit(), ps10);
  for (const char* bad : {"vs.1.2", "ps.1.5", "vs.2.0", "ps_1.1", "xs.1.1", "vs.1.", "vs.1.10", ""})
    EXPECT_FALSE(ShaderVersion::fromName(bad)) << bad;
  for (std::uint32_t bad : {0xFFFE0102u, 0xFFFF0200u, 0x00000101u, 0xFFFD0101u})
    EXPECT_FALSE(ShaderVersion::fromToken(bad)) << std::hex << bad;
}

}  // namespace
}  // namespace veltrace::shader
