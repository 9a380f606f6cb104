// The real installation wizard under Windows, driven from a second thread
// the way a person would click through it: the pages a script without
// readme and licence shows, the texts and buttons on them, message 135 for
// a folder on a removable drive, and Cancel on the progress page answered
// Yes, which ends on the cancelled page and removes the partial
// installation (exit code 5). Buttons are pressed by posting
// PSM_PRESSBUTTON, message boxes answered by posting their button's click.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <prsht.h>
#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "base/files.h"
#include "base/text.h"
#include "setup/install_wizard.h"
#include "setup/setup_windows.h"
#include "setup/trace_log.h"
#include "setup/windows_platform.h"
#include "setup/windows_wizard_system.h"
#include "setup/wizard_resources.h"
#include "setup/wizard_windows.h"
#include "tests/support/temp_folder.h"

namespace veltrace::setup {
namespace {

using veltrace::test::TempFolder;
using namespace std::chrono_literals;

constexpr int nextButtonId = 0x3024;
constexpr int messageTextId = 0xFFFF;
constexpr auto driveTimeout = 60s;
const char* const wizardTitle = "WizTest 0.1.0";

std::string windowText(HWND window) {
  char buffer[1024] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}
std::string itemText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

// The button a message box presses on Enter is drawn as its default.
bool isDefaultButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  return button && (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::optional<WizardPage> pageKind(HWND page) {
  const std::pair<int, WizardPage> markers[] = {
      {IDC_WELCOME_HEADING, WizardPage::welcome},     {IDC_INFORMATION_TEXT, WizardPage::information},
      {IDC_LICENSE_TEXT, WizardPage::license},        {IDC_OPTIONS_FOLDER, WizardPage::options},
      {IDC_PROGRESS_BAR, WizardPage::progress},       {IDC_COMPLETED_START, WizardPage::completed},
      {IDC_CANCELLED_REMOVE, WizardPage::cancelled}};
  for (const auto& [id, kind] : markers)
    if (GetDlgItem(page, id)) return kind;
  return std::nullopt;
}

// Watches the windows of the thread that runs the wizard and lets the test
// act on each page as it arrives and on each message box.
class WizardDriver {
 public:
  struct Box {
    std::string text;
    HWND window;
  };
  // Called on the driving thread; `arrived` is true once per page change.
  std::function<void(WizardPage, bool arrived, HWND sheet, HWND page)> onPage;
  // Returns the id of the button to click.
  std::function<int(const Box&)> onMessage;
  // Any other dialog of the wizard's thread (the about box, the folder
  // browser), once.
  std::function<void(HWND)> onDialog;

  void start(DWORD wizardThread) {
    thread_ = std::thread([this, wizardThread] { drive(wizardThread); });
  }
  void stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
  }
  ~WizardDriver() { stop(); }

  std::vector<WizardPage> visited;
  std::vector<Box> boxes;

 private:
  void drive(DWORD wizardThread) {
    auto deadline = std::chrono::steady_clock::now() + driveTimeout;
    std::optional<WizardPage> last;
    HWND lastBox = nullptr;
    HWND lastDialog = nullptr;
    while (!stopping_) {
      if (std::chrono::steady_clock::now() > deadline) {
        // A wizard that never ends would hang the whole test run.
        fprintf(stderr, "wizard driver: timed out on page %d\n", last ? static_cast<int>(*last) : -1);
        TerminateProcess(GetCurrentProcess(), 99);
      }
      std::vector<HWND> windows;
      EnumThreadWindows(wizardThread, collectWindow, reinterpret_cast<LPARAM>(&windows));
      for (HWND window : windows) {
        if (!IsWindowVisible(window)) continue;
        if (HWND text = GetDlgItem(window, messageTextId); text && window != lastBox) {
          lastBox = window;
          Box box{windowText(text), window};
          boxes.push_back(box);
          int answer = onMessage ? onMessage(box) : IDCANCEL;
          PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
        } else if (GetDlgItem(window, nextButtonId)) {
          HWND page = PropSheet_GetCurrentPageHwnd(window);
          std::optional<WizardPage> kind = page ? pageKind(page) : std::nullopt;
          if (!kind) continue;
          bool arrived = kind != last;
          if (arrived) visited.push_back(*kind);
          last = kind;
          if (onPage) onPage(*kind, arrived, window, page);
        } else if (window != lastDialog && GetDlgItem(window, IDOK)) {
          lastDialog = window;
          if (onDialog) onDialog(window);
        }
      }
      std::this_thread::sleep_for(30ms);
    }
  }

  std::thread thread_;
  std::atomic<bool> stopping_{false};
};

void press(HWND sheet, int button) { PostMessageA(sheet, PSM_PRESSBUTTON, button, 0); }

std::size_t countOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::string selectedItemText(HWND tree) {
  char text[MAX_PATH] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT;
  item.hItem = TreeView_GetSelection(tree);
  item.pszText = text;
  item.cchTextMax = sizeof text;
  if (!tree || !item.hItem || !TreeView_GetItem(tree, &item)) return {};
  return text;
}

std::string ownPath() {
  char self[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return self;
}

// A plain "Setup.ini" with its files beside it, installing into a test
// folder, run by the real setup program's start-up in this process.
class WizardRun {
 public:
  explicit WizardRun(int fileCount = 3, const std::string& sections = {}) {
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    root = folder.corePath();
    appFolder = root + "\\Program Files\\WizTest";
    download = root + "\\Download";
    CreateDirectoryA(download.c_str(), nullptr);
    std::string script =
        "Version=2.66.1387\r\n[Install]\r\nPath=<AppFolder>\\wiztest.exe\r\nOptions=64\r\nIgnore=0\r\n"
        "[Symbols]\r\nAppFolder=1|255|" + appFolder +
        "\r\nAppTitle=2|255|WizTest\r\nAppVersion=3|255|0.1.0\r\nCompany=4|255|Orvane Works\r\n"
        "Copyright=5|255|Copyright (C) 2026 Nobody\r\nWebSite=7|255|www.example.org\r\n"
        "TempDir=18|255|(runtime)\r\nWinDir=19|255|(runtime)\r\n[Files]\r\nInstallDir=<AppFolder>\r\n";
    for (int i = 0; i < fileCount; ++i) {
      std::string name = formatText("file%03d.dat", i);
      std::string data(64 * 1024, static_cast<char>('a' + i % 26));
      replaceFileWith(download + "\\" + name, data);
      script += formatText("File=%s|%u|3|1|0|0=%s|0|-1|247|0||\r\n", name.c_str(),
                           static_cast<unsigned>(data.size()), name.c_str());
    }
    replaceFileWith(download + "\\Setup.ini", script + sections);
  }
  ~WizardRun() {
    SetCurrentDirectoryA(startFolder.c_str());
    CoUninitialize();
  }

  std::string tracePath() const { return traceLogPath(ownPath(), windowsRuntimeFolders().tempFolder); }

  int run(SetupWindows& windows, WindowsInstallPlatform& platform) {
    std::string self = ownPath();
    SetupStart start;
    start.folders = windowsRuntimeFolders();
    start.folders.setupProgramPath = self;
    start.commandLine = "\"" + self + "\" \"" + download + "\\Setup.ini\" /B0";
    start.currentFolder = root;
    driver.start(GetCurrentThreadId());
    int code = runSetup(platform, windows, start);
    driver.stop();
    return code;
  }

  TempFolder folder;
  std::string root, appFolder, download;
  std::string startFolder = std::filesystem::current_path().string();
  WizardDriver driver;
};

TEST(WizardSheet, AScriptWithoutReadmeAndLicenceShowsWelcomeOptionsProgressAndTheResult) {
  WizardRun run;
  WindowsInstallPlatform platform;
  WindowsSetupWindows windows(GetModuleHandleA(nullptr), platform);
  std::mutex seenLock;
  std::vector<std::string> seen;
  auto note = [&](const std::string& text) {
    std::lock_guard lock(seenLock);
    seen.push_back(text);
  };
  run.driver.onPage = [&](WizardPage page, bool arrived, HWND sheet, HWND dialog) {
    if (!arrived) return;
    switch (page) {
      case WizardPage::welcome:
        note("title=" + windowText(sheet));
        note("heading=" + itemText(dialog, IDC_WELCOME_HEADING));
        note("company=" + itemText(dialog, IDC_WELCOME_COMPANY));
        note(formatText("email shown=%d", IsWindowVisible(GetDlgItem(dialog, IDC_WELCOME_EMAIL)) ? 1 : 0));
        note("about=" + itemText(sheet, IDC_WIZARD_ABOUT));
        note("back=" + itemText(sheet, 0x3023));
        note("next=" + itemText(sheet, nextButtonId));
        // The about box first; closing it goes on to the next page.
        PostMessageA(sheet, WM_COMMAND, IDC_WIZARD_ABOUT, 0);
        break;
      case WizardPage::options:
        note("next=" + itemText(sheet, nextButtonId));
        note("required=" + itemText(dialog, IDC_OPTIONS_REQUIRED));
        note("folder=" + itemText(dialog, IDC_OPTIONS_FOLDER));
        // A double click on Install.
        press(sheet, PSBTN_NEXT);
        press(sheet, PSBTN_NEXT);
        break;
      case WizardPage::completed:
        note(formatText("cancel enabled=%d", IsWindowEnabled(GetDlgItem(sheet, IDCANCEL)) ? 1 : 0));
        note(formatText("start shown=%d", IsWindowVisible(GetDlgItem(dialog, IDC_COMPLETED_START)) ? 1 : 0));
        note("text=" + itemText(dialog, IDC_COMPLETED_TEXT));
        press(sheet, PSBTN_FINISH);
        break;
      default:
        break;
    }
  };
  run.driver.onDialog = [&](HWND about) {
    note("about caption=" + windowText(about));
    note("about heading=" + itemText(about, IDC_ABOUT_HEADING));
    note("engine=" + itemText(about, IDC_ABOUT_ENGINE));
    note("publisher=" + itemText(about, IDC_ABOUT_COMPANY));
    note("web site=" + itemText(about, IDC_ABOUT_WEBSITE));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    press(GetWindow(about, GW_OWNER), PSBTN_NEXT);
  };
  EXPECT_EQ(run.run(windows, platform), 0);
  EXPECT_EQ(run.driver.visited, (std::vector<WizardPage>{WizardPage::welcome, WizardPage::options,
                                                         WizardPage::progress, WizardPage::completed}));
  EXPECT_EQ(seen, (std::vector<std::string>{"title=WizTest 0.1.0", "heading=WizTest 0.1.0", "company=Orvane Works",
                                            "email shown=0", "about=&About...", "back=< &Back", "next=&Next >",
                                            "about caption=WizTest 0.1.0 About", "about heading=WizTest 0.1.0",
                                            "engine=Orvane Installer 2.66.1387 (Veltrace setup)",
                                            "publisher=Orvane Works", "web site=www.example.org",
                                            "next=Install", "required=192 KB", "folder=" + run.appFolder,
                                            "cancel enabled=0", "start shown=0",
                                            "text=WizTest 0.1.0 has been successfully installed on your computer."}));
  EXPECT_TRUE(run.driver.boxes.empty());
  EXPECT_TRUE(fileExists(run.appFolder + "\\file002.dat"));
  // The installation ran once: one start in this run's part of the trace log.
  std::string log = readWholeFile(run.tracePath()).value_or("");
  std::size_t banner = log.rfind("Orvane Installer 2.66.1387\r\n");
  ASSERT_NE(banner, std::string::npos);
  EXPECT_EQ(countOf(log.substr(banner), "\r\n01010004|WizTest|"), 1u);
}

// The system as it is, except that drive C: is a removable disk.
class RemovableC : public WindowsWizardSystem {
 public:
  DriveKind driveKind(std::string_view root) override {
    return root == "C:\\" ? DriveKind::removable : WindowsWizardSystem::driveKind(root);
  }
};

class RemovableWindows : public WindowsSetupWindows {
 public:
  explicit RemovableWindows(WindowsInstallPlatform& platform)
      : WindowsSetupWindows(GetModuleHandleA(nullptr), platform), platform_(platform) {}
  bool runWizard(InstallContext& context) override {
    InstallWizard wizard(context, system_);
    return runWizardSheet(GetModuleHandleA(nullptr), wizard, platform_, system_);
  }

 private:
  WindowsInstallPlatform& platform_;
  RemovableC system_;
};

TEST(WizardSheet, AFolderOnARemovableDriveAsksMessage135AndOnlyOkInstallsThere) {
  WizardRun run;
  if (run.appFolder.rfind("C:", 0) != 0) GTEST_SKIP() << "the test folder is not on drive C:";
  WindowsInstallPlatform platform;
  RemovableWindows windows(platform);
  std::atomic<int> installPresses{0};
  run.driver.onPage = [&](WizardPage page, bool arrived, HWND sheet, HWND) {
    if (page == WizardPage::welcome && arrived) press(sheet, PSBTN_NEXT);
    if (page == WizardPage::options && arrived) {
      ++installPresses;
      press(sheet, PSBTN_NEXT);
    }
    if (page == WizardPage::completed && arrived) press(sheet, PSBTN_FINISH);
  };
  run.driver.onMessage = [&](const WizardDriver::Box& box) {
    // First Cancel (the page stays, Install is pressed again), then OK.
    HWND sheet = GetWindow(box.window, GW_OWNER);
    bool first = run.driver.boxes.size() == 1;
    if (first) {
      EXPECT_TRUE(isDefaultButton(box.window, IDCANCEL));
      EXPECT_FALSE(isDefaultButton(box.window, IDOK));
      EXPECT_TRUE(GetDlgItem(box.window, IDOK) && GetDlgItem(box.window, IDCANCEL));
      std::thread([sheet, &installPresses] {
        std::this_thread::sleep_for(300ms);
        ++installPresses;
        press(sheet, PSBTN_NEXT);
      }).detach();
      return IDCANCEL;
    }
    return IDOK;
  };
  EXPECT_EQ(run.run(windows, platform), 0);
  ASSERT_EQ(run.driver.boxes.size(), 2u);
  for (const auto& box : run.driver.boxes)
    EXPECT_EQ(box.text, run.appFolder +
                            "\n\nThe installation folder should be located on a hard disk or network drive.\n\n"
                            "Please select an installation folder on a different disk.");
  EXPECT_EQ(installPresses.load(), 2);
  EXPECT_EQ(run.driver.visited, (std::vector<WizardPage>{WizardPage::welcome, WizardPage::options,
                                                         WizardPage::progress, WizardPage::completed}));
  EXPECT_TRUE(fileExists(run.appFolder + "\\file000.dat"));
}

TEST(WizardSheet, CancelDuringTheInstallationAnsweredYesRemovesThePartialInstallationWithCode5) {
  WizardRun run(20);
  WindowsInstallPlatform platform;
  WindowsSetupWindows windows(GetModuleHandleA(nullptr), platform);
  std::atomic<bool> cancelPressed{false};
  run.driver.onPage = [&](WizardPage page, bool arrived, HWND sheet, HWND dialog) {
    if (page == WizardPage::welcome && arrived) press(sheet, PSBTN_NEXT);
    if (page == WizardPage::options && arrived) press(sheet, PSBTN_NEXT);
    // Posted after the page's own start of the installation: the press is
    // seen by the installation between its steps.
    if (page == WizardPage::progress && arrived && !cancelPressed.exchange(true)) press(sheet, PSBTN_CANCEL);
    if (page == WizardPage::cancelled && arrived) {
      EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CANCELLED_REMOVE), BST_CHECKED);
      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheet, IDCANCEL)));
      press(sheet, PSBTN_FINISH);
    }
  };
  run.driver.onMessage = [&](const WizardDriver::Box& box) {
    EXPECT_TRUE(isDefaultButton(box.window, IDNO));
    return IDYES;
  };
  EXPECT_EQ(run.run(windows, platform), 5);
  ASSERT_EQ(run.driver.boxes.size(), 1u);
  EXPECT_EQ(run.driver.boxes[0].text,
            "The installation of WizTest 0.1.0 is not complete yet.\nCancelling at this point will leave the "
            "application unusable.\n\nDo you want to cancel it anyway?");
  EXPECT_EQ(run.driver.visited, (std::vector<WizardPage>{WizardPage::welcome, WizardPage::options,
                                                         WizardPage::progress, WizardPage::cancelled}));
  EXPECT_FALSE(fileExists(run.appFolder + "\\file000.dat"));
  // The deletion agent takes the installed copy of the program and the
  // folder once this process lets go of them.
  for (int i = 0; i < 150 && GetFileAttributesA(run.appFolder.c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
    std::this_thread::sleep_for(100ms);
  EXPECT_EQ(GetFileAttributesA(run.appFolder.c_str()), INVALID_FILE_ATTRIBUTES);
  // The program that ran is never the agent's to delete.
  char self[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_TRUE(fileExists(self));
}

TEST(WizardSheet, ReadmeAndLicencePagesShowTheirTextsAndCancelBeforeInstallingLeavesNothing) {
  WizardRun run(1, "[Readme]\r\n1=First line\r\n2=Second line\r\n[License]\r\n1=You may.\r\n");
  WindowsInstallPlatform platform;
  WindowsSetupWindows windows(GetModuleHandleA(nullptr), platform);
  std::mutex seenLock;
  std::vector<std::string> seen;
  run.driver.onPage = [&](WizardPage page, bool arrived, HWND sheet, HWND dialog) {
    if (!arrived) return;
    std::lock_guard lock(seenLock);
    if (page == WizardPage::information) seen.push_back("readme=" + itemText(dialog, IDC_INFORMATION_TEXT));
    if (page == WizardPage::license) seen.push_back("next=" + itemText(sheet, nextButtonId));
    press(sheet, page == WizardPage::options ? PSBTN_CANCEL : PSBTN_NEXT);
  };
  EXPECT_EQ(run.run(windows, platform), 6);
  EXPECT_EQ(run.driver.visited, (std::vector<WizardPage>{WizardPage::welcome, WizardPage::information,
                                                         WizardPage::license, WizardPage::options}));
  EXPECT_EQ(seen, (std::vector<std::string>{"readme=First line\r\nSecond line", "next=Agree >"}));
  EXPECT_EQ(GetFileAttributesA(run.appFolder.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(run.driver.boxes.empty());
}

TEST(WizardSheet, BrowseAppendsTheApplicationsFolderNameToThePickedFolder) {
  WizardRun run;
  WindowsInstallPlatform platform;
  WindowsSetupWindows windows(GetModuleHandleA(nullptr), platform);
  std::atomic<bool> browsed{false};
  std::string field;
  run.driver.onPage = [&](WizardPage page, bool arrived, HWND sheet, HWND dialog) {
    if (page == WizardPage::welcome && arrived) press(sheet, PSBTN_NEXT);
    if (page == WizardPage::options && arrived)
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_BROWSE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_OPTIONS_BROWSE)));
    // Back from the browser: the field holds the pick with the name.
    if (page == WizardPage::options && browsed && field.empty()) {
      std::this_thread::sleep_for(300ms);
      field = itemText(dialog, IDC_OPTIONS_FOLDER);
      press(sheet, PSBTN_NEXT);
    }
    if (page == WizardPage::completed && arrived) press(sheet, PSBTN_FINISH);
  };
  // The user picks the test folder.
  std::string testFolderName = run.folder.path().filename().string();
  run.driver.onDialog = [&](HWND browser) {
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    for (int i = 0; i < 50 && selectedItemText(tree) != testFolderName; ++i) {
      SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(run.root.c_str()));
      std::this_thread::sleep_for(100ms);
    }
    PostMessageA(browser, WM_COMMAND, IDOK, 0);
    browsed = true;
  };
  EXPECT_EQ(run.run(windows, platform), 0);
  EXPECT_EQ(field, run.root + "\\WizTest");
  EXPECT_TRUE(fileExists(run.root + "\\WizTest\\file000.dat"));
}

}  // namespace
}  // namespace veltrace::setup
