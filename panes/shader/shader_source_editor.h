#pragma once
// The shader source editor: a rich-edit control in "Courier New" 10 pt that
// the syntax highlighter colours, with Tab inserting a tab and an edit menu
// on a right click. The pane owns it and forwards the control's
// notifications (change, key events) and the menu's commands to it.

#include <windows.h>
#include <richedit.h>

#include <string>
#include <vector>

#include "panes/shader/syntax_highlighter.h"
#include "ui/handles.h"

namespace veltrace::panes {

class ShaderSourceEditor {
 public:
  // Makes the control as a child of the pane over the given rectangle.
  bool create(HWND parent, const RECT& bounds, int id, const SyntaxHighlighter& highlighter);
  HWND handle() const { return editor_.get(); }

  // The text with CR LF line breaks.
  std::string text() const;
  // Replaces the text and colours it all in one stream-in, caret at the
  // start; no change notification reaches the pane.
  void setTextColoured(const std::string& text);
  // Recolours the line that holds the caret; the selection stays.
  void colourCurrentLine();
  void setEnabled(bool enabled) const { EnableWindow(handle(), enabled); }

  // The pane's notifications from the control. True when the message was
  // consumed (the Tab key).
  bool keyEvent(const MSGFILTER& filter);
  // Opens the edit menu at the screen point; the commands come back to the
  // pane as WM_COMMAND with the ids of shader_pane_rc.h.
  void showEditMenu(HWND owner, POINT screen) const;
  // shaderEditUndo, shaderEditCut, shaderEditCopy, shaderEditPaste.
  void editCommand(int id);

  // Lines (1-based) to mark as wrong; the previous marks go.
  void markLines(const std::vector<int>& lines);
  void moveCaretToLine(int line) const;

  // Whether the change notifications come from the user (not while the
  // program replaces or recolours text).
  bool notifying() const { return notifying_; }

 private:
  // Suspends change notifications and drawing for the scope.
  class QuietScope;
  void applyRuns(LONG start, LONG length, const std::vector<ColouredRun>& runs) const;
  void setLineBackground(int line, bool marked) const;

  ui::WindowHandle editor_;
  const SyntaxHighlighter* highlighter_ = nullptr;
  bool notifying_ = true;
  std::vector<int> markedLines_;
};

}  // namespace veltrace::panes
