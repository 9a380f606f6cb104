#pragma once
// What the Parameter bar holds: the preview's field of view and clipping
// planes, and the ambient, diffuse and specular colour of the preview light,
// all as the whole numbers shown in the bar's fields. The bar owns these
// values while the program runs; the preview's frame-move reads them at
// every frame. Portable: the dialog only maps the model to its fields,
// arrows, sliders and swatches.

#include <array>
#include <string>
#include <string_view>

#include "render/preview/frame_move.h"
#include "render/preview/preview_state.h"

namespace veltrace::panes {

enum class ProjectionField { fieldOfView, nearClip, farClip };
enum class LightColour { ambient, diffuse, specular };
enum class ColourComponent { red, green, blue };

inline constexpr int projectionFieldCount = 3;
inline constexpr int lightColourCount = 3;
inline constexpr int colourComponentCount = 3;

struct ValueRange {
  int lowest;
  int highest;
};

// The up-down arrows of the projection fields and the colour sliders. The
// fields themselves take any whole number.
ValueRange arrowRange(ProjectionField field);
inline constexpr ValueRange colourSliderRange{0, 255};
inline constexpr int colourSliderPageStep = 10;

// The field of view "Reset View" shows.
inline constexpr int resetFieldOfViewDegrees = 50;

// One wheel notch (WHEEL_DELTA) narrows or widens the field of view by this
// many degrees, within the fields of view the preview can show.
inline constexpr int wheelNotch = 120;
inline constexpr int fieldOfViewDegreesPerNotch = 2;
inline constexpr ValueRange wheelFieldOfViewRange{1, 179};

// [colour][component], in the order ambient, diffuse, specular and red,
// green, blue.
using ColourGrid = std::array<std::array<int, colourComponentCount>, lightColourCount>;

struct SwatchColour {
  int red, green, blue;  // 0 to 255 each
  bool operator==(const SwatchColour&) const = default;
};

struct PixelRect {
  int left, top, right, bottom;
  bool operator==(const PixelRect&) const = default;
};

// A colour's swatch: its frame shrunk by 4 pixels on every side (a frame too
// small for that gives an empty rectangle at its centre, never an inverted
// one).
PixelRect swatchRect(PixelRect frame);

class ParameterModel {
 public:
  // Starts with the preview's defaults, so a frame drawn before the initial
  // update keeps the usual light and projection.
  ParameterModel();

  // Initial update: the preview's projection truncated to whole numbers and
  // its light colours times 255, truncated.
  void takeFromPreview(const render::PreviewState& preview);

  int projection(ProjectionField field) const;
  int colour(LightColour colour, ColourComponent component) const;
  const ColourGrid& colours() const { return colours_; }

  // Texts of the fields: "%d" for the projection, "%i" for the colours.
  std::string projectionText(ProjectionField field) const;
  std::string colourText(LightColour colour, ColourComponent component) const;

  // Where a colour's slider stands: its value, or the end of the slider's
  // range for a value beyond it (300 shows as 255).
  int sliderPosition(LightColour colour, ColourComponent component) const;
  ColourGrid sliderPositions() const;

  // The colour a swatch is filled with; components beyond 0..255 are shown
  // at the end of that range.
  SwatchColour swatchColour(LightColour colour) const;

  // The editing switches: each on only while one of its fields has the
  // keyboard focus, so that text the pane sets itself is not read back.
  void setColourEditing(bool on) { colourEditing_ = on; }
  void setProjectionEditing(bool on) { projectionEditing_ = on; }
  bool colourEditing() const { return colourEditing_; }
  bool projectionEditing() const { return projectionEditing_; }

  // A field's text changed. While its switch is on the value is read from
  // the text as a whole number (text that is not a number reads as 0; no
  // clamping) and true is returned: the colour's sliders and swatches, or
  // nothing more for the projection, are to be shown again. While the switch
  // is off nothing changes and false is returned.
  bool colourTextChanged(LightColour colour, ColourComponent component, std::string_view text);
  bool projectionTextChanged(ProjectionField field, std::string_view text);

  // A slider moved: every colour component takes the position of its
  // slider, as the pane reads all nine; the fields then show the values.
  void slidersMoved(const ColourGrid& positions);

  // Reset View, the preview's reset key and the mouse wheel: a new field of
  // view, shown in its field and arrows.
  void setFieldOfView(int degrees);

  // The mouse wheel over the preview: turned away from the user narrows the
  // field of view, towards the user widens it. Parts of a notch add up.
  // Returns whether the field of view changed.
  bool wheelTurned(int wheelDelta);

  // The buttons: the preview's reset, and for the view the field of view
  // back to 50.
  void resetView(render::PreviewState& preview);
  void resetLight(render::PreviewState& preview);

  // The preview's own reset (its "R" key) asks the pane to show the reset
  // field of view; without this the next frame would take the old one back
  // from the pane. Returns whether the projection fields must be shown again.
  bool followPreviewReset(render::PreviewState& preview);

  // What frame-move takes at every frame: the colours as fractions of 255
  // with alpha 1, the projection fields as typed.
  render::PreviewParameters previewParameters() const;

 private:
  std::array<int, projectionFieldCount> projection_{};
  ColourGrid colours_{};
  bool colourEditing_ = false;
  bool projectionEditing_ = false;
  int wheelRemainder_ = 0;
};

}  // namespace veltrace::panes
