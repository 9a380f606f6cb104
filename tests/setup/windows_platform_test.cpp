// The Windows side of the setup core, against the real system (under Wine
// in the test tier): registry, INI and environment references, version
// information through the system's version functions, extraction with
// Windows times and attributes, the runtime folders.

#include <gtest/gtest.h>
#include <windows.h>

#include "setup/disk_files.h"
#include "setup/package_reader.h"
#include "setup/pe_version.h"
#include "setup/windows_platform.h"
#include "tests/setup/package_fixture.h"

namespace veltrace::setup {
namespace {

using veltrace::test::TempFolder;

const std::string probePath = VELTRACE_SOURCE_DIR "/tests/setup/data/version_probe.exe";

// A registry key of its own under HKEY_CURRENT_USER, removed afterwards.
class RegistryExpansion : public ::testing::Test {
 protected:
  void SetUp() override {
    keyPath = "Software\\VeltraceSetupTest\\" + std::to_string(GetCurrentProcessId());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VeltraceSetupTest");
  }
  void setValue(const char* name, DWORD type, const std::string& data) {
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  std::string expand(const std::string& text) {
    SymbolTable symbols;
    symbols.add(Symbol{"TestKey", noSymbolId, "HKCU\\" + keyPath});
    return expandSymbols(text, symbols, platform);
  }

  std::string keyPath;
  HKEY key = nullptr;
  WindowsSetupPlatform platform;
};

TEST_F(RegistryExpansion, StringTypesYieldTextAndOtherTypesNothing) {
  setValue("Plain", REG_SZ, std::string("C:\\Plain\0", 9));
  setValue("Expandable", REG_EXPAND_SZ, std::string("%VELTRACE_SETUP_TEST%\\sub\0", 26));
  setValue("Multi", REG_MULTI_SZ, std::string("first\0second\0\0", 14));
  DWORD number = 42;
  ASSERT_EQ(RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number),
            ERROR_SUCCESS);
  setValue("", REG_SZ, std::string("default\0", 8));
  SetEnvironmentVariableA("VELTRACE_SETUP_TEST", "D:\\Expanded");

  EXPECT_EQ(expand("<@<TestKey>\\Plain>"), "C:\\Plain");
  EXPECT_EQ(expand("<@<TestKey>\\Expandable>"), "D:\\Expanded\\sub");
  EXPECT_EQ(expand("<@<TestKey>\\Multi>"), "first");
  EXPECT_EQ(expand("<@<TestKey>\\Number>"), "");
  EXPECT_EQ(expand("<@<TestKey>\\Number=!fallback>"), "fallback");
  EXPECT_EQ(expand("<@<TestKey>\\>"), "default");
  EXPECT_EQ(expand("<@<TestKey>\\Missing=@<TestKey>\\Plain>"), "C:\\Plain");
  EXPECT_EQ(expand("<@HKCU\\Software\\NoSuchVeltraceKey\\Value>"), "");
}

TEST(WindowsPlatform, ReadsIniFilesAndTheEnvironment) {
  TempFolder folder;
  std::string ini = test::writeFile(folder, "test.ini", "[Office]\r\nPath=C:\\Office\r\n");
  WindowsSetupPlatform platform;
  SymbolTable symbols;
  EXPECT_EQ(expandSymbols("<#" + ini + "?Office?Path>", symbols, platform), "C:\\Office");
  EXPECT_EQ(expandSymbols("<#" + ini + "?Office?Missing=!none>", symbols, platform), "none");
  SetEnvironmentVariableA("VELTRACE_SETUP_ENV", "value");
  EXPECT_EQ(expandSymbols("<%VELTRACE_SETUP_ENV>", symbols, platform), "value");
  EXPECT_EQ(expandSymbols("<%VELTRACE_SETUP_UNSET=!unset>", symbols, platform), "unset");
  EXPECT_NE(platform.platformBit(), 0);
}

TEST(WindowsPlatform, SystemVersionFunctionsAgreeWithThePortableReader) {
  auto version = readFileVersion(probePath);
  ASSERT_TRUE(version);
  EXPECT_EQ(version->fileVersionMS, 0x00010002u);
  EXPECT_EQ(version->fileVersionLS, 0x00030004u);
  EXPECT_EQ(version->productVersionMS, 0x00050006u);
  EXPECT_EQ(version->productVersionLS, 0x00070008u);
  auto image = readWholeFile(probePath);
  ASSERT_TRUE(image);
  auto portable = readPeVersion(*image);
  ASSERT_TRUE(portable);
  EXPECT_EQ(portable->fileVersionLS, version->fileVersionLS);
  EXPECT_EQ(portable->productVersionMS, version->productVersionMS);

  auto info = fileInfoFromDisk(probePath);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->fileVersionHigh, 0x00010002);
  EXPECT_EQ(info->size, image->size());
}

TEST(WindowsPlatform, ExtractionSetsTheRecordsTimeAndMaskedAttributes) {
  TempFolder folder;
  constexpr std::uint64_t time = 130000000012345678ull;
  std::string path = test::writeFile(
      folder, "p.ovz",
      test::containerOf({{"hidden.txt", "h", attributeHidden | attributeReadOnly | 0x0100, time},
                         {"normal.txt", "n", attributeNormal, time}}));
  PackageReader reader;
  ASSERT_EQ(reader.open(path, 0), 0);
  FileInfo info;
  ASSERT_TRUE(reader.find("hidden.txt", info));
  std::string hidden = folder.corePath() + "\\hidden.txt";
  ASSERT_TRUE(reader.extractToFile(info, hidden, nullptr));
  auto onDisk = fileInfoFromDisk(hidden);
  ASSERT_TRUE(onDisk);
  // Wine reports every file as archived; the archive bit is not compared.
  constexpr std::uint16_t compared = attributeReadOnly | attributeHidden | attributeSystem | 0x0100;
  EXPECT_EQ(onDisk->attributes & compared, attributeHidden | attributeReadOnly);
  EXPECT_EQ(onDisk->lastWriteTime, time);

  ASSERT_TRUE(reader.find("normal.txt", info));
  std::string normal = folder.corePath() + "\\normal.txt";
  ASSERT_TRUE(reader.extractToFile(info, normal, nullptr));
  onDisk = fileInfoFromDisk(normal);
  ASSERT_TRUE(onDisk);
  EXPECT_EQ(onDisk->attributes & compared, 0);  // 0x80 masked away: nothing protective set
  EXPECT_TRUE(deleteFileForcing(hidden));
  EXPECT_FALSE(fileInfoFromDisk(hidden));
}

// Paths are ANSI text throughout the setup core: a folder whose name has a
// character outside ASCII ("Caf\u00E9" in the system's code page) is the same
// folder for the package, the extracted file, its time and its version.
TEST(WindowsPlatform, PathsOutsideAsciiNameTheFilesTheySay) {
  char ansi[16] = {};
  BOOL defaulted = FALSE;
  if (WideCharToMultiByte(CP_ACP, 0, L"Caf\u00E9", -1, ansi, sizeof ansi, nullptr, &defaulted) == 0 || defaulted)
    GTEST_SKIP() << "the code page has no \u00E9";
  TempFolder folder;
  std::string inner = folder.corePath() + "\\" + ansi;
  ASSERT_TRUE(CreateDirectoryA(inner.c_str(), nullptr));
  constexpr std::uint64_t time = 130000000012345678ull;
  std::string package = inner + "\\p.ovz";
  ASSERT_TRUE(replaceFileWith(package, test::containerOf({{"a.txt", "content", attributeArchive, time}})));

  PackageReader reader;
  ASSERT_EQ(reader.open(package, 0), 0);
  FileInfo info;
  ASSERT_TRUE(reader.find("a.txt", info));
  std::string target = inner + "\\a.txt";
  ASSERT_TRUE(reader.extractToFile(info, target, nullptr));
  EXPECT_NE(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
  auto onDisk = fileInfoFromDisk(target);
  ASSERT_TRUE(onDisk);
  EXPECT_EQ(onDisk->lastWriteTime, time);

  std::string probe = inner + "\\probe.exe";
  ASSERT_TRUE(CopyFileA(probePath.c_str(), probe.c_str(), FALSE));
  auto version = readFileVersion(probe);
  ASSERT_TRUE(version);
  EXPECT_EQ(version->fileVersionMS, 0x00010002u);
}

TEST(WindowsPlatform, RuntimeFoldersFillTheRuntimeSymbols) {
  RuntimeFolders folders = windowsRuntimeFolders();
  EXPECT_FALSE(folders.setupProgramPath.empty());
  EXPECT_FALSE(folders.windowsFolder.empty());
  EXPECT_FALSE(folders.systemFolder.empty());
  ASSERT_FALSE(folders.tempFolder.empty());
  EXPECT_NE(folders.tempFolder.back(), '\\');
  EXPECT_FALSE(folders.userProfileFolder.empty());  // every NT system has one
  WindowsSetupPlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(
      "Version=2.66.1387\r\n[Install]\r\n[Symbols]\r\nAppFolder=1|255|<WinDrive>\\App\r\nAppTitle=2|255|App\r\n"
      "WinDrive=20|255|(runtime)\r\n",
      log));
  ASSERT_TRUE(script.applyRuntimeSymbols(folders));
  EXPECT_EQ(script.symbolValue(symbolWinDrive), folders.windowsFolder.substr(0, 2));
  EXPECT_EQ(script.symbolValue(symbolAppFolder), folders.windowsFolder.substr(0, 2) + "\\App");
}

TEST(WindowsPlatform, TheShippedScriptResolvesItsFoldersOnThisSystem) {
  auto text = readWholeFile(VELTRACE_DATA_DIR "/Setup.ini");
  ASSERT_TRUE(text);
  WindowsSetupPlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(*text, log));
  ASSERT_TRUE(script.applyRuntimeSymbols(windowsRuntimeFolders()));
  // Program files from the registry, the program group below the Programs
  // menu the shell folders name; all of them absolute paths.
  std::string appFolder = script.symbolValue(symbolAppFolder);
  EXPECT_EQ(appFolder.substr(1, 2), ":\\") << appFolder;
  EXPECT_TRUE(appFolder.ends_with("\\Veltrace")) << appFolder;
  EXPECT_EQ(appFolder.find('<'), std::string::npos) << appFolder;
  std::string group = script.symbolValue(symbolProgGroupDir);
  EXPECT_EQ(group.substr(1, 2), ":\\") << group;
  EXPECT_TRUE(group.ends_with("\\Veltrace")) << group;
  std::string desktop = script.symbolValue(symbolDesktop);
  EXPECT_EQ(desktop.substr(1, 2), ":\\") << desktop;
  EXPECT_EQ(script.symbolValue(symbolUninstallRegPath),
            "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrace");
}

}  // namespace
}  // namespace veltrace::setup
