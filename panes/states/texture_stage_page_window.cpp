#include "panes/states/texture_stage_page_window.h"

#include <commctrl.h>

#include "panes/states/state_panes_rc.h"

namespace veltrace {

bool TextureStagePageWindow::create(HWND tabs) {
  if (!createModeless(stagePageDialog, tabs)) return false;
  RECT area{};
  GetClientRect(tabs, &area);
  TabCtrl_AdjustRect(tabs, FALSE, &area);
  MoveWindow(handle(), area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
  MoveWindow(list(), 0, 0, area.right - area.left, area.bottom - area.top, FALSE);
  RECT bounds{};
  GetClientRect(list(), &bounds);
  controls_ = std::make_unique<StateListControls>(model_.list(), list(), item(stagePageDropDown),
                                                  item(stagePageTextField));
  controls_->setUpColumns(TextureStagePage::columns(bounds.right));
  return true;
}

HWND TextureStagePageWindow::list() const { return item(stagePageList); }

void TextureStagePageWindow::showPage(bool visible) {
  if (!handle()) return;
  if (visible) {
    model_.shown();
    controls_->fill();
    show();
  } else {
    hide();
  }
}

INT_PTR TextureStagePageWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!controls_) return message == WM_INITDIALOG;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == stagePageDropDown && HIWORD(wParam) == CBN_CLOSEUP) {
        controls_->dropDownClosed();
        return TRUE;
      }
      if (LOWORD(wParam) == stagePageTextField && HIWORD(wParam) == EN_KILLFOCUS) {
        controls_->textFieldLostFocus();
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == stagePageList && (header->code == NM_CLICK || header->code == NM_RCLICK)) {
        const POINT point = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction;
        int row = -1, column = -1;
        controls_->cellAt(point, row, column);
        const MouseButton button = header->code == NM_CLICK ? MouseButton::left : MouseButton::right;
        controls_->clicked(model_.cellClicked(row, column, button), point);
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace veltrace
