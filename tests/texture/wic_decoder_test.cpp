// The Windows Imaging Component behind the portable decoder, under Wine.

#include "render/texture/wic_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "base/files.h"
#include "render/texture/d3d_texture_file.h"
#include "tests/support/d3d_test_device.h"
#include "tests/support/temp_folder.h"
#include "tests/texture/arithmetic_jpeg.h"

using namespace veltrace;

namespace {

// Red, green, blue of a pixel of a 32-bit level (stored blue, green, red, x).
std::array<int, 3> pixel(const TextureLevel& level, std::uint32_t x, std::uint32_t y) {
  const std::uint8_t* at = level.bytes.data() + size_t(y) * level.rowBytes + size_t(x) * 4;
  return {at[2], at[1], at[0]};
}

void expectNear(std::array<int, 3> actual, std::array<int, 3> expected) {
  for (int channel = 0; channel < 3; ++channel) EXPECT_NEAR(actual[size_t(channel)], expected[size_t(channel)], 24);
}

}  // namespace

TEST(ImagingComponent, DecodesAnArithmeticCodedProgressiveJpegThePortableDecoderRefuses) {
  ASSERT_FALSE(decodeTextureFile(test::arithmeticProgressiveJpeg()).image.has_value());
  DecodeResult result = decodeTextureFileWithSystemCodecs(test::arithmeticProgressiveJpeg());
  ASSERT_TRUE(result.image.has_value()) << result.error;
  const TextureImage& image = *result.image;
  EXPECT_EQ(image.format, TextureFormat::x8r8g8b8);
  EXPECT_EQ(image.width(), 64u);
  EXPECT_EQ(image.height(), 64u);
  EXPECT_EQ(image.levels.size(), 7u);
  expectNear(pixel(image.levels[0], 32, 8), {255, 0, 0});
  expectNear(pixel(image.levels[0], 32, 56), {0, 0, 255});
}

TEST(ImagingComponent, ACorruptFileGivesBothReasons) {
  std::vector<std::uint8_t> corrupt = test::arithmeticProgressiveJpeg();
  corrupt.resize(40);  // the frame header and the data are gone
  DecodeResult result = decodeTextureFileWithSystemCodecs(corrupt);
  EXPECT_FALSE(result.image.has_value());
  EXPECT_NE(result.error.find("Windows Imaging Component: "), std::string::npos) << result.error;

  const std::vector<std::uint8_t> noise(300, 0x5A);
  result = decodeTextureFileWithSystemCodecs(noise);
  EXPECT_FALSE(result.image.has_value());
  EXPECT_FALSE(result.error.empty());
}

TEST(ImagingComponent, AHugeFrameIsRefusedBeforeTheComponentDecodesIt) {
  std::vector<std::uint8_t> jpeg = test::arithmeticProgressiveJpeg();
  const std::uint8_t startOfFrame[] = {0xFF, 0xCA};
  auto frame = std::search(jpeg.begin(), jpeg.end(), std::begin(startOfFrame), std::end(startOfFrame));
  ASSERT_NE(frame, jpeg.end());
  frame[5] = 0x30;  // 0x3040 rows
  DecodeResult result = decodeWithImagingComponent(jpeg);
  EXPECT_FALSE(result.image.has_value());
  EXPECT_EQ(result.error, imageTooLargeError);
}

TEST(ImagingComponent, DdsFilesStayWithThePortableReader) {
  std::vector<std::uint8_t> dds = {'D', 'D', 'S', ' '};
  dds.resize(200, 0);
  DecodeResult result = decodeTextureFileWithSystemCodecs(dds);
  EXPECT_FALSE(result.image.has_value());
  EXPECT_EQ(result.error.find("Windows Imaging Component"), std::string::npos) << result.error;
}

TEST(ImagingComponent, TheStoreLoadsSuchAJpegAndNamesTheReasonForAFileItCannotLoad) {
  test::D3DTestDevice device;
  if (!device.device()) GTEST_SKIP() << device.problem();
  test::TempFolder folder;
  const auto write = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(nativePath(folder.corePath() + "\\" + name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  };
  write("arith.jpg", test::arithmeticProgressiveJpeg());
  write("noise.jpg", std::vector<std::uint8_t>(300, 0x5A));
  std::vector<std::uint8_t> fallback = test::arithmeticProgressiveJpeg();  // any loadable image will do
  write("texture_not_found.bmp", fallback);
  {
    D3DTextureLoader loader(device.device());
    MessageLog log;
    TextureStore store(loader, log);
    store.setFolder(folder.corePath());
    ASSERT_NE(store.acquire(folder.corePath() + "\\arith.jpg"), nullptr);
    const TextureStore::Entry* entry = store.findByPath("arith.jpg");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->texture.width, 64u);
    EXPECT_EQ(entry->texture.height, 64u);
    EXPECT_EQ(entry->texture.topLevelBytes, 64u * 64u * 4u);
    EXPECT_TRUE(log.pending().empty());

    ASSERT_NE(store.acquire(folder.corePath() + "\\noise.jpg"), nullptr);
    ASSERT_EQ(log.pending().size(), 1u);
    const std::string& line = log.pending()[0];
    EXPECT_EQ(line.rfind("Can't load texture \"noise.jpg\" - using default texture \"texture_not_found.bmp\" instead ... (", 0),
              0u)
        << line;
    EXPECT_NE(line.find("Windows Imaging Component: "), std::string::npos) << line;
  }
  EXPECT_EQ(device.releaseDevice(), 0u);
}
