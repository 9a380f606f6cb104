#pragma once
// The vertex or pixel shader pane: a modeless window over a
// ShaderPaneModel. It maps the model's rows and states to its controls,
// colours the editor, runs the check half a second after the last keystroke
// and shows its errors and budget under the editor.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "panes/shader/shader_pane_model.h"
#include "panes/shader/shader_source_editor.h"
#include "panes/shader/splitter_bar.h"
#include "panes/shader/syntax_highlighter.h"
#include "panes/workspace/pane_factory.h"
#include "render/shader/shader_check.h"
#include "ui/dialog.h"

namespace veltrace::panes {

struct ShaderPaneSettings {
  float pixelShaderVersion = 0.0f;
  bool hardwareVertexShaders = true;
  std::string shaderFolder;  // where the open dialog starts and #include looks
  // Opens the help file at a topic ("::/html/vertex shader.htm").
  std::function<void(HWND owner, const std::string& topic)> showHelp;
};

class ShaderPane : public ui::Dialog, public Pane {
 public:
  ShaderPane(ShaderPaneKind kind, Effect& effect, MessageLog& log, ShaderPaneSettings settings);

  // Creates the window hidden (and reads the effect's shader source).
  bool create(HWND owner);

  // Pane
  void show(const std::string& title) override;
  void clearBoundRows(int registerNumber) override;

  ShaderPaneModel& model() { return model_; }
  ShaderSourceEditor& editor() { return editor_; }
  // Runs the check now instead of after the pause (for tests).
  void checkNow();

 protected:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void initialise();
  // Model to controls.
  void showRows();
  void showStates();
  void showEditorTextIfReplaced();
  void takeEditorText() { model_.setEditorText(editor_.text()); }

  bool command(int id, int notification);
  bool notify(const NMHDR& header);
  void listClicked(const NMITEMACTIVATE& click);
  void chooserClosed();
  void loadShaderFile();
  void resize(int width, int height);
  void splitterMoved(int distance);
  void moveItem(HWND item, int dx, int dy, int growWidth, int growHeight) const;

  ShaderPaneModel model_;
  ShaderPaneSettings settings_;
  SyntaxHighlighter highlighter_;
  ShaderSourceEditor editor_;
  SplitterBar splitter_;
  std::unique_ptr<PaneResize> resize_;
  std::uint32_t shownTextVersion_ = 0;
  std::string captionFormat_;
};

}  // namespace veltrace::panes
