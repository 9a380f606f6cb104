#include "panes/states/state_list_controls.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "panes/states/list_view_rows.h"

namespace veltrace {

void StateListControls::setUpColumns(const std::array<StateListColumn, 2>& columns) {
  setUpListView(list_, {{columns[0].title, columns[0].width}, {columns[1].title, columns[1].width}});
}

void StateListControls::fill() {
  std::vector<std::vector<std::string>> rows;
  for (const StateList::Row& row : model_.rows()) rows.push_back({row.name, row.value});
  fillListView(list_, rows);
}

void StateListControls::cellAt(POINT point, int& row, int& column) const {
  const ListCell cell = listCellAt(list_, point);
  row = cell.row;
  column = cell.column;
}

void StateListControls::clicked(StateEditorKind opened, POINT point) {
  const ListCell cell = listCellAt(list_, point);
  if (opened == StateEditorKind::dropDown) {
    dropDownOver(dropDown_, list_, cell, model_.dropDownEntries());
  } else if (opened == StateEditorKind::textField) {
    const RECT rect = listCellRect(list_, cell, GetParent(textField_));
    SetWindowTextA(textField_, model_.fieldText().c_str());
    SetWindowPos(textField_, HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_SHOWWINDOW);
    SetFocus(textField_);
    SendMessageA(textField_, EM_SETSEL, 0, -1);
  }
}

void StateListControls::showCurrentRow() {
  const int row = model_.currentRow();
  if (row < 0 || static_cast<size_t>(row) >= model_.rows().size()) return;
  setListCell(list_, row, StateList::valueColumn, model_.rows()[static_cast<size_t>(row)].value);
}

void StateListControls::dropDownClosed() {
  const LRESULT selected = SendMessageA(dropDown_, CB_GETCURSEL, 0, 0);
  ShowWindow(dropDown_, SW_HIDE);
  model_.dropDownClosed(selected == CB_ERR ? -1 : static_cast<int>(selected));
  showCurrentRow();
  SetFocus(list_);
}

bool StateListControls::enterPressed() {
  if (model_.openEditor() != StateEditorKind::textField) return false;
  const int length = GetWindowTextLengthA(textField_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(textField_, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  model_.enterPressed(text);
  showCurrentRow();
  ShowWindow(textField_, SW_HIDE);
  SetFocus(list_);
  return true;
}

bool StateListControls::escapePressed() {
  if (model_.openEditor() != StateEditorKind::textField) return false;
  textFieldLostFocus();
  SetFocus(list_);
  return true;
}

void StateListControls::textFieldLostFocus() {
  model_.textFieldLostFocus();
  ShowWindow(textField_, SW_HIDE);
}

}  // namespace veltrace
