// Finding the package at start-up: command line, the program's own
// appended package, "Setup.ini" beside it; message 131 and exit code 3.

#include <gtest/gtest.h>

#include "setup/package_locator.h"
#include "setup/package_search.h"
#include "tests/setup/fake_platform.h"
#include "tests/setup/package_fixture.h"

namespace veltrace::setup {
namespace {

using test::FakePlatform;
using veltrace::test::TempFolder;

const char* validScript =
    "Version=2.66.1387\r\n\r\n[Install]\r\n\r\n[Symbols]\r\nAppFolder=1|255|C:\\App\r\nAppTitle=2|255|Found\r\n\r\n";

// A fake setup program: a DOS header and some code bytes.
std::string programImage() {
  std::string image(4096, '\x90');
  image[0] = 'M';
  image[1] = 'Z';
  return image;
}

class PackageSearchTest : public ::testing::Test {
 protected:
  PackageFound find(const std::string& commandLine, const std::string& program, const std::string& current) {
    return findAndLoadPackage({commandLine, program, current}, reader, script, log);
  }

  TempFolder folder;
  TempFolder current;
  FakePlatform platform;
  SetupScript script{platform};
  PackageReader reader;
  MessageLog log;
};

TEST_F(PackageSearchTest, AnAppendedPackageIsReadFromTheProgramItself) {
  MessageLog packLog;
  auto image = attachPackage(programImage(), test::containerOf({{"Setup.ini", validScript}}), packLog);
  ASSERT_TRUE(image);
  std::string program = test::writeFile(folder, "Setup.exe", *image);
  auto found = find("", program, current.corePath());
  ASSERT_TRUE(found.ok) << found.failureMessage;
  EXPECT_TRUE(found.hasArchive);
  EXPECT_EQ(found.chosenPath, program);
  EXPECT_EQ(found.workingFolder, folder.corePath());
  EXPECT_EQ(script.symbolValue(symbolAppTitle), "Found");
}

TEST_F(PackageSearchTest, ABrokenLocatorFallsBackToTheScriptBesideTheProgram) {
  MessageLog packLog;
  auto image = attachPackage(programImage(), test::containerOf({{"Setup.ini", validScript}}), packLog);
  ASSERT_TRUE(image);
  // Cut the file: the recorded end now lies past it.
  std::string program = test::writeFile(folder, "Setup.exe", image->substr(0, image->size() - 1));
  auto found = find("", program, current.corePath());
  EXPECT_FALSE(found.ok);
  EXPECT_EQ(found.exitCode, exitCodePackageInvalid);

  std::string script = test::writeFile(folder, "Setup.ini", validScript);
  found = find("", program, current.corePath());
  ASSERT_TRUE(found.ok);
  EXPECT_FALSE(found.hasArchive);
  EXPECT_EQ(found.chosenPath, script);

  // The current folder's script comes first.
  std::string here = test::writeFile(current, "Setup.ini", validScript);
  found = find("", program, current.corePath());
  ASSERT_TRUE(found.ok);
  EXPECT_EQ(found.chosenPath, here);
  EXPECT_EQ(found.workingFolder, current.corePath());
}

TEST_F(PackageSearchTest, ALocatorThatMissesTheContainerFailsEvenWithOneElsewhere) {
  std::string image = programImage() + test::containerOf({{"Setup.ini", validScript}});
  encodeLocator(image, {100, static_cast<std::uint32_t>(image.size())});
  std::string program = test::writeFile(folder, "Setup.exe", image);
  test::writeFile(folder, "Setup.ini", validScript);
  auto found = find("", program, current.corePath());
  EXPECT_FALSE(found.ok);
  EXPECT_EQ(found.exitCode, exitCodePackageInvalid);
  EXPECT_EQ(found.failureMessage,
            program + "\n\nThe installation database is not valid.\n\nThe installation will be cancelled.");
}

TEST_F(PackageSearchTest, TheCommandLinePathDecidesByItsExtension) {
  std::string program = test::writeFile(folder, "Setup.exe", programImage());
  std::string package = test::writeFile(folder, "Package.OVZ", test::containerOf({{"setup.INI", validScript}}));
  auto found = find(package, program, current.corePath());
  ASSERT_TRUE(found.ok);
  EXPECT_TRUE(found.hasArchive);

  std::string script = test::writeFile(folder, "Other.Ini", validScript);
  found = find(script, program, current.corePath());
  ASSERT_TRUE(found.ok);
  EXPECT_FALSE(found.hasArchive);

  std::string text = test::writeFile(folder, "package.txt", validScript);
  EXPECT_FALSE(find(text, program, current.corePath()).ok);
  EXPECT_FALSE(find(folder.corePath() + "\\missing.ovz", program, current.corePath()).ok);
}

TEST_F(PackageSearchTest, AnInvalidScriptOrNoneAtAllEndsWithCode3) {
  std::string program = test::writeFile(folder, "Setup.exe", programImage());
  auto found = find("", program, current.corePath());
  EXPECT_FALSE(found.ok);
  EXPECT_EQ(found.exitCode, exitCodePackageInvalid);

  std::string package = test::writeFile(folder, "noscript.ovz", test::containerOf({{"other.txt", "x"}}));
  EXPECT_FALSE(find(package, program, current.corePath()).ok);
  EXPECT_FALSE(reader.isOpen());

  std::string invalid = test::writeFile(folder, "bad.ini", "Version=1\r\n");
  found = find(invalid, program, current.corePath());
  EXPECT_FALSE(found.ok);
  EXPECT_NE(found.failureMessage.find("The installation database is not valid."), std::string::npos);
}

}  // namespace
}  // namespace veltrace::setup
