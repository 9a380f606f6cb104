// The Windows install platform and setup.exe against the real system (under
// Wine in the test tier): registry writes, shell links, moves onto files in
// use and at the restart, the deletion agent, a planted system library, and
// whole quiet installations and removals. Nothing here restarts anything or
// writes into the real Start menu: links go into test folders, and the
// tests run with winemenubuilder disabled.

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <thread>

#include "base/files.h"
#include "setup/packager.h"
#include "setup/setup_resources.h"
#include "setup/system_entries.h"
#include "setup/system_libraries.h"
#include "setup/windows_install_platform.h"
#include "tests/setup/package_fixture.h"

namespace veltrace::setup {
namespace {

using veltrace::test::TempFolder;

class ComScope {
 public:
  ComScope() { CoInitialize(nullptr); }
  ~ComScope() { CoUninitialize(); }
};

std::string testKey() { return "Software\\VeltraceInstallTest\\" + std::to_string(GetCurrentProcessId()); }

TEST(WindowsInstallPlatform, WritesReadsAndDeletesRegistryTrees) {
  WindowsInstallPlatform platform;
  std::string key = testKey();
  ASSERT_TRUE(platform.registryKeyWritable(RegistryRoot::currentUser, key));
  ASSERT_TRUE(platform.setRegistryString(RegistryRoot::currentUser, key + "\\Sub\\Deeper", "Name", "C:\\A B"));
  ASSERT_TRUE(platform.setRegistryDword(RegistryRoot::currentUser, key, "Count", 3));
  auto text = platform.registryValue(RegistryRoot::currentUser, key + "\\Sub\\Deeper", "Name");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->data.substr(0, text->data.find('\0')), "C:\\A B");
  auto count = platform.registryValue(RegistryRoot::currentUser, key, "Count");
  EXPECT_EQ(readSharedCount(count), 3u);
  EXPECT_TRUE(platform.deleteRegistryValue(RegistryRoot::currentUser, key, "Count"));
  EXPECT_TRUE(platform.deleteRegistryTree(RegistryRoot::currentUser, key));
  EXPECT_FALSE(platform.registryValue(RegistryRoot::currentUser, key + "\\Sub\\Deeper", "Name"));
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VeltraceInstallTest");
}

TEST(WindowsInstallPlatform, ShellLinksKeepTheirTargetWhateverTheyAreCalled) {
  ComScope com;
  TempFolder folder;
  WindowsInstallPlatform platform;
  std::string target = folder.corePath() + "\\program.exe";
  ASSERT_TRUE(replaceFileWith(target, "MZ"));
  ShellLinkData link;
  link.target = target;
  link.workDir = folder.corePath();
  link.arguments = "/remove";
  link.description = "Removes it";
  link.iconPath = target;
  std::string linkPath = folder.corePath() + "\\Some name.lnk";
  ASSERT_TRUE(platform.createShellLink(linkPath, link));
  MoveFileA(linkPath.c_str(), (folder.corePath() + "\\Renamed.lnk").c_str());
  EXPECT_EQ(platform.listFiles(folder.corePath(), "*.lnk"), std::vector<std::string>{"Renamed.lnk"});
  auto read = platform.shellLinkTarget(folder.corePath() + "\\Renamed.lnk");
  ASSERT_TRUE(read);
  EXPECT_STRCASEEQ(read->c_str(), target.c_str());
}

TEST(WindowsInstallPlatform, AFileHeldOpenWithoutSharingRefusesTheMoveAsInUse) {
  TempFolder folder;
  WindowsInstallPlatform platform;
  std::string target = folder.corePath() + "\\held.dll";
  std::string temporary = target + ".$$$";
  ASSERT_TRUE(replaceFileWith(target, "old"));
  ASSERT_TRUE(replaceFileWith(temporary, "new"));
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::uint32_t error = platform.moveFile(temporary, target);
  EXPECT_TRUE(error == errorSharingViolation || error == errorAccessDenied) << error;
  CloseHandle(held);
  EXPECT_EQ(platform.moveFile(temporary, target), errorNone);
  EXPECT_EQ(readWholeFile(target), "new");
}

TEST(WindowsInstallPlatform, AMoveAtTheRestartIsPendingInTheSessionManager) {
  TempFolder folder;
  WindowsInstallPlatform platform;
  const char* sessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
  auto before = platform.registryValue(RegistryRoot::localMachine, sessionManager, "PendingFileRenameOperations");
  std::string temporary = folder.corePath() + "\\x.dll.$$$";
  ASSERT_TRUE(replaceFileWith(temporary, "new"));
  ASSERT_EQ(platform.moveAtRestart(temporary, folder.corePath() + "\\x.dll"), errorNone);
  auto after = platform.registryValue(RegistryRoot::localMachine, sessionManager, "PendingFileRenameOperations");
  ASSERT_TRUE(after);
  EXPECT_GT(after->data.size(), before ? before->data.size() : 0u);
  // Leave the prefix as it was: the next restart of it must not act on us.
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, sessionManager, 0, KEY_WRITE, &key), ERROR_SUCCESS);
  if (before)
    RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ,
                   reinterpret_cast<const BYTE*>(before->data.data()), static_cast<DWORD>(before->data.size()));
  else
    RegDeleteValueA(key, "PendingFileRenameOperations");
  RegCloseKey(key);
}

TEST(WindowsInstallPlatform, APlantedSystemLibraryBesideTheProgramIsNeverLoaded) {
  char own[MAX_PATH];
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string besideProgram = folderPart(own) + "sfc.dll";
  ASSERT_TRUE(CopyFileA(VELTRACE_PLANTED_DLL, besideProgram.c_str(), FALSE));
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string marker = std::string(temp) + "veltrace-planted-dll-ran";
  DeleteFileA(marker.c_str());

  restrictDllSearch();
  HMODULE library = systemLibrary("sfc.dll");
  WindowsInstallPlatform platform;
  platform.isProtectedFile("C:\\windows\\system32\\kernel32.dll");
  EXPECT_FALSE(fileExists(marker)) << "the planted library ran";
  if (library) {
    char loaded[MAX_PATH];
    GetModuleFileNameA(library, loaded, MAX_PATH);
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(_strnicmp(loaded, system, strlen(system)), 0) << loaded;
  }
  DeleteFileA(besideProgram.c_str());
}

// --- the deletion agent ---

int runAgent(const std::string& block, DWORD timeoutMs) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<char> environment(block.begin(), block.end());
  std::string agent = VELTRACE_AGENT_PATH;
  for (char& c : agent)
    if (c == '/') c = '\\';
  if (!CreateProcessA(agent.c_str(), nullptr, nullptr, nullptr, FALSE, 0, environment.data(), nullptr, &startup,
                      &process))
    return -1;
  WaitForSingleObject(process.hProcess, timeoutMs);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

TEST(DeletionAgent, DeletesFilesAndFoldersOnceTheyAreFree) {
  TempFolder folder;
  std::string app = folder.corePath() + "\\App";
  CreateDirectoryA(app.c_str(), nullptr);
  CreateDirectoryA((app + "\\sub").c_str(), nullptr);
  std::string setup = app + "\\Setup.exe";
  ASSERT_TRUE(replaceFileWith(setup, "MZ"));
  SetFileAttributesA(setup.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  // Held for the agent's first pass, as the ending setup program holds it.
  HANDLE held = CreateFileA(setup.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  std::thread release([held] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    CloseHandle(held);
  });
  std::string block = "F" + setup + '\0' + "D" + app + '\0' + "D" + app + "\\sub" + '\0' + '\0';
  auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(runAgent(block, 15000), 0);
  release.join();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(11));
  EXPECT_FALSE(fileExists(setup));
  EXPECT_FALSE(folderExists(app));
}

TEST(DeletionAgent, GivesUpOnAFolderWithTheUsersFilesAfterTenPasses) {
  TempFolder folder;
  std::string app = folder.corePath() + "\\App";
  CreateDirectoryA(app.c_str(), nullptr);
  ASSERT_TRUE(replaceFileWith(app + "\\mine.txt", "user data"));
  std::string block = "D" + app + '\0' + '\0';
  EXPECT_EQ(runAgent(block, 20000), 1);
  EXPECT_TRUE(fileExists(app + "\\mine.txt"));
  EXPECT_EQ(runAgent(std::string(2, '\0'), 5000), 1);  // nothing to do: no commands
}

// --- setup.exe, quiet, end to end ---

std::string setupWithPackage(const TempFolder& folder, const std::string& script,
                             const std::vector<test::TestRecord>& files) {
  std::vector<test::TestRecord> records{{"Setup.ini", script}};
  records.insert(records.end(), files.begin(), files.end());
  auto program = readWholeFile(VELTRACE_SETUP_PATH);
  EXPECT_TRUE(program);
  MessageLog log;
  auto image = attachPackage(program.value_or(""), test::containerOf(records), log);
  EXPECT_TRUE(image);
  return test::writeFile(folder, "Setup.exe", image.value_or(""));
}

int runProgram(const std::string& commandLine, DWORD timeoutMs = 60000) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, timeoutMs);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

std::string scriptFor(const std::string& appFolder, const std::string& group, std::uint32_t options) {
  return "Version=2.66.1387\r\n[Install]\r\nPath=<AppFolder>\\tool.exe\r\nPathList=<AppFolder>\r\nOptions=" +
         std::to_string(options) +
         "\r\nIgnore=0\r\n[Symbols]\r\nAppFolder=1|255|" + appFolder +
         "\r\nAppTitle=2|255|VeltraceSetupTest\r\nAppVersion=3|255|1.2\r\nProgGroupDir=9|255|" + group +
         "\r\nUninstallTitle=12|255|<AppTitle>\r\nTempDir=18|255|(runtime)\r\nWinDir=19|255|(runtime)\r\n"
         "UninstallRegPath=62|255|HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\<AppTitle>\r\n"
         "[Files]\r\nInstallDir=<AppFolder>\r\nFile=tool.exe|2|3|2|0|0=tool.exe|0|-1|247|0||\r\n"
         "[Files]\r\nInstallDir=<AppFolder>\\data\r\nFile=data\\a.txt|1|3|2|0|0=data\\a.txt|0|-1|247|0||\r\n"
         "[ShellLink]\r\nTitle=<AppTitle>\r\nPath=<AppFolder>\\tool.exe\r\nLocations=256\r\n";
}

bool waitUntilGone(const std::string& path, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (!fileExists(path) && !folderExists(path)) return true;
    Sleep(100);
  }
  return false;
}

const char* uninstallKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VeltraceSetupTest";

TEST(SetupProgram, AQuietInstallationIsRemovedCompletelyByItsUninstallCommand) {
  TempFolder folder;
  std::string app = folder.corePath() + "\\Veltrace Test";
  std::string group = folder.corePath() + "\\Group\\VeltraceSetupTest";
  CreateDirectoryA((folder.corePath() + "\\Group").c_str(), nullptr);
  std::string setup = setupWithPackage(folder, scriptFor(app, group, 0x10 | 0x8 | 0x100),
                                       {{"tool.exe", "MZ"}, {"data\\a.txt", "a"}});
  ASSERT_EQ(runProgram("\"" + setup + "\" /Q /B0"), 0);
  EXPECT_EQ(readWholeFile(app + "\\tool.exe"), "MZ");
  EXPECT_EQ(readWholeFile(app + "\\data\\a.txt"), "a");
  EXPECT_TRUE(fileExists(group + "\\VeltraceSetupTest.lnk"));
  EXPECT_EQ(GetFileAttributesA((app + "\\Setup.exe").c_str()) & 7u, 7u);
  auto installedCopy = readWholeFile(app + "\\Setup.exe");
  auto original = readWholeFile(VELTRACE_SETUP_PATH);
  EXPECT_TRUE(installedCopy && original && installedCopy->size() == original->size());

  WindowsInstallPlatform platform;
  auto uninstall = platform.registryValue(RegistryRoot::localMachine, uninstallKeyPath, "UninstallString");
  ASSERT_TRUE(uninstall);
  std::string command = uninstall->data.substr(0, uninstall->data.find('\0'));
  EXPECT_NE(command.find(" /remove"), std::string::npos);
  ASSERT_EQ(runProgram(command + " /Q /B0"), 0);
  EXPECT_TRUE(waitUntilGone(app, 12)) << "the agent left the application folder";
  EXPECT_FALSE(folderExists(group));
  EXPECT_FALSE(platform.registryValue(RegistryRoot::localMachine, uninstallKeyPath, "DisplayName"));
  EXPECT_FALSE(platform.registryValue(RegistryRoot::localMachine,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tool.exe", ""));
}

// Restarting the prefix carries out the pending renames and the RunOnce
// entries, as a restart of Windows would.
bool restartPrefix() { return runProgram("wineboot.exe -r", 120000) == 0; }

bool runOnceHasSetupEntry() {
  HKEY runOnce;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, std::string(runOnceKey).c_str(), 0, KEY_READ, &runOnce) != ERROR_SUCCESS)
    return false;
  bool found = false;
  char name[64];
  for (DWORD index = 0; !found; ++index) {
    DWORD length = sizeof name;
    if (RegEnumValueA(runOnce, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    found = std::string(name).rfind("OVN", 0) == 0;
  }
  RegCloseKey(runOnce);
  return found;
}

TEST(SetupProgram, ATargetHeldOpenIsDeferredInAQuietRunAndInPlaceAfterTheRestart) {
  TempFolder folder;
  std::string app = folder.corePath() + "\\App";
  CreateDirectoryA(app.c_str(), nullptr);
  ASSERT_TRUE(replaceFileWith(app + "\\tool.exe", "old"));
  std::string script = scriptFor(app, folder.corePath() + "\\G", 0x10);
  // Replace always.
  script.replace(script.find("tool.exe|2|3|2"), 14, "tool.exe|2|3|1");
  std::string setup = setupWithPackage(folder, script, {{"tool.exe", "MZ"}, {"data\\a.txt", "a"}});
  WindowsInstallPlatform platform;
  HANDLE held = CreateFileA((app + "\\tool.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(runProgram("\"" + setup + "\" /Q /B0"), 12);
  auto pending = platform.registryValue(RegistryRoot::localMachine,
                                        "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                                        "PendingFileRenameOperations");
  ASSERT_TRUE(pending);
  EXPECT_NE(pending->data.find("tool.exe.$$$"), std::string::npos);
  EXPECT_TRUE(runOnceHasSetupEntry()) << "registration is not handed to the restart";
  CloseHandle(held);
  EXPECT_EQ(readWholeFile(app + "\\tool.exe.$$$"), "MZ");
  EXPECT_EQ(readWholeFile(app + "\\tool.exe"), "old");
  auto saved = readWholeFile(app + "\\Setup.ini");
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find("tool.exe|2|3|1|0|0=tool.exe|2|"), std::string::npos);

  ASSERT_TRUE(restartPrefix());
  EXPECT_EQ(readWholeFile(app + "\\tool.exe"), "MZ");
  EXPECT_FALSE(fileExists(app + "\\tool.exe.$$$"));
  EXPECT_FALSE(runOnceHasSetupEntry()) << "the restart did not run the deferred registration";
  pending = platform.registryValue(RegistryRoot::localMachine,
                                   "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                                   "PendingFileRenameOperations");
  EXPECT_TRUE(!pending || pending->data.find("tool.exe.$$$") == std::string::npos);
}

TEST(SetupProgram, AQuietRunShowsItsProcessingWindowWhileItWaitsAndWorks) {
  TempFolder folder;
  std::string setup = setupWithPackage(folder, scriptFor(folder.corePath() + "\\App", folder.corePath() + "\\G", 0x10),
                                       {{"tool.exe", "MZ"}, {"data\\a.txt", "a"}});
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string line = "\"" + setup + "\" /Q /B0";
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  // The run waits half a second in its window before it starts: long
  // enough to find the window on the screen from here.
  std::string shown;
  while (shown.empty() && WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT) {
    HWND window = FindWindowA(nullptr, "VeltraceSetupTest");
    char text[256] = "";
    if (window && IsWindowVisible(window) && GetDlgItemTextA(window, IDC_PROCESSING_TEXT, text, sizeof text) > 0)
      shown = text;
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(shown, "Please wait while VeltraceSetupTest is being processed...");
}

TEST(SetupProgram, ARunningCopyOfTheApplicationEndsAQuietRunWithCode13) {
  TempFolder folder;
  std::string app = folder.corePath() + "\\App";
  // The test itself is the running application: Path names this program.
  char own[MAX_PATH];
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string script = scriptFor(app, folder.corePath() + "\\G", 0x400);
  script.replace(script.find("Path=<AppFolder>\\tool.exe"), 25, std::string("Path=") + own);
  std::string setup = setupWithPackage(folder, script, {{"tool.exe", "MZ"}, {"data\\a.txt", "a"}});
  EXPECT_EQ(runProgram("\"" + setup + "\" /Q /B0"), 13);
  EXPECT_FALSE(folderExists(app));
}

TEST(SetupProgram, ACutPackageIsNotValidAndNothingIsWritten) {
  TempFolder folder;
  std::string app = folder.corePath() + "\\App";
  std::string setup = setupWithPackage(folder, scriptFor(app, folder.corePath() + "\\G", 0),
                                       {{"tool.exe", "MZ"}, {"data\\a.txt", "a"}});
  auto image = readWholeFile(setup);
  ASSERT_TRUE(image);
  auto program = readWholeFile(VELTRACE_SETUP_PATH);
  ASSERT_TRUE(replaceFileWith(setup, image->substr(0, program->size() + 6)));
  // The cut leaves a locator pointing past the end: no package, and no
  // Setup.ini beside it either.
  EXPECT_EQ(runProgram("\"" + setup + "\" /Q /B0"), 3);
  EXPECT_FALSE(folderExists(app));
}

}  // namespace
}  // namespace veltrace::setup
