#pragma once
// The window of one texture stage page: a child of the Textures pane's tab
// control, made when the pane is shown and destroyed when it is hidden. Its
// list is edited in place like the render states; only a left click opens
// an editor.

#include <windows.h>

#include <memory>

#include "panes/states/state_list_controls.h"
#include "panes/states/state_panes.h"
#include "ui/dialog.h"

namespace veltrace {

class TextureStagePageWindow : private ui::Dialog {
 public:
  explicit TextureStagePageWindow(TextureStagePage& model) : model_(model) {}

  // Made inside the tab control's display area, hidden.
  bool create(HWND tabs);
  void showPage(bool visible);
  // Enter and Escape, which the dialog manager gives to the pane: true when
  // an editor of this page took them.
  bool enterPressed() { return controls_ && controls_->enterPressed(); }
  bool escapePressed() { return controls_ && controls_->escapePressed(); }

  HWND window() const { return handle(); }
  HWND list() const;

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  TextureStagePage& model_;
  std::unique_ptr<StateListControls> controls_;
};

}  // namespace veltrace
