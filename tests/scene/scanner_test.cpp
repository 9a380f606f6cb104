// The scanner primitives, with the reading rules scene files depend on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <random>
#include <climits>
#include <cmath>
#include <string>

#include "scene/scene_scanner.h"

namespace veltrace {
namespace {

TEST(SceneScannerFind, StopsJustBehindTheKeyword) {
  SceneScanner scanner("xx *GEOMOBJECT {");
  ASSERT_TRUE(scanner.find("*GEOMOBJECT"));
  EXPECT_EQ(scanner.save(), 14u);
  EXPECT_EQ(scanner.token(), "{");
}

TEST(SceneScannerFind, FailsAtTheEndAndLeavesThePositionThere) {
  SceneScanner scanner("*GEOMOBJECT *NODE_NAME");
  EXPECT_FALSE(scanner.find("*MESH"));
  EXPECT_TRUE(scanner.atEnd());
  EXPECT_FALSE(scanner.find("*GEOMOBJECT"));
}

TEST(SceneScannerFind, ComparesCaseExactly) {
  SceneScanner scanner("*geomobject *GeomObject");
  EXPECT_FALSE(scanner.find("*GEOMOBJECT"));
}

TEST(SceneScannerFind, DoesNotRetryTheMismatchingCharacter) {
  // The second asterisk breaks the match begun by the first and is not
  // tried as a new start, so the keyword is not seen.
  SceneScanner doubled("**GEOMOBJECT");
  EXPECT_FALSE(doubled.find("*GEOMOBJECT"));
  SceneScanner repeated("aaab");
  EXPECT_FALSE(repeated.find("aab"));
  SceneScanner separated("* *GEOMOBJECT");
  EXPECT_TRUE(separated.find("*GEOMOBJECT"));
}

TEST(SceneScannerFind, MatchesAPrefixOfALongerWord) {
  SceneScanner scanner("*V 10 1 2 3");
  EXPECT_TRUE(scanner.find("*V 1"));
  EXPECT_EQ(scanner.integer(), 0);  // "0" is what is left of "10"
}

// The rule as written: one character at a time, a mismatch drops the partial
// match and is not tried as a new start.
bool referenceFind(std::string_view text, size_t& position, std::string_view keyword) {
  size_t matched = 0;
  while (position < text.size()) {
    matched = text[position++] == keyword[matched] ? matched + 1 : 0;
    if (matched == keyword.size()) return true;
  }
  return false;
}

TEST(SceneScannerFind, LongKeywordsAreFoundExactlyWhereTheNaiveRuleFindsThem) {
  // Texts crowded with the keyword's pieces, so that partial matches,
  // doubled first characters and near misses are common.
  const std::string pieces[] = {"*GEOMOBJECT", "*GEOM", "*", "**", "G", "OBJECT", " ", "*GEOMOBJEC"};
  std::mt19937 random(3);
  std::uniform_int_distribution<int> pick(0, 7);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += pieces[pick(random)];
    SceneScanner scanner(text);
    size_t expected = std::uniform_int_distribution<size_t>(0, text.size() / 2)(random);
    scanner.restore(expected);
    for (;;) {
      bool found = referenceFind(text, expected, "*GEOMOBJECT");
      ASSERT_EQ(scanner.find("*GEOMOBJECT"), found) << text;
      ASSERT_EQ(scanner.save(), expected) << text;
      if (!found) break;
    }
  }
}

TEST(SceneScannerToken, SplitsAtEveryKindOfWhiteSpace) {
  SceneScanner scanner(" a\tb\r\nc\vd\fe");
  for (const char* expected : {"a", "b", "c", "d", "e"}) EXPECT_EQ(scanner.token(), expected);
  EXPECT_FALSE(scanner.token().has_value());
}

TEST(SceneScannerToken, KeepsBlanksInsideQuotesAndDropsTheQuotes) {
  SceneScanner scanner("*MATERIAL_NAME \"Red  Brick Wall\" next");
  EXPECT_EQ(scanner.token(), "*MATERIAL_NAME");
  EXPECT_EQ(scanner.token(), "Red  Brick Wall");
  EXPECT_EQ(scanner.token(), "next");
}

TEST(SceneScannerToken, AQuoteInsideAWordStartsQuotedModeAndTheClosingQuoteEndsIt) {
  SceneScanner scanner("ab\"c d\"ef \"\" \"open to the end");
  EXPECT_EQ(scanner.token(), "abc d");
  EXPECT_EQ(scanner.token(), "ef");
  EXPECT_EQ(scanner.token(), "");
  EXPECT_EQ(scanner.token(), "open to the end");
  EXPECT_FALSE(scanner.token().has_value());
}

TEST(SceneScannerToken, EndOfFileBeforeTheFirstCharacterGivesNoToken) {
  SceneScanner empty("");
  EXPECT_FALSE(empty.token().has_value());
  SceneScanner blanks(" \r\n\t ");
  EXPECT_FALSE(blanks.token().has_value());
}

TEST(SceneScannerToken, OverlongTokensAreCutAndTheirRestSkipped) {
  const std::string longWord(1000, 'x');
  SceneScanner plain(longWord + " after");
  EXPECT_EQ(plain.token()->size(), SceneScanner::maxTokenLength);
  EXPECT_EQ(plain.token(), "after");

  SceneScanner quoted("\"" + longWord + " " + longWord + "\" after");
  EXPECT_EQ(quoted.token()->size(), SceneScanner::maxTokenLength);
  EXPECT_EQ(quoted.token(), "after");
}

TEST(SceneScannerInteger, ReadsSignAndDigitsAndSwallowsTheNextCharacter) {
  SceneScanner scanner("  -12x7 1520: 3");
  EXPECT_EQ(scanner.integer(), -12);
  EXPECT_EQ(scanner.integer(), 7);  // the "x" went with -12
  EXPECT_EQ(scanner.integer(), 1520);
  EXPECT_EQ(scanner.token(), "3");  // the ":" went with 1520
}

TEST(SceneScannerInteger, NoDigitsReadsZeroAndStillSwallowsACharacter) {
  SceneScanner scanner("abc");
  EXPECT_EQ(scanner.integer(), 0);
  EXPECT_EQ(scanner.token(), "bc");
  SceneScanner atEnd("   ");
  EXPECT_EQ(atEnd.integer(), 0);
}

TEST(SceneScannerInteger, SaturatesInsteadOfOverflowing) {
  SceneScanner scanner("99999999999999999999 -99999999999999999999 2147483647");
  EXPECT_EQ(scanner.integer(), INT32_MAX);
  EXPECT_EQ(scanner.integer(), INT32_MIN);
  EXPECT_EQ(scanner.integer(), INT32_MAX);
}

TEST(SceneScannerReal, ReadsPlainDecimals) {
  SceneScanner scanner("-9.8769 1520 .5 5. -0 0.1");
  EXPECT_FLOAT_EQ(scanner.real(), -9.8769f);
  EXPECT_FLOAT_EQ(scanner.real(), 1520.0f);
  EXPECT_FLOAT_EQ(scanner.real(), 0.5f);
  EXPECT_FLOAT_EQ(scanner.real(), 5.0f);
  float negativeZero = scanner.real();
  EXPECT_EQ(negativeZero, 0.0f);
  EXPECT_TRUE(std::signbit(negativeZero));
  EXPECT_EQ(scanner.real(), 0.1f);  // correctly rounded, so written floats read back exactly
}

TEST(SceneScannerReal, AgreesWithTheCorrectlyRoundedConversion) {
  // Short decimals take a quicker way than long ones; both must give the
  // float nearest the text.
  std::mt19937 random(7);
  std::uniform_int_distribution<std::uint64_t> digits(0, 999999999999ull);
  std::uniform_int_distribution<int> point(0, 12);
  for (int i = 0; i < 200000; ++i) {
    std::string text = std::to_string(digits(random));
    int decimals = std::min(point(random), static_cast<int>(text.size()));
    text.insert(text.size() - static_cast<size_t>(decimals), ".");
    if (i % 2) text.insert(0, "-");
    float expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    SceneScanner scanner(text);
    ASSERT_EQ(scanner.real(), expected) << text;
  }
  // Exactly halfway between two floats: ties go to the even one.
  SceneScanner halfway("16777217 16777219 0.5000000298023223876953125");
  EXPECT_EQ(halfway.real(), 16777216.0f);
  EXPECT_EQ(halfway.real(), 16777220.0f);
  EXPECT_EQ(halfway.real(), 0.5f);
}

TEST(SceneScannerReal, ExponentsAreReadOnlyUpToTheE) {
  SceneScanner scanner("1.5e3 7");
  EXPECT_FLOAT_EQ(scanner.real(), 1.5f);  // the "e" is swallowed
  EXPECT_FLOAT_EQ(scanner.real(), 3.0f);
  EXPECT_FLOAT_EQ(scanner.real(), 7.0f);
}

TEST(SceneScannerReal, NoDigitsReadsZero) {
  SceneScanner scanner("- . -. x 4");
  EXPECT_EQ(scanner.real(), 0.0f);
  EXPECT_EQ(scanner.real(), 0.0f);
  EXPECT_EQ(scanner.real(), 0.0f);
  EXPECT_EQ(scanner.real(), 0.0f);
  EXPECT_EQ(scanner.real(), 4.0f);
}

TEST(SceneScannerReal, ValuesBeyondTheFloatRangeAreClamped) {
  const std::string huge = "1" + std::string(60, '0');
  SceneScanner scanner(huge + " -" + huge + " 0." + std::string(80, '0') + "1");
  EXPECT_EQ(scanner.real(), FLT_MAX);
  EXPECT_EQ(scanner.real(), -FLT_MAX);
  EXPECT_EQ(scanner.real(), 0.0f);
}

TEST(SceneScannerPosition, SaveRestoreAndRewind) {
  SceneScanner scanner("one two three");
  scanner.token();
  size_t mark = scanner.save();
  EXPECT_EQ(scanner.token(), "two");
  EXPECT_EQ(scanner.token(), "three");
  scanner.restore(mark);
  EXPECT_EQ(scanner.token(), "two");
  scanner.rewind();
  EXPECT_EQ(scanner.token(), "one");
  scanner.restore(1000);  // beyond the end: at the end
  EXPECT_TRUE(scanner.atEnd());
}

TEST(SceneScannerPosition, ALimitActsAsTheEndOfTheFile) {
  SceneScanner scanner("*A 1 *B 2");
  scanner.limitTo(5);
  EXPECT_FALSE(scanner.find("*B"));
  EXPECT_EQ(scanner.save(), 5u);
  scanner.liftLimit();
  EXPECT_TRUE(scanner.find("*B"));
  EXPECT_EQ(scanner.integer(), 2);
}

}  // namespace
}  // namespace veltrace
