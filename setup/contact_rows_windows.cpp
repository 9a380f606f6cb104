#include "setup/contact_rows_windows.h"

namespace veltrace::setup {

namespace {

constexpr COLORREF linkColour = RGB(0, 0, 204);

RECT childRect(HWND dialog, int id) {
  RECT rect{};
  HWND control = GetDlgItem(dialog, id);
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void moveToTop(HWND dialog, int id, int top) {
  RECT rect = childRect(dialog, id);
  SetWindowPos(GetDlgItem(dialog, id), nullptr, rect.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

ContactRowControls::~ContactRowControls() {
  if (linkFont_) DeleteObject(linkFont_);
}

void ContactRowControls::show(HWND dialog, const std::vector<ContactRow>& rows,
                              const std::vector<RowControls>& controls) {
  std::vector<int> slotTops;
  for (const RowControls& row : controls) {
    slotTops.push_back(childRect(dialog, row.labelId).top);
    ShowWindow(GetDlgItem(dialog, row.labelId), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, row.valueId), SW_HIDE);
  }
  std::size_t slot = 0;
  for (const RowControls& controlsOfRow : controls) {
    for (const ContactRow& row : rows) {
      if (row.field != controlsOfRow.field) continue;
      moveToTop(dialog, controlsOfRow.labelId, slotTops[slot]);
      moveToTop(dialog, controlsOfRow.valueId, slotTops[slot]);
      ++slot;
      SetDlgItemTextA(dialog, controlsOfRow.valueId, row.text.c_str());
      ShowWindow(GetDlgItem(dialog, controlsOfRow.labelId), SW_SHOW);
      ShowWindow(GetDlgItem(dialog, controlsOfRow.valueId), SW_SHOW);
      if (!row.target.empty()) {
        targets_[controlsOfRow.valueId] = row.target;
        if (!linkFont_) {
          LOGFONTA font{};
          GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
          font.lfUnderline = TRUE;
          linkFont_ = CreateFontIndirectA(&font);
        }
        SendDlgItemMessageA(dialog, controlsOfRow.valueId, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), FALSE);
      }
    }
  }
}

bool ContactRowControls::isLink(HWND dialog, HWND control) const {
  return control && GetParent(control) == dialog && targets_.count(GetDlgCtrlID(control)) != 0;
}

bool ContactRowControls::handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, HBRUSH background,
                                INT_PTR& result) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      if (!isLink(dialog, reinterpret_cast<HWND>(lParam))) return false;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, linkColour);
      SetBkMode(dc, TRANSPARENT);
      result = reinterpret_cast<INT_PTR>(background ? background : GetSysColorBrush(COLOR_BTNFACE));
      return true;
    }
    case WM_SETCURSOR:
      if (!isLink(dialog, reinterpret_cast<HWND>(wParam))) return false;
      SetCursor(LoadCursor(nullptr, IDC_HAND));
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
      result = TRUE;
      return true;
    case WM_COMMAND: {
      auto found = targets_.find(LOWORD(wParam));
      if (HIWORD(wParam) != STN_CLICKED || found == targets_.end()) return false;
      system_.shellOpen(found->second, {}, {});
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

HFONT createHeadingFont(HWND dialog, int pointSize) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
  HDC dc = GetDC(dialog);
  font.lfHeight = -MulDiv(pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(dialog, dc);
  font.lfWeight = FW_BOLD;
  font.lfWidth = 0;
  return CreateFontIndirectA(&font);
}

}  // namespace veltrace::setup
