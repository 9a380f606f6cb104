#include "setup/about_box.h"

#include "base/text.h"
#include "setup/contact_rows_windows.h"
#include "setup/setup_resources.h"
#include "setup/system_libraries.h"
#include "setup/trace_log.h"
#include "setup/wizard_resources.h"

namespace veltrace::setup {

namespace {

constexpr int headingPointSize = 10;

struct AboutState {
  const AboutContent* content;
  HINSTANCE instance;
  ContactRowControls rows;
  HFONT headingFont = nullptr;
};

std::string loadText(HINSTANCE instance, int id) {
  char buffer[512];
  int length = LoadStringA(instance, id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

// "FileDescription" and "LegalCopyright" of this program's version
// information (US English, Unicode), empty when it has none.
std::string ownVersionText(const char* name) {
  using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
  using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
  using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
  static auto infoSize = systemFunction<SizeFunction>("version.dll", "GetFileVersionInfoSizeA");
  static auto info = systemFunction<InfoFunction>("version.dll", "GetFileVersionInfoA");
  static auto query = systemFunction<QueryFunction>("version.dll", "VerQueryValueA");
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (!infoSize || !info || !query || length == 0 || length >= MAX_PATH) return {};
  path[length] = '\0';
  DWORD handle = 0;
  DWORD size = infoSize(path, &handle);
  if (size == 0) return {};
  std::string block(size, '\0');
  if (!info(path, 0, size, block.data())) return {};
  void* value = nullptr;
  UINT valueLength = 0;
  std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
  if (!query(block.data(), key.c_str(), &value, &valueLength) || !value || valueLength == 0) return {};
  // The length counts the terminator.
  return std::string(static_cast<const char*>(value), valueLength - 1);
}

INT_PTR CALLBACK aboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  INT_PTR result = 0;
  if (state && state->rows.handle(dialog, message, wParam, lParam, nullptr, result)) return result;
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<AboutState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const AboutContent& content = *state->content;
      SetWindowTextA(dialog, (content.title + loadText(state->instance, IDS_ABOUT_CAPTION)).c_str());
      state->headingFont = createHeadingFont(dialog, headingPointSize);
      SendDlgItemMessageA(dialog, IDC_ABOUT_HEADING, WM_SETFONT, reinterpret_cast<WPARAM>(state->headingFont), FALSE);
      SetDlgItemTextA(dialog, IDC_ABOUT_HEADING, content.title.c_str());
      state->rows.show(dialog, content.rows,
                       {{ContactField::company, IDC_ABOUT_COMPANY_LABEL, IDC_ABOUT_COMPANY},
                        {ContactField::webSite, IDC_ABOUT_WEBSITE_LABEL, IDC_ABOUT_WEBSITE},
                        {ContactField::email, IDC_ABOUT_EMAIL_LABEL, IDC_ABOUT_EMAIL},
                        {ContactField::telephone, IDC_ABOUT_TELEPHONE_LABEL, IDC_ABOUT_TELEPHONE}});
      std::string engine = formatText(loadText(state->instance, IDS_ABOUT_ENGINE).c_str(),
                                      std::string(engineVersion).c_str(), std::string(engineBuildText).c_str());
      SetDlgItemTextA(dialog, IDC_ABOUT_ENGINE, engine.c_str());
      SetDlgItemTextA(dialog, IDC_ABOUT_DESCRIPTION, ownVersionText("FileDescription").c_str());
      SetDlgItemTextA(dialog, IDC_ABOUT_COPYRIGHT, ownVersionText("LegalCopyright").c_str());
      if (HICON icon = LoadIconA(state->instance, MAKEINTRESOURCEA(IDI_SETUP)))
        SendDlgItemMessageA(dialog, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      if (state && state->headingFont) DeleteObject(state->headingFont);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void showAboutBox(HINSTANCE instance, HWND owner, const AboutContent& content, WizardSystem& system) {
  AboutState state{&content, instance, ContactRowControls(system)};
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutProcedure, reinterpret_cast<LPARAM>(&state));
}

}  // namespace veltrace::setup
