#pragma once
// The Render States pane's window: one row per render state with its value,
// edited in place by a drop-down or a text field over the Value cell, "OK"
// and "Help". Enter commits the text field and Escape cancels it; neither
// closes the window. The dialog template (state_panes.rc) goes into the
// program's resources.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "panes/states/state_list_controls.h"
#include "panes/states/state_panes.h"
#include "panes/workspace/pane_factory.h"
#include "ui/dialog.h"

namespace veltrace {

class RenderStatesWindow : public Pane, private ui::Dialog {
 public:
  explicit RenderStatesWindow(Effect& effect) : model_(effect) {}

  // Creates the pane hidden, owned by the main window.
  bool create(HWND owner);
  void show(const std::string& title) override;

  // Opens a help topic of the program's help file; failures are its business.
  std::function<void(const char* topic)> openHelp;

  HWND window() const { return handle(); }
  HWND list() const;
  HWND dropDown() const;
  HWND textField() const;
  const RenderStatesPane& model() const { return model_; }

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void listClicked(POINT point, MouseButton button);
  void resize(int width, int height);
  void moveControl(HWND control, int dx, int dy, int growWidth, int growHeight);

  RenderStatesPane model_;
  std::unique_ptr<StateListControls> controls_;  // made with the window
};

}  // namespace veltrace
