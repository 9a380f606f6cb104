// The installation engine against the fake system: the overwrite rule,
// the file states written back, Setup.exe and Setup.ini, folders, files in
// use, faults, shared counts, registration and the registry entries.

#include <gtest/gtest.h>

#include "setup/system_entries.h"
#include "tests/setup/engine_harness.h"

namespace veltrace::setup {
namespace {

using test::EngineHarness;
using test::PackagedFile;

FileInfo versions(std::int32_t productHigh, std::int32_t fileHigh, std::uint64_t time) {
  FileInfo info;
  info.attributes = attributeArchive;
  info.productVersionHigh = productHigh;
  info.fileVersionHigh = fileHigh;
  info.lastWriteTime = time;
  return info;
}

struct OverwriteCase {
  const char* name;
  std::int32_t overwrite;
  FileInfo packaged;
  FileInfo existing;
  OverwriteDecision expected;
};

TEST(OverwriteRule, DecidesByProductVersionThenFileVersionThenTime) {
  FileInfo absent;
  const OverwriteCase cases[] = {
      {"absent target installs", 0, versions(1, 1, 5), absent, OverwriteDecision::install},
      {"rule 0 keeps", 0, versions(9, 9, 9), versions(1, 1, 1), OverwriteDecision::keep},
      {"rule 1 replaces an older", 1, versions(1, 1, 1), versions(9, 9, 9), OverwriteDecision::replace},
      {"newer product version", 2, versions(0x00020000, 1, 1), versions(0x00010000, 9, 9), OverwriteDecision::replace},
      {"older product version", 2, versions(0x00010000, 9, 9), versions(0x00020000, 1, 1), OverwriteDecision::keep},
      {"same product, newer file", 2, versions(1, 3, 1), versions(1, 2, 9), OverwriteDecision::replace},
      {"same versions, newer time", 2, versions(1, 1, 200), versions(1, 1, 100), OverwriteDecision::replace},
      {"same versions, equal time", 2, versions(1, 1, 100), versions(1, 1, 100), OverwriteDecision::keep},
      {"same versions, older time", 2, versions(1, 1, 100), versions(1, 1, 200), OverwriteDecision::keep},
      // The high word is signed: a negative product version is older.
      {"negative product version", 2, versions(-1, 1, 900), versions(1, 1, 100), OverwriteDecision::keep},
  };
  for (const auto& c : cases) EXPECT_EQ(decideOverwrite(c.overwrite, c.packaged, c.existing), c.expected) << c.name;
}

std::vector<PackagedFile> programFolder() {
  return {
      {"<AppFolder>", "veltrace.exe", "program bytes"},
      {"<AppFolder>\\prefs", "prefs\\AllRenderStates.txt", "render states"},
      {"<AppFolder>\\effects\\sample", "effects\\sample\\variables.txt", ""},
  };
}

TEST(Installation, InstallsFilesAndRecordsEverythingInTheSavedScript) {
  EngineHarness h;
  h.buildSetup(programFolder());
  ASSERT_EQ(h.run("/Q"), exitSuccess);

  EXPECT_EQ(readWholeFile(h.installed("veltrace.exe")), "program bytes");
  EXPECT_EQ(readWholeFile(h.installed("prefs\\AllRenderStates.txt")), "render states");
  EXPECT_EQ(readWholeFile(h.installed("effects\\sample\\variables.txt")), "");
  // Setup.exe is the program without its package.
  std::string withPackage = *readWholeFile(h.runtime.setupProgramPath);
  EXPECT_TRUE(readWholeFile(h.installed("Setup.exe")) == withPackage.substr(0, test::programImage().size()));
  EXPECT_EQ(h.platform.attributes(h.installed("Setup.exe")), attributeReadOnly | attributeHidden | attributeSystem);
  EXPECT_EQ(h.platform.attributes(h.installed("Setup.ini")), attributeReadOnly | attributeHidden | attributeSystem);

  std::string saved = h.savedScript();
  EXPECT_NE(saved.find("Timestamp=2026-12-08 03:04:05\r\n"), std::string::npos);
  EXPECT_NE(saved.find("NoDirSelect=1\r\n"), std::string::npos);
  EXPECT_NE(saved.find("File=" + h.installed("veltrace.exe") + "|13|3|2|0|0=veltrace.exe|1|-1|247|0||"),
            std::string::npos);
  EXPECT_NE(saved.find("[UninstallDirs]\r\nDirectory=" + h.root + "\\Program Files\r\nDirectory=" + h.appFolder +
                       "\r\n"),
            std::string::npos);
  EXPECT_NE(saved.find("Directory=" + h.installed("effects\\sample")), std::string::npos);
}

TEST(Installation, WritesTheUninstallEntryAndAppPaths) {
  EngineHarness h;
  h.options |= optionWebSite;
  h.buildSetup(programFolder());
  // Where the system has no short names the path keeps its blank.
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrace";
  auto value = [&](const char* name) { return h.platform.text(RegistryRoot::localMachine, key, name).value_or("-"); };
  EXPECT_EQ(value("DisplayName"), "Veltrace 0.1.0");
  EXPECT_EQ(value("UninstallString"), "\"" + h.installed("Setup.exe") + "\" /remove");
  EXPECT_EQ(value("InstallDate"), "2026-12-08 03:04:05");
  EXPECT_EQ(value("InstallLocation"), h.appFolder);
  EXPECT_EQ(value("InstallSource"), h.root + "\\Download");
  EXPECT_EQ(value("DisplayIcon"), h.installed("veltrace.exe"));
  EXPECT_EQ(value("DisplayVersion"), "0.1.0");
  EXPECT_EQ(value("Publisher"), "Veltrace");
  EXPECT_EQ(value("HelpLink"), "");
  EXPECT_EQ(value("Contact"), "-");  // Options bit 0x80 not set
  EXPECT_EQ(h.platform.dword(RegistryRoot::localMachine, key, "VersionMajor"), 0u);
  EXPECT_EQ(h.platform.dword(RegistryRoot::localMachine, key, "VersionMinor"), 1u);
  std::string appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\veltrace.exe";
  EXPECT_EQ(h.platform.text(RegistryRoot::localMachine, appPaths, ""), h.installed("veltrace.exe"));
  EXPECT_EQ(h.platform.text(RegistryRoot::localMachine, appPaths, "Path"), h.appFolder);
}

TEST(Installation, UninstallStringTakesTheShortPathUnquotedWhenItHasNoBlank) {
  EXPECT_EQ(setupCommand("C:\\PROGRA~1\\VELTRACE\\Setup.exe", "/remove"), "C:\\PROGRA~1\\VELTRACE\\Setup.exe /remove");
  EXPECT_EQ(setupCommand("C:\\Program Files\\Setup.exe", "/register"), "\"C:\\Program Files\\Setup.exe\" /register");
  auto numbers = versionNumbers("12.5b");
  EXPECT_EQ(numbers.major, 12u);
  EXPECT_EQ(numbers.minor, 5u);
  EXPECT_FALSE(versionNumbers("7").minor);
}

TEST(Installation, ReadOnlyHiddenAndSystemTargetsAreReplacedAndGetTheEntrysAttributes) {
  EngineHarness h;
  auto files = programFolder();
  files[0].fields = "3|1|0|0";
  files[0].entryAttributes = attributeHidden;
  h.buildSetup(files);
  std::string target = h.installed("veltrace.exe");
  createFolder(h.root + "\\Program Files");
  createFolder(h.appFolder);
  ASSERT_TRUE(replaceFileWith(target, "old"));
  h.platform.setAttributes(target, attributeReadOnly | attributeHidden | attributeSystem);
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  EXPECT_EQ(readWholeFile(target), "program bytes");
  EXPECT_EQ(h.platform.attributes(target), attributeHidden);
  EXPECT_NE(h.savedScript().find("veltrace.exe|2|-1"), std::string::npos);  // state 2: replaced
}

TEST(Installation, ATargetHeldOpenIsDeferredInAQuietRunAndNeedsARestart) {
  EngineHarness h;
  auto files = programFolder();
  files[0].fields = "3|1|0|1";  // replace always, self-registering library
  h.buildSetup(files);
  createFolder(h.root + "\\Program Files");
  createFolder(h.appFolder);
  std::string target = h.installed("veltrace.exe");
  ASSERT_TRUE(replaceFileWith(target, "running"));
  h.platform.locked.insert(test::lowered(target));

  EXPECT_EQ(h.run("/Q /B0"), exitRestartRequired);
  EXPECT_TRUE(h.platform.messages.empty());
  ASSERT_EQ(h.platform.restartMoves.size(), 1u);
  EXPECT_EQ(h.platform.restartMoves[0].from, target + ".$$$");
  EXPECT_EQ(h.platform.restartMoves[0].to, target);
  EXPECT_EQ(readWholeFile(target + ".$$$"), "program bytes");
  EXPECT_NE(h.savedScript().find("veltrace.exe|2|-1"), std::string::npos);
  // Registration waits for the "/register" run that RunOnce starts.
  EXPECT_TRUE(h.platform.registrations.empty());
  bool runOnce = false;
  for (const auto& [key, value] : h.platform.registry)
    if (std::get<1>(key) == test::lowered(runOnceKey)) {
      runOnce = true;
      EXPECT_EQ(value.data, "\"" + h.installed("Setup.exe") + "\" /register");
    }
  EXPECT_TRUE(runOnce);
  EXPECT_EQ(h.platform.restarts, 0);  // B0: never restart

  // After the restart the installed copy registers what was deferred.
  EXPECT_EQ(h.runInstalledCopy("/register /B0"), exitSuccess);
  ASSERT_EQ(h.platform.registrations.size(), 1u);
  EXPECT_EQ(h.platform.registrations[0], "register library " + target);
}

TEST(Installation, TheInUseMessageRetriesUntilTheUserCancels) {
  EngineHarness h;
  auto files = programFolder();
  files[0].fields = "3|1|0|0";
  h.buildSetup(files);
  createFolder(h.root + "\\Program Files");
  createFolder(h.appFolder);
  std::string target = h.installed("veltrace.exe");
  ASSERT_TRUE(replaceFileWith(target, "running"));
  h.platform.locked.insert(test::lowered(target));
  h.platform.answers = {MessageAnswer::retry, MessageAnswer::cancel};
  EXPECT_EQ(h.run("/B0"), exitRestartRequired);
  ASSERT_EQ(h.platform.messages.size(), 2u);
  EXPECT_EQ(h.platform.messages[0].id, 128);
  EXPECT_EQ(h.platform.messages[0].text.substr(0, target.size() + 2), target + "\n\n");
}

TEST(Installation, WithoutMoveFileExTheReplacementGoesIntoWininit) {
  EngineHarness h;
  auto files = programFolder();
  files[0].fields = "3|1|0|0";
  h.buildSetup(files);
  createFolder(h.root + "\\Program Files");
  createFolder(h.appFolder);
  std::string target = h.installed("veltrace.exe");
  ASSERT_TRUE(replaceFileWith(target, "running"));
  h.platform.locked.insert(test::lowered(target));
  h.platform.moveFileExImplemented = false;
  h.platform.shortNames[test::lowered(target)] = "C:\\PROGRA~1\\VELTRACE\\VELTRACE.EXE";
  h.platform.shortNames[test::lowered(target + ".$$$")] = "C:\\PROGRA~1\\VELTRACE\\VELTRA~1.$$$";
  EXPECT_EQ(h.run("/Q /B0"), exitRestartRequired);
  ASSERT_EQ(h.platform.iniWrites.size(), 1u);
  EXPECT_EQ(std::get<0>(h.platform.iniWrites[0]), h.root + "\\Windows\\WININIT.INI");
  EXPECT_EQ(std::get<1>(h.platform.iniWrites[0]), "rename");
  EXPECT_EQ(std::get<2>(h.platform.iniWrites[0]), "C:\\PROGRA~1\\VELTRACE\\VELTRACE.EXE");
  EXPECT_EQ(std::get<3>(h.platform.iniWrites[0]), "C:\\PROGRA~1\\VELTRACE\\VELTRA~1.$$$");
}

TEST(Installation, AFullDiskFailsTheFileAndInterruptsTheRun) {
  EngineHarness h;
  h.buildSetup(programFolder());
  h.platform.diskFull = false;
  h.platform.moveFaults[test::lowered(h.installed("prefs\\AllRenderStates.txt"))] = errorDiskFull;
  EXPECT_EQ(h.run("/B0"), exitInterrupted);
  ASSERT_EQ(h.platform.messages.size(), 1u);
  EXPECT_EQ(h.platform.messages[0].id, 140);
  EXPECT_EQ(h.platform.messages[0].text.substr(0, h.installed("prefs").size()), h.installed("prefs"));
  std::string saved = h.savedScript();
  EXPECT_NE(saved.find("AllRenderStates.txt|-3|"), std::string::npos);
  // The file phase ended there: the third file was never processed.
  EXPECT_NE(saved.find("variables.txt|0|-1"), std::string::npos);
  EXPECT_FALSE(fileExists(h.installed("prefs\\AllRenderStates.txt.$$$")));
}

TEST(Installation, AFullDiskWithTheXOptionRemovesThePartialInstallation) {
  EngineHarness h;
  h.buildSetup(programFolder());
  h.platform.moveFaults[test::lowered(h.installed("prefs\\AllRenderStates.txt"))] = errorDiskFull;
  EXPECT_EQ(h.run("/Q /X /B0"), exitInterrupted);
  EXPECT_TRUE(fileExists(h.installed("Setup.exe")));  // in use until the agent runs
  EXPECT_EQ(h.platform.runAgent(), 0);
  EXPECT_EQ(h.leftovers(), std::vector<std::string>{});
  EXPECT_TRUE(fileExists(h.runtime.setupProgramPath));  // the downloaded installer stays
}

TEST(Installation, AnExtractionThatRunsOutOfDiskLeavesNoTemporaryFile) {
  EngineHarness h;
  h.buildSetup(programFolder());
  h.platform.diskFull = true;
  EXPECT_EQ(h.run("/Q /B0"), exitInterrupted);
  EXPECT_FALSE(fileExists(h.installed("veltrace.exe.$$$")));
  EXPECT_FALSE(fileExists(h.installed("veltrace.exe")));
  EXPECT_NE(h.savedScript().find("veltrace.exe|-3|"), std::string::npos);
}

std::string rawRecord(std::string_view name, std::uint32_t claimedSize, std::string_view data) {
  FileInfo info;
  info.attributes = attributeArchive;
  info.size = claimedSize;
  info.nameLength = static_cast<std::uint16_t>(name.size());
  auto header = encodeFileInfo(info);
  return std::string(header.begin(), header.end()) + std::string(name) + std::string(data);
}

TEST(Installation, RecordSizesThatLieAreRefusedAndNothingLandsOutsideTheTarget) {
  std::vector<PackagedFile> files = {{"<AppFolder>", "a.txt", "12345"}, {"<AppFolder>", "b.txt", "b"}};
  // Larger than the data: the stream ends inside the record.
  EngineHarness longer;
  longer.buildSetupFromArchive(files, rawRecord("a.txt", 1000, "12345"));
  EXPECT_EQ(longer.run("/Q /B0"), exitInterrupted);
  EXPECT_FALSE(fileExists(longer.installed("a.txt")));
  EXPECT_FALSE(fileExists(longer.installed("a.txt.$$$")));
  EXPECT_NE(longer.savedScript().find("a.txt|-3|"), std::string::npos);

  // Overlapping: a.txt claims the next record's header as its data, so
  // b.txt is never found.
  std::string second = rawRecord("b.txt", 1, "b");
  EngineHarness overlapping;
  overlapping.buildSetupFromArchive(
      files, rawRecord("a.txt", static_cast<std::uint32_t>(5 + second.size()), "12345") + second);
  EXPECT_EQ(overlapping.run("/Q /B0"), exitInterrupted);
  EXPECT_EQ(readWholeFile(overlapping.installed("a.txt"))->size(), 5 + second.size());
  EXPECT_FALSE(fileExists(overlapping.installed("b.txt")));
  EXPECT_NE(overlapping.savedScript().find("b.txt|-1|"), std::string::npos);
  for (EngineHarness* h : {&longer, &overlapping})
    for (const std::string& left : h->leftovers())
      EXPECT_EQ(left.rfind("Program Files/Veltrace", 0), 0u) << left;
}

TEST(Installation, AMissingRecordStopsTheFilePhaseUnlessIgnored) {
  for (bool ignored : {false, true}) {
    EngineHarness h;
    h.ignore = ignored ? ignoreFileInstallation : 0;
    auto files = programFolder();
    files[1].packaged = false;
    h.buildSetup(files);
    EXPECT_EQ(h.run("/Q /B0"), ignored ? exitSuccess : exitInterrupted);
    std::string saved = h.savedScript();
    EXPECT_NE(saved.find("AllRenderStates.txt|-1|"), std::string::npos);
    // The file phase ends either way; ignored, the next steps still run.
    EXPECT_FALSE(fileExists(h.installed("effects\\sample\\variables.txt")));
    EXPECT_NE(saved.find("variables.txt|0|-1"), std::string::npos);
    EXPECT_EQ(h.platform.text(RegistryRoot::localMachine,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrace", "DisplayName")
                  .has_value(),
              ignored);
  }
}

TEST(Installation, AFileForAnotherPlatformIsNeitherCountedNorInstalled) {
  EngineHarness h;
  auto files = programFolder();
  files[1].platforms = platformWindows95 | platformWindows98;
  h.buildSetup(files);
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  EXPECT_FALSE(fileExists(h.installed("prefs\\AllRenderStates.txt")));
  EXPECT_NE(h.savedScript().find("AllRenderStates.txt|-4|"), std::string::npos);

  SetupScript script(h.platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScript(h.scriptText(files), log));
  EXPECT_EQ(requiredSize(script, platformWindowsXP), 13u);
  EXPECT_EQ(requiredSize(script, platformWindows95), 13u + 13u);
}

TEST(Installation, AProtectedSystemFileIsKept) {
  EngineHarness h;
  h.buildSetup(programFolder());
  h.platform.protectedFiles.insert(test::lowered(h.installed("veltrace.exe")));
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  EXPECT_FALSE(fileExists(h.installed("veltrace.exe")));
  EXPECT_NE(h.savedScript().find("veltrace.exe|5|"), std::string::npos);
  EXPECT_TRUE(fileExists(h.installed("prefs\\AllRenderStates.txt")));
}

TEST(Installation, NamesThatClimbOutOfTheirFolderAreRefused) {
  const char* folders[] = {"<AppFolder>\\..\\Outside", "<AppFolder>\\a:stream"};
  for (const char* group : folders) {
    EngineHarness h;
    h.buildSetup({{group, "x.txt", "data"}});
    EXPECT_EQ(h.run("/Q /B0"), exitInterrupted) << group;
    EXPECT_FALSE(fileExists(h.root + "\\Program Files\\Outside\\x.txt")) << group;
  }
  EngineHarness h;
  PackagedFile climbing{"<AppFolder>", "sub\\..", "data"};
  climbing.packaged = false;  // the packager refuses such a name anyway
  h.buildSetup({climbing});
  EXPECT_EQ(h.run("/Q /B0"), exitPackageInvalid);
}

TEST(Installation, SharedCountsGrowPerInstallationAndReadStringsAndBinaryValues) {
  EngineHarness h;
  auto files = programFolder();
  files[0].fields = "3|2|1|0";
  h.buildSetup(files);
  std::string target = h.installed("veltrace.exe");
  h.platform.registry[{RegistryRoot::localMachine, test::lowered(sharedDllsKey), test::lowered(target)}] =
      RegistryValue{RegistryValueType::string, "3abc"};
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  EXPECT_EQ(h.platform.dword(RegistryRoot::localMachine, sharedDllsKey, target), 4u);

  EXPECT_EQ(readSharedCount(RegistryValue{RegistryValueType::binary, std::string("\x02\x00\x00\x00", 4)}), 2u);
  EXPECT_EQ(readSharedCount(RegistryValue{RegistryValueType::binary, std::string("\x02\x00", 2)}), 0u);
  EXPECT_EQ(readSharedCount(RegistryValue{RegistryValueType::string, "x3"}), 0u);
  EXPECT_EQ(readSharedCount(std::nullopt), 0u);
}

TEST(Installation, RegistersEachInstalledFileByItsType) {
  EngineHarness h;
  auto files = programFolder();
  files[0].fields = "3|2|0|3";
  files[1].fields = "3|2|0|2";
  files.push_back({"<AppFolder>\\help", "help\\veltrace.hlp", "help"});
  files.back().fields = "3|2|0|5";
  h.buildSetup(files);
  createFolder(h.root + "\\Program Files");
  createFolder(h.appFolder);
  createFolder(h.installed("help"));
  ASSERT_TRUE(replaceFileWith(h.installed("help\\veltrace.gid"), "index"));
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  ASSERT_EQ(h.platform.registrations.size(), 2u);
  EXPECT_EQ(h.platform.registrations[0], "start \"" + h.installed("veltrace.exe") + "\" /RegServer");
  EXPECT_EQ(h.platform.registrations[1], "register typelib " + h.installed("prefs\\AllRenderStates.txt"));
  EXPECT_EQ(h.platform.text(RegistryRoot::localMachine, helpFilesKey, "veltrace.hlp"),
            h.installed("help\\veltrace.hlp"));
  EXPECT_FALSE(fileExists(h.installed("help\\veltrace.gid")));
  // Each registration ran in the file's own folder.
  EXPECT_NE(std::find(h.platform.currentFolders.begin(), h.platform.currentFolders.end(), h.installed("prefs")),
            h.platform.currentFolders.end());
}

TEST(Installation, AFailingRegistrationStopsTheInstallationUnlessIgnored) {
  for (bool ignored : {false, true}) {
    EngineHarness h;
    h.ignore = ignored ? ignoreRegistration : 0;
    auto files = programFolder();
    files[0].fields = "3|2|0|1";
    h.buildSetup(files);
    h.platform.failingRegistrations.insert(test::lowered(h.installed("veltrace.exe")));
    EXPECT_EQ(h.run("/B0"), ignored ? exitSuccess : exitInterrupted);
    ASSERT_FALSE(h.platform.messages.empty());
    EXPECT_EQ(h.platform.messages[0].id, 141);
  }
}

TEST(Installation, ShortcutsGoIntoTheProgramGroupWithTheirValuesWrittenBack) {
  EngineHarness h;
  h.extraSections =
      "[ShellLink]\r\nTitle=<AppTitle>\r\nDescription=Workbench\r\nPath=<AppFolder>\\veltrace.exe\r\n"
      "WorkDir=<AppFolder>\r\nArguments\r\nIconPath\r\nIconIndex=3\r\nShowCmd=1\r\nLocations=257\r\n"
      "[ShellLink]\r\nTitle=Missing\r\nPath=<AppFolder>\\missing.exe\r\nLocations=256\r\n";
  h.buildSetup(programFolder());
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  std::string group = h.root + "\\Programs\\Veltrace";
  std::string link = group + "\\Veltrace.lnk";
  ASSERT_TRUE(fileExists(link));
  const ShellLinkData& data = h.platform.links[test::lowered(link)];
  EXPECT_EQ(data.target, h.installed("veltrace.exe"));
  EXPECT_EQ(data.iconPath, h.installed("veltrace.exe"));
  EXPECT_EQ(data.iconIndex, 0);
  EXPECT_EQ(data.workDir, h.appFolder);
  // Quiet: nobody ticked the desktop box.
  EXPECT_FALSE(fileExists(h.root + "\\Desktop\\Veltrace.lnk"));
  EXPECT_FALSE(fileExists(group + "\\Missing.lnk"));
  std::string saved = h.savedScript();
  EXPECT_NE(saved.find("Title=Veltrace\r\n"), std::string::npos);
  EXPECT_NE(saved.find("Path=<AppFolder>\\missing.exe\r\n"), std::string::npos);  // skipped, unexpanded
  EXPECT_NE(saved.find("Directory=" + group), std::string::npos);
}

TEST(ShortcutPaths, InvalidCharactersBecomeUnderscoresAndSeparatorsCollapse) {
  EXPECT_EQ(validShortcutPath("C:\\a\\\\b<c>|d*?\"e:f"), "C:\\a\\b_c__d___e_f");
  EXPECT_EQ(validShortcutPath("\\\\server\\share\\\\x"), "\\\\server\\share\\x");
}

}  // namespace
}  // namespace veltrace::setup

namespace veltrace::setup {
namespace {

// The shipped script and the data folders the build stages must agree:
// every data file is installed, and every line names a staged file (the
// programs and the help file come from the build).
TEST(ShippedScript, NamesEveryDataFileOfTheProgramFolder) {
  test::FakeInstallPlatform platform;
  SetupScript script(platform);
  MessageLog log;
  ASSERT_TRUE(script.loadScriptFile(VELTRACE_DATA_DIR "/Setup.ini", log));
  std::set<std::string> named;
  for (const FileGroup& group : script.fileGroups())
    for (const FileEntry& file : group.files) {
      std::string relative = file.line.source;
      std::replace(relative.begin(), relative.end(), '\\', '/');
      named.insert(relative);
      bool fromBuild = relative == "veltrace.exe" || relative == "veltrace-cli.exe" || relative == "help/veltrace.chm";
      EXPECT_TRUE(fromBuild || std::filesystem::exists(std::string(VELTRACE_DATA_DIR) + "/" + relative)) << relative;
    }
  for (const char* folder : {"effects", "media", "prefs", "Workspaces"})
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::string(VELTRACE_DATA_DIR) + "/" + folder))
      if (entry.is_regular_file()) {
        EXPECT_TRUE(named.count(std::filesystem::relative(entry.path(), VELTRACE_DATA_DIR).generic_string()))
            << entry.path();
      }
  ASSERT_EQ(script.shortcuts().size(), 2u);
  EXPECT_EQ(script.shortcuts()[0].path, "<AppFolder>\\veltrace.exe");
  EXPECT_EQ(script.shortcuts()[1].path, "<AppFolder>\\Setup.exe");
  EXPECT_EQ(script.shortcuts()[1].arguments, "/remove");
  EXPECT_TRUE(script.shortcuts()[1].locations & linkInProgramGroup);
}

}  // namespace
}  // namespace veltrace::setup

namespace veltrace::setup {
namespace {

using test::EngineHarness;
using test::PackagedFile;

// Records every step and the bar, and cancels after a number of files.
class RecordingProgress : public ProgressView {
 public:
  void stepStarted(int step) override { events.push_back(formatText("start %d", step)); }
  void stepEnded(int step) override { events.push_back(formatText("end %d", step)); }
  void status(std::string_view) override {}
  void progress(int perMille) override {
    EXPECT_GE(perMille, last);
    last = perMille;
  }
  bool cancelRequested() override { return ++asked > cancelAfter; }
  std::vector<std::string> events;
  int last = 0;
  int asked = 0;
  int cancelAfter = 1000000;
};

class SteppedWindows : public test::ProcessingWindows {
 public:
  bool runProcessingWindow(std::string_view, int, const std::function<void(ProgressView&)>& work) override {
    work(recording);
    return true;
  }
  RecordingProgress recording;
};

TEST(InstallationSteps, TickTheFiveBoxesInOrderWithTheBarRisingTo1000) {
  EngineHarness h;
  h.buildSetup({{"<AppFolder>", "a.txt", std::string(5000, 'a')}, {"<AppFolder>", "b.txt", "b"}});
  SteppedWindows windows;
  SetupStart start;
  start.commandLine = "setup.exe /Q";
  start.folders = h.runtime;
  start.currentFolder = h.root;
  ASSERT_EQ(runSetup(h.platform, windows, start), exitSuccess);
  EXPECT_EQ(windows.recording.events, (std::vector<std::string>{"start 0", "end 0", "start 1", "end 1", "start 2",
                                                                "end 2", "start 3", "end 3", "start 4", "end 4"}));
  EXPECT_EQ(windows.recording.last, 1000);
}

TEST(InstallationSteps, CancellingBetweenFilesInterruptsAndXRemovesWhatWasDone) {
  for (bool removePartial : {false, true}) {
    EngineHarness h;
    h.buildSetup({{"<AppFolder>", "a.txt", "a"}, {"<AppFolder>", "b.txt", "b"}});
    SteppedWindows windows;
    windows.recording.cancelAfter = 1;
    SetupStart start;
    start.commandLine = removePartial ? "setup.exe /Q /X /B0" : "setup.exe /Q /B0";
    start.folders = h.runtime;
    start.currentFolder = h.root;
    EXPECT_EQ(runSetup(h.platform, windows, start), exitInterrupted);
    if (removePartial) {
      h.platform.runAgent();
      EXPECT_EQ(h.leftovers(), std::vector<std::string>{});
    } else {
      EXPECT_TRUE(fileExists(h.installed("a.txt")));
      EXPECT_FALSE(fileExists(h.installed("b.txt")));
      EXPECT_NE(h.savedScript().find("b.txt|0|"), std::string::npos);
    }
  }
}

TEST(Installation, OptionsDecideWhichFoldersAreRecordedAndWhatNeedsARestart) {
  EngineHarness all;
  all.options |= optionRecordAllFolders;
  auto files = std::vector<PackagedFile>{{"<AppFolder>", "a.txt", "a"}};
  files[0].fields = formatText("%u|2|0|0", fileFlagDeliver | fileFlagRemove | fileFlagNeedsRestart);
  all.buildSetup(files);
  EXPECT_EQ(all.run("/Q /B0"), exitRestartRequired);
  // Every folder on the path, the test folder's own ones included.
  EXPECT_NE(all.savedScript().find("Directory=" + all.root + "\r\n"), std::string::npos);
}

TEST(Installation, TheInstallOptionChoosesTheFolderThatRegisterAndRemoveRunsFindAgain) {
  EngineHarness h;
  std::vector<PackagedFile> files = {{"<AppFolder>", "a.txt", "a"}, {"<AppFolder>", "held.dll", "new"}};
  files[1].fields = "3|1|0|1";
  h.buildSetup(files);
  std::string elsewhere = h.root + "\\Else where";
  createFolder(elsewhere);
  ASSERT_TRUE(replaceFileWith(elsewhere + "\\held.dll", "old"));
  h.platform.locked.insert(test::lowered(elsewhere + "\\held.dll"));
  ASSERT_EQ(h.run("\"/install:" + elsewhere + "\" /Q /B0"), exitRestartRequired);
  EXPECT_TRUE(fileExists(elsewhere + "\\a.txt"));
  EXPECT_FALSE(folderExists(h.appFolder));
  EXPECT_EQ(h.platform.text(RegistryRoot::localMachine,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrace", "InstallLocation"),
            elsewhere);

  // The "/register" run after the restart saves the script where it is.
  h.platform.locked.clear();
  h.appFolder = elsewhere;
  EXPECT_EQ(h.runInstalledCopy("/register /B0"), exitSuccess);
  EXPECT_EQ(h.platform.registrations.back(), "register library " + elsewhere + "\\held.dll");
  EXPECT_FALSE(folderExists(h.root + "\\Program Files\\Veltrace"));
  EXPECT_EQ(h.runInstalledCopy("/remove /Q"), exitSuccess);
  EXPECT_EQ(h.platform.runAgent(), 0);
  EXPECT_FALSE(folderExists(elsewhere));
}

TEST(Installation, AnObsoleteFileIsDeletedOnlyWhenNoOtherInstallationSharesIt) {
  for (std::uint32_t count : {0u, 2u}) {
    EngineHarness h;
    auto files = std::vector<PackagedFile>{{"<AppFolder>", "old.dll", "", "", 0}};
    files[0].fields = formatText("%u|0|2|0", fileFlagDeleteObsolete | fileFlagRemove);
    files[0].packaged = false;
    h.buildSetup(files);
    createFolder(h.root + "\\Program Files");
    createFolder(h.appFolder);
    ASSERT_TRUE(replaceFileWith(h.installed("old.dll"), "old"));
    if (count) h.platform.setRegistryDword(RegistryRoot::localMachine, sharedDllsKey, h.installed("old.dll"), count);
    ASSERT_EQ(h.run("/Q"), exitSuccess);
    EXPECT_EQ(fileExists(h.installed("old.dll")), count > 1) << count;
    EXPECT_NE(h.savedScript().find(count > 1 ? "old.dll|4|" : "old.dll|-4|"), std::string::npos) << count;
  }
}

TEST(Removal, HelpFilesLoseTheirRegistrationAndIndexFiles) {
  EngineHarness h;
  auto files = std::vector<PackagedFile>{{"<AppFolder>\\help", "help\\veltrace.hlp", "help"}};
  files[0].fields = "3|2|0|5";
  h.buildSetup(files);
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  ASSERT_TRUE(replaceFileWith(h.installed("help\\veltrace.gid"), "index"));
  ASSERT_TRUE(replaceFileWith(h.installed("help\\veltrace.fts"), "index"));
  ASSERT_EQ(h.runInstalledCopy("/remove /Q"), exitSuccess);
  EXPECT_FALSE(h.platform.text(RegistryRoot::localMachine, helpFilesKey, "veltrace.hlp"));
  EXPECT_FALSE(fileExists(h.installed("help\\veltrace.gid")));
  EXPECT_FALSE(fileExists(h.installed("help\\veltrace.fts")));
}

}  // namespace
}  // namespace veltrace::setup
