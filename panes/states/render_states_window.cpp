#include "panes/states/render_states_window.h"

#include <commctrl.h>

#include "panes/states/state_panes_rc.h"

namespace veltrace {

bool RenderStatesWindow::create(HWND owner) { return createModeless(renderStatesDialog, owner); }

HWND RenderStatesWindow::list() const { return item(renderStatesList); }
HWND RenderStatesWindow::dropDown() const { return item(renderStatesDropDown); }
HWND RenderStatesWindow::textField() const { return item(renderStatesTextField); }

void RenderStatesWindow::show(const std::string& title) {
  SetWindowTextA(handle(), title.c_str());
  model_.shown();
  if (controls_) controls_->fill();
  Dialog::show();
}

void RenderStatesWindow::listClicked(POINT point, MouseButton button) {
  int row = -1, column = -1;
  controls_->cellAt(point, row, column);
  controls_->clicked(model_.cellClicked(row, column, button), point);
}

void RenderStatesWindow::moveControl(HWND control, int dx, int dy, int growWidth, int growHeight) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&rect), 2);
  MoveWindow(control, rect.left + dx, rect.top + dy, rect.right - rect.left + growWidth,
             rect.bottom - rect.top + growHeight, TRUE);
}

void RenderStatesWindow::resize(int width, int height) {
  const auto change = model_.resizeTracker().resized(width, height);
  if (!change) return;
  moveControl(list(), 0, 0, change->width, change->height);
  moveControl(item(IDOK), 0, change->height, 0, 0);
  moveControl(item(renderStatesHelpButton), 0, change->height, 0, 0);
}

INT_PTR RenderStatesWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      RECT client{};
      GetClientRect(handle(), &client);
      model_.resizeTracker().remember(client.right, client.bottom);
      controls_ = std::make_unique<StateListControls>(model_.list(), list(), dropDown(), textField());
      controls_->setUpColumns(RenderStatesPane::columns(client.right));
      return TRUE;
    }
    case WM_SIZE:
      resize(LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_CLOSE:
      // The close box hides the pane; Escape (IDCANCEL) never does.
      hide();
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          // The "OK" button has the focus when it is clicked; anywhere else
          // this is the Enter key.
          if (GetFocus() == item(IDOK))
            hide();
          else
            controls_->enterPressed();
          return TRUE;
        case IDCANCEL:
          controls_->escapePressed();
          return TRUE;
        case renderStatesHelpButton:
          if (openHelp) openHelp(RenderStatesPane::helpTopic.data());
          return TRUE;
        case renderStatesDropDown:
          if (HIWORD(wParam) != CBN_CLOSEUP) return FALSE;
          controls_->dropDownClosed();
          return TRUE;
        case renderStatesTextField:
          if (HIWORD(wParam) != EN_KILLFOCUS) return FALSE;
          controls_->textFieldLostFocus();
          return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == renderStatesList && (header->code == NM_CLICK || header->code == NM_RCLICK))
        listClicked(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction,
                    header->code == NM_CLICK ? MouseButton::left : MouseButton::right);
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace veltrace
