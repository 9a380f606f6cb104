// Texts the editor side produces: the coloured text as one rich-text
// document, and the lines of the check shown under the editor.

#include <gtest/gtest.h>

#include <string>

#include "panes/shader/live_check_text.h"
#include "panes/shader/rich_text_runs.h"
#include "panes/shader/shader_keywords.h"

namespace veltrace {
namespace {

TEST(RichTextRuns, ColoursRunsAndEscapesTheText) {
  SyntaxHighlighter highlighter;
  setUpShaderKeywords(highlighter, ShaderPaneKind::pixel, 1.1f);
  // The backslash before the line break carries the comment on.
  std::string text = "mov r0, c1 ; {x} \\\r\n\t\xE9";
  std::string rtf = richTextOf(text, highlighter.ColourRange(text).runs);
  EXPECT_EQ(rtf,
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}"
            "{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red235\\green80\\blue0;"
            "\\red0\\green150\\blue0;}\\f0\\fs20\\cf1 "
            "\\cf2 mov\\cf1  \\cf3 r0\\cf1 , c1 \\cf4 ; \\{x\\} \\\\\\par\r\n\\tab \\'e9\\cf1 }");
}

TEST(RichTextRuns, OneParagraphBreakPerLineBreakWhereverARunEnds) {
  std::string text = "a\r\nb\nc\rd";
  std::vector<ColouredRun> runs{{0, 2, TextColour{0, 150, 0}}, {2, 1, TextColour{0, 150, 0}}};  // split inside CR LF
  std::string rtf = richTextOf(text, runs);
  size_t breaks = 0;
  for (size_t at = rtf.find("\\par"); at != std::string::npos; at = rtf.find("\\par", at + 1)) ++breaks;
  EXPECT_EQ(breaks, 3u);
  EXPECT_EQ(richTextOf(std::string("x\0y", 3), {}).substr(richTextOf("", {}).size() - 1), "x?y}");
  // A break at the end needs one paragraph more, or the control drops it.
  EXPECT_EQ(richTextOf("x\r\n", {}).substr(richTextOf("", {}).size() - 1), "x\\par\r\n\\par}");
}

// A long text goes in by pieces of whole lines, each with the colours of
// the whole text's colouring (a block comment across pieces stays one).
TEST(RichTextRuns, PiecesEndAfterLineBreaksAndKeepTheirRuns) {
  std::string text = "a\r\nb\nc\rd";
  struct Case {
    size_t from, lines, end;
  } cases[] = {{0, 1, 3}, {0, 2, 5}, {0, 3, 7}, {0, 4, 8}, {3, 1, 5}, {7, 5, 8}, {8, 1, 8}, {0, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(endOfLines(text, c.from, c.lines), c.end) << c.from << "+" << c.lines;

  constexpr TextColour green{0, 150, 0};
  std::vector<ColouredRun> runs{{1, 4, green}, {6, 1, green}};
  EXPECT_EQ(runsWithin(runs, 3, 5), (std::vector<ColouredRun>{{0, 2, green}}));
  EXPECT_EQ(runsWithin(runs, 0, 3), (std::vector<ColouredRun>{{1, 2, green}}));
  EXPECT_EQ(runsWithin(runs, 5, 8), (std::vector<ColouredRun>{{1, 1, green}}));
  EXPECT_TRUE(runsWithin(runs, 7, 8).empty());
}

TEST(LiveCheckText, ErrorLinesAndBudgetPerKind) {
  EXPECT_EQ(checkErrorText({3, "unknown instruction 'mvo'"}), "Line 3: unknown instruction 'mvo'");

  shader::ShaderCheck vertex = shader::checkShaderSource("vs.1.1\nm4x4 oPos, v0, c0\nmov r0, c4\n", shader::ShaderKind::vertex);
  EXPECT_EQ(budgetText(*vertex.budget),
            "vs.1.1: 5 of 128 instruction slots, 1 of 12 temporary registers, 5 of 96 constant registers");

  shader::ShaderCheck phases = shader::checkShaderSource("ps.1.4\ntexld r0, t0\nphase\nmov r0, r0\n", shader::ShaderKind::pixel);
  EXPECT_EQ(budgetText(*phases.budget),
            "ps.1.4: phase 1: 0 of 8 arithmetic, 1 of 6 texture slots; phase 2: 1 of 8 arithmetic, 0 of 6 texture slots;"
            " 1 of 6 temporary registers, 0 of 8 constant registers");

  shader::ShaderCheck pixel = shader::checkShaderSource("ps.1.1\ntex t0\nmov r0, t0\n", shader::ShaderKind::pixel);
  EXPECT_EQ(budgetText(*pixel.budget),
            "ps.1.1: 1 of 8 arithmetic, 1 of 4 texture slots; 1 of 2 temporary registers, 0 of 8 constant registers");
}

}  // namespace
}  // namespace veltrace
