// The colouring engine against the cases users notice: each case gives a
// text and, character by character, the colour it must get:
// i instruction, n input register, o output register, c comment,
// s string or character literal, . plain text.

#include <gtest/gtest.h>

#include <string>

#include "panes/shader/shader_keywords.h"

namespace veltrace {
namespace {

char letterOf(TextColour colour) {
  if (colour == editorColour::instruction) return 'i';
  if (colour == editorColour::inputRegister) return 'n';
  if (colour == editorColour::outputRegister) return 'o';
  if (colour == editorColour::comment) return 'c';
  if (colour == editorColour::literal) return 's';
  return '?';
}

std::string colourMask(std::string_view text, const HighlightResult& result) {
  std::string mask(text.size(), '.');
  for (const ColouredRun& run : result.runs)
    for (size_t i = run.offset; i < run.offset + run.length && i < mask.size(); ++i) mask[i] = letterOf(run.colour);
  return mask;
}

SyntaxHighlighter highlighterFor(ShaderPaneKind kind, float pixelShaderVersion = 1.1f) {
  SyntaxHighlighter highlighter;
  setUpShaderKeywords(highlighter, kind, pixelShaderVersion);
  return highlighter;
}

struct ColouringCase {
  const char* name;
  ShaderPaneKind kind;
  float pixelShaderVersion;
  std::string text;
  std::string expected;
};

constexpr auto vertex = ShaderPaneKind::vertex;
constexpr auto pixel = ShaderPaneKind::pixel;

const ColouringCase colouringCases[] = {
    {"pixel line with a comment", pixel, 1.1f,
     "mov r0, c1 ; comment\r\n",
     "iii.oo.....ccccccccccc"},
    {"backslash before the line break continues a line comment", vertex, 0,
     "// a\\\r\nmov r0\r\nmov",
     "ccccccccccccccciii"},
    {"line comment without backslash ends at its line", vertex, 0,
     "// a\r\nmov",
     "cccccciii"},
    {"block comment over two lines", vertex, 0,
     "/* a\r\nb */ mov",
     "cccccccccc.iii"},
    {"unterminated quote runs to the end", vertex, 0,
     "mov \"abc def",
     "iii.ssssssss"},
    {"string without escapes", vertex, 0,
     "\"a\\\" mov",
     "ssss.iii"},
    {"character literal with an escaped quote", vertex, 0,
     "'\\'' mov",
     "ssss.iii"},
    {"mad_sat is one keyword in a pixel pane", pixel, 1.1f,
     "mad_sat r0, v0, c0, r0",
     "iiiiiii.oo..nn......oo"},
    {"mad_sat is plain in a vertex pane", vertex, 0,
     "mad_sat r0, v0",
     "............nn"},
    {"mad alone is an instruction in a vertex pane", vertex, 0,
     "mad r0, v0, c0, r0",
     "iii.....nn........"},
    {"only r0 and R0 are pixel registers", pixel, 1.1f,
     "mov R0, r1",
     "iii.oo...."},
    {"delimiter after a keyword is passed over", pixel, 1.1f,
     "mov r0.a, c0 .a",
     "iii.oo.......ii"},
    {"rgba mask only with a ps.1.4 device", pixel, 1.4f,
     "mov r0.rgba, c0 .rgba",
     "iii.oo..........iiiii"},
    {"rgba mask not with a ps.1.3 device", pixel, 1.3f,
     "mov r0, c0 .rgba",
     "iii.oo.........."},
    {"ps.1.4 instructions only with a ps.1.4 device", pixel, 1.3f,
     "ps.1.4\ntexld r0, t0",
     ".............oo...."},
    {"ps.1.4 instructions with a ps.1.4 device", pixel, 1.4f,
     "ps.1.4\ntexld r0, t0",
     "iiiiii.iiiii.oo...."},
    {"v1 not inside v10", vertex, 0,
     "mov r0, v10 v1x v1",
     "iii.....nnn.....nn"},
    {"co-issued instruction keeps its plus", pixel, 1.1f,
     "+mov r0.a, c0",
     "iiii.oo......"},
    {"pixel inputs with modifiers", pixel, 1.1f,
     "add r0, 1-v0, -v1",
     "iii.oo..nnnn..nnn"},
    {"a lone slash is plain text", vertex, 0,
     "a / mov",
     "....iii"},
    {"characters above 127 are no delimiters", vertex, 0,
     "\xE9mov mov\xE9 mov",
     "..........iii"},
    {"a NUL byte is a delimiter", pixel, 1.1f,
     std::string("mov\0r0", 6),
     "iii.oo"},
    {"semicolon right after a keyword hides it", vertex, 0,
     "mov;x",
     "...cc"},
};

class ColouringTest : public testing::TestWithParam<ColouringCase> {};

TEST_P(ColouringTest, ColoursEveryCharacterAsExpected) {
  const ColouringCase& c = GetParam();
  ASSERT_EQ(c.text.size(), c.expected.size()) << "the case's mask must cover the text";
  SyntaxHighlighter highlighter = highlighterFor(c.kind, c.pixelShaderVersion);
  EXPECT_EQ(colourMask(c.text, highlighter.ColourRange(c.text)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColouringTest, testing::ValuesIn(colouringCases),
                         [](const testing::TestParamInfo<ColouringCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

TEST(SyntaxHighlighter, RescanningTheSecondLineOfABlockCommentAloneLosesTheCommentColour) {
  SyntaxHighlighter highlighter = highlighterFor(vertex);
  std::string line = "b */ mov";
  EXPECT_EQ(colourMask(line, highlighter.ColourRange(line)), ".....iii");
  // Given the state the line starts in, the line keeps its colour.
  EXPECT_EQ(colourMask(line, highlighter.ColourRange(line, ScanState::blockComment)), "cccc.iii");
}

TEST(SyntaxHighlighter, ReportsTheStateAtTheEndOfTheText) {
  SyntaxHighlighter highlighter = highlighterFor(vertex);
  EXPECT_EQ(highlighter.ColourRange("mov /* open").endState, ScanState::blockComment);
  EXPECT_EQ(highlighter.ColourRange("mov \"open").endState, ScanState::string);
  EXPECT_EQ(highlighter.ColourRange("mov /* closed */").endState, ScanState::normal);
  EXPECT_EQ(highlighter.ColourRange("").runs.size(), 0u);
}

TEST(SyntaxHighlighter, KeepsKeywordsSortedBytewiseAndTheLaterColourWins) {
  SyntaxHighlighter highlighter;
  highlighter.AddKeywordList("mov,,R0,r0,+mov,", editorColour::outputRegister, outputGroup);
  highlighter.AddKeywordList("r0", editorColour::instruction, instructionGroup);
  ASSERT_EQ(highlighter.keywords().size(), 4u);
  EXPECT_EQ(highlighter.keywords()[0].text, "+mov");
  EXPECT_EQ(highlighter.keywords()[1].text, "R0");
  EXPECT_EQ(highlighter.keywords()[2].text, "mov");
  EXPECT_EQ(highlighter.keywords()[3].text, "r0");
  EXPECT_EQ(highlighter.keywords()[3].colour, editorColour::instruction);
  EXPECT_EQ(colourMask("r0 R0", highlighter.ColourRange("r0 R0")), "ii.oo");
}

TEST(SyntaxHighlighter, ClearingKeywordsKeepsCommentsAndStrings) {
  SyntaxHighlighter highlighter = highlighterFor(pixel);
  highlighter.AddKeywordList(";x,\"y", editorColour::instruction, instructionGroup);
  highlighter.clearKeywords();
  std::string text = "mov \"s\" ; c";
  EXPECT_EQ(colourMask(text, highlighter.ColourRange(text)), "....sss.ccc");
}

}  // namespace
}  // namespace veltrace
