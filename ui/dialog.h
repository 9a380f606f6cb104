#pragma once
// A window made from a dialog template: modeless (the panes, the bar views)
// or modal (About). `this` is bound at WM_INITDIALOG; every later message
// reaches the virtual handler, which returns whether it handled it. As in
// every window procedure of the program, no exception leaves it.

#include <windows.h>

#include <string>

#include "ui/handles.h"

namespace veltrace::ui {

class Dialog {
 public:
  Dialog() = default;
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // A modeless dialog, hidden or shown as its template says. False when the
  // template is missing or the system refuses.
  bool createModeless(int templateId, HWND parent);
  // Runs the dialog modally; the value given to EndDialog, or -1.
  INT_PTR runModal(int templateId, HWND parent);

  HWND handle() const { return dialog_; }
  HWND item(int id) const { return GetDlgItem(dialog_, id); }
  std::string itemText(int id) const;
  void setItemText(int id, const std::string& text) const { SetDlgItemTextA(dialog_, id, text.c_str()); }
  void show(int command = SW_SHOW) const { ShowWindow(dialog_, command); }
  void hide() const { ShowWindow(dialog_, SW_HIDE); }
  bool visible() const { return dialog_ && IsWindowVisible(dialog_); }
  void moveTo(const RECT& bounds) const;

  static Dialog* fromHandle(HWND dialog);

 protected:
  // Return TRUE for messages handled; for WM_INITDIALOG return FALSE when
  // the focus was set by the handler.
  virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return FALSE; }
  virtual void dialogDestroyed() {}
  bool modal() const { return modal_; }

 private:
  static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  HWND dialog_ = nullptr;
  bool modal_ = false;
};

}  // namespace veltrace::ui
