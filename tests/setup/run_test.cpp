// A run of the setup program from its command line to its exit code: the
// command line, start-up failures, the running-application and
// administrator checks, the windows, the exit path with its restart rule,
// and the trace log's format.

#include <gtest/gtest.h>

#include "setup/command_line.h"
#include "setup/trace_log.h"
#include "tests/setup/engine_harness.h"

namespace veltrace::setup {
namespace {

using test::EngineHarness;
using test::PackagedFile;

struct CommandCase {
  const char* line;
  RunMode mode;
  const char* folder;
  int quiet;
  int restart;
  int removal;
  const char* previous;
  bool removePartial;
  const char* package;
};

TEST(CommandLine, ReadsModesOptionsAndThePackagePath) {
  const CommandCase cases[] = {
      {"setup.exe", RunMode::unset, "", 0, 1, 0, nullptr, false, ""},
      {"setup.exe /install", RunMode::install, "", 0, 1, 0, nullptr, false, ""},
      {"setup.exe -INSTALL:D:\\Tools", RunMode::install, "D:\\Tools", 0, 1, 0, nullptr, false, ""},
      {"setup.exe \"/install:C:\\Program Files\\V\"", RunMode::install, "C:\\Program Files\\V", 0, 1, 0, nullptr, false, ""},
      {"setup.exe /installed", RunMode::install, "", 0, 1, 0, nullptr, false, ""},
      {"setup.exe /remove", RunMode::remove, "", 0, 1, 0, nullptr, false, ""},
      {"setup.exe /removeall", RunMode::unset, "", 0, 1, 0, nullptr, false, ""},
      {"setup.exe /Register", RunMode::registerServers, "", 0, 1, 0, nullptr, false, ""},
      {"setup.exe /q", RunMode::unset, "", 1, 1, 0, nullptr, false, ""},
      {"setup.exe /Q0", RunMode::unset, "", 0, 1, 0, nullptr, false, ""},
      {"setup.exe /q2 /b", RunMode::unset, "", 2, 0, 0, nullptr, false, ""},
      {"setup.exe /B2", RunMode::unset, "", 0, 2, 0, nullptr, false, ""},
      {"setup.exe /U-1:Old", RunMode::unset, "", 0, 1, -1, "Old", false, ""},
      {"setup.exe /U3", RunMode::unset, "", 0, 1, 3, nullptr, false, ""},
      {"setup.exe -x /unknown 'C:\\My Files\\a.ovz'", RunMode::unset, "", 0, 1, 0, nullptr, true, "C:\\My Files\\a.ovz"},
      {"setup.exe `b.ini` /quiet", RunMode::unset, "", 1, 1, 0, nullptr, false, "b.ini"},
      // "/Xremove" is the letter X: option words must not start with B, Q, U, X.
      {"setup.exe /Xremove", RunMode::unset, "", 0, 1, 0, nullptr, true, ""},
  };
  for (const auto& c : cases) {
    CommandLine parsed = parseCommandLine(c.line);
    EXPECT_EQ(parsed.mode, c.mode) << c.line;
    EXPECT_EQ(parsed.installFolder, c.folder) << c.line;
    EXPECT_EQ(parsed.quietLevel, c.quiet) << c.line;
    EXPECT_EQ(parsed.restartLevel, c.restart) << c.line;
    EXPECT_EQ(parsed.removalOption, c.removal) << c.line;
    EXPECT_EQ(parsed.hasUninstallPrevious, c.previous != nullptr) << c.line;
    if (c.previous) {
      EXPECT_EQ(parsed.uninstallPrevious, c.previous) << c.line;
    }
    EXPECT_EQ(parsed.removePartialWithoutAsking, c.removePartial) << c.line;
    EXPECT_EQ(parsed.packagePath, c.package) << c.line;
  }
}

TEST(CommandLine, TakesAtMost63TokensAndAnUnclosedQuoteRunsToTheEnd) {
  std::string line = "setup.exe";
  for (int i = 0; i < 70; ++i) line += " /q" + std::to_string(i);
  auto tokens = splitCommandLine(line);
  ASSERT_EQ(tokens.size(), 63u);
  EXPECT_EQ(tokens.back(), "/q61");
  EXPECT_EQ(parseCommandLine(line).quietLevel, 61);
  EXPECT_EQ(splitCommandLine("a \"b c"), (std::vector<std::string>{"a", "b c"}));
  EXPECT_EQ(effectiveMode(CommandLine{}, true), RunMode::remove);
  EXPECT_EQ(effectiveMode(CommandLine{}, false), RunMode::install);
}

TEST(TraceLog, WritesTheBannerAndEventLinesWithCrLf) {
  LocalTime time{2026, 1, 2, 3, 4, 5};
  std::string separator(78, '=');
  EXPECT_EQ(formatTraceBanner(time, "C:\\Setup.exe"),
            separator + "\r\nOrvane Installer 2.66.1387\r\nVeltrace setup\r\n" + separator +
                "\r\n2026-01-02 03:04:05 - C:\\Setup.exe\r\n");
  EXPECT_EQ(formatTraceEvent(eventFileInstalled, {"C:\\a.txt", "x"}), "02020004|C:\\a.txt|x");
  EXPECT_EQ(formatTraceEvent(0x0000ABCD, {}), "0000ABCD");
  EXPECT_EQ(traceLogPath("C:\\Down\\Setup.exe", "C:\\Temp"), "C:\\Temp\\Setup.log");
}

TEST(TraceLog, ALogPast64KiBStartsAfresh) {
  EngineHarness h;
  std::string path = h.root + "\\Temp\\Setup.log";
  TraceLog log;
  ASSERT_TRUE(replaceFileWith(path, std::string(65536, 'o')));
  log.open(h.platform, path, "C:\\Setup.exe");
  EXPECT_EQ(readWholeFile(path)->substr(0, 65536), std::string(65536, 'o'));  // 64 KiB exactly is kept
  ASSERT_TRUE(replaceFileWith(path, std::string(65537, 'o')));
  log.open(h.platform, path, "C:\\Setup.exe");
  log.event(eventStarted, {"a"});
  std::string text = *readWholeFile(path);
  EXPECT_EQ(text.find('o'), std::string::npos);
  EXPECT_NE(text.find("\r\n01010001|a\r\n"), std::string::npos);
}

std::vector<PackagedFile> oneProgram() { return {{"<AppFolder>", "veltrace.exe", "program bytes"}}; }

TEST(SetupRun, ACutOrFlippedPackageIsNotValidAndWritesNothing) {
  EngineHarness h;
  h.buildSetup(oneProgram());
  std::string image = *readWholeFile(h.runtime.setupProgramPath);
  std::size_t packageStart = test::programImage().size();
  for (std::size_t cut : {packageStart + 4, packageStart + 20, image.size() - 3}) {
    for (bool flip : {false, true}) {
      std::string broken = image;
      if (flip)
        broken[cut] = static_cast<char>(broken[cut] ^ 0x5A);
      else
        broken.resize(cut);
      ASSERT_TRUE(replaceFileWith(h.runtime.setupProgramPath, broken));
      h.platform.messages.clear();
      int code = h.run("/B0");
      // A flip in the middle of the payload only breaks the file's record;
      // everything else must stop at start-up.
      if (code != exitPackageInvalid) {
        EXPECT_TRUE(flip && cut == image.size() - 3) << cut;
        continue;
      }
      ASSERT_EQ(h.platform.messages.size(), 1u) << cut << flip;
      EXPECT_EQ(h.platform.messages[0].id, 131);
      EXPECT_NE(h.platform.messages[0].text.find("The installation database is not valid."), std::string::npos);
      EXPECT_FALSE(folderExists(h.appFolder));
      EXPECT_TRUE(h.platform.registry.empty());
    }
  }
}

TEST(SetupRun, ARunningCopyOfTheApplicationStopsTheRun) {
  EngineHarness h;
  h.options |= optionRefuseWhileRunning;
  h.buildSetup(oneProgram());
  h.platform.processes = std::vector<RunningProcess>{{"VELTRACE.EXE", "Veltrace - sample.vwork"}};
  EXPECT_EQ(h.run("/Q"), exitApplicationRunning);
  EXPECT_TRUE(h.platform.messages.empty());
  EXPECT_FALSE(folderExists(h.appFolder));

  EXPECT_EQ(h.run(""), exitApplicationRunning);  // Cancel
  ASSERT_EQ(h.platform.messages.size(), 1u);
  EXPECT_EQ(h.platform.messages[0].id, 143);
  EXPECT_EQ(h.platform.messages[0].text,
            "Veltrace - sample.vwork is currently active.\n\nPlease close this application before continuing.");
  h.platform.answers = {MessageAnswer::ok};
  EXPECT_EQ(h.run("/B0"), exitSuccess);

  // The first 15 characters of the names decide.
  EngineHarness longName;
  longName.options |= optionRefuseWhileRunning;
  longName.buildSetup(oneProgram());
  longName.platform.processes = std::vector<RunningProcess>{{"veltrace.exe.bak", ""}, {"veltrace.ex", ""}};
  EXPECT_EQ(longName.run("/Q"), exitSuccess);
  longName.platform.processes = std::vector<RunningProcess>{{"veltrace.exeXYZ1", ""}};
  EXPECT_EQ(longName.run("/Q /install"), exitSuccess);  // 16 characters: "veltrace.exeXYZ" differs
}

TEST(SetupRun, AdministratorRightsAndTheUninstallKeyAreChecked) {
  EngineHarness h;
  h.buildSetup(oneProgram());
  h.platform.administrator = false;
  EXPECT_EQ(h.run(""), exitAdministratorRequired);
  ASSERT_EQ(h.platform.messages.size(), 1u);
  EXPECT_EQ(h.platform.messages[0].id, 129);
  EXPECT_FALSE(folderExists(h.appFolder));

  EngineHarness unwritable;
  unwritable.options &= ~optionAdministratorRequired;
  unwritable.buildSetup(oneProgram());
  unwritable.platform.registryWritable = false;
  unwritable.ignore = 0;
  // The uninstall entry is dropped, not failed; App Paths still fails.
  unwritable.options &= ~optionAppPaths;
  unwritable.buildSetup(oneProgram());
  EXPECT_EQ(unwritable.run("/Q"), exitSuccess);
}

TEST(SetupRun, QuietAndRegisterRunsUseTheProcessingWindowAndRemovalTheUninstallWindow) {
  EngineHarness h;
  h.buildSetup(oneProgram());
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  EXPECT_EQ(h.windows.processingTitles, std::vector<std::string>{"Veltrace"});
  EXPECT_EQ(h.platform.slept, 500u);
  h.windows.pressUninstall = false;
  EXPECT_EQ(h.runInstalledCopy(""), exitCancelledBeforeInstalling);
  EXPECT_EQ(h.windows.uninstallTitles, std::vector<std::string>{"Veltrace"});
  EXPECT_TRUE(fileExists(h.installed("veltrace.exe")));
  h.windows.pressUninstall = true;
  EXPECT_EQ(h.runInstalledCopy(""), exitSuccess);
  EXPECT_FALSE(fileExists(h.installed("veltrace.exe")));
  h.windows.canCreate = false;
  EXPECT_EQ(h.run("/Q"), exitNoUserInterface);
}

struct RestartCase {
  const char* options;
  bool needsRestart;
  int expectedCode;
  int expectedRestarts;
};

TEST(SetupRun, TheRestartLevelDecidesWhetherWindowsRestarts) {
  const RestartCase cases[] = {
      {"/Q", true, exitRestartRequired, 1},     {"/Q /B0", true, exitRestartRequired, 0},
      {"/Q /B-1", true, exitRestartRequired, 0}, {"/Q /B1", false, exitSuccess, 0},
      {"/Q /B2", false, exitSuccess, 1},
  };
  for (const auto& c : cases) {
    EngineHarness h;
    if (c.needsRestart) h.options |= optionRestartRequired;
    h.buildSetup(oneProgram());
    EXPECT_EQ(h.run(c.options), c.expectedCode) << c.options;
    EXPECT_EQ(h.platform.restarts, c.expectedRestarts) << c.options;
  }
}

TEST(SetupRun, AScriptThatCannotBeSavedEndsWithCode4) {
  EngineHarness h;
  h.buildSetup(oneProgram());
  createFolder(h.root + "\\Program Files");
  createFolder(h.appFolder);
  createFolder(h.installed("Setup.ini"));  // a folder where the file should go
  EXPECT_EQ(h.run("/B0"), exitScriptNotSaved);
  ASSERT_FALSE(h.platform.messages.empty());
  EXPECT_EQ(h.platform.messages.back().id, 133);
}

TEST(SetupRun, TheTraceLogIsDeletedAtTheEndWithOption0x4000) {
  for (bool deleteLog : {false, true}) {
    EngineHarness h;
    if (deleteLog) h.options |= optionDeleteTraceLog;
    h.buildSetup(oneProgram());
    ASSERT_EQ(h.run("/Q"), exitSuccess);
    auto log = readWholeFile(h.root + "\\Temp\\Setup.log");
    EXPECT_EQ(log.has_value(), !deleteLog);
    if (log) {
      EXPECT_NE(log->find(std::string(78, '=') + "\r\nOrvane Installer 2.66.1387\r\n"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace veltrace::setup
