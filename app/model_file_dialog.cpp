#include "app/model_file_dialog.h"

#include <commdlg.h>

#include <cstring>
#include <vector>

#include "ui/file_dialog.h"

namespace veltrace {

namespace {

constexpr WORD keepUnitsId = 1001;

// The child dialog the common dialog places below its own controls, built
// in memory: one auto check box. Dialog templates are WORD streams whose
// items start on DWORD boundaries.
class KeepUnitsTemplate {
 public:
  KeepUnitsTemplate() {
    DLGTEMPLATE dialog{};
    dialog.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL;
    dialog.cdit = 1;
    dialog.cx = 200;
    dialog.cy = 18;
    append(&dialog, sizeof dialog);
    words({0, 0, 0});  // no menu, the default class, no title
    alignToDword();
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
    item.x = 7;
    item.y = 2;
    item.cx = 180;
    item.cy = 12;
    item.id = keepUnitsId;
    append(&item, sizeof item);
    words({0xFFFF, 0x0080});  // the button class
    for (const char* c = keepUnitsCheckBoxText; *c; ++c) words({static_cast<WORD>(static_cast<unsigned char>(*c))});
    words({0, 0});  // end of the text, no creation data
  }
  LPCDLGTEMPLATE get() const { return reinterpret_cast<LPCDLGTEMPLATE>(data_.data()); }

 private:
  void append(const void* bytes, size_t size) {
    size_t at = data_.size();
    data_.resize(at + (size + 3) / 4);
    std::memcpy(reinterpret_cast<char*>(data_.data()) + at * 4, bytes, size);
    used_ = at * 4 + size;
  }
  void words(std::initializer_list<WORD> values) {
    for (WORD value : values) {
      if (used_ + 2 > data_.size() * 4) data_.push_back(0);
      std::memcpy(reinterpret_cast<char*>(data_.data()) + used_, &value, 2);
      used_ += 2;
    }
  }
  void alignToDword() { used_ = (used_ + 3) / 4 * 4; if (used_ > data_.size() * 4) data_.push_back(0); }

  std::vector<DWORD> data_;  // DWORDs keep the start aligned
  size_t used_ = 0;
};

UINT_PTR CALLBACK keepUnitsHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(child, GWLP_USERDATA, lParam);
    return 0;
  }
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_FILEOK) {
    auto* dialog = reinterpret_cast<OPENFILENAMEA*>(GetWindowLongPtrA(child, GWLP_USERDATA));
    if (dialog) *reinterpret_cast<bool*>(dialog->lCustData) = IsDlgButtonChecked(child, keepUnitsId) == BST_CHECKED;
  }
  return 0;
}

}  // namespace

std::optional<ModelChoice> chooseModelFile(HWND owner, const FileDialogSpec& spec) {
  std::vector<char> filter = ui::dialogFilter(spec.filter);
  KeepUnitsTemplate checkBox;
  char path[MAX_PATH] = {};
  bool keepUnits = false;
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.hInstance = reinterpret_cast<HINSTANCE>(const_cast<DLGTEMPLATE*>(checkBox.get()));
  dialog.lpstrFilter = filter.data();
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = spec.initialFolder.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                 OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  dialog.lpfnHook = keepUnitsHook;
  dialog.lCustData = reinterpret_cast<LPARAM>(&keepUnits);
  if (!GetOpenFileNameA(&dialog)) return std::nullopt;
  return ModelChoice{path, keepUnits};
}

}  // namespace veltrace
