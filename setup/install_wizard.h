#pragma once
// What the installation wizard shows and decides, without its windows: the
// pages a script gets, the welcome page's rows, the options page (folder,
// sizes, shortcut boxes) and its checks on Next, the one start of the
// installation on the progress page with Cancel in between, and the result
// pages' choices that the end of the run acts on. The property sheet only
// maps this onto its controls (wizard_windows.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/contact_rows.h"
#include "setup/install_context.h"

namespace veltrace::setup {

enum class WizardPage { welcome, information, license, options, progress, completed, cancelled };

enum class DriveKind { absent, unknown, removable, fixed, network, cdrom, ramDisk };

// What the wizard asks of the system beyond the engine's platform.
class WizardSystem {
 public:
  virtual ~WizardSystem() = default;
  // `root` is "X:\" or "\\server\share\".
  virtual DriveKind driveKind(std::string_view root) = 0;
  virtual std::optional<std::uint64_t> freeSpace(std::string_view root) = 0;
  // The shell's "open" verb, shown normally, in `folder` (may be empty).
  virtual bool shellOpen(std::string_view target, std::string_view arguments, std::string_view folder) = 0;
};

struct OptionsPage {
  std::string folder;            // the field
  std::string requiredSpace;     // "1234 KB"
  std::string availableSpace;    // "0 KB" until known
  bool folderReadOnly = false;   // Options bit 0x0001
  std::uint32_t enabledBoxes = 0;  // choiceDesktop | choiceStartMenu | choiceProgramsMenu
  std::uint32_t tickedBoxes = 0;
};

struct CompletedPage {
  bool restartQuestion = false;  // shown instead of the two boxes
  bool startBox = false;         // "&Start the application", ticked when shown
  bool readmeBox = false;        // "Show the &Readme information", ticked when shown
};

struct CompletedChoices {
  bool startApplication = true;
  bool showReadme = true;
  bool restartNow = true;
};

// Cancel pressed on a page: close the wizard, or keep it (the question was
// answered No, or the installation stops by itself and shows its result).
enum class CancelOutcome { closeWizard, stayOnPage };

// "%s KB" of a byte count.
std::string kilobytesText(std::uint64_t bytes);

class InstallWizard {
 public:
  InstallWizard(InstallContext& context, WizardSystem& system);

  // "AppTitle AppVersion".
  std::string title() const { return context_.script.settings().windowTitle; }
  // Welcome, the information and licence pages when the script has their
  // texts, options, progress; the result page follows the progress page.
  std::vector<WizardPage> pages() const;
  std::vector<ContactRow> contactRows() const { return setup::contactRows(context_.script); }
  std::string copyright() const;
  const std::string& readmeText() const { return context_.script.settings().readmeText; }
  const std::string& licenseText() const { return context_.script.settings().licenseText; }

  // Next on the welcome page: the administrator check (message 129).
  bool leaveWelcome();

  // --- installation options ---
  const OptionsPage& options() const { return options_; }
  // On showing: the field from AppFolder, both sizes, the boxes.
  void showOptions();
  // The field changed; true when the free space was asked again (only
  // when the drive letter changed).
  bool folderEdited(std::string_view text);
  // A folder picked in the browser; the field's new text.
  std::string browsed(std::string_view picked);
  // "D&efault": AppFolder back to the value the run started with.
  void restoreDefault();
  void setBox(std::uint32_t box, bool ticked);
  // Next ("Install"): folder rules, messages 135 and 136 (and one for a
  // folder that cannot be used); true when AppFolder and the shortcut
  // choice are taken.
  bool leaveOptions();

  // --- installation progress ---
  // Runs the installation with `view` as its window, at most once for the
  // wizard's life and never after it was closed. False when it did not run.
  bool runInstallation(ProgressView& view);
  bool installationStarted() const { return started_; }
  bool installing() const { return installing_; }
  // The cancel question for the progress view of the running installation.
  bool cancelRequested() const { return cancelRequested_; }
  CancelOutcome cancelPressed();
  WizardPage resultPage() const;

  // --- results ---
  CompletedPage completedPage() const;
  // Finish on the completed page: starts the program and the readme as
  // ticked, or takes the restart answer.
  void finishCompleted(const CompletedChoices& choices);
  // Finish on the cancelled page.
  void finishCancelled(bool removePartialInstallation);

 private:
  bool showMessage(int id, const std::string& text, MessageButtons buttons, MessageAnswer goOn);
  void recomputeFreeSpace(std::string_view field);
  bool fileInTheWay(std::string_view folder);

  InstallContext& context_;
  WizardSystem& system_;
  std::string defaultFolder_;  // AppFolder as the run started (unexpanded)
  OptionsPage options_;
  std::string freeSpaceDrive_;
  bool started_ = false;
  bool installing_ = false;
  bool closed_ = false;
  bool asking_ = false;
  bool cancelRequested_ = false;
};

}  // namespace veltrace::setup
