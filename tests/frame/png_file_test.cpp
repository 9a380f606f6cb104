#include "render/frame/png_file.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "tests/support/temp_folder.h"

using namespace veltrace;
using namespace veltrace::render;

namespace {

TEST(PngFile, WritesASignedFileAndRefusesBadImages) {
  veltrace::test::TempFolder folder;
  RgbaImage image;
  image.width = 3;
  image.height = 2;
  image.pixels.assign(3 * 2 * 4, 0x80);
  std::string path = folder.corePath() + "\\frame.png";
  std::string error;
  ASSERT_TRUE(writePng(image, path, error)) << error;
  auto written = readWholeFile(path);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

  RgbaImage wrongSize = image;
  wrongSize.pixels.pop_back();
  EXPECT_FALSE(writePng(wrongSize, folder.corePath() + "\\bad.png", error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(writePng(image, folder.corePath() + "\\missing\\sub\\frame.png", error));
}

TEST(PngFile, ColourAtReadsInsideOnly) {
  RgbaImage image;
  image.width = 2;
  image.height = 1;
  image.pixels = {1, 2, 3, 255, 0x10, 0x20, 0x30, 255};
  EXPECT_EQ(image.colourAt(0, 0), 0x010203u);
  EXPECT_EQ(image.colourAt(1, 0), 0x102030u);
  EXPECT_EQ(image.colourAt(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image.colourAt(0, -1), 0xFFFFFFFFu);
}

}  // namespace
