// The install script: reading lines and sections, writing back, validation,
// symbols per platform, file groups, shortcuts and texts.

#include <gtest/gtest.h>

#include "base/files.h"
#include "setup/disk_files.h"
#include "setup/setup_script.h"
#include "tests/setup/fake_platform.h"
#include "tests/support/temp_folder.h"

namespace veltrace::setup {
namespace {

using test::FakePlatform;

// A small valid script; tests append or replace pieces of it.
std::string minimalScript(std::string_view extra = "") {
  return "Version=2.66.1387\r\n\r\n[Install]\r\nOptions=0\r\n\r\n[Symbols]\r\nAppFolder=1|255|C:\\App\r\n"
         "AppTitle=2|255|App\r\nAppVersion=3|255|1.0\r\n\r\n" +
         std::string(extra);
}

std::string shippedScript() {
  auto text = readWholeFile(VELTRACE_DATA_DIR "/Setup.ini");
  return text ? *text : std::string();
}

TEST(ScriptLines, AreTrimmedCutAt4095AndSkippedWhenEmpty) {
  auto lines = readScriptLines(" \t first \r\n\r\n\b\v\f\nsec\rond\n   \nlast");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "first");
  EXPECT_EQ(lines[1], "second");
  EXPECT_EQ(lines[2], "last");

  auto longLines = readScriptLines(std::string(10000, 'x'));
  ASSERT_EQ(longLines.size(), 3u);
  EXPECT_EQ(longLines[0].size(), maxScriptLineLength);
  EXPECT_EQ(longLines[1].size(), maxScriptLineLength);
  EXPECT_EQ(longLines[2].size(), 10000 - 2 * maxScriptLineLength);
}

TEST(ScriptDocument, KeepsRepeatedSectionsApartAndEntriesWithoutValues) {
  auto documents = parseScriptDocuments(
      "root=1\n[Files]\nInstallDir=a\n[Files]\nInstallDir=b\n; comment\nDescription\nKey  =  spaced\n[Open\n"
      "[[Second]]\n[Other]\nx=y\n");
  ASSERT_EQ(documents.size(), 2u);
  const auto& sections = documents[0].sections;
  ASSERT_EQ(sections.size(), 4u);
  auto it = sections.begin();
  EXPECT_FALSE(it->hasHeader);
  EXPECT_EQ(it->entries[0].key, "root");
  ++it;
  EXPECT_EQ(it->name, "Files");
  EXPECT_EQ(*it->entries[0].value, "a");
  ++it;
  EXPECT_EQ(*it->entries[0].value, "b");
  EXPECT_EQ(it->entries[1].key, "; comment");
  EXPECT_FALSE(it->entries[1].value);
  EXPECT_EQ(it->entries[2].key, "Description");
  EXPECT_FALSE(it->entries[2].value);
  EXPECT_EQ(it->entries[3].key, "Key");
  EXPECT_EQ(*it->entries[3].value, "  spaced");
  ++it;
  EXPECT_EQ(it->name, "Open");
  EXPECT_EQ(documents[1].name, "Second");
  EXPECT_TRUE(documents[1].hasHeader);
  EXPECT_EQ(documents[1].sections.back().name, "Other");
}

TEST(ScriptDocument, WritesSectionsWithCrLfAndABlankLineAfterEntries) {
  auto documents = parseScriptDocuments("a=1\n[Empty]\n[Full]\nk\nv=w\n[[Next]]\n[S]\nx=\n");
  EXPECT_EQ(writeScriptDocuments(documents),
            "a=1\r\n\r\n[Empty]\r\n[Full]\r\nk\r\nv=w\r\n\r\n[[Next]]\r\n[S]\r\nx=\r\n\r\n");
}

TEST(ScriptDocument, HeadersReadBackTheSameAfterWriting) {
  const std::string texts[] = {
      "[[Name]extra]\n[S]\nk=v\n",
      "[[Name]]]\n",
      "[" + std::string(5000, 's') + "\n",
      "[[" + std::string(4093, 'd') + "\nk\n",
      "[Open\nk=v\n",
  };
  for (const auto& text : texts) {
    std::string once = writeScriptDocuments(parseScriptDocuments(text));
    EXPECT_EQ(writeScriptDocuments(parseScriptDocuments(once)), once) << text.substr(0, 20);
  }
}

TEST(ScriptDocument, TheShippedScriptIsWrittenBackUnchanged) {
  std::string text = shippedScript();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(writeScriptDocuments(parseScriptDocuments(text)), text);

  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(text, log));
  EXPECT_EQ(script.text(), text);
  veltrace::test::TempFolder folder;
  std::string saved = folder.corePath() + "\\Setup.ini";
  ASSERT_TRUE(script.saveScript(saved));
  EXPECT_EQ(readWholeFile(saved), text);
}

TEST(ScriptValidation, RejectsWhatTheInstallerCannotUse) {
  struct Case {
    const char* why;
    std::string text;
  };
  const Case cases[] = {
      {"wrong version", "Version=2.66.1386\r\n[Install]\r\n[Symbols]\r\nAppFolder=1|255|a\r\nAppTitle=2|255|b\r\n"},
      {"no version", "[Install]\r\n[Symbols]\r\nAppFolder=1|255|a\r\nAppTitle=2|255|b\r\n"},
      {"no [Install]", "Version=2.66.1387\r\n[Symbols]\r\nAppFolder=1|255|a\r\nAppTitle=2|255|b\r\n"},
      {"no [Symbols]", "Version=2.66.1387\r\n[Install]\r\n"},
      {"empty AppTitle", "Version=2.66.1387\r\n[Install]\r\n[Symbols]\r\nAppFolder=1|255|a\r\nAppTitle=2|255|\r\n"},
      {"AppFolder not for this system",
       "Version=2.66.1387\r\n[Install]\r\n[Symbols]\r\nAppFolder=1|15|a\r\nAppTitle=2|255|b\r\n"},
      {"AppTitle expands to nothing",
       "Version=2.66.1387\r\n[Install]\r\n[Symbols]\r\nAppFolder=1|255|a\r\nAppTitle=2|255|<Nothing>\r\n"},
      {"eleven File fields", minimalScript("[Files]\r\nInstallDir=<AppFolder>\r\nFile=a|1|3|2|0|0=a|0|-1|247|0\r\n")},
      {"File without source", minimalScript("[Files]\r\nInstallDir=<AppFolder>\r\nFile=a|1|3|2|0|0|0|-1|247|0||\r\n")},
      {"File source leaving the folder",
       minimalScript("[Files]\r\nInstallDir=<AppFolder>\r\nFile=a|1|3|2|0|0=x\\..|0|-1|247|0||\r\n")},
      {"[Files] without InstallDir", minimalScript("[Files]\r\nID=3\r\n")},
      {"[ShellLink] without Path", minimalScript("[ShellLink]\r\nTitle=App\r\n")},
      {"[ShellLink] without Title", minimalScript("[ShellLink]\r\nPath=<AppFolder>\\app.exe\r\n")},
  };
  FakePlatform platform;
  for (const auto& c : cases) {
    SetupScript script(platform);
    MessageLog log;
    EXPECT_FALSE(script.loadScript(c.text, log)) << c.why;
    EXPECT_FALSE(log.pending().empty()) << c.why;
  }
  SetupScript script(platform);
  MessageLog log;
  EXPECT_TRUE(script.loadScript(minimalScript(), log));
}

TEST(ScriptValidation, FillsTitleAndLinksFromTheSymbols) {
  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(
      "Version=2.66.1387\r\n[Install]\r\nOptions=2240\r\n[Symbols]\r\nAppFolder=1|255|C:\\App\r\n"
      "AppTitle=2|255|App\r\nAppVersion=3|255|1.0\r\nEmail=6|255|me@example.org\r\nWebSite=7|255|www.example.org\r\n"
      "Telephone=66|255|555\r\n",
      log));
  EXPECT_EQ(script.settings().windowTitle, "App 1.0");
  EXPECT_EQ(script.settings().webSiteLink, "www.example.org\nwww.example.org");
  EXPECT_EQ(script.settings().emailLink, "me@example.org\nmailto:me@example.org");
  EXPECT_EQ(script.settings().telephone, "555");

  ASSERT_TRUE(script.loadScript(minimalScript("[Symbols]\r\nWebSite=7|255|ignored\r\n"), log));
  EXPECT_EQ(script.settings().webSiteLink, "");  // Options bit 0x40 is off
}

TEST(ScriptSymbols, OnlyTheRunningPlatformsLineOfANameExists) {
  std::string text = minimalScript() + "";
  text.replace(text.find("AppTitle"), 0, "Programs=31|15|nine-x\r\nPrograms=31|240|nt\r\nBroken=1|2\r\n=5|255|x\r\n");
  FakePlatform nt(platformWindowsXP);
  SetupScript onNt(nt);
  MessageLog log;
  ASSERT_TRUE(onNt.loadScript(text, log));
  EXPECT_EQ(onNt.symbolValue(symbolPrograms), "nt");
  EXPECT_EQ(onNt.symbols().byName("Broken"), nullptr);

  FakePlatform nineX(platformWindows98);
  SetupScript onNineX(nineX);
  ASSERT_TRUE(onNineX.loadScript(text, log));
  EXPECT_EQ(onNineX.symbolValue(symbolPrograms), "nine-x");
  EXPECT_EQ(onNineX.rawSymbol(symbolPrograms), "nine-x");
}

TEST(ScriptSymbols, AFourthPieceIsIgnoredAndTheValueIsKeptUnexpanded) {
  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  std::string text = minimalScript("[Symbols]\r\n");
  text.replace(text.find("AppTitle"), 0, "HelpDir=17|255|<AppFolder>\\help|extra\r\n");
  ASSERT_TRUE(script.loadScript(text, log));
  EXPECT_EQ(script.rawSymbol(symbolHelpDir), "<AppFolder>\\help");
  EXPECT_EQ(script.symbolValue(symbolHelpDir), "C:\\App\\help");
  script.setSymbol(symbolAppFolder, "D:\\Elsewhere");
  EXPECT_EQ(script.symbolValue(symbolHelpDir), "D:\\Elsewhere\\help");
}

TEST(ScriptSymbols, TheShippedScriptsPrefixReferenceGivesAppData) {
  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(shippedScript(), log));
  script.setSymbol(symbolWinDir, "C:\\WINDOWS");
  EXPECT_EQ(script.expand("<App>"), "C:\\WINDOWS\\Application Data");
  // 0x70DA and App Paths (0x100).
  EXPECT_EQ(script.settings().options, 29146u);
  EXPECT_EQ(script.settings().ignore, 65534u);
}

TEST(ScriptSymbols, RuntimeFoldersSetTheirSymbols) {
  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(shippedScript(), log));
  RuntimeFolders folders;
  folders.setupProgramPath = "E:\\Downloads\\Setup.exe";
  folders.windowsFolder = "C:\\WINDOWS";
  folders.systemFolder = "C:\\WINDOWS\\system32";
  folders.tempFolder = "C:\\TEMP\\";
  ASSERT_TRUE(script.applyRuntimeSymbols(folders));
  EXPECT_EQ(script.symbolValue(symbolSetupDir), "E:\\Downloads");
  EXPECT_EQ(script.symbolValue(symbolWinDrive), "C:");
  EXPECT_EQ(script.symbolValue(symbolTempDir), "C:\\TEMP");
  EXPECT_EQ(script.symbolValue(symbolWinSysDir), "C:\\WINDOWS\\system32");
  EXPECT_EQ(script.symbolValue(symbolAppFolder), "C:\\Program Files\\Veltrace");
  EXPECT_EQ(script.symbolValue(symbolProgGroupDir), "C:\\WINDOWS\\Start Menu\\Programs\\Veltrace");

  folders.windowsFolder = "\\\\server\\share\\windows";
  ASSERT_TRUE(script.applyRuntimeSymbols(folders));
  EXPECT_EQ(script.symbolValue(symbolWinDrive), "\\\\server\\share");
  folders.tempFolder.clear();
  EXPECT_FALSE(script.applyRuntimeSymbols(folders));
}

TEST(ScriptFiles, TwelveFieldLinesReadAndWriteBack) {
  auto line = parseFileLine("0001\\F7\\app.exe|1234|2147483651|2|1|17=0001\\F7\\app.exe|-3|-1|247|128|a|b|c");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->size, 1234u);
  EXPECT_EQ(line->flags, fileFlagNeedsRestart | fileFlagDeliver | fileFlagRemove);
  EXPECT_EQ(line->overwrite, overwriteIfNewer);
  EXPECT_EQ(line->shared, sharedCreatedOnly);
  EXPECT_EQ(line->registration & registerKindMask, registerLibrary);
  EXPECT_EQ(line->source, "0001\\F7\\app.exe");
  EXPECT_EQ(line->state, -3);
  EXPECT_EQ(line->reserved, -1);
  EXPECT_EQ(line->platforms, 247u);
  EXPECT_EQ(line->attributes, 128u);
  EXPECT_EQ(line->text2, "b|c");  // the last field keeps any further bars
  EXPECT_EQ(formatFileLine(*line), "0001\\F7\\app.exe|1234|2147483651|2|1|17=0001\\F7\\app.exe|-3|-1|247|128|a|b|c");

  EXPECT_TRUE(parseFileLine("a|x|y|z||0=a||||||"));  // lenient numbers read 0
  using namespace std::string_literals;
  std::string withNul = "a\0b|1|3|2|0|0=d\0ir\\x|0|-1|247|0||"s;
  auto odd = parseFileLine(withNul);
  ASSERT_TRUE(odd);
  EXPECT_EQ(formatFileLine(*odd), withNul);
  EXPECT_FALSE(parseFileLine("a|1|3|2|0|0=a|0|-1|247|0"));
}

TEST(ScriptFiles, GroupsAndTheirEntriesAreWrittenBackInPlace) {
  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(shippedScript(), log));
  auto& groups = script.fileGroups();
  ASSERT_GE(groups.size(), 2u);
  EXPECT_EQ(groups[0].installDir, "<AppFolder>");
  EXPECT_EQ(groups[0].id, 1);
  ASSERT_FALSE(groups[0].files.empty());
  EXPECT_EQ(groups[0].files[0].line.source, "veltrace.exe");
  EXPECT_EQ(groups[1].installDir, "<AppFolder>\\Effects");

  FileEntry& file = groups[0].files[0];
  file.line.name = "C:\\Program Files\\Veltrace\\veltrace.exe";
  file.line.state = 1;
  script.writeFileEntry(groups[0], file);
  std::string text = script.text();
  EXPECT_NE(text.find("File=C:\\Program Files\\Veltrace\\veltrace.exe|0|3|2|0|0=veltrace.exe|1|-1|247|0||\r\n"),
            std::string::npos);
}

TEST(ScriptFiles, TheShippedScriptNamesOnlyDataThatExists) {
  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(shippedScript(), log));
  std::size_t named = 0;
  for (const auto& group : script.fileGroups()) {
    for (const auto& file : group.files) {
      EXPECT_TRUE(isSafeRelativePath(file.line.source)) << file.line.source;
      EXPECT_EQ(file.line.flags & fileFlagDeliver, fileFlagDeliver) << file.line.source;
      EXPECT_EQ(file.line.platforms, defaultFilePlatforms) << file.line.source;
      // The programs and the help file come from the build; everything
      // else from data/.
      if (file.line.source.ends_with(".exe") || file.line.source.ends_with(".chm")) continue;
      std::string path = std::string(VELTRACE_DATA_DIR) + "\\" + file.line.source;
      auto info = fileInfoFromDisk(path);
      ASSERT_TRUE(info) << path;
      EXPECT_EQ(info->size, file.line.size) << path;
      ++named;
    }
  }
  EXPECT_GT(named, 0u);
}

TEST(ScriptShortcuts, HaveTheirDefaults) {
  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(minimalScript("[ShellLink]\r\nTitle=App\r\nPath=<AppFolder>\\app.exe\r\n"), log));
  ASSERT_EQ(script.shortcuts().size(), 1u);
  const Shortcut& link = script.shortcuts()[0];
  EXPECT_EQ(link.title, "App");
  EXPECT_EQ(link.showCommand, 1);
  EXPECT_EQ(link.iconIndex, 0);
  EXPECT_EQ(link.locations, 0u);
  EXPECT_EQ(link.description, "");

  ASSERT_TRUE(script.loadScript(shippedScript(), log));
  ASSERT_EQ(script.shortcuts().size(), 2u);
  EXPECT_EQ(script.expand(script.shortcuts()[1].path), script.symbolValue(symbolAppFolder) + "\\Setup.exe");
  EXPECT_EQ(script.shortcuts()[1].arguments, "/remove");
  EXPECT_EQ(script.shortcuts()[1].locations, linkInProgramGroup);
}

TEST(ScriptTexts, ReadmeAndLicenseJoinTheirValuesWithCrLf) {
  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(
      minimalScript("[Extras]\r\nOptions=5\r\n\r\n[License]\r\n1=First line\r\nEmpty\r\n3=Third\r\n\r\n[Readme]\r\nr=x\r\n"),
      log));
  EXPECT_EQ(script.settings().licenseText, "First line\r\n\r\nThird");
  EXPECT_EQ(script.settings().readmeText, "x");
  EXPECT_EQ(script.settings().extrasOptions, 5u);
}

TEST(ScriptSections, ValuesAreSetAppendedAndFoundAcrossRepeats) {
  FakePlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(minimalScript("[Files]\r\nInstallDir=a\r\n\r\n[Files]\r\nInstallDir=b\r\n"), log));
  ScriptSection* first = script.section("files", false);
  ASSERT_NE(first, nullptr);
  ScriptSection* second = script.nextSection("Files", first);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(script.value(second, "installdir", ""), "b");
  EXPECT_EQ(script.nextSection("Files", second), nullptr);

  ScriptSection* install = script.section("Install", false);
  script.setValue(install, "Timestamp", "2026-12-07 10:00:00");
  script.setIntValue(install, "NoDirSelect", 1);
  script.setIntValue(install, "NoDirSelect", 2);
  EXPECT_EQ(script.intValue(install, "NoDirSelect", 0), 2);
  EXPECT_EQ(script.intValue(install, "Missing", -7), -7);
  ScriptSection* dirs = script.section("UninstallDirs", true);
  script.addEntry(dirs, "Directory", "C:\\App");
  script.addEntry(dirs, "Directory", "C:\\App\\prefs");
  std::string text = script.text();
  EXPECT_NE(text.find("Options=0\r\nTimestamp=2026-12-07 10:00:00\r\nNoDirSelect=2\r\n\r\n"), std::string::npos);
  EXPECT_NE(text.find("[UninstallDirs]\r\nDirectory=C:\\App\r\nDirectory=C:\\App\\prefs\r\n\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace veltrace::setup
