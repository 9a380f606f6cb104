#include <gtest/gtest.h>

#include "render/texture/texture_image.h"
#include "tests/texture/image_files.h"

using namespace veltrace;

namespace {

DecodeResult decode(const std::vector<std::uint8_t>& bytes) { return decodeTextureFile(std::span(bytes)); }

std::uint32_t pixel(const TextureLevel& level, std::uint32_t x, std::uint32_t y) {
  std::uint32_t value;
  std::memcpy(&value, level.bytes.data() + size_t(y) * level.rowBytes + x * 4, 4);
  return value;
}

}  // namespace

TEST(TextureDecoder, TwentyFourBitImagesBecomeX8R8G8B8WithOpaqueAlphaAndAFullChain) {
  auto result = decode(test::bmp24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
  ASSERT_TRUE(result.image) << result.error;
  const TextureImage& image = *result.image;
  EXPECT_EQ(image.format, TextureFormat::x8r8g8b8);
  ASSERT_EQ(image.levels.size(), 2u);
  EXPECT_EQ(pixel(image.levels[0], 0, 0), 0xFFFF0000u);  // top left red, as the file's top row
  EXPECT_EQ(pixel(image.levels[0], 1, 1), 0xFFFFFFFFu);
  // 1 x 1 level: the rounded average of the four pixels.
  EXPECT_EQ(pixel(image.levels[1], 0, 0), 0xFF808080u);
}

TEST(TextureDecoder, ImagesWithAlphaBecomeA8R8G8B8) {
  auto result = decode(test::tga32(2, 1, {0x80102030, 0x00405060}));
  ASSERT_TRUE(result.image) << result.error;
  EXPECT_EQ(result.image->format, TextureFormat::a8r8g8b8);
  EXPECT_EQ(pixel(result.image->levels[0], 0, 0), 0x80102030u);
  EXPECT_EQ(pixel(result.image->levels[0], 1, 0), 0x00405060u);
}

TEST(TextureDecoder, ThirtyTwoBitBitmapsHaveAlphaOnlyWithAnAlphaMask) {
  // BI_RGB: the fourth byte is unused and may hold anything; it is not alpha.
  auto result = decode(test::bmp32(2, 1, {0x00102030, 0x7F405060}, false));
  ASSERT_TRUE(result.image) << result.error;
  EXPECT_EQ(result.image->format, TextureFormat::x8r8g8b8);
  EXPECT_EQ(pixel(result.image->levels[0], 0, 0), 0xFF102030u);
  EXPECT_EQ(pixel(result.image->levels[0], 1, 0), 0xFF405060u);

  result = decode(test::bmp32(2, 1, {0x00102030, 0x7F405060}, true));
  ASSERT_TRUE(result.image) << result.error;
  EXPECT_EQ(result.image->format, TextureFormat::a8r8g8b8);
  EXPECT_EQ(pixel(result.image->levels[0], 0, 0), 0x00102030u);
  EXPECT_EQ(pixel(result.image->levels[0], 1, 0), 0x7F405060u);
}

TEST(TextureDecoder, SidesAreScaledUpToPowersOfTwo) {
  auto result = decode(test::bmp24(3, 5, std::vector<std::uint32_t>(15, 0x336699)));
  ASSERT_TRUE(result.image) << result.error;
  const TextureImage& image = *result.image;
  EXPECT_EQ(image.width(), 4u);
  EXPECT_EQ(image.height(), 8u);
  EXPECT_EQ(image.levels.size(), 4u);  // 4x8, 2x4, 1x2, 1x1
  EXPECT_EQ(image.levels[2].width, 1u);
  EXPECT_EQ(image.levels[2].height, 2u);
  EXPECT_EQ(pixel(image.levels[3], 0, 0), 0xFF336699u);
}

TEST(TextureDecoder, SizesCountEveryLevel) {
  auto result = decode(test::tga32(256, 256, std::vector<std::uint32_t>(256 * 256, 0xFF000000)));
  ASSERT_TRUE(result.image) << result.error;
  const TextureImage& image = *result.image;
  ASSERT_EQ(image.levels.size(), 9u);
  EXPECT_EQ(image.levels[0].bytes.size(), 262144u);
  // 4 * (65536 + 16384 + ... + 1) bytes.
  EXPECT_EQ(image.totalBytes(), 4u * 87381u);
}

TEST(TextureDecoder, RejectsGarbageAndEmptyFiles) {
  EXPECT_FALSE(decode({}).image);
  auto garbage = decode({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  EXPECT_FALSE(garbage.image);
  EXPECT_FALSE(garbage.error.empty());
  // A BMP cut inside its header.
  auto truncatedBmp = test::bmp24(16, 16, std::vector<std::uint32_t>(256, 0));
  truncatedBmp.resize(20);
  EXPECT_FALSE(decode(truncatedBmp).image);
}

TEST(TextureDecoder, RefusesImagesBeyondTheLargestTextureBeforeDecodingThem) {
  // A 5000 x 2 header: its power-of-two width would be 8192.
  auto wide = test::tga32(5000, 2, std::vector<std::uint32_t>(10000, 0));
  EXPECT_FALSE(decode(wide).image);
  const auto eightByEight = test::tga32(8, 8, std::vector<std::uint32_t>(64, 0));
  const auto nineByEight = test::tga32(9, 8, std::vector<std::uint32_t>(72, 0));
  EXPECT_TRUE(decodeTextureFile(std::span(eightByEight), {.maximumSide = 8}).image);
  EXPECT_FALSE(decodeTextureFile(std::span(nineByEight), {.maximumSide = 8}).image);
}

TEST(DdsReader, KeepsCompressedFormatsAndTheLevelsTheFileCarries) {
  // 8x8 DXT1 with 4 levels: 4 blocks, then 1, 1, 1 = 7 blocks of 8 bytes.
  auto file = test::dds(8, 8, 4, 0x4, fourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0, 7 * 8);
  auto result = decode(file);
  ASSERT_TRUE(result.image) << result.error;
  EXPECT_EQ(result.image->format, TextureFormat::dxt1);
  ASSERT_EQ(result.image->levels.size(), 4u);
  EXPECT_EQ(result.image->levels[0].bytes.size(), 32u);
  EXPECT_EQ(result.image->levels[3].bytes.size(), 8u);
  EXPECT_EQ(result.image->totalBytes(), 56u);
}

TEST(DdsReader, ClampsTheMipCountToAFullChainAndDropsIncompleteLevels) {
  auto tooMany = test::dds(4, 4, 20, 0x4, fourCC('D', 'X', 'T', '5'), 0, 0, 0, 0, 0, 3 * 16);
  auto result = decode(tooMany);
  ASSERT_TRUE(result.image) << result.error;
  EXPECT_EQ(result.image->levels.size(), 3u);

  auto shortOfLevels = test::dds(8, 8, 4, 0x4, fourCC('D', 'X', 'T', '3'), 0, 0, 0, 0, 0, 4 * 16 + 5);
  result = decode(shortOfLevels);
  ASSERT_TRUE(result.image) << result.error;
  EXPECT_EQ(result.image->levels.size(), 1u);
}

TEST(DdsReader, WidensRareLayoutsTo32Bit) {
  auto bgr = test::dds(1, 1, 0, 0x40, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0, 3);
  bgr[128] = 0x11;  // blue
  bgr[129] = 0x22;
  bgr[130] = 0x33;  // red
  auto result = decode(bgr);
  ASSERT_TRUE(result.image) << result.error;
  EXPECT_EQ(result.image->format, TextureFormat::x8r8g8b8);
  EXPECT_EQ(pixel(result.image->levels[0], 0, 0), 0xFF332211u);

  auto abgr = test::dds(1, 1, 0, 0x41, 0, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, 4);
  abgr[128] = 0x33;  // red first in memory
  abgr[129] = 0x22;
  abgr[130] = 0x11;
  abgr[131] = 0x80;
  result = decode(abgr);
  ASSERT_TRUE(result.image) << result.error;
  EXPECT_EQ(result.image->format, TextureFormat::a8r8g8b8);
  EXPECT_EQ(pixel(result.image->levels[0], 0, 0), 0x80332211u);
}

TEST(DdsReader, RejectsTruncatedOversizedAndUnknownFiles) {
  EXPECT_FALSE(decode(test::dds(64, 64, 0, 0x4, fourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0, 100)).image);
  EXPECT_FALSE(decode(test::dds(100000, 4, 0, 0x4, fourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0, 8)).image);
  EXPECT_FALSE(decode(test::dds(0, 4, 0, 0x4, fourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0, 8)).image);
  EXPECT_FALSE(decode(test::dds(4, 4, 0, 0x4, fourCC('A', 'T', 'I', '2'), 0, 0, 0, 0, 0, 16)).image);
  auto headerOnly = test::dds(4, 4, 0, 0x4, fourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0, 0);
  headerOnly.resize(100);
  EXPECT_FALSE(decode(headerOnly).image);
}
