#pragma once
// The report-style list views of the state panes: columns, rows of texts,
// which cell a click hit and where that cell is, so that an editor can be
// placed over it.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

namespace veltrace {

struct ListColumn {
  std::string_view title;
  int width;
};

// Grid lines, full-row selection, flat scroll bars, and these columns.
void setUpListView(HWND list, const std::vector<ListColumn>& columns);

// Replaces every row by the given rows of cell texts, redrawing once.
void fillListView(HWND list, const std::vector<std::vector<std::string>>& rows);
void setListCell(HWND list, int row, int column, const std::string& text);
std::string listCellText(HWND list, int row, int column);

struct ListCell {
  int row = -1;
  int column = -1;
};
// The cell under a point of the list's client area; row -1 for empty space.
ListCell listCellAt(HWND list, POINT point);
// The cell's rectangle in the coordinates of `parent`.
RECT listCellRect(HWND list, ListCell cell, HWND parent);

// Fills a drop-down list, places it over a cell, gives it the focus and
// drops it down.
void dropDownOver(HWND dropDown, HWND list, ListCell cell, const std::vector<std::string>& entries);

}  // namespace veltrace
