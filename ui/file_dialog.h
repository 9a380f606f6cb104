#pragma once
// The common file dialogs as the program's windows use them: filters written
// "description|pattern|...||", and a path or nothing (cancelled).

#include <windows.h>
#include <commdlg.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrace::ui {

// The filter with NUL for every '|', ending in two NULs whatever the text
// ends in, as OPENFILENAME's lpstrFilter wants it.
std::vector<char> dialogFilter(std::string_view filter);

struct FileDialogRequest {
  HWND owner = nullptr;
  std::string_view filter;          // "Text (*.x)|*.x|All Files(*.*)|*.*||"
  std::string initialFolder;        // empty: the dialog's own choice
  std::string defaultExtension;     // empty: none appended
  bool save = false;                // save asks before overwriting; open wants an existing file
};

// Open or save dialog. The program's working folder is left as it is (the
// program reads its data relative to it).
std::optional<std::string> chooseFile(const FileDialogRequest& request);

}  // namespace veltrace::ui
