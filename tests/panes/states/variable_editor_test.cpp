#include "panes/states/variable_editor.h"

#include <gtest/gtest.h>

#include <cmath>

#include "effect/effect_factory.h"
#include "render/preview/predefined_constants.h"

using namespace veltrace;

namespace {

const std::array<float, 16> identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Types into a value field the way the dialog reports it: focus, text, focus
// gone.
void typeInto(VariableEditor& editor, int field, const std::string& text) {
  editor.valueFieldFocusGained();
  editor.valueFieldTextChanged(field, text);
  editor.valueFieldFocusLost();
}

}  // namespace

TEST(PredefinedChoices, ListDisplayNamesAndKeysInOrder) {
  struct Case {
    VariableKind kind;
    std::vector<std::pair<std::string, std::string>> entries;
  };
  const Case cases[] = {
      {VariableKind::vector,
       {{"Light Position (World)", "light_pos_world"}, {"Eye Position (World)", "eye_pos_world"},
        {"Time/sin(Time)/cos(Time)", "time"}}},
      {VariableKind::matrix,
       {{"Transform", "transform"}, {"Inverse Transform", "transform_inv"}, {"World", "world"},
        {"Inverse World", "world_inv"}, {"World View", "world_view"}, {"Inverse World View", "world_view_inv"},
        {"View", "view"}, {"Inverse View", "view_inv"}, {"View Projection", "view_proj"},
        {"Inverse View Projection", "view_proj_inv"}, {"Projection", "proj"}, {"Inverse Projection", "proj_inv"}}},
      {VariableKind::color,
       {{"Ambient Light Color", "light_amb"}, {"Diffuse Light Color", "light_diff"},
        {"Specular Light Color", "light_spec"}, {"Ambient Material Color", "mat_amb"},
        {"Diffuse Material Color", "mat_diff"}, {"Specular Material Color", "mat_spec"},
        {"Emissive Material Color", "mat_emis"}}},
  };
  for (const Case& c : cases) {
    const auto choices = predefinedChoices(c.kind);
    ASSERT_EQ(choices.size(), c.entries.size());
    for (size_t i = 0; i < choices.size(); ++i) {
      EXPECT_EQ(choices[i].displayName, c.entries[i].first);
      EXPECT_EQ(choices[i].key, c.entries[i].second);
      // Every key must be one the renderer computes for this kind.
      EXPECT_TRUE(render::findPredefinedConstant(choices[i].key, c.kind).has_value()) << choices[i].key;
    }
  }
}

TEST(VariableEditor, FieldsShowTheKindsFormat) {
  EffectVariable vector = createVariable(VariableKind::vector);
  vector.value[0] = 0.5f;
  VectorEditor vectorEditor;
  vectorEditor.attach(&vector);
  vectorEditor.show();
  EXPECT_EQ(vectorEditor.fieldTexts(), (std::vector<std::string>{"0.50000", "0.00000", "0.00000", "1.00000"}));

  EffectVariable matrix = createVariable(VariableKind::matrix);
  matrix.value[4 * 2 + 3] = -2.25f;  // row 2, column 3
  MatrixEditor matrixEditor;
  matrixEditor.attach(&matrix);
  matrixEditor.show();
  ASSERT_EQ(matrixEditor.fieldTexts().size(), 16u);
  EXPECT_EQ(matrixEditor.fieldTexts()[0], "1.000");
  EXPECT_EQ(matrixEditor.fieldTexts()[11], "-2.250");
  EXPECT_EQ(matrixEditor.fieldTexts()[12], "0.000");
}

TEST(VariableEditor, TypedNameWithCommasIsStoredWithFullStops) {
  EffectVariable vector = createVariable(VariableKind::vector);
  VectorEditor editor;
  editor.attach(&vector);
  editor.show();
  editor.nameFieldTextChanged("a,b,,c");
  typeInto(editor, 1, "2.5");
  editor.ok();
  EXPECT_EQ(vector.name, "a.b..c");
  EXPECT_FALSE(vector.predefined);
  EXPECT_FLOAT_EQ(vector.value[1], 2.5f);
  EXPECT_FALSE(editor.visible());
}

TEST(VariableEditor, TickingAndChoosingInverseViewStoresItsKeyAndTheIdentity) {
  EffectVariable matrix = createVariable(VariableKind::matrix);
  matrix.value[1] = 7.0f;
  MatrixEditor editor;
  editor.attach(&matrix);
  editor.show();
  editor.predefinedBoxClicked(true);
  EXPECT_EQ(editor.nameText(), "New Matrix");
  EXPECT_FALSE(editor.nameEnabled());
  EXPECT_FALSE(editor.valuesEnabled());
  EXPECT_EQ(editor.listSelection(), 0);
  editor.predefinedSelectionChanged(7);
  EXPECT_EQ(editor.nameText(), "Inverse View");
  editor.ok();
  EXPECT_EQ(matrix.name, "Inverse View");
  EXPECT_TRUE(matrix.predefined);
  EXPECT_EQ(matrix.predefinedName, "view_inv");
  EXPECT_EQ(matrix.value, identity);
}

TEST(VariableEditor, ShowingAPredefinedVariableSelectsItsEntry) {
  EffectVariable vector = createVariable(VariableKind::vector);
  vector.name = "Eye Position (World)";
  vector.predefined = true;
  vector.predefinedName = "eye_pos_world";
  VectorEditor editor;
  editor.attach(&vector);
  editor.show();
  EXPECT_TRUE(editor.predefinedTicked());
  EXPECT_EQ(editor.listSelection(), 1);
  EXPECT_EQ(editor.nameText(), "New Vector");
  editor.ok();
  EXPECT_EQ(vector.name, "Eye Position (World)");
  EXPECT_EQ(vector.predefinedName, "eye_pos_world");
}

TEST(VariableEditor, UntickingAPredefinedWorldSetsTheNameFieldToNewMatrix) {
  EffectVariable matrix = createVariable(VariableKind::matrix);
  matrix.name = "World";
  matrix.predefined = true;
  matrix.predefinedName = "world";
  MatrixEditor editor;
  editor.attach(&matrix);
  editor.show();
  editor.predefinedBoxClicked(false);
  EXPECT_EQ(editor.nameText(), "New Matrix");
  EXPECT_TRUE(editor.nameEnabled());
  EXPECT_TRUE(editor.valuesEnabled());
  EXPECT_FALSE(editor.listEnabled());
  EXPECT_EQ(editor.listSelection(), -1);
}

TEST(VariableEditor, TextSetByTheProgramNeverChangesTheWorkingValues) {
  EffectVariable vector = createVariable(VariableKind::vector);
  VectorEditor editor;
  editor.attach(&vector);
  editor.show();
  editor.valueFieldTextChanged(0, "9");  // no focus: the program wrote it
  EXPECT_EQ(editor.workingValues()[0], 0.0);
  typeInto(editor, 0, "9");
  EXPECT_EQ(editor.workingValues()[0], 9.0);
}

TEST(VariableEditor, TextThatIsNotANumberReadsAsZeroAndLongTextIsHarmless) {
  EffectVariable vector = createVariable(VariableKind::vector);
  VectorEditor editor;
  editor.attach(&vector);
  editor.show();
  typeInto(editor, 3, "abc");
  typeInto(editor, 2, std::string(100000, '9'));  // beyond the float range
  editor.ok();
  EXPECT_EQ(vector.value[3], 0.0f);
  EXPECT_TRUE(std::isfinite(vector.value[2]));
}

TEST(VariableEditor, CancelAfterTypingLeavesTheVariableAndTheNextShowingDisplaysIt) {
  EffectVariable vector = createVariable(VariableKind::vector);
  vector.name = "Offset";
  VectorEditor editor;
  editor.attach(&vector);
  editor.show();
  editor.nameFieldTextChanged("Other");
  typeInto(editor, 0, "5");
  editor.predefinedBoxClicked(true);
  editor.cancel();
  EXPECT_EQ(vector.name, "Offset");
  EXPECT_EQ(vector.value[0], 0.0f);
  EXPECT_FALSE(editor.predefinedTicked());
  editor.show();
  EXPECT_EQ(editor.nameText(), "Offset");
  EXPECT_EQ(editor.fieldTexts()[0], "0.00000");
}

TEST(ColourEditor, FullRedShowsWholeNumbersAndStoresFractions) {
  EffectVariable colour = createVariable(VariableKind::color);
  colour.value = {1.0f, 0.0f, 0.0f, 1.0f};
  ColourEditor editor;
  editor.attach(&colour);
  editor.show();
  EXPECT_EQ(editor.fieldTexts(), (std::vector<std::string>{"255", "0", "0", "255"}));
  EXPECT_EQ(editor.sliderPositions(), (std::array<int, 4>{255, 0, 0, 255}));
  editor.ok();
  EXPECT_EQ(colour.value[0], 1.0f);
  EXPECT_EQ(colour.value[1], 0.0f);
  EXPECT_EQ(colour.value[3], 1.0f);
}

TEST(ColourEditor, EveryComponentComesBackAsStored) {
  EffectVariable colour = createVariable(VariableKind::color);
  ColourEditor editor;
  editor.attach(&colour);
  for (int component = 0; component <= 255; ++component) {
    editor.show();
    typeInto(editor, 1, std::to_string(component));
    editor.ok();
    editor.show();
    ASSERT_EQ(editor.fieldTexts()[1], std::to_string(component));
  }
}

TEST(ColourEditor, TypingMovesTheSliderAndTheSliderMovesTheField) {
  EffectVariable colour = createVariable(VariableKind::color);
  ColourEditor editor;
  editor.attach(&colour);
  editor.show();
  const int paints = editor.swatchPaints();
  typeInto(editor, 0, "128");
  EXPECT_EQ(editor.sliderPositions()[0], 128);
  EXPECT_GT(editor.swatchPaints(), paints);
  EXPECT_EQ(editor.swatchColour(), (std::array<std::uint8_t, 3>{128, 0, 0}));

  editor.sliderMoved(1, 64);
  EXPECT_EQ(editor.fieldTexts()[1], "64");
  EXPECT_EQ(editor.workingValues()[1], 64.0);
  EXPECT_EQ(editor.fieldTexts()[0], "128");
}

TEST(ColourEditor, ComponentsAreNotClamped) {
  EffectVariable colour = createVariable(VariableKind::color);
  ColourEditor editor;
  editor.attach(&colour);
  editor.show();
  typeInto(editor, 2, "300");
  EXPECT_EQ(editor.sliderPositions()[2], 255);
  EXPECT_EQ(editor.swatchColour()[2], 255);
  editor.ok();
  EXPECT_FLOAT_EQ(colour.value[2], 300.0f / 255.0f);
}

TEST(ColourEditor, TickingResetsToOpaqueBlackAndDisablesTheSliders) {
  EffectVariable colour = createVariable(VariableKind::color);
  colour.value = {0.5f, 0.5f, 0.5f, 0.5f};
  ColourEditor editor;
  editor.attach(&colour);
  editor.show();
  editor.predefinedBoxClicked(true);
  EXPECT_FALSE(editor.slidersEnabled());
  EXPECT_EQ(editor.fieldTexts(), (std::vector<std::string>{"0", "0", "0", "255"}));
  editor.predefinedSelectionChanged(4);
  editor.ok();
  EXPECT_EQ(colour.name, "Diffuse Material Color");
  EXPECT_EQ(colour.predefinedName, "mat_diff");
  EXPECT_EQ(colour.value[3], 1.0f);
}

TEST(ColourEditor, SwatchIsTheFrameShrunkByAnEighteenthOfItsWidth) {
  const ColourEditor::Rect swatch = ColourEditor::swatchRect({10, 20, 100, 80});
  EXPECT_EQ(swatch.left, 15);
  EXPECT_EQ(swatch.top, 25);
  EXPECT_EQ(swatch.right, 95);
  EXPECT_EQ(swatch.bottom, 75);
}
