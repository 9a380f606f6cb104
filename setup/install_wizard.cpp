#include "setup/install_wizard.h"

#include "base/text.h"
#include "setup/install_engine.h"
#include "setup/install_folder.h"
#include "setup/install_paths.h"
#include "setup/setup_messages.h"
#include "setup/setup_run.h"

namespace veltrace::setup {

namespace {

constexpr std::uint32_t allBoxes = choiceDesktop | choiceStartMenu | choiceProgramsMenu;

std::uint32_t askedLocations(const SetupScript& script) {
  std::uint32_t locations = 0;
  for (const Shortcut& shortcut : script.shortcuts()) locations |= shortcut.locations;
  return locations & allBoxes;
}

}  // namespace

std::string kilobytesText(std::uint64_t bytes) {
  return formatText("%llu KB", static_cast<unsigned long long>(bytes / 1024));
}

InstallWizard::InstallWizard(InstallContext& context, WizardSystem& system)
    : context_(context), system_(system), defaultFolder_(context.script.rawSymbol(symbolAppFolder)) {
  options_.requiredSpace = kilobytesText(0);
  options_.availableSpace = kilobytesText(0);
}

std::vector<WizardPage> InstallWizard::pages() const {
  const InstallSettings& settings = context_.script.settings();
  std::vector<WizardPage> pages{WizardPage::welcome};
  if (hasVisibleText(settings.readmeText)) pages.push_back(WizardPage::information);
  if (hasVisibleText(settings.licenseText)) pages.push_back(WizardPage::license);
  pages.push_back(WizardPage::options);
  pages.push_back(WizardPage::progress);
  return pages;
}

std::string InstallWizard::copyright() const { return context_.script.symbolValue(symbolCopyright); }

bool InstallWizard::leaveWelcome() { return administratorCheck(context_); }

bool InstallWizard::showMessage(int id, const std::string& text, MessageButtons buttons, MessageAnswer goOn) {
  if (context_.quiet) return false;
  return context_.platform.showMessage(id, text, buttons) == goOn;
}

void InstallWizard::showOptions() {
  std::uint32_t asked = askedLocations(context_.script);
  options_.folder = context_.appFolder();
  options_.requiredSpace = kilobytesText(context_.requiredSize);
  options_.folderReadOnly = (context_.options & optionFixedFolder) != 0;
  options_.enabledBoxes = asked;
  options_.tickedBoxes = (context_.shortcutChoice & choiceDesktop) | (asked & (choiceStartMenu | choiceProgramsMenu));
  // Shown afresh, the free space is asked again: it may have changed.
  recomputeFreeSpace(options_.folder);
}

void InstallWizard::recomputeFreeSpace(std::string_view field) {
  freeSpaceDrive_ = freeSpaceDrive(field);
  std::optional<std::uint64_t> free;
  if (!freeSpaceDrive_.empty()) free = system_.freeSpace(freeSpaceDrive_);
  options_.availableSpace = kilobytesText(free.value_or(0));
}

bool InstallWizard::folderEdited(std::string_view text) {
  options_.folder = std::string(text);
  if (freeSpaceDrive(text) == freeSpaceDrive_) return false;
  recomputeFreeSpace(text);
  return true;
}

std::string InstallWizard::browsed(std::string_view picked) {
  std::string folder = folderFromBrowse(picked, context_.script.expand(defaultFolder_));
  folderEdited(folder);
  return folder;
}

void InstallWizard::restoreDefault() {
  context_.script.setSymbol(symbolAppFolder, defaultFolder_);
  showOptions();
}

void InstallWizard::setBox(std::uint32_t box, bool ticked) {
  if (ticked)
    options_.tickedBoxes |= box & allBoxes;
  else
    options_.tickedBoxes &= ~box;
}

// A file where the folder or one above it would go: the folder could never
// be created.
bool InstallWizard::fileInTheWay(std::string_view folder) {
  for (std::string path(folder); path.size() > driveRootOf(folder).size(); path = parentFolder(path))
    if (context_.platform.fileInfo(path)) return true;
  return false;
}

bool InstallWizard::leaveOptions() {
  if (started_) return false;
  InstallFolder folder = normaliseInstallFolder(options_.folder);
  const char* problem = folder.ok() ? nullptr : folderProblemText(folder.problem);
  DriveKind drive = DriveKind::absent;
  if (folder.ok()) {
    drive = system_.driveKind(driveRootOf(folder.path));
    if (drive == DriveKind::absent || drive == DriveKind::unknown)
      problem = textDriveAbsent;
    else if (fileInTheWay(folder.path))
      problem = textFileInTheWay;
  }
  if (problem) {
    context_.log.event(eventFolderRefused, {options_.folder, problem});
    std::string shown = folder.path.empty() ? options_.folder : folder.path;
    showMessage(messageFolderNotValid, formatText(textFolderNotValid, shown.c_str(), problem), MessageButtons::ok,
                MessageAnswer::ok);
    return false;
  }
  // The field shows what will be used, whatever comes next.
  options_.folder = folder.path;
  const char* path = folder.path.c_str();
  if (drive != DriveKind::fixed && drive != DriveKind::network &&
      !showMessage(messageNotOnHardDisk, formatText(textNotOnHardDisk, path), MessageButtons::okCancelDefaultCancel,
                   MessageAnswer::ok))
    return false;
  std::optional<std::uint64_t> free = system_.freeSpace(driveRootOf(folder.path));
  if (context_.requiredSize >= free.value_or(0) &&
      !showMessage(messageInsufficientSpace, formatText(textInsufficientSpace, path),
                   MessageButtons::okCancelDefaultCancel, MessageAnswer::ok))
    return false;
  context_.script.setSymbol(symbolAppFolder, folder.path);
  context_.shortcutChoice = options_.tickedBoxes & options_.enabledBoxes;
  context_.log.event(eventFolderChosen, {folder.path, formatText("%u", context_.shortcutChoice)});
  return true;
}

bool InstallWizard::runInstallation(ProgressView& view) {
  if (started_ || closed_) return false;
  started_ = true;
  installing_ = true;
  ProgressView* previous = context_.progressView;
  context_.progressView = &view;
  setup::runInstallation(context_);
  context_.progressView = previous;
  installing_ = false;
  return true;
}

CancelOutcome InstallWizard::cancelPressed() {
  if (installing_) {
    // A second Cancel while the question is open, or after Yes, asks nothing.
    if (asking_ || cancelRequested_) return CancelOutcome::stayOnPage;
    asking_ = true;
    std::string question = formatText(textCancelInstallation, title().c_str());
    cancelRequested_ = showMessage(messageCancelInstallation, question, MessageButtons::yesNo, MessageAnswer::yes);
    asking_ = false;
    return CancelOutcome::stayOnPage;
  }
  // Once the installation ran, only Finish ends the wizard.
  if (started_) return CancelOutcome::stayOnPage;
  closed_ = true;
  context_.log.event(eventWizardCancelled, {});
  return CancelOutcome::closeWizard;
}

WizardPage InstallWizard::resultPage() const {
  return context_.state == InstallState::finished ? WizardPage::completed : WizardPage::cancelled;
}

CompletedPage InstallWizard::completedPage() const {
  CompletedPage page;
  page.restartQuestion = context_.restartRequired;
  if (!page.restartQuestion) {
    const InstallSettings& settings = context_.script.settings();
    page.startBox = !context_.script.expand(settings.runAppPath).empty();
    page.readmeBox = !context_.script.expand(settings.readmePath).empty();
  }
  return page;
}

void InstallWizard::finishCompleted(const CompletedChoices& choices) {
  CompletedPage page = completedPage();
  if (page.restartQuestion) {
    if (!choices.restartNow) context_.restartRequired = false;
    return;
  }
  const InstallSettings& settings = context_.script.settings();
  auto open = [&](const std::string& target, const std::string& arguments) {
    // The program's own folder as its working folder: the application
    // reads its data from folders below it.
    bool opened = system_.shellOpen(target, arguments, parentFolder(target));
    context_.log.event(opened ? eventShellOpened : eventShellOpenFailed, {target, arguments});
  };
  if (page.startBox && choices.startApplication)
    open(context_.script.expand(settings.runAppPath), context_.script.expand(settings.runAppArgs));
  if (page.readmeBox && choices.showReadme) open(context_.script.expand(settings.readmePath), {});
}

void InstallWizard::finishCancelled(bool removePartialInstallation) {
  // The "X" option removes it whatever the page says.
  context_.removePartial = context_.removePartial || removePartialInstallation;
}

}  // namespace veltrace::setup
