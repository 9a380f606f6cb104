#include "panes/frame/parameter_view.h"

#include <commctrl.h>

#include <vector>

#include "panes/frame/parameter_view_rc.h"

namespace veltrace::panes {

namespace {

struct ProjectionControls {
  ProjectionField field;
  int textField, arrows;
};
constexpr ProjectionControls projectionControls[] = {
    {ProjectionField::fieldOfView, parameterFovField, parameterFovArrows},
    {ProjectionField::nearClip, parameterNearField, parameterNearArrows},
    {ProjectionField::farClip, parameterFarField, parameterFarArrows},
};

int colourFieldId(int colour, int component) { return parameterFirstColourField + colour * 3 + component; }
int colourSliderId(int colour, int component) { return parameterFirstColourSlider + colour * 3 + component; }

bool isColourField(int id) { return id >= parameterFirstColourField && id < parameterFirstColourField + 9; }

const ProjectionControls* projectionOf(int textFieldId) {
  for (const ProjectionControls& controls : projectionControls) {
    if (controls.textField == textFieldId) return &controls;
  }
  return nullptr;
}

}  // namespace

bool CVeltraceViewParameter::create(HWND parent, CVeltraceView& view) {
  view_ = &view;
  if (!createModeless(parameterDialog, parent)) return false;
  // Keys typed into the pane's controls also reach the preview.
  for (HWND child = GetWindow(handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SetWindowSubclass(child, childProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
  show();
  return true;
}

void CVeltraceViewParameter::initialUpdate() {
  for (int colour = 0; colour < lightColourCount; ++colour) {
    for (int component = 0; component < colourComponentCount; ++component) {
      HWND slider = item(colourSliderId(colour, component));
      SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(colourSliderRange.lowest, colourSliderRange.highest));
      SendMessageA(slider, TBM_SETPAGESIZE, 0, colourSliderPageStep);
    }
  }
  for (const ProjectionControls& controls : projectionControls) {
    ValueRange range = arrowRange(controls.field);
    SendMessageA(item(controls.arrows), UDM_SETRANGE32, range.lowest, range.highest);
  }
  if (view_) model_.takeFromPreview(view_->preview);
  showProjection();
  showColours(true, true);
}

void CVeltraceViewParameter::setFieldOfView(int degrees) {
  model_.setFieldOfView(degrees);
  showProjection();
}

void CVeltraceViewParameter::wheelTurned(int wheelDelta) {
  if (model_.wheelTurned(wheelDelta)) showProjection();
}

void CVeltraceViewParameter::followPreviewReset() {
  if (view_ && model_.followPreviewReset(view_->preview)) showProjection();
}

void CVeltraceViewParameter::showProjection() {
  // Text the pane sets is not an edit of the user.
  bool editing = model_.projectionEditing();
  model_.setProjectionEditing(false);
  for (const ProjectionControls& controls : projectionControls) {
    setItemText(controls.textField, model_.projectionText(controls.field));
    SendMessageA(item(controls.arrows), UDM_SETPOS32, 0, model_.projection(controls.field));
  }
  model_.setProjectionEditing(editing);
}

void CVeltraceViewParameter::showColours(bool fields, bool sliders) {
  bool editing = model_.colourEditing();
  model_.setColourEditing(false);
  for (int colour = 0; colour < lightColourCount; ++colour) {
    for (int component = 0; component < colourComponentCount; ++component) {
      auto which = static_cast<LightColour>(colour);
      auto part = static_cast<ColourComponent>(component);
      if (fields) setItemText(colourFieldId(colour, component), model_.colourText(which, part));
      if (sliders)
        SendMessageA(item(colourSliderId(colour, component)), TBM_SETPOS, TRUE, model_.sliderPosition(which, part));
    }
  }
  model_.setColourEditing(editing);
  for (int colour = 0; colour < lightColourCount; ++colour) {
    RECT swatch = swatchArea(colour);
    InvalidateRect(handle(), &swatch, FALSE);
  }
}

RECT CVeltraceViewParameter::swatchArea(int colour) const {
  RECT frame{};
  HWND control = item(parameterFirstSwatch + colour);
  if (!control) return frame;
  GetWindowRect(control, &frame);
  MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&frame), 2);
  PixelRect inner = swatchRect({frame.left, frame.top, frame.right, frame.bottom});
  return {inner.left, inner.top, inner.right, inner.bottom};
}

void CVeltraceViewParameter::paintSwatches(HDC dc) {
  for (int colour = 0; colour < lightColourCount; ++colour) {
    SwatchColour fill = model_.swatchColour(static_cast<LightColour>(colour));
    swatchBrushes_[colour].reset(CreateSolidBrush(RGB(fill.red, fill.green, fill.blue)));
    RECT area = swatchArea(colour);
    FillRect(dc, &area, swatchBrushes_[colour].get());
  }
}

void CVeltraceViewParameter::fieldChanged(int id) {
  if (isColourField(id)) {
    int index = id - parameterFirstColourField;
    if (model_.colourTextChanged(static_cast<LightColour>(index / 3), static_cast<ColourComponent>(index % 3),
                                 itemText(id)))
      showColours(false, true);
  } else if (const ProjectionControls* controls = projectionOf(id)) {
    model_.projectionTextChanged(controls->field, itemText(id));
  }
}

void CVeltraceViewParameter::sliderMoved() {
  ColourGrid positions{};
  for (int colour = 0; colour < lightColourCount; ++colour) {
    for (int component = 0; component < colourComponentCount; ++component) {
      positions[colour][component] =
          static_cast<int>(SendMessageA(item(colourSliderId(colour, component)), TBM_GETPOS, 0, 0));
    }
  }
  model_.slidersMoved(positions);
  showColours(true, false);
}

INT_PTR CVeltraceViewParameter::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      int code = HIWORD(wParam);
      if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
        bool on = code == EN_SETFOCUS;
        if (isColourField(id)) model_.setColourEditing(on);
        if (projectionOf(id)) model_.setProjectionEditing(on);
        return TRUE;
      }
      if (code == EN_CHANGE) {
        fieldChanged(id);
        return TRUE;
      }
      if (code == BN_CLICKED && view_) {
        if (id == parameterResetView) {
          model_.resetView(view_->preview);
          showProjection();
        } else if (id == parameterResetLight) {
          model_.resetLight(view_->preview);
        }
        return TRUE;
      }
      break;
    }
    case WM_HSCROLL:
      if (lParam) sliderMoved();
      return TRUE;
    case WM_PAINT: {
      ui::PaintScope paint(handle());
      paintSwatches(paint.dc());
      return TRUE;
    }
  }
  return FALSE;
}

LRESULT CALLBACK CVeltraceViewParameter::childProcedure(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                                                        UINT_PTR, DWORD_PTR self) {
  auto* pane = reinterpret_cast<CVeltraceViewParameter*>(self);
  if ((message == WM_KEYDOWN || message == WM_KEYUP) && pane->forwardKey) pane->forwardKey(message, wParam, lParam);
  return DefSubclassProc(child, message, wParam, lParam);
}

}  // namespace veltrace::panes
