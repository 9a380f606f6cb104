#include "panes/states/list_view_rows.h"

namespace veltrace {

void setUpListView(HWND list, const std::vector<ListColumn>& columns) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
  for (size_t column = 0; column < columns.size(); ++column) {
    std::string title(columns[column].title);
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.pszText = title.data();
    header.cx = columns[column].width;
    SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
  }
}

void setListCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

std::string listCellText(HWND list, int row, int column) {
  std::vector<char> buffer(1024);
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = buffer.data();
  cell.cchTextMax = static_cast<int>(buffer.size());
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  return buffer.data();
}

void fillListView(HWND list, const std::vector<std::vector<std::string>>& rows) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  for (size_t row = 0; row < rows.size(); ++row) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<char*>("");
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (size_t column = 0; column < rows[row].size(); ++column)
      setListCell(list, static_cast<int>(row), static_cast<int>(column), rows[row][column]);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

ListCell listCellAt(HWND list, POINT point) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  if (SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || hit.iItem < 0) return {};
  return {hit.iItem, hit.iSubItem};
}

RECT listCellRect(HWND list, ListCell cell, HWND parent) {
  RECT rect{};
  rect.top = cell.column;
  rect.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(cell.row), reinterpret_cast<LPARAM>(&rect));
  MapWindowPoints(list, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void dropDownOver(HWND dropDown, HWND list, ListCell cell, const std::vector<std::string>& entries) {
  SendMessageA(dropDown, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries) SendMessageA(dropDown, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  const RECT rect = listCellRect(list, cell, GetParent(dropDown));
  constexpr int dropHeight = 200;
  SetWindowPos(dropDown, HWND_TOP, rect.left, rect.top, rect.right - rect.left, dropHeight, SWP_SHOWWINDOW);
  SetFocus(dropDown);
  SendMessageA(dropDown, CB_SHOWDROPDOWN, TRUE, 0);
}

}  // namespace veltrace
