#pragma once
// The Stream Mapping pane's window: StreamMappingPane's rows in a list, the
// register chooser over the clicked "Map to Register" cell, "OK", "Apply"
// and "Help". The dialog template (state_panes.rc) goes into the program's
// resources.

#include <windows.h>

#include <functional>
#include <string>

#include "panes/states/stream_mapping_pane.h"
#include "panes/workspace/pane_factory.h"
#include "ui/dialog.h"

namespace veltrace {

class StreamMappingWindow : public Pane, private ui::Dialog {
 public:
  explicit StreamMappingWindow(Effect& effect) : model_(effect) {}

  // Creates the pane hidden, owned by the main window.
  bool create(HWND owner);
  void show(const std::string& title) override;

  // Opens a help topic of the program's help file; failures are its business.
  std::function<void(const char* topic)> openHelp;

  HWND window() const { return handle(); }
  HWND list() const;
  HWND chooser() const;
  const StreamMappingPane& model() const { return model_; }

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void fillRows();
  void listClicked(POINT point);
  void chooserClosed();

  StreamMappingPane model_;
};

}  // namespace veltrace
