#include "panes/states/variable_editor.h"

#include <algorithm>

#include "base/text.h"
#include "effect/float_reading.h"
#include "effect/state_values.h"

namespace veltrace {

namespace {

constexpr PredefinedChoice vectorChoices[] = {
    {"Light Position (World)", "light_pos_world"},
    {"Eye Position (World)", "eye_pos_world"},
    {"Time/sin(Time)/cos(Time)", "time"},
};

constexpr PredefinedChoice matrixChoices[] = {
    {"Transform", "transform"},
    {"Inverse Transform", "transform_inv"},
    {"World", "world"},
    {"Inverse World", "world_inv"},
    {"World View", "world_view"},
    {"Inverse World View", "world_view_inv"},
    {"View", "view"},
    {"Inverse View", "view_inv"},
    {"View Projection", "view_proj"},
    {"Inverse View Projection", "view_proj_inv"},
    {"Projection", "proj"},
    {"Inverse Projection", "proj_inv"},
};

constexpr PredefinedChoice colourChoices[] = {
    {"Ambient Light Color", "light_amb"},
    {"Diffuse Light Color", "light_diff"},
    {"Specular Light Color", "light_spec"},
    {"Ambient Material Color", "mat_amb"},
    {"Diffuse Material Color", "mat_diff"},
    {"Specular Material Color", "mat_spec"},
    {"Emissive Material Color", "mat_emis"},
};

const VariableEditorTraits vectorTraits{
    "Vector", "Predefined Vector :", "New Vector", "::/html/vector.htm", "%.5f", 4, {0, 0, 0, 1}};
const VariableEditorTraits matrixTraits{
    "Matrix", "Predefined Matrix :", "New Matrix", "::/html/matrix.htm", "%.3f", 16,
    {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
const VariableEditorTraits colourTraits{
    "Color Dialog", "Predefined Colors :", "New Color", "::/html/color.htm", "%i", 4, {0, 0, 0, 255}};

}  // namespace

std::span<const PredefinedChoice> predefinedChoices(VariableKind kind) {
  switch (kind) {
    case VariableKind::vector: return vectorChoices;
    case VariableKind::matrix: return matrixChoices;
    case VariableKind::color: return colourChoices;
  }
  return {};
}

const VariableEditorTraits& variableEditorTraits(VariableKind kind) {
  switch (kind) {
    case VariableKind::matrix: return matrixTraits;
    case VariableKind::color: return colourTraits;
    case VariableKind::vector: break;
  }
  return vectorTraits;
}

VariableEditor::VariableEditor(VariableKind kind)
    : fieldTexts_(static_cast<size_t>(variableEditorTraits(kind).fieldCount)),
      kind_(kind),
      traits_(variableEditorTraits(kind)) {}

int VariableEditor::choiceNamed(std::string_view name) const {
  const auto choices = predefinedChoices(kind_);
  for (size_t index = 0; index < choices.size(); ++index)
    if (choices[index].displayName == name) return static_cast<int>(index);
  return -1;
}

void VariableEditor::show() {
  if (!variable_) return;
  editing_ = false;
  nameText_ = variable_->name;
  loadWorkingValuesFromVariable();
  showWorkingValues();
  // Every showing reloads the variable, so the box follows it too, even when
  // the last showing ended with the box changed and the window closed.
  ticked_ = variable_->predefined;
  if (ticked_) listSelection_ = choiceNamed(variable_->name);
  applyCheckBoxRule();
  visible_ = true;
}

void VariableEditor::predefinedBoxClicked(bool ticked) {
  ticked_ = ticked;
  applyCheckBoxRule();
}

void VariableEditor::applyCheckBoxRule() {
  const std::string_view variableName = variable_ ? std::string_view(variable_->name) : std::string_view();
  if (ticked_) {
    nameText_ = std::string(traits_.tickedName);
    const int named = choiceNamed(variableName);
    listSelection_ = named >= 0 ? named : 0;
    working_ = traits_.predefinedValues;
  } else {
    listSelection_ = -1;
    if (choiceNamed(variableName) >= 0) nameText_ = std::string(traits_.tickedName);
  }
  showWorkingValues();
}

void VariableEditor::predefinedSelectionChanged(int index) {
  const auto choices = predefinedChoices(kind_);
  if (index < 0 || static_cast<size_t>(index) >= choices.size()) return;
  listSelection_ = index;
  nameText_ = std::string(choices[static_cast<size_t>(index)].displayName);
}

void VariableEditor::valueFieldTextChanged(int field, std::string text) {
  if (field < 0 || static_cast<size_t>(field) >= fieldTexts_.size()) return;
  fieldTexts_[static_cast<size_t>(field)] = std::move(text);
  if (editing_) readFieldsIntoWorkingValues();
}

void VariableEditor::ok() {
  if (!variable_) return;
  if (!ticked_) {
    std::string name = nameText_;
    // Names are fields of comma-separated effect files.
    std::replace(name.begin(), name.end(), ',', '.');
    variable_->name = std::move(name);
    variable_->predefined = false;
  } else {
    const auto choices = predefinedChoices(kind_);
    const size_t chosen = listSelection_ >= 0 ? static_cast<size_t>(listSelection_) : 0;
    variable_->name = std::string(choices[chosen].displayName);
    variable_->predefined = true;
    variable_->predefinedName = std::string(choices[chosen].key);
  }
  storeWorkingValuesIntoVariable();
  visible_ = false;
}

void VariableEditor::cancel() {
  if (variable_) ticked_ = variable_->predefined;
  editing_ = false;
  visible_ = false;
}

void VariableEditor::showWorkingValues() {
  for (int field = 0; field < traits_.fieldCount; ++field)
    fieldTexts_[static_cast<size_t>(field)] = formatText(traits_.fieldFormat, working(field));
}

void VariableEditor::readFieldsIntoWorkingValues() {
  for (int field = 0; field < traits_.fieldCount; ++field)
    working(field) = readLenientFloat(fieldTexts_[static_cast<size_t>(field)]);
}

void VariableEditor::loadWorkingValuesFromVariable() {
  for (int field = 0; field < traits_.fieldCount; ++field) working(field) = variable_->value[static_cast<size_t>(field)];
}

void VariableEditor::storeWorkingValuesIntoVariable() {
  for (int field = 0; field < traits_.fieldCount; ++field)
    variable_->value[static_cast<size_t>(field)] = static_cast<float>(working(field));
}

// Colour editor.

void ColourEditor::showWorkingValues() {
  for (int field = 0; field < 4; ++field)
    fieldTexts_[static_cast<size_t>(field)] = formatText("%i", static_cast<int>(working(field)));
  setSlidersFromWorkingValues();
}

void ColourEditor::readFieldsIntoWorkingValues() {
  for (int field = 0; field < 4; ++field) working(field) = readLenientInt(fieldTexts_[static_cast<size_t>(field)]);
  setSlidersFromWorkingValues();
}

void ColourEditor::loadWorkingValuesFromVariable() {
  // The product of a float and 255 is exact in double precision, so a stored
  // k/255 comes back as k on every platform's floating-point unit.
  for (int field = 0; field < 4; ++field)
    working(field) = truncateToInt32(double(variable()->value[static_cast<size_t>(field)]) * 255.0);
}

void ColourEditor::storeWorkingValuesIntoVariable() {
  for (int field = 0; field < 4; ++field)
    variable()->value[static_cast<size_t>(field)] = static_cast<float>(working(field) / 255.0);
}

void ColourEditor::setSlidersFromWorkingValues() {
  for (int component = 0; component < 4; ++component)
    sliders_[static_cast<size_t>(component)] = std::clamp(static_cast<int>(working(component)), 0, sliderMaximum);
  ++swatchPaints_;
}

void ColourEditor::sliderMoved(int component, int position) {
  if (component < 0 || component >= 4) return;
  sliders_[static_cast<size_t>(component)] = std::clamp(position, 0, sliderMaximum);
  for (int field = 0; field < 4; ++field) {
    working(field) = sliders_[static_cast<size_t>(field)];
    fieldTexts_[static_cast<size_t>(field)] = formatText("%i", sliders_[static_cast<size_t>(field)]);
  }
  ++swatchPaints_;
}

std::array<std::uint8_t, 3> ColourEditor::swatchColour() const {
  std::array<std::uint8_t, 3> colour{};
  for (int component = 0; component < 3; ++component)
    colour[static_cast<size_t>(component)] =
        static_cast<std::uint8_t>(std::clamp(static_cast<int>(workingValues()[static_cast<size_t>(component)]), 0, 255));
  return colour;
}

ColourEditor::Rect ColourEditor::swatchRect(Rect frame) {
  const int inset = (frame.right - frame.left) / 18;
  return {frame.left + inset, frame.top + inset, frame.right - inset, frame.bottom - inset};
}

}  // namespace veltrace
