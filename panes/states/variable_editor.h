#pragma once
// The editors of one user constant: VectorEditor, MatrixEditor and
// ColourEditor. The user either types a name and values, or ticks the
// predefined box and picks one of the constants the renderer computes every
// frame. Nothing reaches the variable before OK.
//
// The model holds what the dialog shows (field texts, enabled flags, list
// selection, slider positions) and the editor's working values; the dialog
// reports each event and copies the model's texts back into its controls.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "effect/effect.h"

namespace veltrace {

// One entry of a predefined list: what the list shows, and the key stored as
// the variable's predefinedName.
struct PredefinedChoice {
  std::string_view displayName;
  std::string_view key;
};

// The predefined constants an editor of this kind offers, in list order.
std::span<const PredefinedChoice> predefinedChoices(VariableKind kind);

// The fixed texts and numbers that tell the three editors apart.
struct VariableEditorTraits {
  std::string_view dialogName;       // the dialog template's caption
  std::string_view checkBoxText;
  std::string_view tickedName;       // the name field while the box is ticked
  std::string_view helpTopic;
  const char* fieldFormat;           // printf format of one value field
  int fieldCount;                    // 4, or 16 for a matrix
  std::array<double, 16> predefinedValues;  // working values while ticked
};

const VariableEditorTraits& variableEditorTraits(VariableKind kind);

class VariableEditor {
 public:
  explicit VariableEditor(VariableKind kind);
  virtual ~VariableEditor() = default;

  VariableKind kind() const { return kind_; }
  const VariableEditorTraits& traits() const { return traits_; }

  // The variable edited; it must outlive the editor or be detached first.
  void attach(EffectVariable* variable) { variable_ = variable; }
  EffectVariable* variable() const { return variable_; }

  // Events, in the words of the dialog.
  void show();
  void predefinedBoxClicked(bool ticked);
  void predefinedSelectionChanged(int index);
  void valueFieldFocusGained() { editing_ = true; }
  void valueFieldFocusLost() { editing_ = false; }
  // Every change of a value field's text, whether the user typed it or the
  // program set it: only while editing do the texts become working values.
  void valueFieldTextChanged(int field, std::string text);
  void nameFieldTextChanged(std::string text) { nameText_ = std::move(text); }
  void ok();
  void cancel();

  // What the dialog shows.
  bool visible() const { return visible_; }
  bool editing() const { return editing_; }
  bool predefinedTicked() const { return ticked_; }
  const std::string& nameText() const { return nameText_; }
  bool nameEnabled() const { return !ticked_; }
  bool valuesEnabled() const { return !ticked_; }
  bool listEnabled() const { return ticked_; }
  int listSelection() const { return listSelection_; }  // -1 = none
  const std::vector<std::string>& fieldTexts() const { return fieldTexts_; }
  const std::array<double, 16>& workingValues() const { return working_; }

 protected:
  // Fills the value fields from the working values.
  virtual void showWorkingValues();
  // Reads every value field's text into the working values.
  virtual void readFieldsIntoWorkingValues();
  virtual void loadWorkingValuesFromVariable();
  virtual void storeWorkingValuesIntoVariable();

  double& working(int index) { return working_[static_cast<size_t>(index)]; }

  std::vector<std::string> fieldTexts_;

 private:
  void applyCheckBoxRule();
  int choiceNamed(std::string_view name) const;

  VariableKind kind_;
  const VariableEditorTraits& traits_;
  EffectVariable* variable_ = nullptr;
  std::array<double, 16> working_{};
  std::string nameText_;
  bool ticked_ = false;
  bool editing_ = false;
  bool visible_ = false;
  int listSelection_ = -1;
};

class VectorEditor : public VariableEditor {
 public:
  VectorEditor() : VariableEditor(VariableKind::vector) {}
};

class MatrixEditor : public VariableEditor {
 public:
  MatrixEditor() : VariableEditor(VariableKind::matrix) {}
};

// Working values are whole numbers 0 to 255 (not clamped: a typed 300 stays
// 300), each with a slider and all three of them feeding a colour swatch.
class ColourEditor : public VariableEditor {
 public:
  static constexpr int sliderMaximum = 255;
  static constexpr int sliderPageStep = 10;

  ColourEditor() : VariableEditor(VariableKind::color) {}

  // A slider was moved: all four slider positions become the working values.
  void sliderMoved(int component, int position);

  const std::array<int, 4>& sliderPositions() const { return sliders_; }
  // Red, green and blue of the swatch, each within 0..255; alpha is not shown.
  std::array<std::uint8_t, 3> swatchColour() const;
  // Counts the times the swatch must be painted again.
  int swatchPaints() const { return swatchPaints_; }
  bool slidersEnabled() const { return valuesEnabled(); }

  struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
  };
  // The swatch: the preview frame shrunk on every side by a eighteenth of its
  // width.
  static Rect swatchRect(Rect frame);

 protected:
  void showWorkingValues() override;
  void readFieldsIntoWorkingValues() override;
  void loadWorkingValuesFromVariable() override;
  void storeWorkingValuesIntoVariable() override;

 private:
  void setSlidersFromWorkingValues();

  std::array<int, 4> sliders_{};
  int swatchPaints_ = 0;
};

}  // namespace veltrace
