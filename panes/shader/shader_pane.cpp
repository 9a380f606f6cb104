#include "panes/shader/shader_pane.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "panes/shader/live_check_text.h"
#include "panes/shader/shader_keywords.h"
#include "panes/shader/shader_pane_rc.h"
#include "ui/file_dialog.h"

namespace veltrace::panes {

namespace {

constexpr UINT_PTR liveCheckTimer = 1;
constexpr UINT liveCheckPause = 500;  // milliseconds after the last keystroke
// Marking a line costs a format change in the control; a source full of
// errors marks its first lines only (the list below names them all).
constexpr size_t markedLineLimit = 20;

ShaderPaneEnvironment environmentOf(const ShaderPaneSettings& settings) {
  ShaderPaneEnvironment environment;
  environment.pixelShaderVersion = settings.pixelShaderVersion;
  environment.hardwareVertexShaders = settings.hardwareVertexShaders;
  static const shader::DiskIncludeReader diskFiles;
  environment.shaderFolder = settings.shaderFolder;
  environment.includeReader = &diskFiles;
  return environment;
}

RECT itemRect(HWND dialog, HWND item) {
  RECT rect{};
  GetWindowRect(item, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

ShaderPane::ShaderPane(ShaderPaneKind kind, Effect& effect, MessageLog& log, ShaderPaneSettings settings)
    : model_(kind, effect, log, environmentOf(settings)), settings_(std::move(settings)) {
  setUpShaderKeywords(highlighter_, kind, settings_.pixelShaderVersion);
}

bool ShaderPane::create(HWND owner) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return createModeless(shaderPaneDialog, owner);
}

void ShaderPane::show(const std::string& title) {
  SetWindowTextA(handle(), title.c_str());
  ShowWindow(handle(), SW_SHOW);
}

void ShaderPane::clearBoundRows(int registerNumber) {
  model_.binding().ClearBoundRows(registerNumber);
  showRows();
}

void ShaderPane::initialise() {
  RECT client{};
  GetClientRect(handle(), &client);
  resize_ = std::make_unique<PaneResize>(client.right, client.bottom);

  HWND splitterFrame = item(shaderSplitterFrame);
  RECT splitterRect = itemRect(handle(), splitterFrame);
  ShowWindow(splitterFrame, SW_HIDE);
  splitter_.create(handle(), splitterRect);
  splitter_.moved = [this](int distance) { splitterMoved(distance); };

  HWND list = item(shaderConstantsList);
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
  std::array<int, 6> widths = constantsColumnWidths(client.right);
  for (int column = 0; column < 6; ++column) {
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.pszText = const_cast<char*>(constantsColumnTitles[column]);
    header.cx = widths[static_cast<size_t>(column)];
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
  }
  SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  HWND editorFrame = item(shaderEditorFrame);
  RECT editorRect = itemRect(handle(), editorFrame);
  ShowWindow(editorFrame, SW_HIDE);
  editor_.create(handle(), editorRect, shaderSourceEditor, highlighter_);

  model_.initialise();
  showEditorTextIfReplaced();
  showStates();
}

void ShaderPane::showRows() {
  HWND list = item(shaderConstantsList);
  const std::vector<ConstantRow>& rows = model_.binding().rows();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  if (static_cast<size_t>(ListView_GetItemCount(list)) != rows.size()) {
    ListView_DeleteAllItems(list);
    for (size_t i = 0; i < rows.size(); ++i) {
      LVITEMA row{};
      row.mask = LVIF_TEXT;
      row.iItem = static_cast<int>(i);
      row.pszText = const_cast<char*>("");
      SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    }
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    const ConstantRow& row = rows[i];
    const std::string* cells[6] = {&row.label, &row.name, &row.values[0], &row.values[1], &row.values[2], &row.values[3]};
    for (int column = 0; column < 6; ++column) {
      LVITEMA cell{};
      cell.iSubItem = column;
      cell.pszText = const_cast<char*>(cells[column]->c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&cell));
    }
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void ShaderPane::showStates() {
  CheckDlgButton(handle(), shaderEnableBox, model_.enableBoxTicked() ? BST_CHECKED : BST_UNCHECKED);
  editor_.setEnabled(model_.editorEnabled());
  EnableWindow(item(shaderConstantsList), model_.constantsListEnabled());
  EnableWindow(item(shaderLoadButton), model_.loadButtonEnabled());
  showRows();
}

void ShaderPane::showEditorTextIfReplaced() {
  if (model_.editorTextVersion() == shownTextVersion_) return;
  shownTextVersion_ = model_.editorTextVersion();
  editor_.setTextColoured(model_.editorText());
  SetTimer(handle(), liveCheckTimer, liveCheckPause, nullptr);
}

void ShaderPane::checkNow() {
  KillTimer(handle(), liveCheckTimer);
  // The same preprocessing as Apply and the renderer's assembly, so that the
  // check never passes a source they refuse.
  shader::PreprocessOptions options = model_.preprocessOptions();
  shader::ShaderKind kind = model_.kind() == ShaderPaneKind::vertex ? shader::ShaderKind::vertex : shader::ShaderKind::pixel;
  std::string text = editor_.text();
  HWND errors = item(shaderCheckList);
  SendMessageA(errors, LB_RESETCONTENT, 0, 0);
  if (text.empty() || !model_.editorEnabled()) {
    setItemText(shaderBudgetText, "");
    editor_.markLines({});
    return;
  }
  shader::ShaderCheck check = shader::checkShaderSource(text, kind, options);
  std::vector<int> lines;
  for (const shader::CheckError& error : check.errors) {
    LRESULT index = SendMessageA(errors, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(checkErrorText(error).c_str()));
    SendMessageA(errors, LB_SETITEMDATA, static_cast<WPARAM>(index), error.line);
    if (lines.size() < markedLineLimit) lines.push_back(error.line);
  }
  std::string budget = check.budget ? budgetText(*check.budget) : "";
  if (itemText(shaderBudgetText) != budget) setItemText(shaderBudgetText, budget);
  editor_.markLines(lines);
}

bool ShaderPane::command(int id, int notification) {
  switch (id) {
    case shaderEnableBox:
      if (notification != BN_CLICKED) return false;
      takeEditorText();
      model_.enableToggled(IsDlgButtonChecked(handle(), shaderEnableBox) == BST_CHECKED);
      showEditorTextIfReplaced();
      showStates();
      return true;
    case shaderApplyButton:
      takeEditorText();
      model_.apply();
      return true;
    case IDOK:
      takeEditorText();
      model_.apply();
      ShowWindow(handle(), SW_HIDE);
      return true;
    case IDCANCEL:
      ShowWindow(handle(), SW_HIDE);
      return true;
    case shaderLoadButton:
      loadShaderFile();
      return true;
    case shaderHelpButton:
      if (settings_.showHelp) settings_.showHelp(handle(), shaderPaneTexts(model_.kind()).helpTopic);
      return true;
    case shaderVariableChooser:
      if (notification == CBN_CLOSEUP) chooserClosed();
      return notification == CBN_CLOSEUP;
    case shaderSourceEditor:
      if (notification == EN_CHANGE && editor_.notifying()) {
        editor_.colourCurrentLine();
        SetTimer(handle(), liveCheckTimer, liveCheckPause, nullptr);
      }
      return true;
    case shaderCheckList:
      if (notification == LBN_SELCHANGE) {
        HWND errors = item(shaderCheckList);
        LRESULT selected = SendMessageA(errors, LB_GETCURSEL, 0, 0);
        if (selected != LB_ERR)
          editor_.moveCaretToLine(static_cast<int>(SendMessageA(errors, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0)));
      }
      return true;
    case shaderEditUndo:
    case shaderEditCut:
    case shaderEditCopy:
    case shaderEditPaste:
      editor_.editCommand(id);
      return true;
    default:
      return false;
  }
}

void ShaderPane::loadShaderFile() {
  const ShaderPaneTexts& texts = shaderPaneTexts(model_.kind());
  std::optional<std::string> chosen =
      ui::chooseFile({handle(), texts.fileFilter, settings_.shaderFolder, texts.defaultExtension, false});
  takeEditorText();
  model_.loadShaderFile(chosen);
  showEditorTextIfReplaced();
  showRows();
}

void ShaderPane::listClicked(const NMITEMACTIVATE& click) {
  HWND list = item(shaderConstantsList);
  LVHITTESTINFO hit{};
  hit.pt = click.ptAction;
  if (SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || hit.iItem < 0) return;
  if (!model_.binding().ShowVariableChooser(hit.iItem, hit.iSubItem)) return;
  HWND chooser = item(shaderVariableChooser);
  SendMessageA(chooser, CB_RESETCONTENT, 0, 0);
  for (const ChooserEntry& entry : model_.binding().chooserEntries())
    SendMessageA(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text.c_str()));
  // Over the Name cell: one pixel narrower and four pixels less high.
  RECT cell{};
  cell.top = hit.iSubItem;
  cell.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(hit.iItem), reinterpret_cast<LPARAM>(&cell));
  MapWindowPoints(list, handle(), reinterpret_cast<POINT*>(&cell), 2);
  int dropHeight = 160;
  SetWindowPos(chooser, HWND_TOP, cell.left, cell.top, cell.right - cell.left - 1, dropHeight, SWP_SHOWWINDOW);
  SendMessageA(chooser, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), cell.bottom - cell.top - 4 - 2);
  SetFocus(chooser);
  SendMessageA(chooser, CB_SHOWDROPDOWN, TRUE, 0);
}

void ShaderPane::chooserClosed() {
  HWND chooser = item(shaderVariableChooser);
  LRESULT selected = SendMessageA(chooser, CB_GETCURSEL, 0, 0);
  ShowWindow(chooser, SW_HIDE);
  std::optional<std::size_t> entry;
  if (selected != CB_ERR) entry = static_cast<std::size_t>(selected);
  model_.binding().ApplyVariableChoice(entry);
  showRows();
}

bool ShaderPane::notify(const NMHDR& header) {
  if (header.idFrom == shaderConstantsList && (header.code == NM_CLICK || header.code == NM_RCLICK)) {
    listClicked(reinterpret_cast<const NMITEMACTIVATE&>(header));
    return true;
  }
  if (header.idFrom == shaderSourceEditor && header.code == EN_MSGFILTER) {
    bool eaten = editor_.keyEvent(reinterpret_cast<const MSGFILTER&>(header));
    SetWindowLongPtrA(handle(), DWLP_MSGRESULT, eaten ? 1 : 0);
    return true;
  }
  return false;
}

void ShaderPane::moveItem(HWND control, int dx, int dy, int growWidth, int growHeight) const {
  if (!control) return;
  RECT rect = itemRect(handle(), control);
  MoveWindow(control, rect.left + dx, rect.top + dy, rect.right - rect.left + growWidth,
             rect.bottom - rect.top + growHeight, TRUE);
}

void ShaderPane::resize(int width, int height) {
  if (!resize_) return;
  auto change = resize_->resized(width, height);
  if (!change) return;
  int dx = change->dx;
  int dy = change->dy;
  moveItem(item(shaderConstantsList), 0, 0, dx, 0);
  moveItem(splitter_.handle(), 0, 0, dx, 0);
  moveItem(editor_.handle(), 0, 0, dx, dy);
  moveItem(item(shaderCheckList), 0, dy, dx, 0);
  moveItem(item(shaderBudgetText), 0, dy, dx, 0);
  moveItem(item(IDOK), 0, dy, 0, 0);
  moveItem(item(shaderApplyButton), 0, dy, 0, 0);
  moveItem(item(shaderLoadButton), 0, dy, 0, 0);
  moveItem(item(shaderHelpButton), dx, dy, 0, 0);
  InvalidateRect(handle(), nullptr, TRUE);
}

void ShaderPane::splitterMoved(int distance) {
  moveItem(item(shaderConstantsList), 0, 0, 0, distance);
  moveItem(splitter_.handle(), 0, distance, 0, 0);
  moveItem(editor_.handle(), 0, distance, 0, -distance);
  InvalidateRect(handle(), nullptr, TRUE);
}

INT_PTR ShaderPane::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      initialise();
      return TRUE;
    case WM_SHOWWINDOW:
      // Every show and every hide reloads the stored source.
      takeEditorText();
      model_.showOrHide();
      showEditorTextIfReplaced();
      showStates();
      return FALSE;
    case WM_COMMAND:
      return command(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY:
      return notify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == editor_.handle()) {
        editor_.showEditMenu(handle(), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return TRUE;
      }
      return FALSE;
    case WM_TIMER:
      if (wParam != liveCheckTimer) return FALSE;
      checkNow();
      return TRUE;
    case WM_SIZE:
      resize(LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_CLOSE:
      ShowWindow(handle(), SW_HIDE);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace veltrace::panes
