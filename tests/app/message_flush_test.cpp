#include <gtest/gtest.h>

#include "app/message_flush.h"

namespace veltrace::app {
namespace {

TEST(MessageFlush, ThreeAppendedLinesAddThreeLinesInAppendOrder) {
  MessageLog log;
  log.append("Scene \"cube.vase\" loaded successfully ...");
  log.append("one");
  log.append("two");
  MessageFlush flush = takeMessageFlush(log);
  EXPECT_EQ(flush.text, "Scene \"cube.vase\" loaded successfully ...\r\none\r\ntwo\r\n");
  EXPECT_EQ(flush.linesAdded, 3);
  EXPECT_FALSE(flush.replace);
  EXPECT_TRUE(log.pending().empty()) << "a flush takes the lines";
}

TEST(MessageFlush, NothingPendingIsEmptyEvenWhenReplacing) {
  MessageLog log;
  MessageFlush flush = takeMessageFlush(log, true);
  EXPECT_TRUE(flush.empty());
  EXPECT_FALSE(flush.replace) << "the pane keeps its text";
  EXPECT_EQ(flush.text, "");
}

TEST(MessageFlush, ReplacingCarriesTheFlag) {
  MessageLog log;
  log.append("x");
  MessageFlush flush = takeMessageFlush(log, true);
  EXPECT_TRUE(flush.replace);
  EXPECT_EQ(flush.linesAdded, 1);
}

TEST(MessageFlush, SecondFlushHoldsOnlyTheLinesAppendedSinceTheFirst) {
  MessageLog log;
  log.append("a");
  takeMessageFlush(log);
  log.append("b");
  EXPECT_EQ(takeMessageFlush(log).text, "b\r\n");
  EXPECT_TRUE(takeMessageFlush(log).empty());
}

struct LineCase {
  const char* line;
  const char* text;
  int lines;
};

TEST(MessageFlush, LineBreaksInsideALineBecomeLinesOfThePane) {
  const LineCase cases[] = {
      {"", "\r\n", 1},  // an empty line is still a line
      {"plain", "plain\r\n", 1},
      {"error (3): unknown\ninstruction", "error (3): unknown\r\ninstruction\r\n", 2},
      {"already\r\nbroken", "already\r\nbroken\r\n", 2},
      {"ends with a break\n", "ends with a break\r\n\r\n", 2},
      {"\n\n", "\r\n\r\n\r\n", 3},
  };
  for (const auto& c : cases) {
    MessageLog log;
    log.append(c.line);
    MessageFlush flush = takeMessageFlush(log);
    EXPECT_EQ(flush.text, c.text) << c.line;
    EXPECT_EQ(flush.linesAdded, c.lines) << c.line;
  }
}

}  // namespace
}  // namespace veltrace::app
