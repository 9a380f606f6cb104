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

  // The text with CR LF line breaks (the part still to go in included).
  std::string text() const;
  // Replaces the text, coloured, caret at the start; no change notification
  // reaches the pane. The first screen goes in at once, the rest piece by
  // piece on a timer, so that a long source shows and takes keys at once.
  void setTextColoured(const std::string& text);
  // Puts in what is still to go in now.
  void finishFill();
  bool filling() const { return fillOffset_ < fillText_.size(); }
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
  void moveCaretToLine(int line);

  // Whether the change notifications come from the user (not while the
  // program replaces or recolours text).
  bool notifying() const { return notifying_; }

 private:
  // Suspends change notifications and drawing for the scope.
  class QuietScope;
  HWND makeControl(HWND parent, const RECT& bounds, int id) const;
  void replaceControl();
  // Appends the next piece of at most `lines` lines of the text being put in.
  void fillLines(size_t lines);
  static void CALLBACK fillTimerTick(HWND control, UINT, UINT_PTR, DWORD);
  void applyRuns(LONG start, LONG length, const std::vector<ColouredRun>& runs) const;
  void setLineBackground(int line, bool marked) const;

  ui::WindowHandle editor_;
  const SyntaxHighlighter* highlighter_ = nullptr;
  bool notifying_ = true;
  std::vector<int> markedLines_;
  // The text being put in, its colours, and how much of it is in.
  std::string fillText_;
  std::vector<ColouredRun> fillRuns_;
  size_t fillOffset_ = 0;
};

}  // namespace veltrace::panes
