#include "panes/frame/parameter_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/text.h"

namespace veltrace::panes {

namespace {

int index(ProjectionField field) { return static_cast<int>(field); }
int index(LightColour colour) { return static_cast<int>(colour); }
int index(ColourComponent component) { return static_cast<int>(component); }

int within(int value, ValueRange range) { return std::clamp(value, range.lowest, range.highest); }

// Truncates towards zero like a C cast, but a value no int can hold (or not
// a number at all) cannot make the conversion undefined.
int truncateToInt(float value) {
  if (std::isnan(value)) return 0;
  constexpr double largest = static_cast<double>(INT32_MAX), smallest = static_cast<double>(INT32_MIN);
  return static_cast<int>(std::clamp(std::trunc(static_cast<double>(value)), smallest, largest));
}

std::array<int, colourComponentCount> components255(const render::ColourValue& colour) {
  return {truncateToInt(colour.r * 255.0f), truncateToInt(colour.g * 255.0f), truncateToInt(colour.b * 255.0f)};
}

render::ColourValue fractions(const std::array<int, colourComponentCount>& components) {
  return {components[0] / 255.0f, components[1] / 255.0f, components[2] / 255.0f, 1.0f};
}

}  // namespace

ValueRange arrowRange(ProjectionField field) {
  return field == ProjectionField::fieldOfView ? ValueRange{0, 180} : ValueRange{0, 2000};
}

PixelRect swatchRect(PixelRect frame) {
  constexpr int inset = 4;
  int left = frame.left + inset, right = frame.right - inset;
  int top = frame.top + inset, bottom = frame.bottom - inset;
  if (left > right) left = right = frame.left + (frame.right - frame.left) / 2;
  if (top > bottom) top = bottom = frame.top + (frame.bottom - frame.top) / 2;
  return {left, top, right, bottom};
}

ParameterModel::ParameterModel() { takeFromPreview(render::PreviewState{}); }

void ParameterModel::takeFromPreview(const render::PreviewState& preview) {
  projection_ = {truncateToInt(preview.fovDegrees), truncateToInt(preview.nearPlane),
                 truncateToInt(preview.farPlane)};
  colours_ = {components255(preview.light.ambient), components255(preview.light.diffuse),
              components255(preview.light.specular)};
}

int ParameterModel::projection(ProjectionField field) const { return projection_[index(field)]; }

int ParameterModel::colour(LightColour colour, ColourComponent component) const {
  return colours_[index(colour)][index(component)];
}

std::string ParameterModel::projectionText(ProjectionField field) const {
  return formatText("%d", projection(field));
}

std::string ParameterModel::colourText(LightColour colour, ColourComponent component) const {
  return formatText("%i", this->colour(colour, component));
}

int ParameterModel::sliderPosition(LightColour colour, ColourComponent component) const {
  return within(this->colour(colour, component), colourSliderRange);
}

ColourGrid ParameterModel::sliderPositions() const {
  ColourGrid positions = colours_;
  for (auto& row : positions)
    for (int& value : row) value = within(value, colourSliderRange);
  return positions;
}

SwatchColour ParameterModel::swatchColour(LightColour colour) const {
  const auto& row = colours_[index(colour)];
  return {within(row[0], colourSliderRange), within(row[1], colourSliderRange), within(row[2], colourSliderRange)};
}

bool ParameterModel::colourTextChanged(LightColour colour, ColourComponent component, std::string_view text) {
  if (!colourEditing_) return false;
  colours_[index(colour)][index(component)] = readLenientInt(text);
  return true;
}

bool ParameterModel::projectionTextChanged(ProjectionField field, std::string_view text) {
  if (!projectionEditing_) return false;
  projection_[index(field)] = readLenientInt(text);
  return true;
}

void ParameterModel::slidersMoved(const ColourGrid& positions) { colours_ = positions; }

void ParameterModel::setFieldOfView(int degrees) { projection_[index(ProjectionField::fieldOfView)] = degrees; }

bool ParameterModel::wheelTurned(int wheelDelta) {
  wheelRemainder_ += wheelDelta;
  int notches = wheelRemainder_ / wheelNotch;
  wheelRemainder_ -= notches * wheelNotch;
  if (notches == 0) return false;
  int before = projection(ProjectionField::fieldOfView);
  // Turning away from the user (a positive delta) zooms in.
  long long wanted = static_cast<long long>(before) - static_cast<long long>(notches) * fieldOfViewDegreesPerNotch;
  int after = static_cast<int>(std::clamp<long long>(wanted, wheelFieldOfViewRange.lowest,
                                                     wheelFieldOfViewRange.highest));
  setFieldOfView(after);
  return after != before;
}

void ParameterModel::resetView(render::PreviewState& preview) {
  render::resetView(preview);
  setFieldOfView(resetFieldOfViewDegrees);
  preview.parameterPaneNeedsRefresh = false;  // shown by the pane already
}

void ParameterModel::resetLight(render::PreviewState& preview) { render::resetLight(preview); }

bool ParameterModel::followPreviewReset(render::PreviewState& preview) {
  if (!preview.parameterPaneNeedsRefresh) return false;
  preview.parameterPaneNeedsRefresh = false;
  setFieldOfView(resetFieldOfViewDegrees);
  return true;
}

render::PreviewParameters ParameterModel::previewParameters() const {
  render::PreviewParameters parameters;
  parameters.lightAmbient = fractions(colours_[index(LightColour::ambient)]);
  parameters.lightDiffuse = fractions(colours_[index(LightColour::diffuse)]);
  parameters.lightSpecular = fractions(colours_[index(LightColour::specular)]);
  parameters.fovDegrees = projection(ProjectionField::fieldOfView);
  parameters.nearPlane = projection(ProjectionField::nearClip);
  parameters.farPlane = projection(ProjectionField::farClip);
  return parameters;
}

}  // namespace veltrace::panes
