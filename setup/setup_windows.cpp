#include "setup/setup_windows.h"

#include <commctrl.h>

#include "base/text.h"
#include "setup/about_box.h"
#include "setup/message_pump.h"
#include "setup/setup_messages.h"
#include "setup/setup_resources.h"
#include "setup/trace_log.h"
#include "setup/update_pacer.h"
#include "setup/windows_wizard_system.h"
#include "setup/wizard_windows.h"

namespace veltrace::setup {

namespace {

constexpr UINT startWorkMessage = WM_APP + 1;

// The processing or uninstall window's step boxes, status line and bar.
class DialogProgress : public PacedProgressView {
 public:
  DialogProgress(HWND dialog, int statusId, int barId, int firstStepId, int stepCount)
      : dialog_(dialog), statusId_(statusId), barId_(barId), firstStepId_(firstStepId), stepCount_(stepCount) {
    SendDlgItemMessageA(dialog, barId, PBM_SETRANGE32, 0, progressComplete);
  }
  bool cancelled = false;

 protected:
  void enableStep(int step) override {
    if (step < stepCount_) EnableWindow(GetDlgItem(dialog_, firstStepId_ + step), TRUE);
  }
  void checkStep(int step) override {
    if (step < stepCount_) CheckDlgButton(dialog_, firstStepId_ + step, BST_CHECKED);
  }
  void setStatusText(const char* text) override { SetDlgItemTextA(dialog_, statusId_, text); }
  void setBar(int perMille) override {
    SendDlgItemMessageA(dialog_, barId_, PBM_SETPOS, static_cast<WPARAM>(perMille), 0);
  }
  void pumpMessages() override { pumpWaitingMessages(dialog_); }
  bool userCancelled() override { return cancelled; }

 private:
  HWND dialog_;
  int statusId_, barId_, firstStepId_, stepCount_;
};

struct ProcessingState {
  std::string title;
  const std::function<void(ProgressView&)>* work;
  WindowsInstallPlatform* platform;
  DialogProgress* progress = nullptr;
  bool working = false;
};

INT_PTR CALLBACK processingProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<ProcessingState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<ProcessingState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SetWindowTextA(dialog, state->title.c_str());
      SetDlgItemTextA(dialog, IDC_PROCESSING_TEXT, formatText(textProcessing, state->title.c_str()).c_str());
      state->platform->owner = dialog;
      // The work starts once the window is on the screen.
      PostMessageA(dialog, startWorkMessage, 0, 0);
      return TRUE;
    }
    case startWorkMessage: {
      // A modal dialog shows itself only once its queue runs empty, which
      // never happens while the work runs: show it now, painted, so that
      // the run's wait and its progress are on the screen.
      ShowWindow(dialog, SW_SHOW);
      UpdateWindow(dialog);
      DialogProgress progress(dialog, IDC_PROCESSING_STATUS, IDC_PROCESSING_PROGRESS, 0, 0);
      state->progress = &progress;
      state->working = true;
      (*state->work)(progress);
      state->working = false;
      state->progress = nullptr;
      state->platform->owner = nullptr;
      EndDialog(dialog, IDOK);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && state && state->progress) state->progress->cancelled = true;
      return TRUE;
    case WM_CLOSE:
      if (state && state->progress) state->progress->cancelled = true;
      return TRUE;
    default:
      return FALSE;
  }
}

struct UninstallState {
  std::string title;
  const std::vector<ContactRow>* contacts;
  const std::function<bool(ProgressView&)>* remove;
  const std::function<void()>* cleanUp;
  WindowsInstallPlatform* platform;
  bool removing = false;
  bool removed = false;
};

void finishUninstallWindow(HWND dialog, UninstallState* state) {
  if (state->removing) return;
  state->platform->owner = nullptr;
  if (state->removed) (*state->cleanUp)();
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK uninstallProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<UninstallState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<UninstallState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const char* title = state->title.c_str();
      SetWindowTextA(dialog, formatText(textUninstallTitle, title).c_str());
      SetDlgItemTextA(dialog, IDC_UNINSTALL_EXPLANATION, formatText(textUninstallExplanation, title).c_str());
      state->platform->owner = dialog;
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_UNINSTALL_START: {
          if (state->removing || state->removed) return TRUE;
          state->removing = true;
          EnableWindow(GetDlgItem(dialog, IDC_UNINSTALL_START), FALSE);
          EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
          DialogProgress progress(dialog, IDC_UNINSTALL_STATUS, IDC_UNINSTALL_PROGRESS, IDC_UNINSTALL_STEP1, 4);
          bool done = (*state->remove)(progress);
          state->removing = false;
          EnableWindow(GetDlgItem(dialog, IDCANCEL), TRUE);
          if (!done) {
            EnableWindow(GetDlgItem(dialog, IDC_UNINSTALL_START), TRUE);
            return TRUE;
          }
          state->removed = true;
          SetDlgItemTextA(dialog, IDCANCEL, "Finish");
          SetDlgItemTextA(dialog, IDC_UNINSTALL_PROMPT, textUninstallDone);
          SetFocus(GetDlgItem(dialog, IDCANCEL));
          return TRUE;
        }
        case IDC_UNINSTALL_ABOUT: {
          WindowsWizardSystem system;
          showAboutBox(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), dialog,
                       {state->title, *state->contacts}, system);
          return TRUE;
        }
        case IDCANCEL:
          finishUninstallWindow(dialog, state);
          return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      finishUninstallWindow(dialog, state);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool WindowsSetupWindows::runWizard(InstallContext& context) {
  WindowsWizardSystem system;
  InstallWizard wizard(context, system);
  return runWizardSheet(instance_, wizard, platform_, system);
}

bool WindowsSetupWindows::runProcessingWindow(std::string_view title, int quietLevel,
                                              const std::function<void(ProgressView&)>& work) {
  (void)quietLevel;
  ProcessingState state{std::string(title), &work, &platform_};
  platform_.caption = state.title;
  INT_PTR result = DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_PROCESSING), nullptr, processingProcedure,
                                   reinterpret_cast<LPARAM>(&state));
  return result != -1 && result != 0;
}

bool WindowsSetupWindows::runUninstallWindow(std::string_view title, const std::vector<ContactRow>& contacts,
                                             const std::function<bool(ProgressView&)>& remove,
                                             const std::function<void()>& cleanUp) {
  UninstallState state{std::string(title), &contacts, &remove, &cleanUp, &platform_};
  platform_.caption = formatText(textUninstallTitle, state.title.c_str());
  INT_PTR result = DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_UNINSTALL), nullptr, uninstallProcedure,
                                   reinterpret_cast<LPARAM>(&state));
  return result != -1 && result != 0;
}

}  // namespace veltrace::setup
