// Removal from the saved script: which files go, shortcuts found by their
// target, folders, files in use, edited scripts, and the deletion agent's
// command block and passes.

#include <gtest/gtest.h>

#include "setup/system_entries.h"
#include "tests/setup/engine_harness.h"

namespace veltrace::setup {
namespace {

using test::EngineHarness;
using test::PackagedFile;

std::vector<PackagedFile> programFolder() {
  return {
      {"<AppFolder>", "veltrace.exe", "program bytes"},
      {"<AppFolder>\\prefs", "prefs\\AllRenderStates.txt", "render states"},
      {"<AppFolder>\\effects\\sample", "effects\\sample\\variables.txt", "x"},
  };
}

const char* programLinks =
    "[ShellLink]\r\nTitle=<AppTitle>\r\nPath=<AppFolder>\\veltrace.exe\r\nWorkDir=<AppFolder>\r\nLocations=256\r\n"
    "[ShellLink]\r\nTitle=Uninstall <AppTitle>\r\nPath=<AppFolder>\\Setup.exe\r\nArguments=/remove\r\n"
    "Locations=256\r\n";

TEST(Removal, TheInstalledCopyRemovesEverythingOnceTheAgentHasRun) {
  EngineHarness h;
  h.extraSections = programLinks;
  h.buildSetup(programFolder());
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  ASSERT_TRUE(fileExists(h.root + "\\Programs\\Veltrace\\Uninstall Veltrace.lnk"));
  // The user renamed one shortcut: it is found by its target.
  std::filesystem::rename(nativePath(h.root + "\\Programs\\Veltrace\\Veltrace.lnk"),
                          nativePath(h.root + "\\Programs\\Veltrace\\My workbench.lnk"));
  h.platform.links[test::lowered(h.root + "\\Programs\\Veltrace\\My workbench.lnk")] =
      h.platform.links[test::lowered(h.root + "\\Programs\\Veltrace\\Veltrace.lnk")];

  // Without a mode word the saved script's Timestamp chooses removal.
  ASSERT_EQ(h.runInstalledCopy("/Q"), exitSuccess);
  EXPECT_FALSE(folderExists(h.root + "\\Programs\\Veltrace"));
  for (const auto& [key, value] : h.platform.registry)
    ADD_FAILURE() << "registry value left: " << std::get<1>(key) << " " << std::get<2>(key);
  EXPECT_EQ(h.platform.agentFolder, h.root + "\\Temp");
  EXPECT_EQ(test::lowered(h.platform.agentPath).rfind(test::lowered(h.root + "\\Temp\\_OvnDel"), 0), 0u);
  EXPECT_EQ(h.platform.runAgent(), 0);
  EXPECT_EQ(h.leftovers(), std::vector<std::string>{});
}

TEST(Removal, TheAgentsCommandBlockListsFilesThenFoldersInOrder) {
  EngineHarness h;
  h.buildSetup(programFolder());
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  std::string kept = h.installed("prefs\\AllRenderStates.txt");
  h.platform.locked.insert(test::lowered(kept));
  ASSERT_EQ(h.runInstalledCopy("/remove /Q"), exitSuccess);
  std::string expected = "F" + h.installed("Setup.exe") + '\0' + "F" + h.installed("Setup.ini") + '\0' + "F" +
                         kept + '\0' + "D" + h.root + "\\Program Files" + '\0' + "D" + h.appFolder + '\0' + "D" +
                         h.installed("prefs") + '\0' + "D" + h.installed("effects") + '\0' + "D" +
                         h.installed("effects\\sample") + '\0' + "D" + h.root + "\\Programs\\Veltrace" + '\0' +
                         '\0';
  EXPECT_EQ(h.platform.agentBlock, expected);
}

TEST(Removal, FilesTheUserCreatedStayAndTheAgentGivesUpOnTheirFolder) {
  EngineHarness h;
  h.buildSetup(programFolder());
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  ASSERT_TRUE(replaceFileWith(h.installed("prefs\\mine.txt"), "user data"));
  ASSERT_EQ(h.runInstalledCopy("/remove /Q"), exitSuccess);
  EXPECT_EQ(h.platform.runAgent(), 1);
  EXPECT_EQ(readWholeFile(h.installed("prefs\\mine.txt")), "user data");
  EXPECT_FALSE(fileExists(h.installed("veltrace.exe")));
  EXPECT_FALSE(fileExists(h.installed("Setup.exe")));
  EXPECT_FALSE(folderExists(h.installed("effects")));
  EXPECT_EQ(h.leftovers(), (std::vector<std::string>{"Program Files/Veltrace", "Program Files/Veltrace/prefs",
                                                      "Program Files/Veltrace/prefs/mine.txt"}));
}

TEST(Removal, AFileInUseGoesToTheAgentOrWithANegativeUToTheRestart) {
  for (int option : {0, -1}) {
    EngineHarness h;
    h.buildSetup(programFolder());
    ASSERT_EQ(h.run("/Q"), exitSuccess);
    std::string busy = h.installed("veltrace.exe");
    h.platform.locked.insert(test::lowered(busy));
    h.platform.restartMoves.clear();
    ASSERT_EQ(h.runInstalledCopy(formatText("/remove /Q /U%d /B1", option)), exitSuccess);
    EXPECT_NE(h.platform.agentBlock.find("F" + busy + '\0'), std::string::npos);
    bool scheduled = false;
    for (const auto& move : h.platform.restartMoves) scheduled |= move.from == busy && move.to.empty();
    EXPECT_EQ(scheduled, option < 0);
    // A removal drops the restart: B1 never restarts after it.
    EXPECT_EQ(h.platform.restarts, 0);
  }
}

struct SharedCase {
  const char* name;
  std::int32_t shared;
  std::int32_t state;  // as recorded by the installation
  std::uint32_t countBefore;
  bool removed;
  std::uint32_t countAfter;
};

TEST(Removal, SharedFilesFollowTheirCountAndType) {
  const SharedCase cases[] = {
      {"count 2 loses one and stays", 1, 1, 2, false, 1},
      {"type 1 created here goes at 0", 1, 1, 1, true, 0},
      {"type 1 replaced here stays at 0", 1, 2, 1, false, 0},
      {"type 1 not delivered goes at 0", 1, 4, 1, true, 0},
      {"type 2 replaced here goes at 0", 2, 2, 1, true, 0},
      {"private file goes", 0, 3, 0, true, 0},
  };
  for (const auto& c : cases) {
    EngineHarness h;
    std::string path = h.installed("shared.dll");
    createFolder(h.root + "\\Program Files");
    createFolder(h.appFolder);
    ASSERT_TRUE(replaceFileWith(path, "dll"));
    if (c.countBefore) h.platform.setRegistryDword(RegistryRoot::localMachine, sharedDllsKey, path, c.countBefore);
    SetupScript script(h.platform);
    MessageLog log;
    ASSERT_TRUE(script.loadScript(h.scriptText({}), log));
    TraceLog trace;
    SilentProgress view;
    InstallContext context(script, h.platform, view, trace);
    context.containmentFolder = h.appFolder;
    FileLine line;
    line.name = path;
    line.flags = fileFlagDeliver | fileFlagRemove;
    line.shared = c.shared;
    line.state = c.state;
    EXPECT_EQ(shouldRemoveFile(context, line), c.removed) << c.name;
    EXPECT_EQ(sharedCount(h.platform, path), c.countAfter) << c.name;
  }
}

TEST(Removal, AnEditedScriptRemovesNothingOutsideTheInstallationFolder) {
  EngineHarness h;
  h.buildSetup(programFolder());
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  std::string outside = h.root + "\\Windows\\System\\kernel.dll";
  std::string climbing = h.appFolder + "\\..\\other.txt";
  ASSERT_TRUE(replaceFileWith(outside, "system"));
  ASSERT_TRUE(replaceFileWith(h.root + "\\Program Files\\other.txt", "other"));
  std::string saved = h.savedScript();
  auto replace = [&](const std::string& from, const std::string& to) {
    size_t at = saved.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    saved.replace(at, from.size(), to);
  };
  replace("File=" + h.installed("veltrace.exe") + "|", "File=" + outside + "|");
  replace("File=" + h.installed("prefs\\AllRenderStates.txt") + "|", "File=" + climbing + "|");
  replace("File=" + h.installed("effects\\sample\\variables.txt") + "|1|3|2|0",
          "File=" + h.root + "\\Windows\\System\\*.dll|1|3|2|2");
  replace("Directory=" + h.installed("prefs"), "Directory=" + h.appFolder + "\\..\\..\\Windows");
  h.platform.setAttributes(h.installed("Setup.ini"), 0);
  ASSERT_TRUE(replaceFileWith(h.installed("Setup.ini"), saved));

  ASSERT_EQ(h.runInstalledCopy("/remove /Q"), exitSuccess);
  h.platform.runAgent();
  EXPECT_TRUE(fileExists(outside));
  EXPECT_TRUE(fileExists(h.root + "\\Program Files\\other.txt"));
  EXPECT_EQ(h.platform.agentBlock.find(".."), std::string::npos);
}

TEST(Removal, LeftoverTemporaryFilesOfAnInterruptedRunAreDeleted) {
  EngineHarness h;
  h.buildSetup(programFolder());
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  ASSERT_TRUE(replaceFileWith(h.installed("veltrace.exe.$$$"), "half"));
  ASSERT_EQ(h.runInstalledCopy("/remove /Q"), exitSuccess);
  EXPECT_FALSE(fileExists(h.installed("veltrace.exe.$$$")));
}

TEST(Removal, ARunKilledDuringTheFilePhaseIsInstalledOverAndRemovedCompletely) {
  EngineHarness h;
  h.buildSetup(programFolder());
  // The first run dies after its first file: no script saved, a temporary
  // file left behind.
  h.platform.moveFaults[test::lowered(h.installed("prefs\\AllRenderStates.txt"))] = errorDiskFull;
  h.run("/Q /B0");
  std::filesystem::remove(nativePath(h.installed("Setup.ini")));
  ASSERT_TRUE(replaceFileWith(h.installed("prefs\\AllRenderStates.txt.$$$"), "half"));
  h.platform.moveFaults.clear();
  h.platform.registry.clear();

  ASSERT_EQ(h.run("/Q"), exitSuccess);
  std::string saved = h.savedScript();
  EXPECT_NE(saved.find("veltrace.exe|3|"), std::string::npos);  // same file, kept
  EXPECT_NE(saved.find("AllRenderStates.txt|1|"), std::string::npos);
  ASSERT_EQ(h.runInstalledCopy("/remove /Q"), exitSuccess);
  EXPECT_EQ(h.platform.runAgent(), 0);
  EXPECT_EQ(h.leftovers(), std::vector<std::string>{});
}

TEST(Removal, ManyRecordsAndNonAsciiNamesInstallAndRemoveCompletely) {
#ifdef _WIN32
  // Under Wine the fake's 20,000 file operations take minutes; the native
  // run covers the engine, the Windows tests cover the system's side.
  GTEST_SKIP() << "20,000 files run natively only";
#endif
  EngineHarness h;
  std::vector<PackagedFile> files;
  const int count = 20000;
  for (int i = 0; i < count; ++i)
    files.push_back({"<AppFolder>\\many", formatText("many\\f%05d.txt", i), formatText("%d", i)});
  // Windows-1252 bytes: "Übersicht ä.txt".
  files.push_back({"<AppFolder>\\many", "many\\\xDC" "bersicht \xE4.txt", "umlaut"});
  files.push_back({"<AppFolder>\\many", "many\\" + std::string(200, 'n') + ".txt", "long"});
  h.buildSetup(files);
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  EXPECT_EQ(readWholeFile(h.installed("many\\f19999.txt")), "19999");
  EXPECT_EQ(readWholeFile(h.installed("many\\\xDC" "bersicht \xE4.txt")), "umlaut");
  ASSERT_EQ(h.runInstalledCopy("/remove /Q"), exitSuccess);
  EXPECT_EQ(h.platform.runAgent(), 0);
  EXPECT_EQ(h.leftovers(), std::vector<std::string>{});
}

// --- the deletion agent ---

TEST(CommandBlock, EntriesThatDoNotFitInto65535BytesAreLeftOut) {
  std::vector<AgentEntry> entries;
  for (int i = 0; i < 300; ++i) entries.push_back({'F', std::string(249, 'a') + formatText("%03d", i)});
  entries.push_back({'D', "too long for the rest"});
  entries.push_back({'D', "s"});
  std::string block = buildCommandBlock(entries);
  EXPECT_LE(block.size(), 65536u);
  EXPECT_EQ(block.back(), '\0');
  EXPECT_EQ(block[block.size() - 2], '\0');
  // 254 bytes an entry: 258 fit (65532 bytes), then only "Ds" and its NUL.
  EXPECT_EQ(block.size(), 65536u);
  EXPECT_EQ(block.find("Dtoo"), std::string::npos);
  EXPECT_NE(block.find(std::string("Ds") + '\0' + '\0'), std::string::npos);
  EXPECT_EQ(block.find(std::string(249, 'a') + "258"), std::string::npos);
}

struct AgentFiles {
  std::set<std::string> files, folders;
  std::map<std::string, int> failuresLeft;
  static int deleteFile(void* context, const char* path) {
    auto* self = static_cast<AgentFiles*>(context);
    if (!self->files.count(path)) return agentAbsent;
    if (self->failuresLeft[path]-- > 0) return agentFailed;
    self->files.erase(path);
    return agentDone;
  }
  static int removeFolder(void* context, const char* path) {
    auto* self = static_cast<AgentFiles*>(context);
    if (!self->folders.count(path)) return agentAbsent;
    std::string prefix = std::string(path) + "\\";
    for (const auto& file : self->files)
      if (file.rfind(prefix, 0) == 0) return agentFailed;
    for (const auto& folder : self->folders)
      if (folder.rfind(prefix, 0) == 0) return agentFailed;
    self->folders.erase(path);
    return agentDone;
  }
};

int waits = 0;
void countWait(unsigned milliseconds) {
  EXPECT_EQ(milliseconds, 1000u);
  ++waits;
}

TEST(DeletionAgent, RemovesOuterFoldersOverSeveralPassesAndMarksEntriesDone) {
  AgentFiles system{{"C:\\A\\Setup.exe"}, {"C:\\A", "C:\\A\\B"}, {{"C:\\A\\Setup.exe", 2}}};
  AgentSystem calls{&system, &AgentFiles::deleteFile, &AgentFiles::removeFolder};
  std::string block = std::string("FC:\\A\\Setup.exe") + '\0' + "DC:\\A" + '\0' + "DC:\\A\\B" + '\0' + "Fgone" +
                      '\0' + '\0';
  waits = 0;
  EXPECT_EQ(agentRun(block.data(), static_cast<unsigned>(block.size()), &calls, countWait), 0);
  // Setup.exe is in use for two attempts: the first pass and the one right
  // after it (that pass removed C:\A\B, so the agent went again at once).
  // After one wait it goes, and C:\A right after it.
  EXPECT_EQ(waits, 1);
  EXPECT_TRUE(system.files.empty());
  EXPECT_TRUE(system.folders.empty());
  EXPECT_EQ(block, std::string("XC:\\A\\Setup.exe") + '\0' + "XC:\\A" + '\0' + "XC:\\A\\B" + '\0' + "Xgone" + '\0' +
                       '\0');
}

TEST(DeletionAgent, NestedFoldersListedOutsideInGoInOnePassWithoutWaiting) {
  AgentFiles system{{}, {"C:\\A", "C:\\A\\B", "C:\\A\\B\\C"}, {}};
  AgentSystem calls{&system, &AgentFiles::deleteFile, &AgentFiles::removeFolder};
  std::string block = std::string("DC:\\A") + '\0' + "DC:\\A\\B" + '\0' + "DC:\\A\\B\\C" + '\0' + '\0';
  waits = 0;
  EXPECT_EQ(agentRun(block.data(), static_cast<unsigned>(block.size()), &calls, countWait), 0);
  EXPECT_EQ(waits, 0);
  EXPECT_TRUE(system.folders.empty());
}

TEST(DeletionAgent, GivesUpAfterTenPassesOrWithoutCommands) {
  AgentFiles system{{"C:\\A\\mine.txt"}, {"C:\\A"}, {}};
  AgentSystem calls{&system, &AgentFiles::deleteFile, &AgentFiles::removeFolder};
  std::string block = std::string("DC:\\A") + '\0' + '\0';
  waits = 0;
  EXPECT_EQ(agentRun(block.data(), static_cast<unsigned>(block.size()), &calls, countWait), 1);
  EXPECT_EQ(waits, 9);
  std::string empty(1, '\0');
  EXPECT_EQ(agentRun(empty.data(), 1, &calls, countWait), 1);
  EXPECT_EQ(agentRun(nullptr, 0, &calls, countWait), 1);
}

}  // namespace
}  // namespace veltrace::setup

namespace veltrace::setup {
namespace {

TEST(Removal, AScriptInTheCurrentFolderIsNeitherPreferredNorDeleted) {
  test::EngineHarness h;
  h.buildSetup({{"<AppFolder>", "a.txt", "a"}});
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  // Somebody's own project lies in the folder the removal is started from.
  std::string project = h.root + "\\Download";
  ASSERT_TRUE(replaceFileWith(project + "\\Setup.ini", h.scriptText({})));
  SetupStart start;
  start.folders = h.runtime;
  start.folders.setupProgramPath = h.installed("Setup.exe");
  start.commandLine = "\"" + start.folders.setupProgramPath + "\" /remove /Q";
  start.currentFolder = project;
  ASSERT_EQ(runSetup(h.platform, h.windows, start), exitSuccess);
  EXPECT_EQ(h.platform.runAgent(), 0);
  EXPECT_FALSE(folderExists(h.appFolder));
  EXPECT_TRUE(fileExists(project + "\\Setup.ini"));

  // Named explicitly, a script that was never installed removes nothing and
  // leaves the installation's uninstall entry and its own folder alone.
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  start.commandLine = "\"" + start.folders.setupProgramPath + "\" /remove /Q \"" + project + "\\Setup.ini\"";
  ASSERT_EQ(runSetup(h.platform, h.windows, start), exitSuccess);
  h.platform.runAgent();
  EXPECT_TRUE(fileExists(project + "\\Setup.ini"));
  EXPECT_TRUE(fileExists(h.installed("a.txt")));
  EXPECT_TRUE(h.platform.text(RegistryRoot::localMachine,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrace", "DisplayName"));
}

}  // namespace
}  // namespace veltrace::setup

namespace veltrace::setup {
namespace {

TEST(Removal, TheCopyStartedByItsShortPathRemovesTheLongNamedFiles) {
  test::EngineHarness h;
  h.buildSetup({{"<AppFolder>", "a.txt", "a"}});
  ASSERT_EQ(h.run("/Q"), exitSuccess);
  // The uninstall entry's short path, here a second name of the folder.
  std::string shortFolder = h.root + "\\PROGRA~1";
  std::error_code linkError;
  std::filesystem::create_directory_symlink(nativePath(h.root + "\\Program Files"), nativePath(shortFolder),
                                            linkError);
  if (linkError) GTEST_SKIP() << "no folder links here: " << linkError.message();
  h.platform.longNames[test::lowered(shortFolder + "\\Veltrace")] = h.appFolder;
  SetupStart start;
  start.folders = h.runtime;
  start.folders.setupProgramPath = shortFolder + "\\Veltrace\\Setup.exe";
  start.commandLine = start.folders.setupProgramPath + " /remove /Q";
  start.currentFolder = h.root;
  ASSERT_EQ(runSetup(h.platform, h.windows, start), exitSuccess);
  EXPECT_FALSE(fileExists(h.installed("a.txt")));
  EXPECT_EQ(h.platform.runAgent(), 0);
  std::filesystem::remove(nativePath(shortFolder));
  EXPECT_EQ(h.leftovers(), std::vector<std::string>{});
}

}  // namespace
}  // namespace veltrace::setup
