#pragma once
// The contact rows of the welcome page and the about box on their
// controls: rows without a value are hidden with their label and the rest
// move up; the web site and e-mail address are drawn as links (blue,
// underlined, a hand over them) and opened with the shell when clicked.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "setup/install_wizard.h"

namespace veltrace::setup {

struct RowControls {
  ContactField field;
  int labelId;
  int valueId;
};

class ContactRowControls {
 public:
  explicit ContactRowControls(WizardSystem& system) : system_(system) {}
  ~ContactRowControls();
  ContactRowControls(const ContactRowControls&) = delete;
  ContactRowControls& operator=(const ContactRowControls&) = delete;

  // `controls` in the order of the template's rows.
  void show(HWND dialog, const std::vector<ContactRow>& rows, const std::vector<RowControls>& controls);
  // Colours, cursor and clicks of the links; true when the message was
  // theirs, with the dialog procedure's result. `background` is the brush
  // the dialog paints its statics with (null: the system's).
  bool handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, HBRUSH background, INT_PTR& result);

 private:
  bool isLink(HWND dialog, HWND control) const;

  WizardSystem& system_;
  std::map<int, std::string> targets_;  // by value control id
  HFONT linkFont_ = nullptr;
};

// A bold, larger copy of the dialog's font for page headings; the caller
// deletes it.
HFONT createHeadingFont(HWND dialog, int pointSize);

}  // namespace veltrace::setup
