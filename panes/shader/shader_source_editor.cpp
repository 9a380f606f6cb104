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
// A long text goes in by pieces: the first a screenful and more, the others
// one per timer tick. Each piece of this size costs the control some tens
// of milliseconds, so that keys typed meanwhile are never held up for long.
constexpr size_t firstFillLines = 120;
constexpr size_t fillStepLines = 250;
constexpr UINT_PTR fillTimer = 1;

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
  editor_.reset(makeControl(parent, bounds, id));
  return static_cast<bool>(editor_);
}

HWND ShaderSourceEditor::makeControl(HWND parent, const RECT& bounds, int id) const {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
  HWND control = CreateWindowExA(0, "RichEdit20A", "", style, bounds.left, bounds.top, bounds.right - bounds.left,
                                 bounds.bottom - bounds.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ui::programInstance(), nullptr);
  if (!control) return nullptr;
  // The fill timer finds its editor here.
  SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // Sources of a megabyte and more load whole.
  SendMessageA(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  CHARFORMAT2A format = defaultFormat();
  SendMessageA(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  SendMessageA(control, EM_SETEVENTMASK, 0, userEvents);
  return control;
}

// A new, empty control in the old one's place, tab order, state and focus.
void ShaderSourceEditor::replaceControl() {
  HWND old = handle();
  HWND parent = GetParent(old);
  RECT bounds{};
  GetWindowRect(old, &bounds);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  HWND control = makeControl(parent, bounds, GetDlgCtrlID(old));
  if (!control) return;  // keep the old one; the text then replaces its text
  SetWindowPos(control, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EnableWindow(control, IsWindowEnabled(old));
  bool focused = GetFocus() == old;
  KillTimer(old, fillTimer);
  editor_.reset(control);  // destroys the old control
  if (focused) SetFocus(control);
}

std::string ShaderSourceEditor::text() const {
  // WM_GETTEXT gives the paragraphs with CR LF, the last line break included.
  int length = GetWindowTextLengthA(handle());
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(handle(), text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  if (filling()) text.append(fillText_, fillOffset_, std::string::npos);
  return text;
}

void ShaderSourceEditor::setTextColoured(const std::string& text) {
  markedLines_.clear();
  KillTimer(handle(), fillTimer);
  // A control holding a long text is replaced by an empty one rather than
  // emptied: emptying takes it about a second for 2,000 lines.
  if (SendMessageA(handle(), EM_GETLINECOUNT, 0, 0) > static_cast<LRESULT>(firstFillLines)) replaceControl();
  fillText_ = text;
  fillRuns_ = highlighter_->ColourRange(text).runs;
  fillOffset_ = endOfLines(text, 0, firstFillLines);
  {
    QuietScope quiet(*this);
    std::string rtf = richTextOf(std::string_view(text).substr(0, fillOffset_), runsWithin(fillRuns_, 0, fillOffset_));
    SETTEXTEX how{ST_DEFAULT, CP_ACP};
    SendMessageA(handle(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(rtf.c_str()));
    CHARRANGE start{0, 0};
    SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    // A loaded text is where undoing stops.
    SendMessageA(handle(), EM_EMPTYUNDOBUFFER, 0, 0);
  }
  if (filling()) SetTimer(handle(), fillTimer, 0, fillTimerTick);
}

void ShaderSourceEditor::fillLines(size_t lines) {
  size_t end = endOfLines(fillText_, fillOffset_, lines);
  std::string rtf = richTextOf(std::string_view(fillText_).substr(fillOffset_, end - fillOffset_),
                               runsWithin(fillRuns_, fillOffset_, end), RichTextUse::atSelection);
  fillOffset_ = end;
  // The piece goes after the text that is in; the user's selection and
  // scroll position stay where they are.
  CHARRANGE selection{};
  SendMessageA(handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  POINT scroll{};
  SendMessageA(handle(), EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
  QuietScope quiet(*this);
  GETTEXTLENGTHEX length{GTL_NUMCHARS, CP_ACP};
  LONG textEnd = static_cast<LONG>(SendMessageA(handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
  CHARRANGE atEnd{textEnd, textEnd};
  SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&atEnd));
  SETTEXTEX how{ST_SELECTION, CP_ACP};
  SendMessageA(handle(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(rtf.c_str()));
  SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  SendMessageA(handle(), EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
  // Putting the text in is no step the user could undo.
  SendMessageA(handle(), EM_EMPTYUNDOBUFFER, 0, 0);
  if (!filling()) {
    KillTimer(handle(), fillTimer);
    fillText_.clear();
    fillRuns_.clear();
    fillOffset_ = 0;
  }
}

void CALLBACK ShaderSourceEditor::fillTimerTick(HWND control, UINT, UINT_PTR, DWORD) {
  auto* editor = reinterpret_cast<ShaderSourceEditor*>(GetWindowLongPtrA(control, GWLP_USERDATA));
  if (editor && editor->handle() == control && editor->filling()) editor->fillLines(fillStepLines);
  else KillTimer(control, fillTimer);
}

void ShaderSourceEditor::finishFill() {
  while (filling()) fillLines(fillStepLines);
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
  if (!lines.empty()) finishFill();  // the marked lines may not be in yet
  CHARRANGE selection{};
  SendMessageA(handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  QuietScope quiet(*this);
  for (int line : markedLines_) setLineBackground(line, false);
  markedLines_ = lines;
  for (int line : markedLines_) setLineBackground(line, true);
  SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
}

void ShaderSourceEditor::moveCaretToLine(int line) {
  finishFill();
  LONG start = static_cast<LONG>(SendMessageA(handle(), EM_LINEINDEX, static_cast<WPARAM>(line > 0 ? line - 1 : 0), 0));
  if (start < 0) return;
  CHARRANGE caret{start, start};
  SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  SendMessageA(handle(), EM_SCROLLCARET, 0, 0);
  SetFocus(handle());
}

}  // namespace veltrace::panes
