#include "base/text.h"

#include <gtest/gtest.h>

using namespace veltrace;

TEST(SplitFields, SplitsAtEveryCommaAndKeepsBlanksAndEmptyFields) {
  EXPECT_EQ(splitFields(""), std::vector<std::string>{""});
  EXPECT_EQ(splitFields("a, b,,"), (std::vector<std::string>{"a", " b", "", ""}));
}

TEST(SplitLines, EndsLinesAtLfAndDropsTheCrBeforeIt) {
  EXPECT_EQ(splitLines("a\r\nb\n"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(splitLines("last without end"), std::vector<std::string>{"last without end"});
  EXPECT_EQ(splitLines("cr\rinside\n"), std::vector<std::string>{"cr\rinside"});
  EXPECT_TRUE(splitLines("").empty());
}

TEST(ReadLenientInt, ReadsSignAndLeadingDigitsOnly) {
  EXPECT_EQ(readLenientInt("42abc"), 42);
  EXPECT_EQ(readLenientInt("  -7"), -7);
  EXPECT_EQ(readLenientInt("+3"), 3);
  EXPECT_EQ(readLenientInt("NA"), 0);
  EXPECT_EQ(readLenientInt(""), 0);
  EXPECT_EQ(readLenientInt("0x00FF"), 0);
  EXPECT_EQ(readLenientInt("1.9"), 1);
}

TEST(ReadLenientInt, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(readLenientInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(readLenientInt("-99999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(readLenientInt("-2147483648"), -2147483647 - 1);
}

TEST(ReadLenientIntOrHex, ReadsHexadecimalLiteralsAsTheirBitPattern) {
  EXPECT_EQ(readLenientIntOrHex("0xFF00FF00"), 0xFF00FF00u);
  EXPECT_EQ(readLenientIntOrHex("0X1f"), 0x1Fu);
  EXPECT_EQ(readLenientIntOrHex("0x"), 0u);
  EXPECT_EQ(readLenientIntOrHex("255"), 255u);
  EXPECT_EQ(readLenientIntOrHex("-1"), 0xFFFFFFFFu);
}

TEST(ReadLenientReal, ReadsTheLongestDecimalPrefix) {
  EXPECT_DOUBLE_EQ(readLenientReal("0.50000"), 0.5);
  EXPECT_DOUBLE_EQ(readLenientReal("-1.25e2xyz"), -125.0);
  EXPECT_DOUBLE_EQ(readLenientReal("3e"), 3.0);
  EXPECT_DOUBLE_EQ(readLenientReal(".5"), 0.5);
  EXPECT_DOUBLE_EQ(readLenientReal("5."), 5.0);
  EXPECT_DOUBLE_EQ(readLenientReal("abc"), 0.0);
  EXPECT_DOUBLE_EQ(readLenientReal("-"), 0.0);
  EXPECT_DOUBLE_EQ(readLenientReal("inf"), 0.0);
  EXPECT_DOUBLE_EQ(readLenientReal("0x10"), 0.0);
}

TEST(FormatText, FormatsLikePrintf) {
  EXPECT_EQ(formatText("Error while opening \"%s\" in line %i !", "a.txt", 3),
            "Error while opening \"a.txt\" in line 3 !");
  EXPECT_EQ(formatText("%s", ""), "");
}
