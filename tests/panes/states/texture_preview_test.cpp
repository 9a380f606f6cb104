#include "panes/states/texture_preview.h"

#include <gtest/gtest.h>

using namespace veltrace;

namespace {

// A 32-bit image of one colour (blue, green, red, alpha) with its full chain.
TextureImage plainImage(TextureFormat format, std::uint32_t side, std::array<std::uint8_t, 4> bgra) {
  TextureImage image;
  image.format = format;
  TextureLevel top{side, side, side * 4, side, {}};
  for (std::uint32_t pixel = 0; pixel < side * side; ++pixel) top.bytes.insert(top.bytes.end(), bgra.begin(), bgra.end());
  image.levels.push_back(std::move(top));
  buildMipChain(image);
  return image;
}

}  // namespace

TEST(TexturePreview, TakesTheLargestLevelThatFitsTheBox) {
  struct Case {
    std::uint32_t side, box, shown;
  };
  const Case cases[] = {{256, 96, 64}, {256, 256, 256}, {64, 96, 64}, {4, 0, 1}};
  for (const Case& c : cases) {
    auto preview = texturePreview(plainImage(TextureFormat::x8r8g8b8, c.side, {10, 20, 30, 0}), c.box);
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ(preview->width, c.shown) << c.side << " in " << c.box;
    EXPECT_EQ(preview->pixels.size(), size_t(c.shown) * c.shown * 4);
    // X8R8G8B8 leaves its fourth byte unused: the colour shows as it is.
    EXPECT_EQ(preview->pixels[0], 10);
    EXPECT_EQ(preview->pixels[2], 30);
    EXPECT_EQ(preview->pixels[3], 255);
  }
}

TEST(TexturePreview, TransparentPixelsShowTheCheckerboard) {
  auto preview = texturePreview(plainImage(TextureFormat::a8r8g8b8, 16, {255, 255, 255, 0}), 16);
  ASSERT_TRUE(preview.has_value());
  EXPECT_EQ(preview->pixels[0], 0xCC);                        // light square at the corner
  EXPECT_EQ(preview->pixels[(8 * 16 + 0) * 4], 0x88);          // dark square below it
  auto opaque = texturePreview(plainImage(TextureFormat::a8r8g8b8, 16, {0, 0, 255, 255}), 16);
  EXPECT_EQ(opaque->pixels[2], 255);
  EXPECT_EQ(opaque->pixels[0], 0);
}

TEST(TexturePreview, CompressedAndEmptyImagesHaveNone) {
  TextureImage compressed;
  compressed.format = TextureFormat::dxt1;
  compressed.levels.push_back({4, 4, 8, 1, std::vector<std::uint8_t>(8)});
  EXPECT_FALSE(texturePreview(compressed, 64).has_value());
  TextureImage empty;
  empty.format = TextureFormat::a8r8g8b8;
  EXPECT_FALSE(texturePreview(empty, 64).has_value());
  TextureImage cut = plainImage(TextureFormat::x8r8g8b8, 8, {1, 2, 3, 4});
  cut.levels[0].bytes.resize(10);
  EXPECT_FALSE(texturePreview(cut, 64).has_value());
}
