#include "ui/dialog.h"

#include <vector>

#include "ui/window.h"

namespace veltrace::ui {

Dialog::~Dialog() {
  if (dialog_ && !modal_) {
    SetWindowLongPtrA(dialog_, DWLP_USER, 0);
    DestroyWindow(dialog_);
  }
}

bool Dialog::createModeless(int templateId, HWND parent) {
  modal_ = false;
  HWND made = CreateDialogParamA(programInstance(), MAKEINTRESOURCEA(templateId), parent, dialogProcedure,
                                 reinterpret_cast<LPARAM>(this));
  return made != nullptr;
}

INT_PTR Dialog::runModal(int templateId, HWND parent) {
  modal_ = true;
  INT_PTR result = DialogBoxParamA(programInstance(), MAKEINTRESOURCEA(templateId), parent, dialogProcedure,
                                   reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  return result;
}

std::string Dialog::itemText(int id) const {
  HWND control = item(id);
  int length = control ? GetWindowTextLengthA(control) : 0;
  std::vector<char> text(static_cast<size_t>(length) + 1);
  GetDlgItemTextA(dialog_, id, text.data(), length + 1);
  return text.data();
}

void Dialog::moveTo(const RECT& bounds) const {
  MoveWindow(dialog_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

Dialog* Dialog::fromHandle(HWND dialog) { return reinterpret_cast<Dialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

INT_PTR CALLBACK Dialog::dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Dialog*>(lParam);
    self->dialog_ = dialog;
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  }
  Dialog* self = fromHandle(dialog);
  if (!self) return FALSE;
  INT_PTR result = FALSE;
  try {
    result = self->handleMessage(message, wParam, lParam);
  } catch (...) {
    result = FALSE;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    self->dialog_ = nullptr;
    self->dialogDestroyed();
  }
  return result;
}

}  // namespace veltrace::ui
