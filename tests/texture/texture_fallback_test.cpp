// What happens before and after a file is refused: the size its header
// announces, and the message-log line that says why it was refused.

#include <gtest/gtest.h>

#include <algorithm>

#include "render/texture/image_header.h"
#include "render/texture/texture_image.h"
#include "render/texture/texture_store.h"
#include "tests/texture/arithmetic_jpeg.h"

using namespace veltrace;

namespace {

// Loads only the default texture; every other file fails for the reason set.
class RefusingLoader : public TextureLoader {
 public:
  std::string reason;
  std::optional<LoadedTexture> load(const std::string& path) override {
    if (path.ends_with(TextureStore::defaultTextureName))
      return LoadedTexture{reinterpret_cast<DeviceTexture*>(std::uintptr_t(0x1000)), 100};
    error_ = reason;
    return std::nullopt;
  }
  void release(DeviceTexture*) override {}
  std::string lastError() const override { return error_; }

 private:
  std::string error_;
};

}  // namespace

TEST(AnnouncedImageSize, ReadsJpegFrameHeadersOfEveryKindAndGifScreens) {
  std::vector<std::uint8_t> jpeg = test::arithmeticProgressiveJpeg();
  auto size = announcedImageSize(jpeg);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->width, 64u);
  EXPECT_EQ(size->height, 64u);

  const std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0x10, 0x27, 0x02, 0x00};
  size = announcedImageSize(gif);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->width, 10000u);
  EXPECT_EQ(size->height, 2u);
}

TEST(AnnouncedImageSize, GivesNothingForCutOrUnknownFiles) {
  const std::vector<std::uint8_t>& jpeg = test::arithmeticProgressiveJpeg();
  for (size_t length : {0u, 3u, 4u, 20u, 100u, 160u})
    EXPECT_FALSE(announcedImageSize(std::span(jpeg.data(), std::min(length, jpeg.size()))).has_value()) << length;
  const std::vector<std::uint8_t> zeroLength = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x00, 0xFF, 0xC0};
  EXPECT_FALSE(announcedImageSize(zeroLength).has_value());
  const std::vector<std::uint8_t> bitmap = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(announcedImageSize(bitmap).has_value());
}

TEST(AnnouncedImageSize, AForgedHugeFrameIsSeenBeforeAnyDecoding) {
  std::vector<std::uint8_t> jpeg = test::arithmeticProgressiveJpeg();
  const std::uint8_t startOfFrame[] = {0xFF, 0xCA};
  auto frame = std::search(jpeg.begin(), jpeg.end(), std::begin(startOfFrame), std::end(startOfFrame));
  ASSERT_NE(frame, jpeg.end());
  frame[5] = 0x30;  // height 0x3040
  EXPECT_EQ(announcedImageSize(jpeg)->height, 0x3040u);
}

TEST(PortableDecoder, RefusesArithmeticCodedJpegs) {
  DecodeResult result = decodeTextureFile(test::arithmeticProgressiveJpeg());
  EXPECT_FALSE(result.image.has_value());
  EXPECT_FALSE(result.error.empty());
}

TEST(TextureStoreFallback, TheLogLineSaysWhyTheFileWasRefused) {
  RefusingLoader loader;
  MessageLog log;
  TextureStore store(loader, log);
  store.setFolder("C:\\tex");
  loader.reason = "unknown marker";
  ASSERT_NE(store.acquire("D:\\art\\odd.jpg"), nullptr);
  loader.reason.clear();
  ASSERT_NE(store.acquire("D:\\art\\plain.jpg"), nullptr);
  EXPECT_EQ(log.takePending(),
            (std::vector<std::string>{
                "Can't load texture \"odd.jpg\" - using default texture \"texture_not_found.bmp\" instead ... "
                "(unknown marker)",
                "Can't load texture \"plain.jpg\" - using default texture \"texture_not_found.bmp\" instead ..."}));
}
