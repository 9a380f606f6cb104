#pragma once
// The window of a variable editor ("Vector", "Matrix" or "Color Dialog"):
// the predefined box and list, the name, the value fields (and for a colour
// the sliders and the swatch), "OK", "Cancel" and "Help". The variable is
// looked up again for every showing and every OK, since variables live by
// value in the effect's lists and move when others are added or deleted.
// The dialog templates (state_panes.rc) go into the program's resources.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "panes/states/variable_editor.h"
#include "panes/workspace/pane_factory.h"
#include "ui/dialog.h"

namespace veltrace {

class VariableEditorWindow : public Pane, private ui::Dialog {
 public:
  VariableEditorWindow(VariableKind kind, std::function<EffectVariable*()> variable);

  // Creates the editor hidden, owned by the main window.
  bool create(HWND owner);
  void show(const std::string& title) override;

  // Opens a help topic of the program's help file; failures are its business.
  std::function<void(const char* topic)> openHelp;

  HWND window() const { return handle(); }
  HWND valueField(int index) const;
  HWND slider(int index) const;
  const VariableEditor& model() const { return *model_; }

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool command(int id, int notification);
  // Copies the model into the controls; texts only where they differ, so
  // that no control reports a change it did not have.
  void showModel();
  void showText(int id, const std::string& text);
  void paintSwatch();
  RECT swatchRect() const;
  ColourEditor* colourEditor() const { return dynamic_cast<ColourEditor*>(model_.get()); }

  std::unique_ptr<VariableEditor> model_;
  std::function<EffectVariable*()> variable_;
};

}  // namespace veltrace
