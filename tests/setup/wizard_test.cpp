// The installation wizard without its windows: the pages a script gets, the
// welcome rows, the folder rules and the browser's pick, the free space
// asked only on a drive change, the checks on Install with their messages,
// one start of the installation, Cancel on each page, and what Finish
// leaves for the end of the run.

#include <gtest/gtest.h>

#include "setup/install_folder.h"
#include "setup/install_wizard.h"
#include "setup/setup_messages.h"
#include "tests/setup/engine_harness.h"

// Runs are described with designated initialisers that leave the rest at
// their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace veltrace::setup {
namespace {

using test::EngineHarness;
using test::FakeWizardSystem;
using test::PackagedFile;

std::vector<PackagedFile> oneProgram() { return {{"<AppFolder>", "veltrace.exe", std::string(4096, 'p')}}; }

struct FolderCase {
  const char* typed;
  const char* path;  // normalised, when accepted
  FolderProblem problem;
};

TEST(InstallFolder, IsNormalisedOrRefusedWithItsReason) {
  std::string longName(250, 'a');
  const FolderCase cases[] = {
      {"C:\\Program Files\\Veltrace", "C:\\Program Files\\Veltrace", FolderProblem::none},
      {"C:\\Program Files\\Veltrace\\", "C:\\Program Files\\Veltrace", FolderProblem::none},
      {"C:\\Tools\\\\\\", "C:\\Tools", FolderProblem::none},
      {"  D:/Tools//Veltrace/  ", "D:\\Tools\\Veltrace", FolderProblem::none},
      {"\\\\server\\share\\Veltrace", "\\\\server\\share\\Veltrace", FolderProblem::none},
      {"//server/share/Veltrace/", "\\\\server\\share\\Veltrace", FolderProblem::none},
      {"\\Tools\\Veltrace", "\\Tools\\Veltrace", FolderProblem::none},
      {"", "", FolderProblem::empty},
      {"   ", "", FolderProblem::empty},
      {"Veltrace", "", FolderProblem::relative},
      {"Tools\\Veltrace", "", FolderProblem::relative},
      {"C:Veltrace", "", FolderProblem::relative},
      {"C:\\Tools\\..\\Veltrace", "", FolderProblem::relative},
      {"C:\\.\\Veltrace", "", FolderProblem::relative},
      {"1:\\Veltrace", "", FolderProblem::relative},
      {"\\\\server", "", FolderProblem::relative},
      {"C:\\", "", FolderProblem::driveRoot},
      {"C:", "", FolderProblem::driveRoot},
      {"\\\\server\\share\\", "", FolderProblem::driveRoot},
      {"C:\\Tools\\Vel|trace", "", FolderProblem::badCharacter},
      {"C:\\Tools\\<AppTitle>", "", FolderProblem::badCharacter},
      {"C:\\Tools\\a:b", "", FolderProblem::badCharacter},
      {"C:\\Tools\\what?", "", FolderProblem::badCharacter},
      {"C:\\Tools\\tab\there", "", FolderProblem::badCharacter},
  };
  for (const auto& c : cases) {
    InstallFolder folder = normaliseInstallFolder(c.typed);
    EXPECT_EQ(folder.problem, c.problem) << c.typed;
    if (c.problem == FolderProblem::none) {
      EXPECT_EQ(folder.path, c.path) << c.typed;
    }
    EXPECT_EQ(std::string(folderProblemText(folder.problem)).empty(), c.problem == FolderProblem::none);
  }
  // 255 characters are the most a folder may have; longer is refused, not cut.
  std::string at255 = "C:\\" + longName + "\\" + std::string(255 - 4 - longName.size(), 'b');
  ASSERT_EQ(at255.size(), 255u);
  EXPECT_TRUE(normaliseInstallFolder(at255).ok());
  EXPECT_EQ(normaliseInstallFolder(at255 + "c").problem, FolderProblem::tooLong);
  EXPECT_TRUE(normaliseInstallFolder(at255 + "\\").ok());  // the separator goes before counting
}

struct BrowseCase {
  const char* picked;
  const char* defaultFolder;
  const char* result;
};

TEST(InstallFolder, ThePickedFolderGetsTheApplicationsFolderNameUnlessItEndsInIt) {
  const BrowseCase cases[] = {
      {"C:\\Program Files", "C:\\Program Files\\Veltrace", "C:\\Program Files\\Veltrace"},
      {"D:\\Tools\\Veltrace", "C:\\Program Files\\Veltrace", "D:\\Tools\\Veltrace"},
      {"D:\\Tools\\VELTRACE", "C:\\Program Files\\Veltrace", "D:\\Tools\\VELTRACE"},
      {"D:\\Tools\\Veltrace2", "C:\\Program Files\\Veltrace", "D:\\Tools\\Veltrace2\\Veltrace"},
      {"E:\\", "C:\\Program Files\\Veltrace", "E:\\Veltrace"},
      {"E:", "C:\\Program Files\\Veltrace", "E:\\Veltrace"},
      {"\\\\server\\share", "C:\\Program Files\\Veltrace\\", "\\\\server\\share\\Veltrace"},
      {"D:\\Tools", "C:\\", "D:\\Tools"},
  };
  for (const auto& c : cases) EXPECT_EQ(folderFromBrowse(c.picked, c.defaultFolder), c.result) << c.picked;
  EXPECT_EQ(freeSpaceDrive("d:\\x"), "D:\\");
  EXPECT_EQ(freeSpaceDrive("\\\\server\\share"), "");
  EXPECT_EQ(driveRootOf("\\\\server\\share\\x"), "\\\\server\\share\\");
  EXPECT_EQ(driveRootOf("C:\\x"), "C:\\");
}

// A loaded run as the wizard gets it, without going through setup.exe: the
// files are copied from the download folder beside the script.
struct RunSettings {
  std::vector<PackagedFile> files = oneProgram();
  std::uint32_t extraOptions = 0;
  std::string symbols;
  std::string installKeys;  // more "[Install]" lines
  std::string sections;
};

class LoadedRun {
 public:
  explicit LoadedRun(const RunSettings& settings = {}) {
    h.options |= settings.extraOptions;
    h.extraSymbols = settings.symbols;
    h.extraSections = settings.sections;
    std::string text = h.scriptText(settings.files);
    text.insert(text.find("[Install]\r\n") + 11, settings.installKeys);
    MessageLog log;
    loaded = script.loadScript(text, log) && script.applyRuntimeSymbols(h.runtime);
    std::string download = h.root + "\\Download";
    for (const PackagedFile& file : settings.files) replaceFileWith(download + "\\" + file.source, file.data);
    replaceFileWith(h.runtime.setupProgramPath, test::programImage());
    context.sourceFolder = download;
    context.setupProgramPath = h.runtime.setupProgramPath;
    prepareContext(context);
    context.requiredSize = 10 * 1024 * 1024;
  }
  EngineHarness h;
  SetupScript script{h.platform};
  SilentProgress silent;
  TraceLog trace;
  InstallContext context{script, h.platform, silent, trace};
  FakeWizardSystem system;
  bool loaded = false;
};

struct PageListCase {
  const char* sections;
  std::vector<WizardPage> pages;
};

TEST(InstallWizard, ShowsOnlyThePagesTheScriptHasContentFor) {
  using P = WizardPage;
  const PageListCase cases[] = {
      {"", {P::welcome, P::options, P::progress, P::completed}},
      {"[Readme]\r\n1=Read me\r\n", {P::welcome, P::information, P::options, P::progress, P::completed}},
      {"[License]\r\n1=Terms\r\n", {P::welcome, P::license, P::options, P::progress, P::completed}},
      {"[Readme]\r\n1=A\r\n[License]\r\n1=B\r\n",
       {P::welcome, P::information, P::license, P::options, P::progress, P::completed}},
      // Sections with nothing to read in them show no page.
      {"[Readme]\r\n=\r\n[License]\r\n=\r\n", {P::welcome, P::options, P::progress, P::completed}},
  };
  for (const auto& c : cases) {
    EngineHarness h;
    h.extraSections = c.sections;
    h.buildSetup(oneProgram());
    ASSERT_EQ(h.run("/B0"), exitSuccess) << c.sections;
    EXPECT_EQ(h.windows.wizardRuns, 1);
    EXPECT_EQ(h.windows.user.pagesShown, c.pages) << c.sections;
    EXPECT_TRUE(h.windows.processingTitles.empty());
  }
}

struct ContactCase {
  std::uint32_t options;
  const char* symbols;
  std::vector<std::pair<ContactField, std::string>> rows;
};

TEST(InstallWizard, ContactRowsWithoutAValueAreLeftOut) {
  using F = ContactField;
  const char* everything = "WebSite=7|255|www.example.org\r\nEmail=6|255|help@example.org\r\nTelephone=66|255|555 0100\r\n";
  const ContactCase cases[] = {
      {0x40 | 0x80 | 0x800, everything,
       {{F::company, "Veltrace"}, {F::webSite, "www.example.org"}, {F::email, "help@example.org"},
        {F::telephone, "555 0100"}}},
      // Switched off by the options: not shown even with a value.
      {0, everything, {{F::company, "Veltrace"}}},
      // Switched on without a value: not shown either.
      {0x40 | 0x80 | 0x800, "WebSite=7|255|\r\nEmail=6|255|\r\nTelephone=66|255|\r\n", {{F::company, "Veltrace"}}},
  };
  for (const auto& c : cases) {
    LoadedRun run({.extraOptions = c.options, .symbols = c.symbols});
    ASSERT_TRUE(run.loaded);
    InstallWizard wizard(run.context, run.system);
    std::vector<std::pair<ContactField, std::string>> rows;
    for (const ContactRow& row : wizard.contactRows()) rows.emplace_back(row.field, row.text);
    EXPECT_EQ(rows, c.rows) << c.options;
  }
  LoadedRun run({.extraOptions = 0x40 | 0x80, .symbols = everything});
  run.script.setSymbol(symbolCompany, "");
  auto rows = InstallWizard(run.context, run.system).contactRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].target, "www.example.org");
  EXPECT_EQ(rows[1].target, "mailto:help@example.org");
  EXPECT_EQ(linkRow(ContactField::webSite, "Our site\nhttp://example.org/").text, "Our site");
}

TEST(InstallWizard, TheOptionsPageShowsFolderSizesAndTheBoxesTheShortcutsAskFor) {
  const char* links =
      "[ShellLink]\r\nTitle=A\r\nPath=<AppFolder>\\a.exe\r\nLocations=258\r\n"
      "[ShellLink]\r\nTitle=B\r\nPath=<AppFolder>\\b.exe\r\nLocations=1\r\n";
  LoadedRun run({.sections = links});
  ASSERT_TRUE(run.loaded);
  run.script.setSymbol(symbolAppFolder, "C:\\Program Files\\Veltrace");
  run.system.free["C:\\"] = 2048 * 1024;
  InstallWizard wizard(run.context, run.system);
  EXPECT_EQ(wizard.options().requiredSpace, "0 KB");
  EXPECT_EQ(wizard.options().availableSpace, "0 KB");
  wizard.showOptions();
  const OptionsPage& page = wizard.options();
  EXPECT_EQ(page.folder, "C:\\Program Files\\Veltrace");
  EXPECT_EQ(page.requiredSpace, "10240 KB");
  EXPECT_EQ(page.availableSpace, "2048 KB");
  EXPECT_FALSE(page.folderReadOnly);
  EXPECT_EQ(page.enabledBoxes, choiceDesktop | choiceStartMenu);
  // The desktop box is the user's choice (off at first); the Start menu
  // box is ticked because a shortcut asks for it.
  EXPECT_EQ(page.tickedBoxes, choiceStartMenu);

  LoadedRun fixed({.extraOptions = optionFixedFolder});
  InstallWizard fixedWizard(fixed.context, fixed.system);
  fixedWizard.showOptions();
  EXPECT_TRUE(fixedWizard.options().folderReadOnly);
  EXPECT_EQ(fixedWizard.options().enabledBoxes, 0u);
}

TEST(InstallWizard, TheFreeSpaceIsAskedAgainOnlyWhenTheDriveLetterChanges) {
  LoadedRun run;
  run.script.setSymbol(symbolAppFolder, "C:\\Program Files\\Veltrace");
  run.system.free["C:\\"] = 1024 * 1024;
  run.system.free["D:\\"] = 3 * 1024 * 1024;
  InstallWizard wizard(run.context, run.system);
  wizard.showOptions();
  EXPECT_EQ(run.system.freeSpaceAsked, std::vector<std::string>{"C:\\"});
  EXPECT_FALSE(wizard.folderEdited("C:\\Program Files\\Veltrac"));
  EXPECT_FALSE(wizard.folderEdited("C:\\Tools"));
  EXPECT_FALSE(wizard.folderEdited("c:\\Tools"));  // the same drive in lower case
  EXPECT_EQ(run.system.freeSpaceAsked.size(), 1u);
  EXPECT_TRUE(wizard.folderEdited("D:\\Tools"));
  EXPECT_EQ(wizard.options().availableSpace, "3072 KB");
  EXPECT_TRUE(wizard.folderEdited(""));
  EXPECT_EQ(wizard.options().availableSpace, "0 KB");
  EXPECT_TRUE(wizard.folderEdited("C:"));
  EXPECT_EQ(wizard.options().availableSpace, "1024 KB");
  EXPECT_EQ(run.system.freeSpaceAsked, (std::vector<std::string>{"C:\\", "D:\\", "C:\\"}));
  // Shown again, it is asked afresh.
  wizard.showOptions();
  EXPECT_EQ(run.system.freeSpaceAsked.size(), 4u);
}

struct LeaveCase {
  const char* typed;
  DriveKind drive;
  std::uint64_t freeBytes;
  std::vector<MessageAnswer> answers;
  bool leaves;
  std::vector<int> messages;
  const char* appFolder;  // after leaving
};

TEST(InstallWizard, InstallChecksTheFolderItsDriveAndItsSpace) {
  constexpr std::uint64_t plenty = 1ull << 40;
  constexpr std::uint64_t required = 10 * 1024 * 1024;
  using A = MessageAnswer;
  const LeaveCase cases[] = {
      {"D:/Tools/Veltrace/", DriveKind::fixed, plenty, {}, true, {}, "D:\\Tools\\Veltrace"},
      {"\\\\server\\share\\V", DriveKind::network, plenty, {}, true, {}, "\\\\server\\share\\V"},
      {"Tools\\Veltrace", DriveKind::fixed, plenty, {}, false, {144}, nullptr},
      {"C:\\", DriveKind::fixed, plenty, {}, false, {144}, nullptr},
      {"Q:\\Veltrace", DriveKind::absent, plenty, {A::ok}, false, {144}, nullptr},
      {"E:\\Veltrace", DriveKind::removable, plenty, {A::ok}, true, {135}, "E:\\Veltrace"},
      {"E:\\Veltrace", DriveKind::removable, plenty, {A::cancel}, false, {135}, nullptr},
      {"R:\\Veltrace", DriveKind::cdrom, plenty, {}, false, {135}, nullptr},
      {"D:\\Veltrace", DriveKind::fixed, required, {A::cancel}, false, {136}, nullptr},
      {"D:\\Veltrace", DriveKind::fixed, required + 1, {}, true, {}, "D:\\Veltrace"},
      {"D:\\Veltrace", DriveKind::fixed, 0, {A::ok}, true, {136}, "D:\\Veltrace"},
      {"E:\\Veltrace", DriveKind::removable, 0, {A::ok, A::cancel}, false, {135, 136}, nullptr},
  };
  for (const auto& c : cases) {
    LoadedRun run;
    std::string before = run.script.rawSymbol(symbolAppFolder);
    InstallFolder folder = normaliseInstallFolder(c.typed);
    if (folder.ok()) {
      run.system.drives[driveRootOf(folder.path)] = c.drive;
      run.system.free[driveRootOf(folder.path)] = c.freeBytes;
    }
    run.h.platform.answers.assign(c.answers.begin(), c.answers.end());
    InstallWizard wizard(run.context, run.system);
    wizard.showOptions();
    wizard.folderEdited(c.typed);
    EXPECT_EQ(wizard.leaveOptions(), c.leaves) << c.typed;
    std::vector<int> shown;
    for (const auto& message : run.h.platform.messages) shown.push_back(message.id);
    EXPECT_EQ(shown, c.messages) << c.typed;
    EXPECT_EQ(run.script.rawSymbol(symbolAppFolder), c.appFolder ? c.appFolder : before) << c.typed;
  }
}

TEST(InstallWizard, AFileWhereTheFolderWouldGoIsRefused) {
  LoadedRun run;
  std::string file = run.h.root + "\\Download\\veltrace.exe";  // written by LoadedRun
  InstallWizard wizard(run.context, run.system);
  wizard.showOptions();
  for (const std::string& folder : {file, file + "\\Sub\\Folder"}) {
    run.h.platform.messages.clear();
    wizard.folderEdited(folder);
    EXPECT_FALSE(wizard.leaveOptions()) << folder;
    ASSERT_EQ(run.h.platform.messages.size(), 1u);
    EXPECT_EQ(run.h.platform.messages[0].id, 144);
    EXPECT_NE(run.h.platform.messages[0].text.find(textFileInTheWay), std::string::npos);
  }
  wizard.folderEdited(run.h.root + "\\Download\\New folder");
  EXPECT_TRUE(wizard.leaveOptions());
}

TEST(InstallWizard, RefusalMessagesNameTheFolderAndTheReason) {
  LoadedRun run;
  run.system.drives["E:\\"] = DriveKind::removable;
  InstallWizard wizard(run.context, run.system);
  wizard.showOptions();
  wizard.folderEdited("E:/Veltrace/");
  EXPECT_FALSE(wizard.leaveOptions());
  wizard.folderEdited("Veltrace");
  EXPECT_FALSE(wizard.leaveOptions());
  ASSERT_EQ(run.h.platform.messages.size(), 2u);
  EXPECT_EQ(run.h.platform.messages[0].text,
            "E:\\Veltrace\n\nThe installation folder should be located on a hard disk or network drive.\n\n"
            "Please select an installation folder on a different disk.");
  EXPECT_EQ(run.h.platform.messages[1].text,
            std::string("Veltrace\n\n") + folderProblemText(FolderProblem::relative) +
                "\n\nPlease select a different installation folder.");
}

TEST(InstallWizard, BrowseAppendsTheNameAndDefaultRestoresTheStartingFolder) {
  LoadedRun run;
  run.script.setSymbol(symbolAppFolder, "C:\\Program Files\\Veltrace");
  InstallWizard wizard(run.context, run.system);
  wizard.showOptions();
  EXPECT_EQ(wizard.browsed("D:\\Program Files"), "D:\\Program Files\\Veltrace");
  EXPECT_EQ(wizard.options().folder, "D:\\Program Files\\Veltrace");
  EXPECT_EQ(wizard.browsed("D:\\Apps\\veltrace"), "D:\\Apps\\veltrace");
  ASSERT_TRUE(wizard.leaveOptions());
  EXPECT_EQ(run.context.appFolder(), "D:\\Apps\\veltrace");
  // Once AppFolder is changed, Browse still takes the name of the folder
  // the run started with, and Default goes back to it.
  EXPECT_EQ(wizard.browsed("E:\\"), "E:\\Veltrace");
  wizard.restoreDefault();
  EXPECT_EQ(wizard.options().folder, "C:\\Program Files\\Veltrace");
  EXPECT_EQ(run.context.appFolder(), "C:\\Program Files\\Veltrace");
}

TEST(InstallWizard, TheShortcutChoiceIsWhatIsTickedAndEnabled) {
  const char* links = "[ShellLink]\r\nTitle=A\r\nPath=<AppFolder>\\a.exe\r\nLocations=7\r\n";
  LoadedRun run({.sections = links});
  InstallWizard wizard(run.context, run.system);
  wizard.showOptions();
  EXPECT_EQ(wizard.options().tickedBoxes, choiceStartMenu | choiceProgramsMenu);
  wizard.setBox(choiceDesktop, true);
  wizard.setBox(choiceProgramsMenu, false);
  ASSERT_TRUE(wizard.leaveOptions());
  EXPECT_EQ(run.context.shortcutChoice, choiceDesktop | choiceStartMenu);

  LoadedRun none;
  InstallWizard noBoxes(none.context, none.system);
  noBoxes.showOptions();
  noBoxes.setBox(choiceDesktop, true);  // a box that is not enabled counts for nothing
  ASSERT_TRUE(noBoxes.leaveOptions());
  EXPECT_EQ(none.context.shortcutChoice, 0u);
}

TEST(InstallWizard, TheInstallationStartsOnceAndNeverAfterTheWizardClosed) {
  LoadedRun run;
  ASSERT_TRUE(run.loaded);
  InstallWizard wizard(run.context, run.system);
  SilentProgress view;
  EXPECT_TRUE(wizard.runInstallation(view));
  EXPECT_FALSE(wizard.runInstallation(view));  // Install pressed twice, or the start posted twice
  EXPECT_EQ(run.context.state, InstallState::finished);
  EXPECT_EQ(wizard.resultPage(), WizardPage::completed);
  // Cancel once it ran keeps the result page; Install is no longer taken.
  EXPECT_EQ(wizard.cancelPressed(), CancelOutcome::stayOnPage);
  EXPECT_FALSE(wizard.leaveOptions());

  // Cancel during the page change, before the start arrived: the wizard
  // closes and the start that follows does nothing.
  LoadedRun early;
  InstallWizard closing(early.context, early.system);
  EXPECT_EQ(closing.cancelPressed(), CancelOutcome::closeWizard);
  EXPECT_FALSE(closing.runInstallation(view));
  EXPECT_EQ(early.context.state, InstallState::idle);
  EXPECT_TRUE(early.h.platform.messages.empty());
}

// Answers the cancel question from inside the running installation, the
// way the progress page's Cancel arrives while files are installed.
class CancellingView : public SilentProgress {
 public:
  explicit CancellingView(InstallWizard& wizard) : wizard_(wizard) {}
  bool cancelRequested() override {
    if (++polls == 2) {
      outcomes.push_back(wizard_.cancelPressed());
      outcomes.push_back(wizard_.cancelPressed());  // after Yes a second Cancel asks nothing
    }
    return wizard_.cancelRequested();
  }
  int polls = 0;
  std::vector<CancelOutcome> outcomes;

 private:
  InstallWizard& wizard_;
};

TEST(InstallWizard, CancelDuringTheInstallationAsksAndYesStopsAfterTheCurrentFile) {
  for (MessageAnswer answer : {MessageAnswer::yes, MessageAnswer::no}) {
    LoadedRun run({.files = {{"<AppFolder>", "a.txt", "a"}, {"<AppFolder>", "b.txt", "b"}}});
    run.h.platform.answers = {answer, answer};
    InstallWizard wizard(run.context, run.system);
    CancellingView view(wizard);
    ASSERT_TRUE(wizard.runInstallation(view));
    EXPECT_EQ(view.outcomes, (std::vector<CancelOutcome>{CancelOutcome::stayOnPage, CancelOutcome::stayOnPage}));
    ASSERT_EQ(run.h.platform.messages.size(), answer == MessageAnswer::yes ? 1u : 2u);
    EXPECT_EQ(run.h.platform.messages[0].id, 137);
    EXPECT_EQ(run.h.platform.messages[0].text,
              "The installation of Veltrace 0.1.0 is not complete yet.\nCancelling at this point will leave the "
              "application unusable.\n\nDo you want to cancel it anyway?");
    EXPECT_EQ(wizard.resultPage(), answer == MessageAnswer::yes ? WizardPage::cancelled : WizardPage::completed);
  }
}

TEST(InstallWizard, AQuietRunAsksNothingAndTakesCancel) {
  LoadedRun run({.files = {{"<AppFolder>", "a.txt", "a"}, {"<AppFolder>", "b.txt", "b"}}});
  run.context.quiet = true;
  run.system.drives["E:\\"] = DriveKind::removable;
  run.h.platform.answers = {MessageAnswer::ok, MessageAnswer::yes, MessageAnswer::yes};
  InstallWizard wizard(run.context, run.system);
  wizard.showOptions();
  wizard.folderEdited("E:\\Veltrace");
  EXPECT_FALSE(wizard.leaveOptions());  // message 135 taken as Cancel
  CancellingView view(wizard);
  ASSERT_TRUE(wizard.runInstallation(view));
  EXPECT_EQ(wizard.resultPage(), WizardPage::completed);  // message 137 taken as No
  EXPECT_TRUE(run.h.platform.messages.empty());
}

TEST(InstallWizard, YesOnTheCancelledPageRemovesThePartialInstallationAndEndsWith5) {
  for (bool remove : {true, false}) {
    EngineHarness h;
    h.buildSetup({{"<AppFolder>", "a.txt", "a"}, {"<AppFolder>", "b.txt", "b"}});
    h.windows.user.cancelAfterPolls = 2;  // after the first file
    h.windows.user.removePartial = remove;
    h.platform.answers = {MessageAnswer::yes};
    EXPECT_EQ(h.run("/B0"), exitInterrupted);
    EXPECT_EQ(h.windows.user.pagesShown.back(), WizardPage::cancelled);
    if (remove) {
      h.platform.runAgent();
      EXPECT_EQ(h.leftovers(), std::vector<std::string>{});
    } else {
      EXPECT_TRUE(fileExists(h.installed("a.txt")));
    }
  }
}

TEST(InstallWizard, CancelBeforeTheProgressPageInstallsNothing) {
  EngineHarness h;
  h.buildSetup(oneProgram());
  h.windows.user.cancelOnWelcome = true;
  EXPECT_EQ(h.run("/B0"), exitCancelledBeforeInstalling);
  EXPECT_FALSE(folderExists(h.appFolder));
  EXPECT_EQ(h.windows.user.pagesShown, std::vector<WizardPage>{WizardPage::welcome});

  // A folder the user cannot use, then Cancel.
  EngineHarness refused;
  refused.buildSetup(oneProgram());
  refused.windows.user.typedFolder = "Veltrace";
  EXPECT_EQ(refused.run("/B0"), exitCancelledBeforeInstalling);
  ASSERT_EQ(refused.platform.messages.size(), 1u);
  EXPECT_EQ(refused.platform.messages[0].id, 144);
  EXPECT_FALSE(folderExists(refused.appFolder));
}

struct FinishCase {
  bool restart;
  const char* runApp;
  const char* readme;
  CompletedChoices choices;
  CompletedPage page;
  int opened;
  bool stillRestarts;
};

TEST(InstallWizard, FinishStartsWhatIsTickedOrTakesTheRestartAnswer) {
  const FinishCase cases[] = {
      {false, "<AppFolder>\\veltrace.exe", "<AppFolder>\\readme.txt", {true, true, true}, {false, true, true}, 2, false},
      {false, "<AppFolder>\\veltrace.exe", "<AppFolder>\\readme.txt", {false, true, true}, {false, true, true}, 1, false},
      {false, "<AppFolder>\\veltrace.exe", "", {true, true, true}, {false, true, false}, 1, false},
      {false, "", "", {true, true, true}, {false, false, false}, 0, false},
      // With a restart the boxes are hidden and nothing starts.
      {true, "<AppFolder>\\veltrace.exe", "<AppFolder>\\readme.txt", {true, true, true}, {true, false, false}, 0, true},
      {true, "<AppFolder>\\veltrace.exe", "", {true, true, false}, {true, false, false}, 0, false},
  };
  for (const auto& c : cases) {
    LoadedRun run({.installKeys = formatText("RunAppPath=%s\r\nRunAppArgs=-x\r\nReadmePath=%s\r\n", c.runApp, c.readme)});
    InstallContext& context = run.context;
    context.state = InstallState::finished;
    context.restartRequired = c.restart;
    InstallWizard wizard(context, run.system);
    CompletedPage page = wizard.completedPage();
    EXPECT_EQ(page.restartQuestion, c.page.restartQuestion);
    EXPECT_EQ(page.startBox, c.page.startBox);
    EXPECT_EQ(page.readmeBox, c.page.readmeBox);
    wizard.finishCompleted(c.choices);
    EXPECT_EQ(static_cast<int>(run.system.opened.size()), c.opened) << c.runApp << c.choices.startApplication;
    EXPECT_EQ(context.restartRequired, c.stillRestarts);
  }
  LoadedRun run({.installKeys = "RunAppPath=<AppFolder>\\veltrace.exe\r\nRunAppArgs=<AppFolder>\\Workspaces\\sample.vwork\r\n"});
  InstallContext& context = run.context;
  InstallWizard wizard(context, run.system);
  wizard.finishCompleted({});
  std::string folder = run.h.appFolder;
  // The program starts in its own folder, where it finds its data.
  EXPECT_EQ(run.system.opened, (std::vector<FakeWizardSystem::Opened>{
                                   {folder + "\\veltrace.exe", folder + "\\Workspaces\\sample.vwork", folder}}));
}

TEST(InstallWizard, NoToTheRestartQuestionEndsWithoutRestartingWindows) {
  for (bool restartNow : {true, false}) {
    EngineHarness h;
    h.options |= optionRestartRequired;
    h.buildSetup(oneProgram());
    h.windows.user.completed.restartNow = restartNow;
    EXPECT_EQ(h.run(""), restartNow ? exitRestartRequired : exitSuccess);
    EXPECT_EQ(h.platform.restarts, restartNow ? 1 : 0);
    EXPECT_EQ(h.windows.user.pagesShown.back(), WizardPage::completed);
  }
}

TEST(InstallWizard, TheWelcomePageStaysWhenAdministratorRightsAreMissing) {
  EngineHarness h;
  h.buildSetup(oneProgram());
  h.platform.administrator = false;
  EXPECT_EQ(h.run(""), exitAdministratorRequired);
  ASSERT_EQ(h.platform.messages.size(), 1u);
  EXPECT_EQ(h.platform.messages[0].id, 129);
  EXPECT_FALSE(folderExists(h.appFolder));
}

}  // namespace
}  // namespace veltrace::setup
