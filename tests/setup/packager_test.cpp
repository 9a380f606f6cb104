// The packager: build from a script and a payload folder, attach to a setup
// program, read back; and the PE version reader it fills the records with.

#include <gtest/gtest.h>

#include "setup/package_locator.h"
#include "setup/package_reader.h"
#include "setup/pe_version.h"
#include "tests/setup/package_fixture.h"

namespace veltrace::setup {
namespace {

using veltrace::test::TempFolder;

const std::string probePath = VELTRACE_SOURCE_DIR "/tests/setup/data/version_probe.exe";

std::string scriptNaming(const std::string& fileLines) {
  return "Version=2.66.1387\r\n\r\n[Install]\r\nOptions=0\r\n\r\n[Symbols]\r\nAppFolder=1|255|C:\\App\r\n"
         "AppTitle=2|255|App\r\n\r\n[Files]\r\nInstallDir=<AppFolder>\r\n" +
         fileLines + "\r\n";
}

TEST(PeVersion, ReadsTheFixedVersionOfARealExecutable) {
  auto image = readWholeFile(probePath);
  ASSERT_TRUE(image);
  auto version = readPeVersion(*image);
  ASSERT_TRUE(version);
  EXPECT_EQ(version->fileVersionMS, 0x00010002u);
  EXPECT_EQ(version->fileVersionLS, 0x00030004u);
  EXPECT_EQ(version->productVersionMS, 0x00050006u);
  EXPECT_EQ(version->productVersionLS, 0x00070008u);
  EXPECT_EQ(formatVersion(static_cast<std::int32_t>(version->fileVersionMS), version->fileVersionLS), "1.2.3.4");
}

TEST(PeVersion, DamagedImagesGiveNoVersionAndAreNeverReadPastTheirEnd) {
  auto image = readWholeFile(probePath);
  ASSERT_TRUE(image);
  for (std::size_t length = 0; length < image->size(); length += 7) {
    // A copy of exactly that length, so that ASan sees any read behind it.
    std::string cut = image->substr(0, length);
    auto version = readPeVersion(cut);
    if (version) {
      EXPECT_EQ(version->fileVersionMS, 0x00010002u) << length;
    }
  }
  for (std::size_t at = 0; at < 1024 && at < image->size(); ++at) {
    std::string damaged = *image;
    damaged[at] = static_cast<char>(0xFF);
    readPeVersion(damaged);  // any answer, but no crash and no stray read
  }
  EXPECT_FALSE(readPeVersion("MZ"));
  EXPECT_FALSE(readPeVersion("not a program at all"));
}

TEST(Packager, BuildsAPackageWhoseScriptComesFirstAndFilesFollowInLineOrder) {
  TempFolder payload;
  createFolder(payload.corePath() + "\\0001");
  createFolder(payload.corePath() + "\\0001\\F7");
  auto probe = readWholeFile(probePath);
  ASSERT_TRUE(probe);
  test::writeFile(payload, "0001\\F7\\probe.exe", *probe);
  test::writeFile(payload, "0001\\F7\\readme.txt", "read me");
  test::writeFile(payload, "0001\\F7\\unused.txt", "not delivered");
  std::string script = test::writeFile(
      payload, "Setup.ini",
      scriptNaming("File=0001\\F7\\readme.txt|7|3|2|0|0=0001\\F7\\readme.txt|0|-1|247|0||\r\n"
                   "File=0001\\F7\\probe.exe|1|3|2|0|0=0001\\F7\\probe.exe|0|-1|247|0||\r\n"
                   "File=0001\\F7\\unused.txt|0|16|2|0|0=0001\\F7\\unused.txt|0|-1|247|0||"));
  MessageLog log;
  auto container = buildPackage(script, payload.corePath(), log);
  ASSERT_TRUE(container);

  MessageLog attachLog;
  std::string program(2048, '\0');
  program[0] = 'M';
  program[1] = 'Z';
  auto image = attachPackage(program, *container, attachLog);
  ASSERT_TRUE(image);
  TempFolder out;
  std::string setup = test::writeFile(out, "Setup.exe", *image);
  auto locator = readPackageLocator(setup);
  ASSERT_TRUE(locator);
  EXPECT_EQ(locator->packageOffset, program.size());
  EXPECT_EQ(locator->packageEnd, image->size());

  PackageReader reader;
  ASSERT_EQ(reader.open(setup, locator->packageOffset), 0);
  FileInfo info;
  std::string name;
  ASSERT_EQ(reader.readHeader(info, name), RecordRead::record);
  EXPECT_EQ(name, "Setup.ini");
  EXPECT_EQ(info.checksum, scriptRecordChecksum);
  EXPECT_EQ(info.lastWriteTime, 0u);
  auto packedScript = reader.readToMemory(info);
  ASSERT_TRUE(packedScript);
  // The packed copy carries each file's real size and the packaging time.
  EXPECT_NE(packedScript->find("File=0001\\F7\\probe.exe|" + std::to_string(probe->size()) + "|3|"),
            std::string::npos);
  EXPECT_NE(packedScript->find("Timestamp="), std::string::npos);

  ASSERT_EQ(reader.readHeader(info, name), RecordRead::record);
  EXPECT_EQ(name, "0001\\F7\\readme.txt");
  EXPECT_EQ(reader.readToMemory(info), "read me");
  EXPECT_NE(info.lastWriteTime, 0u);

  ASSERT_EQ(reader.readHeader(info, name), RecordRead::record);
  EXPECT_EQ(name, "0001\\F7\\probe.exe");
  EXPECT_EQ(info.fileVersionHigh, 0x00010002);
  EXPECT_EQ(info.fileVersionLow, 0x00030004u);
  EXPECT_EQ(info.productVersionHigh, 0x00050006);
  EXPECT_EQ(info.productVersionLow, 0x00070008u);
  EXPECT_EQ(reader.readToMemory(info), *probe);

  EXPECT_EQ(reader.readHeader(info, name), RecordRead::endOfArchive);  // unused.txt is not delivered
}

TEST(Packager, RefusesMissingFilesUnsafeSourcesAndInvalidScripts) {
  TempFolder payload;
  MessageLog log;
  std::string missing =
      test::writeFile(payload, "a.ini", scriptNaming("File=x.txt|1|3|2|0|0=x.txt|0|-1|247|0||"));
  EXPECT_FALSE(buildPackage(missing, payload.corePath(), log));
  std::string escaping =
      test::writeFile(payload, "b.ini", scriptNaming("File=x.txt|1|3|2|0|0=..\\x.txt|0|-1|247|0||"));
  EXPECT_FALSE(buildPackage(escaping, payload.corePath(), log));
  std::string invalid = test::writeFile(payload, "c.ini", "Version=1.0\r\n");
  EXPECT_FALSE(buildPackage(invalid, payload.corePath(), log));
  EXPECT_FALSE(buildPackage(payload.corePath() + "\\none.ini", payload.corePath(), log));
  EXPECT_GE(log.pending().size(), 4u);
}

TEST(Packager, AttachingAgainReplacesTheOldPackage) {
  std::string program(512, 'p');
  program[0] = 'M';
  program[1] = 'Z';
  MessageLog log;
  auto first = attachPackage(program, test::containerOf({{"Setup.ini", "one"}}), log);
  ASSERT_TRUE(first);
  std::string second = test::containerOf({{"Setup.ini", "two"}});
  auto again = attachPackage(*first, second, log);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->size(), program.size() + second.size());
  EXPECT_FALSE(attachPackage("not an exe", second, log));
}

// Locator words that claim a package inside the DOS header itself describe
// no package the program can carry: the program is kept whole, and the new
// package reads back.
TEST(Packager, AttachingKeepsAProgramWhoseLocatorPointsIntoItsHeader) {
  std::string program(512, 'p');
  program[0] = 'M';
  program[1] = 'Z';
  ASSERT_TRUE(encodeLocator(program, {4, static_cast<std::uint32_t>(program.size())}));
  MessageLog log;
  std::string container = test::containerOf({{"Setup.ini", "script"}});
  auto image = attachPackage(program, container, log);
  ASSERT_TRUE(image);
  ASSERT_EQ(image->size(), program.size() + container.size());

  TempFolder folder;
  std::string path = test::writeFile(folder, "setup.exe", *image);
  auto locator = readPackageLocator(path);
  ASSERT_TRUE(locator);
  EXPECT_EQ(locator->packageOffset, program.size());
  PackageReader reader;
  ASSERT_EQ(reader.open(path, locator->packageOffset), 0);
  EXPECT_EQ(reader.loadScriptText(), "script");
}

}  // namespace
}  // namespace veltrace::setup
