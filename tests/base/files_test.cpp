#include "base/files.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

using namespace veltrace;

TEST(CorePaths, SplitIntoFolderAndName) {
  EXPECT_EQ(folderPart("a\\b\\c.veff"), "a\\b\\");
  EXPECT_EQ(namePart("a\\b\\c.veff"), "c.veff");
  EXPECT_EQ(folderPart("c.veff"), "");
  EXPECT_EQ(namePart("c.veff"), "c.veff");
}

TEST(ReplaceFileWith, WritesTheWholeContentAndReplacesThePreviousFile) {
  test::TempFolder folder;
  std::string path = folder.corePath() + "\\file.txt";
  ASSERT_TRUE(replaceFileWith(path, "first"));
  ASSERT_TRUE(replaceFileWith(path, "second\r\n"));
  EXPECT_EQ(readWholeFile(path), std::optional<std::string>("second\r\n"));
  EXPECT_FALSE(fileExists(path + ".saving~"));
}

TEST(ReplaceFileWith, FailsWithoutTouchingAnythingWhenTheFolderIsMissing) {
  test::TempFolder folder;
  std::string path = folder.corePath() + "\\missing\\file.txt";
  EXPECT_FALSE(replaceFileWith(path, "x"));
  EXPECT_FALSE(fileExists(path));
}

TEST(CreateFolder, TellsCreatedFromAlreadyExisting) {
  test::TempFolder folder;
  std::string path = folder.corePath() + "\\sub";
  EXPECT_EQ(createFolder(path), FolderResult::created);
  EXPECT_EQ(createFolder(path), FolderResult::alreadyExisted);
  EXPECT_EQ(createFolder(folder.corePath() + "\\no\\such"), FolderResult::failed);
  EXPECT_TRUE(folderExists(path));
}

TEST(ReadWholeFile, GivesNothingForAMissingFile) {
  test::TempFolder folder;
  EXPECT_FALSE(readWholeFile(folder.corePath() + "\\none.txt").has_value());
}
