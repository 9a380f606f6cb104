#include <gtest/gtest.h>

#include "app/help_file.h"

namespace veltrace::app {
namespace {

TEST(HelpFile, LiesInTheHelpFolderBelowTheProgramFolder) {
  EXPECT_EQ(helpFilePath("C:\\Veltrace"), "C:\\Veltrace\\help\\veltrace.chm");
}

TEST(HelpFailureLine, GivesTheHelpSystemsOwnDescription) {
  EXPECT_EQ(helpFailureLine(std::string("The file was not found."), "C:\\h.chm", help_topic::color),
            "ERROR! The file was not found.");
}

struct SilentFailureCase {
  std::optional<std::string> description;
  const char* topic;
  const char* expected;
};

TEST(HelpFailureLine, NamesTheFileWhenTheHelpSystemSaysNothing) {
  const SilentFailureCase cases[] = {
      {std::nullopt, "", "ERROR! The help file \"C:\\h.chm\" could not be opened."},
      {std::string(), "", "ERROR! The help file \"C:\\h.chm\" could not be opened."},
      {std::nullopt, "::/html/pixel shader.htm",
       "ERROR! The help topic \"::/html/pixel shader.htm\" could not be opened in the help file \"C:\\h.chm\"."},
  };
  for (const auto& c : cases) EXPECT_EQ(helpFailureLine(c.description, "C:\\h.chm", c.topic), c.expected);
}

}  // namespace
}  // namespace veltrace::app
