#include "panes/states/variable_editor_window.h"

#include <commctrl.h>

#include "panes/states/state_panes_rc.h"
#include "ui/handles.h"

namespace veltrace {

namespace {

std::unique_ptr<VariableEditor> editorFor(VariableKind kind) {
  switch (kind) {
    case VariableKind::matrix: return std::make_unique<MatrixEditor>();
    case VariableKind::color: return std::make_unique<ColourEditor>();
    case VariableKind::vector: break;
  }
  return std::make_unique<VectorEditor>();
}

int templateFor(VariableKind kind) {
  switch (kind) {
    case VariableKind::matrix: return matrixEditorDialog;
    case VariableKind::color: return colourEditorDialog;
    case VariableKind::vector: break;
  }
  return vectorEditorDialog;
}

}  // namespace

VariableEditorWindow::VariableEditorWindow(VariableKind kind, std::function<EffectVariable*()> variable)
    : model_(editorFor(kind)), variable_(std::move(variable)) {}

bool VariableEditorWindow::create(HWND owner) { return createModeless(templateFor(model_->kind()), owner); }

HWND VariableEditorWindow::valueField(int index) const { return item(variableFirstValueField + index); }
HWND VariableEditorWindow::slider(int index) const { return item(variableFirstSlider + index); }

void VariableEditorWindow::show(const std::string& title) {
  SetWindowTextA(handle(), title.c_str());
  model_->attach(variable_ ? variable_() : nullptr);
  model_->show();
  showModel();
  Dialog::show();
}

void VariableEditorWindow::showText(int id, const std::string& text) {
  if (itemText(id) != text) setItemText(id, text);
}

void VariableEditorWindow::showModel() {
  const VariableEditor& model = *model_;
  CheckDlgButton(handle(), variablePredefinedBox, model.predefinedTicked() ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(item(variablePredefinedList), model.listEnabled());
  SendMessageA(item(variablePredefinedList), CB_SETCURSEL, static_cast<WPARAM>(model.listSelection()), 0);
  EnableWindow(item(variableNameField), model.nameEnabled());
  showText(variableNameField, model.nameText());
  for (int field = 0; field < model.traits().fieldCount; ++field) {
    EnableWindow(valueField(field), model.valuesEnabled());
    showText(variableFirstValueField + field, model.fieldTexts()[static_cast<size_t>(field)]);
  }
  if (const ColourEditor* colour = colourEditor()) {
    for (int component = 0; component < 4; ++component) {
      EnableWindow(slider(component), colour->slidersEnabled());
      SendMessageA(slider(component), TBM_SETPOS, TRUE, colour->sliderPositions()[static_cast<size_t>(component)]);
    }
    const RECT swatch = swatchRect();
    InvalidateRect(handle(), &swatch, TRUE);
  }
}

RECT VariableEditorWindow::swatchRect() const {
  RECT frame{};
  GetWindowRect(item(variableSwatchFrame), &frame);
  MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&frame), 2);
  const ColourEditor::Rect inner = ColourEditor::swatchRect({frame.left, frame.top, frame.right, frame.bottom});
  return {inner.left, inner.top, inner.right, inner.bottom};
}

void VariableEditorWindow::paintSwatch() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle(), &paint);
  if (const ColourEditor* colour = colourEditor()) {
    const auto rgb = colour->swatchColour();
    const RECT swatch = swatchRect();
    ui::BrushHandle brush(CreateSolidBrush(RGB(rgb[0], rgb[1], rgb[2])));
    FillRect(dc, &swatch, brush.get());
  }
  EndPaint(handle(), &paint);
}

bool VariableEditorWindow::command(int id, int notification) {
  VariableEditor& model = *model_;
  if (id >= variableFirstValueField && id < variableFirstValueField + model.traits().fieldCount) {
    if (notification == EN_SETFOCUS) model.valueFieldFocusGained();
    if (notification == EN_KILLFOCUS) model.valueFieldFocusLost();
    if (notification == EN_CHANGE) {
      model.valueFieldTextChanged(id - variableFirstValueField, itemText(id));
      if (model.editing()) showModel();
    }
    return true;
  }
  switch (id) {
    case variablePredefinedBox:
      if (notification != BN_CLICKED) return false;
      model.predefinedBoxClicked(IsDlgButtonChecked(handle(), variablePredefinedBox) == BST_CHECKED);
      showModel();
      return true;
    case variablePredefinedList:
      if (notification != CBN_SELCHANGE) return false;
      model.predefinedSelectionChanged(static_cast<int>(SendMessageA(item(id), CB_GETCURSEL, 0, 0)));
      showModel();
      return true;
    case variableNameField:
      if (notification == EN_CHANGE) model.nameFieldTextChanged(itemText(id));
      return true;
    case IDOK:
      model.attach(variable_ ? variable_() : nullptr);
      model.ok();
      hide();
      return true;
    case IDCANCEL:
      model.cancel();
      hide();
      return true;
    case variableHelpButton:
      if (openHelp) openHelp(model.traits().helpTopic.data());
      return true;
  }
  return false;
}

INT_PTR VariableEditorWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      for (const PredefinedChoice& choice : predefinedChoices(model_->kind())) {
        const std::string text(choice.displayName);
        SendMessageA(item(variablePredefinedList), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      }
      for (int component = 0; component < 4 && colourEditor(); ++component) {
        SendMessageA(slider(component), TBM_SETRANGE, TRUE, MAKELPARAM(0, ColourEditor::sliderMaximum));
        SendMessageA(slider(component), TBM_SETPAGESIZE, 0, ColourEditor::sliderPageStep);
      }
      return TRUE;
    case WM_COMMAND:
      return command(LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL: {
      ColourEditor* colour = colourEditor();
      if (!colour) return FALSE;
      for (int component = 0; component < 4; ++component)
        if (reinterpret_cast<HWND>(lParam) == slider(component)) {
          colour->sliderMoved(component, static_cast<int>(SendMessageA(slider(component), TBM_GETPOS, 0, 0)));
          showModel();
          return TRUE;
        }
      return FALSE;
    }
    case WM_PAINT:
      if (!colourEditor()) return FALSE;
      paintSwatch();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace veltrace
