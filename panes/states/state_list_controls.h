#pragma once
// A StateList shown in a list view with its two in-place editors, a
// drop-down and a one-line text field, both children of the same dialog as
// the list. Used by the Render States window and the texture stage pages.

#include <windows.h>

#include "panes/states/state_panes.h"

namespace veltrace {

class StateListControls {
 public:
  StateListControls(StateList& model, HWND list, HWND dropDown, HWND textField)
      : model_(model), list_(list), dropDown_(dropDown), textField_(textField) {}

  void setUpColumns(const std::array<StateListColumn, 2>& columns);
  void fill();
  // A click at a point of the list: opens the editor the model chose.
  void clicked(StateEditorKind opened, POINT point);
  // The cell under a point of the list's client area.
  void cellAt(POINT point, int& row, int& column) const;
  void dropDownClosed();
  // Enter and Escape as the dialog manager reports them; true when they
  // went to an open editor.
  bool enterPressed();
  bool escapePressed();
  void textFieldLostFocus();

 private:
  void showCurrentRow();

  StateList& model_;
  HWND list_;
  HWND dropDown_;
  HWND textField_;
};

}  // namespace veltrace
