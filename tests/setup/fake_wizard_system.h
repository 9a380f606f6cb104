#pragma once
// The wizard's system for native tests: drive kinds and free space by root,
// every question and every shell start recorded; and a user who walks
// through the wizard's pages the way the property sheet would call them.

#include <map>
#include <string>
#include <vector>

#include "setup/install_wizard.h"

namespace veltrace::setup::test {

class FakeWizardSystem : public WizardSystem {
 public:
  DriveKind driveKind(std::string_view root) override {
    auto found = drives.find(std::string(root));
    return found == drives.end() ? DriveKind::fixed : found->second;
  }
  std::optional<std::uint64_t> freeSpace(std::string_view root) override {
    freeSpaceAsked.emplace_back(root);
    auto found = free.find(std::string(root));
    if (found == free.end()) return std::uint64_t{1} << 40;
    return found->second;
  }
  bool shellOpen(std::string_view target, std::string_view arguments, std::string_view folder) override {
    opened.push_back({std::string(target), std::string(arguments), std::string(folder)});
    return true;
  }

  struct Opened {
    std::string target, arguments, folder;
    bool operator==(const Opened&) const = default;
  };
  std::map<std::string, DriveKind> drives;  // any other root is a fixed disk
  std::map<std::string, std::uint64_t> free;  // any other root has 1 TiB
  std::vector<std::string> freeSpaceAsked;
  std::vector<Opened> opened;
};

// The progress page's view: the wizard's own cancel state, and a Cancel
// pressed after a number of files.
class WizardProgress : public ProgressView {
 public:
  explicit WizardProgress(InstallWizard& wizard) : wizard_(wizard) {}
  void stepStarted(int) override {}
  void stepEnded(int) override {}
  void status(std::string_view) override {}
  void progress(int) override {}
  bool cancelRequested() override {
    if (++polls == cancelAfterPolls) wizard_.cancelPressed();
    return wizard_.cancelRequested();
  }
  int polls = 0;
  int cancelAfterPolls = -1;

 private:
  InstallWizard& wizard_;
};

// What the user does on each page; by default Next through everything,
// Finish with the boxes as they are, and keep a partial installation.
struct WizardUser {
  bool cancelOnWelcome = false;
  std::optional<std::string> typedFolder;
  bool cancelWhenFolderRefused = true;
  int cancelAfterPolls = -1;
  CompletedChoices completed;
  bool removePartial = false;

  // Filled in while walking.
  std::vector<WizardPage> pagesShown;
  bool ran = false;
};

inline void walkWizard(InstallWizard& wizard, WizardUser& user) {
  user.pagesShown.clear();
  for (WizardPage page : wizard.pages()) {
    user.pagesShown.push_back(page);
    switch (page) {
      case WizardPage::welcome:
        if (user.cancelOnWelcome || !wizard.leaveWelcome()) {
          wizard.cancelPressed();
          return;
        }
        break;
      case WizardPage::options:
        wizard.showOptions();
        if (user.typedFolder) wizard.folderEdited(*user.typedFolder);
        if (!wizard.leaveOptions()) {
          wizard.cancelPressed();
          return;
        }
        break;
      case WizardPage::progress: {
        WizardProgress view(wizard);
        view.cancelAfterPolls = user.cancelAfterPolls;
        user.ran = wizard.runInstallation(view);
        break;
      }
      default:
        break;
    }
  }
  WizardPage result = wizard.resultPage();
  user.pagesShown.push_back(result);
  if (result == WizardPage::completed)
    wizard.finishCompleted(user.completed);
  else
    wizard.finishCancelled(user.removePartial);
}

}  // namespace veltrace::setup::test
