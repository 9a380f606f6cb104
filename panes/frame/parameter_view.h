#pragma once
// The view in the "Parameter" bar: field of view and clipping planes with
// up-down arrows, the three light colours with fields, sliders and swatches,
// and Reset View and Reset Light. It owns these values while the program
// runs; the preview reads them at every frame.

#include <windows.h>

#include <functional>

#include "app/veltrace_view.h"
#include "panes/frame/parameter_model.h"
#include "ui/dialog.h"
#include "ui/handles.h"

namespace veltrace::panes {

class CVeltraceViewParameter : public ui::Dialog {
 public:
  bool create(HWND parent, CVeltraceView& view);
  // Takes the preview's values and shows them.
  void initialUpdate();

  // What frame-move reads at every frame.
  render::PreviewParameters parameters() const { return model_.previewParameters(); }
  // Shows a new field of view (Reset View).
  void setFieldOfView(int degrees);
  // The mouse wheel over the preview.
  void wheelTurned(int wheelDelta);
  // After a frame: the preview's own reset ("R") shows its field of view.
  void followPreviewReset();

  ParameterModel& model() { return model_; }

  // Keys pressed in the pane go to the preview.
  std::function<void(UINT message, WPARAM key, LPARAM flags)> forwardKey;

 protected:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void showProjection();
  void showColours(bool fields, bool sliders);
  void paintSwatches(HDC dc);
  RECT swatchArea(int colour) const;
  void fieldChanged(int id);
  void sliderMoved();
  static LRESULT CALLBACK childProcedure(HWND child, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

  CVeltraceView* view_ = nullptr;
  ParameterModel model_;
  bool showing_ = false;  // text set by the pane itself is not an edit
  ui::BrushHandle swatchBrushes_[3];
};

}  // namespace veltrace::panes
