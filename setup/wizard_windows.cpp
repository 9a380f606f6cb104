#include "setup/wizard_windows.h"

#include <commctrl.h>
#include <objbase.h>
#include <prsht.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "setup/about_box.h"
#include "setup/contact_rows_windows.h"
#include "setup/message_pump.h"
#include "setup/setup_messages.h"
#include "setup/setup_resources.h"
#include "setup/system_libraries.h"
#include "setup/update_pacer.h"
#include "setup/wizard_resources.h"

namespace veltrace::setup {

namespace {

// The wizard style of the first wizard-97 common controls, whose header
// bitmap is a banner across the top of the page (later versions draw it
// as a small picture in the corner).
constexpr DWORD wizard97WithBanner = 0x00002000;

// The sheet's own controls.
constexpr int backButtonId = 0x3023;
constexpr int nextButtonId = 0x3024;
constexpr int finishButtonId = 0x3025;
constexpr int bottomLineId = 0x3026;
constexpr int headerLineId = 0x3027;

constexpr UINT startInstallationMessage = WM_APP + 10;
// Sent to a page to put the keyboard focus on one of the sheet's buttons.
constexpr UINT focusButtonMessage = WM_APP + 11;
constexpr UINT_PTR autoNextTimer = 1;
constexpr UINT autoNextDelayMs = 500;
constexpr int headingPointSize = 12;
constexpr int fallbackBannerHeight = 58;
constexpr int bannerCapacityWidth = 2048;
constexpr int bannerCapacityHeight = 160;
const char* const sheetProperty = "VeltraceWizardSheet";

struct PageDefinition {
  WizardPage page;
  int templateId;
  bool exterior;  // the tall bitmap down the left, no banner
  const char* heading;
  const char* subtitle;
};

const PageDefinition pageDefinitions[] = {
    {WizardPage::welcome, IDD_WIZARD_WELCOME, true, nullptr, nullptr},
    {WizardPage::information, IDD_WIZARD_INFORMATION, false, "Important information",
     "Please read this information carefully before continuing."},
    {WizardPage::license, IDD_WIZARD_LICENSE, false, "License agreement",
     "Please review the license terms carefully before continuing."},
    {WizardPage::options, IDD_WIZARD_OPTIONS, false, "Installation options",
     "These options determine how the application is installed on your computer."},
    {WizardPage::progress, IDD_WIZARD_PROGRESS, false, "Installation progress",
     "Please wait while the application is being installed on your computer."},
    {WizardPage::completed, IDD_WIZARD_COMPLETED, true, nullptr, nullptr},
    {WizardPage::cancelled, IDD_WIZARD_CANCELLED, true, nullptr, nullptr},
};

const PageDefinition& definitionOf(WizardPage page) {
  for (const PageDefinition& definition : pageDefinitions)
    if (definition.page == page) return definition;
  return pageDefinitions[0];
}

const int stepBoxIds[] = {IDC_PROGRESS_STEP1, IDC_PROGRESS_STEP2, IDC_PROGRESS_STEP3, IDC_PROGRESS_STEP4,
                          IDC_PROGRESS_STEP5};

struct ShortcutBox {
  std::uint32_t choice;
  int id;
};
const ShortcutBox shortcutBoxes[] = {{choiceDesktop, IDC_OPTIONS_DESKTOP},
                                     {choiceStartMenu, IDC_OPTIONS_STARTMENU},
                                     {choiceProgramsMenu, IDC_OPTIONS_PROGRAMSMENU}};

std::string loadText(HINSTANCE instance, int id) {
  char buffer[512];
  int length = LoadStringA(instance, id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

std::string controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  int length = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// A template text with "%s" gets the title.
void fillInTitle(HWND dialog, int id, const std::string& title) {
  SetDlgItemTextA(dialog, id, formatText(controlText(dialog, id).c_str(), title.c_str()).c_str());
}

// Line ends as an edit control shows them.
std::string withCrLf(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// A property sheet takes its keyboard messages through PSM_ISDIALOGMESSAGE.
bool isSheetMessage(HWND sheet, MSG* message) { return PropSheet_IsDialogMessage(sheet, message) != FALSE; }

class WizardSheet;

// The progress page's controls as the installation's window.
class PageProgress : public PacedProgressView {
 public:
  PageProgress(HWND sheet, HWND page, InstallWizard& wizard) : sheet_(sheet), page_(page), wizard_(wizard) {}

 protected:
  void enableStep(int step) override {
    if (step >= 0 && step < 5) EnableWindow(GetDlgItem(page_, stepBoxIds[step]), TRUE);
  }
  void checkStep(int step) override {
    if (step >= 0 && step < 5) CheckDlgButton(page_, stepBoxIds[step], BST_CHECKED);
  }
  void setStatusText(const char* text) override { SetDlgItemTextA(page_, IDC_PROGRESS_STATUS, text); }
  void setBar(int perMille) override {
    SendDlgItemMessageA(page_, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(perMille), 0);
  }
  void pumpMessages() override { pumpWaitingMessages(sheet_, isSheetMessage); }
  bool userCancelled() override { return wizard_.cancelRequested(); }

 private:
  HWND sheet_;
  HWND page_;
  InstallWizard& wizard_;
};

struct PageParameter {
  WizardSheet* sheet;
  WizardPage page;
};

class WizardSheet {
 public:
  WizardSheet(HINSTANCE instance, InstallWizard& wizard, WindowsInstallPlatform& platform, WizardSystem& system)
      : instance_(instance), wizard_(wizard), platform_(platform), system_(system), contacts_(system) {}
  ~WizardSheet();
  bool run();

 private:
  static INT_PTR CALLBACK pageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  static int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM lParam);
  static LRESULT CALLBACK sheetProcedure(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam);

  void sheetInitialised(HWND sheet);
  void addAboutButton();
  void paintBanner();
  INT_PTR pageMessage(WizardPage page, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void initialisePage(WizardPage page, HWND dialog);
  // Notifications; the result goes to DWLP_MSGRESULT.
  LRESULT pageNotification(WizardPage page, HWND dialog, UINT code);
  void pageCommand(WizardPage page, HWND dialog, int id, int code);
  void setButtons(DWORD buttons, int nextTextId);
  void showOptions(HWND dialog);
  void browse(HWND dialog);
  void showCompleted(HWND dialog);
  void startInstallation(HWND dialog);
  void paintSideBitmap(HWND dialog, HDC dc);
  void coverSheet(HWND dialog);

  HINSTANCE instance_;
  InstallWizard& wizard_;
  WindowsInstallPlatform& platform_;
  WizardSystem& system_;
  ContactRowControls contacts_;
  std::vector<PageParameter> parameters_;
  HWND sheet_ = nullptr;
  WNDPROC originalSheetProcedure_ = nullptr;
  HFONT headingFont_ = nullptr;
  HBITMAP side_ = nullptr;
  HBITMAP bannerMotif_ = nullptr;
  HBITMAP banner_ = nullptr;
  HBRUSH white_ = nullptr;
  bool fillingField_ = false;  // the code sets the folder field: no edit of the user's

  // The sheet's callback carries no data of its own; one wizard runs at a
  // time, and it learns its window through this.
  static WizardSheet* starting_;
};

WizardSheet* WizardSheet::starting_ = nullptr;

WizardSheet::~WizardSheet() {
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(headingFont_), static_cast<HGDIOBJ>(side_),
                         static_cast<HGDIOBJ>(bannerMotif_), static_cast<HGDIOBJ>(banner_),
                         static_cast<HGDIOBJ>(white_)})
    if (object) DeleteObject(object);
}

bool WizardSheet::run() {
  using PropertySheetFunction = INT_PTR(WINAPI*)(LPCPROPSHEETHEADERA);
  static auto propertySheet = systemFunction<PropertySheetFunction>("comctl32.dll", "PropertySheetA");
  if (!propertySheet) return false;

  side_ = static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(IDB_WIZARD_SIDE), IMAGE_BITMAP, 0, 0, 0));
  bannerMotif_ =
      static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(IDB_WIZARD_BANNER), IMAGE_BITMAP, 0, 0, 0));
  // The banner is drawn to the sheet's width once the sheet exists; the
  // sheet keeps this handle from the start.
  HDC screen = GetDC(nullptr);
  banner_ = CreateCompatibleBitmap(screen, bannerCapacityWidth, bannerCapacityHeight);
  ReleaseDC(nullptr, screen);
  white_ = CreateSolidBrush(GetSysColor(COLOR_WINDOW));

  std::string title = wizard_.title();
  std::vector<WizardPage> pages = wizard_.pages();
  pages.push_back(WizardPage::completed);
  pages.push_back(WizardPage::cancelled);
  parameters_.clear();
  for (WizardPage page : pages) parameters_.push_back({this, page});

  std::vector<PROPSHEETPAGEA> sheetPages;
  for (PageParameter& parameter : parameters_) {
    const PageDefinition& definition = definitionOf(parameter.page);
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_USETITLE;
    page.hInstance = instance_;
    page.pszTemplate = MAKEINTRESOURCEA(definition.templateId);
    page.pfnDlgProc = pageProcedure;
    page.pszTitle = title.c_str();
    page.lParam = reinterpret_cast<LPARAM>(&parameter);
    if (definition.exterior) {
      page.dwFlags |= PSP_HIDEHEADER;
    } else {
      page.dwFlags |= PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE;
      page.pszHeaderTitle = definition.heading;
      page.pszHeaderSubTitle = definition.subtitle;
    }
    sheetPages.push_back(page);
  }

  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  // The pages with the tall bitmap draw it themselves: the sheet's own
  // watermark would show through beside the other pages.
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD | wizard97WithBanner | PSH_HEADER | PSH_USEHBMHEADER |
                   PSH_USECALLBACK;
  header.hInstance = instance_;
  header.pszCaption = title.c_str();
  header.nPages = static_cast<UINT>(sheetPages.size());
  header.ppsp = sheetPages.data();
  header.pfnCallback = sheetCallback;
  header.hbmHeader = banner_;
  if (HICON icon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_SETUP))) {
    header.dwFlags |= PSH_USEHICON;
    header.hIcon = icon;
  }
  starting_ = this;
  INT_PTR result = propertySheet(&header);
  starting_ = nullptr;
  platform_.owner = nullptr;
  return result >= 0;
}

int CALLBACK WizardSheet::sheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED && starting_) starting_->sheetInitialised(sheet);
  return 0;
}

void WizardSheet::sheetInitialised(HWND sheet) {
  sheet_ = sheet;
  platform_.owner = sheet;
  platform_.caption = wizard_.title();
  SetPropA(sheet, sheetProperty, this);
  originalSheetProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sheetProcedure)));
  const std::pair<int, int> buttonTexts[] = {{backButtonId, IDS_BUTTON_BACK},
                                             {nextButtonId, IDS_BUTTON_NEXT},
                                             {finishButtonId, IDS_BUTTON_FINISH},
                                             {IDCANCEL, IDS_BUTTON_CANCEL},
                                             {IDHELP, IDS_BUTTON_HELP}};
  for (const auto& [id, textId] : buttonTexts)
    if (HWND button = GetDlgItem(sheet, id)) SetWindowTextA(button, loadText(instance_, textId).c_str());
  addAboutButton();
  paintBanner();
  // Centred on the screen.
  RECT rect;
  GetWindowRect(sheet, &rect);
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  SetWindowPos(sheet, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WizardSheet::addAboutButton() {
  HWND back = GetDlgItem(sheet_, backButtonId);
  RECT rect;
  GetWindowRect(back, &rect);
  MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&rect), 2);
  RECT margin{7, 0, 0, 0};
  MapDialogRect(sheet_, &margin);
  HWND about = CreateWindowExA(0, "BUTTON", loadText(instance_, IDS_BUTTON_ABOUT).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, margin.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, sheet_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_WIZARD_ABOUT)), instance_, nullptr);
  SendMessageA(about, WM_SETFONT, SendMessageA(back, WM_GETFONT, 0, 0), FALSE);
}

// The motif at the right end, its left edge's colour across the rest, at
// the height of the sheet's heading area.
void WizardSheet::paintBanner() {
  RECT client;
  GetClientRect(sheet_, &client);
  int height = fallbackBannerHeight;
  if (HWND line = GetDlgItem(sheet_, headerLineId)) {
    RECT rect;
    GetWindowRect(line, &rect);
    MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&rect), 2);
    if (rect.top > 1) height = rect.top - 1;
  }
  height = std::min(height, bannerCapacityHeight);
  int width = std::min(static_cast<int>(client.right), bannerCapacityWidth);
  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HDC source = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldTarget = SelectObject(target, banner_);
  HGDIOBJ oldSource = SelectObject(source, bannerMotif_);
  BITMAP motif{};
  GetObjectA(bannerMotif_, sizeof motif, &motif);
  HBRUSH fill = CreateSolidBrush(motif.bmWidth > 0 ? GetPixel(source, 0, 0) : RGB(255, 255, 255));
  RECT all{0, 0, bannerCapacityWidth, bannerCapacityHeight};
  FillRect(target, &all, fill);
  DeleteObject(fill);
  if (motif.bmHeight > 0) {
    int motifWidth = MulDiv(motif.bmWidth, height, motif.bmHeight);
    SetStretchBltMode(target, HALFTONE);
    StretchBlt(target, width - motifWidth, 0, motifWidth, height, source, 0, 0, motif.bmWidth, motif.bmHeight,
               SRCCOPY);
  }
  SelectObject(source, oldSource);
  SelectObject(target, oldTarget);
  DeleteDC(source);
  DeleteDC(target);
}

LRESULT CALLBACK WizardSheet::sheetProcedure(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<WizardSheet*>(GetPropA(sheet, sheetProperty));
  if (!self) return DefWindowProcA(sheet, message, wParam, lParam);
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_WIZARD_ABOUT) {
    showAboutBox(self->instance_, sheet, {self->wizard_.title(), self->wizard_.contactRows()}, self->system_);
    return 0;
  }
  WNDPROC original = self->originalSheetProcedure_;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(sheet, sheetProperty);
  }
  return CallWindowProcA(original, sheet, message, wParam, lParam);
}

INT_PTR CALLBACK WizardSheet::pageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    SetWindowLongPtrA(page, DWLP_USER, sheetPage->lParam);
  }
  auto* parameter = reinterpret_cast<PageParameter*>(GetWindowLongPtrA(page, DWLP_USER));
  if (!parameter) return FALSE;
  return parameter->sheet->pageMessage(parameter->page, page, message, wParam, lParam);
}

INT_PTR WizardSheet::pageMessage(WizardPage page, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  bool exterior = definitionOf(page).exterior;
  INT_PTR result = 0;
  if (page == WizardPage::welcome &&
      contacts_.handle(dialog, message, wParam, lParam, exterior ? white_ : nullptr, result))
    return result;
  switch (message) {
    case WM_INITDIALOG:
      initialisePage(page, dialog);
      return TRUE;
    case WM_NOTIFY: {
      auto* notification = reinterpret_cast<NMHDR*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, pageNotification(page, dialog, notification->code));
      return TRUE;
    }
    case WM_COMMAND:
      pageCommand(page, dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case startInstallationMessage:
      startInstallation(dialog);
      return TRUE;
    case focusButtonMessage:
      SendMessageA(sheet_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(sheet_, static_cast<int>(wParam))), TRUE);
      return TRUE;
    case WM_TIMER:
      if (wParam != autoNextTimer) return FALSE;
      KillTimer(dialog, autoNextTimer);
      PropSheet_PressButton(sheet_, PSBTN_NEXT);
      return TRUE;
    case WM_ERASEBKGND:
      if (!exterior) return FALSE;
      paintSideBitmap(dialog, reinterpret_cast<HDC>(wParam));
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (!exterior) return FALSE;
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(white_);
    default:
      return FALSE;
  }
}

void WizardSheet::paintSideBitmap(HWND dialog, HDC dc) {
  RECT client;
  GetClientRect(dialog, &client);
  FillRect(dc, &client, white_);
  BITMAP side{};
  if (!side_ || !GetObjectA(side_, sizeof side, &side)) return;
  // The bitmap fills the left side from top to bottom.
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, side_);
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, 0, 0, side.bmWidth, client.bottom, source, 0, 0, side.bmWidth, side.bmHeight, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

// Pages with the tall bitmap reach from the sheet's top left corner to the
// line above the buttons, so that the bitmap runs down the whole side.
void WizardSheet::coverSheet(HWND dialog) {
  RECT client;
  GetClientRect(sheet_, &client);
  int bottom = client.bottom;
  if (HWND line = GetDlgItem(sheet_, bottomLineId)) {
    RECT rect;
    GetWindowRect(line, &rect);
    MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&rect), 2);
    bottom = rect.top;
  }
  SetWindowPos(dialog, nullptr, 0, 0, client.right, bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WizardSheet::initialisePage(WizardPage page, HWND dialog) {
  std::string title = wizard_.title();
  auto useHeadingFont = [&](int id) {
    if (!headingFont_) headingFont_ = createHeadingFont(dialog, headingPointSize);
    SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), FALSE);
  };
  switch (page) {
    case WizardPage::welcome:
      useHeadingFont(IDC_WELCOME_HEADING);
      fillInTitle(dialog, IDC_WELCOME_HEADING, title);
      fillInTitle(dialog, IDC_WELCOME_TEXT, title);
      SetDlgItemTextA(dialog, IDC_WELCOME_COPYRIGHT, wizard_.copyright().c_str());
      contacts_.show(dialog, wizard_.contactRows(),
                     {{ContactField::company, IDC_WELCOME_COMPANY_LABEL, IDC_WELCOME_COMPANY},
                      {ContactField::webSite, IDC_WELCOME_WEBSITE_LABEL, IDC_WELCOME_WEBSITE},
                      {ContactField::email, IDC_WELCOME_EMAIL_LABEL, IDC_WELCOME_EMAIL},
                      {ContactField::telephone, IDC_WELCOME_TELEPHONE_LABEL, IDC_WELCOME_TELEPHONE}});
      break;
    case WizardPage::information:
      SetDlgItemTextA(dialog, IDC_INFORMATION_TEXT, withCrLf(wizard_.readmeText()).c_str());
      break;
    case WizardPage::license:
      SetDlgItemTextA(dialog, IDC_LICENSE_TEXT, withCrLf(wizard_.licenseText()).c_str());
      break;
    case WizardPage::options:
      // What never changes while the page lives: a fixed folder and the
      // boxes the shortcuts ask for.
      wizard_.showOptions();
      if (wizard_.options().folderReadOnly) {
        HWND field = GetDlgItem(dialog, IDC_OPTIONS_FOLDER);
        SendMessageA(field, EM_SETREADONLY, TRUE, 0);
        SetWindowLongPtrA(field, GWL_STYLE, GetWindowLongPtrA(field, GWL_STYLE) & ~WS_TABSTOP);
        ShowWindow(GetDlgItem(dialog, IDC_OPTIONS_BROWSE), SW_HIDE);
        SetDlgItemTextA(dialog, IDC_OPTIONS_FOLDER_LABEL, "Installation folder:");
      }
      for (const ShortcutBox& box : shortcutBoxes)
        EnableWindow(GetDlgItem(dialog, box.id), (wizard_.options().enabledBoxes & box.choice) != 0);
      break;
    case WizardPage::progress:
      SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, progressComplete);
      break;
    case WizardPage::completed:
      useHeadingFont(IDC_COMPLETED_HEADING);
      fillInTitle(dialog, IDC_COMPLETED_TEXT, title);
      break;
    case WizardPage::cancelled:
      useHeadingFont(IDC_CANCELLED_HEADING);
      fillInTitle(dialog, IDC_CANCELLED_TEXT, title);
      CheckRadioButton(dialog, IDC_CANCELLED_REMOVE, IDC_CANCELLED_KEEP, IDC_CANCELLED_REMOVE);
      break;
  }
}

void WizardSheet::setButtons(DWORD buttons, int nextTextId) {
  PropSheet_SetWizButtons(sheet_, buttons);
  if (nextTextId) SetDlgItemTextA(sheet_, nextButtonId, loadText(instance_, nextTextId).c_str());
}

LRESULT WizardSheet::pageNotification(WizardPage page, HWND dialog, UINT code) {
  constexpr LRESULT stay = -1;
  switch (code) {
    case PSN_SETACTIVE:
      ShowWindow(GetDlgItem(sheet_, headerLineId), definitionOf(page).exterior ? SW_HIDE : SW_SHOW);
      if (definitionOf(page).exterior) coverSheet(dialog);
      switch (page) {
        case WizardPage::welcome:
          setButtons(PSWIZB_NEXT, IDS_BUTTON_NEXT);
          break;
        case WizardPage::information:
          setButtons(PSWIZB_BACK | PSWIZB_NEXT, IDS_BUTTON_NEXT);
          // The text box would take Enter and Escape for itself.
          PostMessageA(dialog, focusButtonMessage, nextButtonId, 0);
          break;
        case WizardPage::license:
          setButtons(PSWIZB_BACK | PSWIZB_NEXT, IDS_BUTTON_AGREE);
          PostMessageA(dialog, focusButtonMessage, nextButtonId, 0);
          break;
        case WizardPage::options:
          setButtons(PSWIZB_BACK | PSWIZB_NEXT, IDS_BUTTON_INSTALL);
          wizard_.showOptions();
          showOptions(dialog);
          break;
        case WizardPage::progress:
          setButtons(0, IDS_BUTTON_NEXT);
          for (int id : stepBoxIds) {
            CheckDlgButton(dialog, id, BST_UNCHECKED);
            EnableWindow(GetDlgItem(dialog, id), FALSE);
          }
          SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
          // Nothing on the page takes the focus: Escape and Enter reach the
          // Cancel button. The installation starts once the page is on the
          // screen.
          PostMessageA(dialog, focusButtonMessage, IDCANCEL, 0);
          PostMessageA(dialog, startInstallationMessage, 0, 0);
          break;
        case WizardPage::completed:
          setButtons(PSWIZB_FINISH, 0);
          EnableWindow(GetDlgItem(sheet_, IDCANCEL), FALSE);
          showCompleted(dialog);
          break;
        case WizardPage::cancelled:
          setButtons(PSWIZB_FINISH, 0);
          EnableWindow(GetDlgItem(sheet_, IDCANCEL), FALSE);
          break;
      }
      return 0;
    case PSN_WIZNEXT:
      switch (page) {
        case WizardPage::welcome:
          return wizard_.leaveWelcome() ? 0 : stay;
        case WizardPage::options: {
          bool leaves = wizard_.leaveOptions();
          if (controlText(dialog, IDC_OPTIONS_FOLDER) != wizard_.options().folder) {
            fillingField_ = true;
            SetDlgItemTextA(dialog, IDC_OPTIONS_FOLDER, wizard_.options().folder.c_str());
            fillingField_ = false;
          }
          return leaves ? 0 : stay;
        }
        case WizardPage::progress:
          if (!wizard_.installationStarted() || wizard_.installing()) return stay;
          return definitionOf(wizard_.resultPage()).templateId;
        default:
          return 0;
      }
    case PSN_WIZBACK:
      return page == WizardPage::progress || page == WizardPage::completed || page == WizardPage::cancelled ? stay
                                                                                                           : 0;
    case PSN_WIZFINISH:
      if (page == WizardPage::completed) {
        CompletedChoices choices;
        choices.startApplication = IsDlgButtonChecked(dialog, IDC_COMPLETED_START) == BST_CHECKED;
        choices.showReadme = IsDlgButtonChecked(dialog, IDC_COMPLETED_README) == BST_CHECKED;
        choices.restartNow = IsDlgButtonChecked(dialog, IDC_COMPLETED_RESTART_YES) == BST_CHECKED;
        wizard_.finishCompleted(choices);
      } else if (page == WizardPage::cancelled) {
        wizard_.finishCancelled(IsDlgButtonChecked(dialog, IDC_CANCELLED_REMOVE) == BST_CHECKED);
      }
      return 0;
    case PSN_QUERYCANCEL:
      return wizard_.cancelPressed() == CancelOutcome::closeWizard ? FALSE : TRUE;
    default:
      return 0;
  }
}

void WizardSheet::showOptions(HWND dialog) {
  const OptionsPage& options = wizard_.options();
  fillingField_ = true;
  SetDlgItemTextA(dialog, IDC_OPTIONS_FOLDER, options.folder.c_str());
  fillingField_ = false;
  SetDlgItemTextA(dialog, IDC_OPTIONS_REQUIRED, options.requiredSpace.c_str());
  SetDlgItemTextA(dialog, IDC_OPTIONS_AVAILABLE, options.availableSpace.c_str());
  for (const ShortcutBox& box : shortcutBoxes)
    CheckDlgButton(dialog, box.id, (options.tickedBoxes & box.choice) ? BST_CHECKED : BST_UNCHECKED);
}

void WizardSheet::pageCommand(WizardPage page, HWND dialog, int id, int code) {
  if (page != WizardPage::options) return;
  switch (id) {
    case IDC_OPTIONS_FOLDER:
      if (code == EN_CHANGE && !fillingField_ && wizard_.folderEdited(controlText(dialog, id)))
        SetDlgItemTextA(dialog, IDC_OPTIONS_AVAILABLE, wizard_.options().availableSpace.c_str());
      break;
    case IDC_OPTIONS_BROWSE:
      if (code == BN_CLICKED) browse(dialog);
      break;
    case IDC_OPTIONS_DEFAULT:
      if (code == BN_CLICKED) {
        wizard_.restoreDefault();
        showOptions(dialog);
      }
      break;
    default:
      for (const ShortcutBox& box : shortcutBoxes)
        if (id == box.id && code == BN_CLICKED)
          wizard_.setBox(box.choice, IsDlgButtonChecked(dialog, id) == BST_CHECKED);
      break;
  }
}

// The folder browser opens at the field's folder, or at the nearest folder
// above it that exists.
int CALLBACK browseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  std::string folder = reinterpret_cast<const char*>(data);
  while (!folder.empty()) {
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) break;
    size_t last = folder.find_last_of('\\');
    folder = last == std::string::npos ? std::string() : folder.substr(0, last);
  }
  if (!folder.empty()) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
  return 0;
}

void WizardSheet::browse(HWND dialog) {
  using Browse = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOA);
  using PathFromList = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
  static auto browseForFolder = systemFunction<Browse>("shell32.dll", "SHBrowseForFolderA");
  static auto pathFromList = systemFunction<PathFromList>("shell32.dll", "SHGetPathFromIDListA");
  if (!browseForFolder || !pathFromList) return;
  std::string start = controlText(dialog, IDC_OPTIONS_FOLDER);
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = sheet_;
  info.pszDisplayName = display;
  info.lpszTitle = "Please select the installation folder:";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  LPITEMIDLIST list = browseForFolder(&info);
  if (!list) return;
  char picked[MAX_PATH + 1] = {};
  bool ok = pathFromList(list, picked);
  CoTaskMemFree(list);
  if (!ok) return;
  std::string folder = wizard_.browsed(picked);
  fillingField_ = true;
  SetDlgItemTextA(dialog, IDC_OPTIONS_FOLDER, folder.c_str());
  fillingField_ = false;
  SetDlgItemTextA(dialog, IDC_OPTIONS_AVAILABLE, wizard_.options().availableSpace.c_str());
}

void WizardSheet::showCompleted(HWND dialog) {
  CompletedPage page = wizard_.completedPage();
  auto show = [&](int id, bool shown) { ShowWindow(GetDlgItem(dialog, id), shown ? SW_SHOW : SW_HIDE); };
  show(IDC_COMPLETED_START, page.startBox);
  show(IDC_COMPLETED_README, page.readmeBox);
  CheckDlgButton(dialog, IDC_COMPLETED_START, page.startBox ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_COMPLETED_README, page.readmeBox ? BST_CHECKED : BST_UNCHECKED);
  show(IDC_COMPLETED_RESTART_TEXT, page.restartQuestion);
  show(IDC_COMPLETED_RESTART_YES, page.restartQuestion);
  show(IDC_COMPLETED_RESTART_NO, page.restartQuestion);
  CheckRadioButton(dialog, IDC_COMPLETED_RESTART_YES, IDC_COMPLETED_RESTART_NO, IDC_COMPLETED_RESTART_YES);
}

void WizardSheet::startInstallation(HWND dialog) {
  PageProgress view(sheet_, dialog, wizard_);
  if (!wizard_.runInstallation(view)) return;
  // The result page follows by itself after a moment.
  setButtons(PSWIZB_NEXT, IDS_BUTTON_NEXT);
  SetTimer(dialog, autoNextTimer, autoNextDelayMs, nullptr);
}

}  // namespace

bool runWizardSheet(HINSTANCE instance, InstallWizard& wizard, WindowsInstallPlatform& platform,
                    WizardSystem& system) {
  WizardSheet sheet(instance, wizard, platform, system);
  return sheet.run();
}

}  // namespace veltrace::setup
