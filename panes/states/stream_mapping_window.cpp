#include "panes/states/stream_mapping_window.h"

#include <commctrl.h>

#include "panes/states/list_view_rows.h"
#include "panes/states/state_panes_rc.h"

namespace veltrace {

bool StreamMappingWindow::create(HWND owner) { return createModeless(streamMappingDialog, owner); }

HWND StreamMappingWindow::list() const { return item(streamMappingList); }
HWND StreamMappingWindow::chooser() const { return item(streamMappingChooser); }

void StreamMappingWindow::show(const std::string& title) {
  SetWindowTextA(handle(), title.c_str());
  Dialog::show();
}

void StreamMappingWindow::fillRows() {
  std::vector<std::vector<std::string>> rows;
  for (const StreamMappingPane::Row& row : model_.rows()) rows.push_back({row.dataName, row.dataType, row.registerText});
  fillListView(list(), rows);
}

void StreamMappingWindow::listClicked(POINT point) {
  const ListCell cell = listCellAt(list(), point);
  if (!model_.cellClicked(cell.row, cell.column)) return;
  dropDownOver(chooser(), list(), cell, StreamMappingPane::registerChoices());
}

void StreamMappingWindow::chooserClosed() {
  const LRESULT selected = SendMessageA(chooser(), CB_GETCURSEL, 0, 0);
  ShowWindow(chooser(), SW_HIDE);
  const int row = model_.currentRow();
  model_.chooserClosed(selected == CB_ERR ? -1 : static_cast<int>(selected));
  if (row >= 0 && static_cast<size_t>(row) < model_.rows().size())
    setListCell(list(), row, StreamMappingPane::registerColumn, model_.rows()[static_cast<size_t>(row)].registerText);
  SetFocus(list());
}

INT_PTR StreamMappingWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      RECT bounds{};
      GetClientRect(list(), &bounds);
      std::vector<ListColumn> columns;
      for (const auto& column : StreamMappingPane::columns(bounds.right)) columns.push_back({column.title, column.width});
      setUpListView(list(), columns);
      return TRUE;
    }
    case WM_SHOWWINDOW:
      // Every show and every hide reads the mapping again.
      if (wParam)
        model_.shown();
      else
        model_.hidden();
      fillRows();
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          hide();
          model_.ok();
          return TRUE;
        case IDCANCEL:
          hide();
          return TRUE;
        case streamMappingApplyButton:
          model_.apply();
          return TRUE;
        case streamMappingHelpButton:
          if (openHelp) openHelp(StreamMappingPane::helpTopic.data());
          return TRUE;
        case streamMappingChooser:
          if (HIWORD(wParam) != CBN_CLOSEUP) return FALSE;
          chooserClosed();
          return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == streamMappingList && header->code == NM_CLICK)
        listClicked(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction);
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace veltrace
