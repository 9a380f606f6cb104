#include "panes/shader/shader_source_editor.h"

#include <richedit.h>

#include "panes/shader/rich_text_runs.h"
#include "panes/shader/shader_pane_rc.h"
#include "ui/window.h"

namespace veltrace::panes {

namespace {

constexpr LONG fontTwips = 200;  // 10 points
constexpr COLORREF markedLineBackground = RGB(255, 220, 220);
constexpr DWORD userEvents = ENM_CHANGE | ENM_KEYEVENTS;
// Colouring steps passed over by one Undo command at most.
constexpr int undoStepLimit = 1000;

CHARFORMAT2A defaultFormat() {
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR |
                  CFM_CHARSET | CFM_OFFSET | CFM_BACKCOLOR;
  format.dwEffects = CFE_AUTOBACKCOLOR;
  format.yHeight = fontTwips;
  format.crTextColor = RGB(0, 0, 0);
  format.bCharSet = ANSI_CHARSET;
  format.bPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpynA(format.szFaceName, "Courier New", LF_FACESIZE);
  return format;
}

}  // namespace

class ShaderSourceEditor::QuietScope {
 public:
  explicit QuietScope(ShaderSourceEditor& editor) : editor_(editor) {
    editor_.notifying_ = false;
    events_ = static_cast<DWORD>(SendMessageA(editor_.handle(), EM_SETEVENTMASK, 0, 0));
    SendMessageA(editor_.handle(), WM_SETREDRAW, FALSE, 0);
  }
  ~QuietScope() {
    SendMessageA(editor_.handle(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(editor_.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    SendMessageA(editor_.handle(), EM_SETEVENTMASK, 0, events_);
    editor_.notifying_ = true;
  }
  QuietScope(const QuietScope&) = delete;
  QuietScope& operator=(const QuietScope&) = delete;

 private:
  ShaderSourceEditor& editor_;
  DWORD events_ = 0;
};

bool ShaderSourceEditor::create(HWND parent, const RECT& bounds, int id, const SyntaxHighlighter& highlighter) {
  highlighter_ = &highlighter;
  LoadLibraryA("riched20.dll");  // registers RichEdit20A; stays loaded for the process
  DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
  editor_.reset(CreateWindowExA(0, "RichEdit20A", "", style, bounds.left, bounds.top, bounds.right - bounds.left,
                                bounds.bottom - bounds.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ui::programInstance(), nullptr));
  if (!editor_) return false;
  // Sources of a megabyte and more load whole.
  SendMessageA(handle(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  CHARFORMAT2A format = defaultFormat();
  SendMessageA(handle(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  SendMessageA(handle(), EM_SETEVENTMASK, 0, userEvents);
  return true;
}

std::string ShaderSourceEditor::text() const {
  // WM_GETTEXT gives the paragraphs with CR LF, the last line break included.
  int length = GetWindowTextLengthA(handle());
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(handle(), text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void ShaderSourceEditor::setTextColoured(const std::string& text) {
  markedLines_.clear();
  {
    QuietScope quiet(*this);
    std::string rtf = richTextOf(text, highlighter_->ColourRange(text).runs);
    SETTEXTEX how{ST_DEFAULT, CP_ACP};
    SendMessageA(handle(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(rtf.c_str()));
    CHARRANGE start{0, 0};
    SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    // A loaded text is where undoing stops.
    SendMessageA(handle(), EM_EMPTYUNDOBUFFER, 0, 0);
  }
}

void ShaderSourceEditor::applyRuns(LONG start, LONG length, const std::vector<ColouredRun>& runs) const {
  CHARRANGE range{start, start + length};
  SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARFORMAT2A format = defaultFormat();
  SendMessageA(handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  for (const ColouredRun& run : runs) {
    CHARRANGE runRange{start + static_cast<LONG>(run.offset), start + static_cast<LONG>(run.offset + run.length)};
    SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&runRange));
    CHARFORMAT2A colour{};
    colour.cbSize = sizeof colour;
    colour.dwMask = CFM_COLOR;
    colour.crTextColor = RGB(run.colour.red, run.colour.green, run.colour.blue);
    SendMessageA(handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&colour));
  }
}

void ShaderSourceEditor::colourCurrentLine() {
  CHARRANGE selection{};
  SendMessageA(handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  QuietScope quiet(*this);
  LONG line = static_cast<LONG>(SendMessageA(handle(), EM_EXLINEFROMCHAR, 0, selection.cpMin));
  LONG start = static_cast<LONG>(SendMessageA(handle(), EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  LONG length = static_cast<LONG>(SendMessageA(handle(), EM_LINELENGTH, static_cast<WPARAM>(start), 0));
  std::string lineText(static_cast<size_t>(length) + 1, '\0');
  TEXTRANGEA range{{start, start + length}, lineText.data()};
  LRESULT copied = SendMessageA(handle(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  lineText.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  applyRuns(start, static_cast<LONG>(lineText.size()), highlighter_->ColourRange(lineText).runs);
  SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
}

bool ShaderSourceEditor::keyEvent(const MSGFILTER& filter) {
  // Ctrl+Z takes back an edit as the menu's Undo does; the control's own
  // undo would take back a colouring step only.
  constexpr WPARAM controlZ = 0x1A;
  bool control = GetKeyState(VK_CONTROL) < 0;
  if (filter.msg == WM_KEYDOWN && filter.wParam == 'Z' && control) {
    editCommand(shaderEditUndo);
    return true;
  }
  if (filter.msg == WM_CHAR && filter.wParam == controlZ) return true;
  bool tab = filter.wParam == VK_TAB && (filter.msg == WM_KEYDOWN || filter.msg == WM_CHAR);
  if (!tab) return false;
  if (filter.msg == WM_KEYDOWN) {
    CHARRANGE selection{};
    SendMessageA(handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    CHARRANGE caret{selection.cpMin, selection.cpMin};
    SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    SendMessageA(handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\t"));
  }
  // The character message that follows the key would insert a second tab.
  return true;
}

void ShaderSourceEditor::showEditMenu(HWND owner, POINT screen) const {
  ui::MenuHandle menu(CreatePopupMenu());
  AppendMenuA(menu.get(), MF_STRING, shaderEditUndo, "Undo/Redo");
  AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.get(), MF_STRING, shaderEditCut, "Cut");
  AppendMenuA(menu.get(), MF_STRING, shaderEditCopy, "Copy");
  AppendMenuA(menu.get(), MF_STRING, shaderEditPaste, "Paste");
  TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
}

void ShaderSourceEditor::editCommand(int id) {
  switch (id) {
    case shaderEditUndo: {
      // The control records every colouring as a step of its own; undo
      // until the text itself changes, so that one command takes back one
      // edit of the user's.
      // Change notifications stay off meanwhile: the recolouring they start
      // would add steps faster than they are undone.
      std::string before = text();
      DWORD events = static_cast<DWORD>(SendMessageA(handle(), EM_SETEVENTMASK, 0, 0));
      for (int step = 0; step < undoStepLimit && SendMessageA(handle(), EM_CANUNDO, 0, 0); ++step) {
        SendMessageA(handle(), EM_UNDO, 0, 0);
        if (text() != before) break;
      }
      SendMessageA(handle(), EM_SETEVENTMASK, 0, events);
      colourCurrentLine();
      break;
    }
    case shaderEditCut: SendMessageA(handle(), WM_CUT, 0, 0); break;
    case shaderEditCopy: SendMessageA(handle(), WM_COPY, 0, 0); break;
    case shaderEditPaste:
      if (SendMessageA(handle(), EM_CANPASTE, 0, 0)) SendMessageA(handle(), WM_PASTE, 0, 0);
      break;
    default: break;
  }
}

void ShaderSourceEditor::setLineBackground(int line, bool marked) const {
  LONG start = static_cast<LONG>(SendMessageA(handle(), EM_LINEINDEX, static_cast<WPARAM>(line - 1), 0));
  if (start < 0) return;
  LONG length = static_cast<LONG>(SendMessageA(handle(), EM_LINELENGTH, static_cast<WPARAM>(start), 0));
  CHARRANGE range{start, start + length};
  SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BACKCOLOR;
  format.dwEffects = marked ? 0 : CFE_AUTOBACKCOLOR;
  format.crBackColor = markedLineBackground;
  SendMessageA(handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void ShaderSourceEditor::markLines(const std::vector<int>& lines) {
  if (lines == markedLines_) return;  // nothing to redraw
  CHARRANGE selection{};
  SendMessageA(handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  QuietScope quiet(*this);
  for (int line : markedLines_) setLineBackground(line, false);
  markedLines_ = lines;
  for (int line : markedLines_) setLineBackground(line, true);
  SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
}

void ShaderSourceEditor::moveCaretToLine(int line) const {
  LONG start = static_cast<LONG>(SendMessageA(handle(), EM_LINEINDEX, static_cast<WPARAM>(line > 0 ? line - 1 : 0), 0));
  if (start < 0) return;
  CHARRANGE caret{start, start};
  SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  SendMessageA(handle(), EM_SCROLLCARET, 0, 0);
  SetFocus(handle());
}

}  // namespace veltrace::panes
