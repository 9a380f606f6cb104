// Binding variables to constant registers: occupancy of vectors, colours and
// matrices, every refusal with its exact message, unbinding and the rows a
// deleted variable leaves.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panes/shader/constant_binding.h"

namespace veltrace {
namespace {

EffectVariable variable(std::string name, VariableKind kind) {
  EffectVariable v;
  v.name = std::move(name);
  v.kind = kind;
  for (int i = 0; i < valueCount(kind); ++i) v.value[static_cast<size_t>(i)] = static_cast<float>(i) + 0.125f;
  return v;
}

Effect sampleEffect() {
  Effect effect;
  effect.vectors = {variable("Light", VariableKind::vector), variable("Eye", VariableKind::vector)};
  effect.matrices = {variable("World", VariableKind::matrix), variable("View", VariableKind::matrix)};
  effect.colors = {variable("Tint", VariableKind::color)};
  effect.shadersChanged = false;
  return effect;
}

// A pane's binding with its rows shown, as after the pane was shown.
struct Pane {
  Pane(ShaderPaneKind kind, Effect& effect) : binding(kind, effect, log) { binding.resetRows(); }

  // Clicks the Name cell of the row and picks the entry with this text.
  void choose(int row, const std::string& entryText) {
    ASSERT_TRUE(binding.ShowVariableChooser(row, nameColumn));
    const auto& entries = binding.chooserEntries();
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].text == entryText) {
        binding.ApplyVariableChoice(i);
        return;
      }
    FAIL() << "no chooser entry " << entryText;
  }

  MessageLog log;
  ConstantBinding binding;
};

TEST(ConstantBinding, ChooserListsNoVariableThenVectorsMatricesColoursInEffectOrder) {
  Effect effect = sampleEffect();
  Pane pane(ShaderPaneKind::vertex, effect);
  ASSERT_TRUE(pane.binding.ShowVariableChooser(0, nameColumn));
  std::vector<std::string> texts;
  for (const ChooserEntry& entry : pane.binding.chooserEntries()) texts.push_back(entry.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"...", "Vector-> Light", "Vector-> Eye", "Matrix-> World",
                                             "Matrix-> View", "Color-> Tint"}));
  EXPECT_TRUE(pane.binding.chooserVisible());
  EXPECT_FALSE(pane.binding.chooserEntries()[0].variable);
  EXPECT_EQ(pane.binding.chooserEntries()[4].variable, (VariableRef{VariableKind::matrix, 1}));
}

TEST(ConstantBinding, ChooserOpensOnlyOnTheNameColumnOfARegisterRowOfAnEffectWithVariables) {
  Effect effect = sampleEffect();
  Pane pixel(ShaderPaneKind::pixel, effect);
  for (int column : {constantColumn, xColumn, yColumn, zColumn, wColumn})
    EXPECT_FALSE(pixel.binding.ShowVariableChooser(2, column)) << column;
  EXPECT_FALSE(pixel.binding.ShowVariableChooser(8, nameColumn));
  EXPECT_FALSE(pixel.binding.ShowVariableChooser(-1, nameColumn));
  EXPECT_TRUE(pixel.binding.ShowVariableChooser(7, nameColumn));

  Effect empty;
  Pane noVariables(ShaderPaneKind::vertex, empty);
  EXPECT_FALSE(noVariables.binding.ShowVariableChooser(0, nameColumn));
  EXPECT_FALSE(noVariables.binding.chooserVisible());
}

TEST(ConstantBinding, MatrixOnC4OfThePixelPaneFillsTheLastFourRows) {
  Effect effect = sampleEffect();
  Pane pane(ShaderPaneKind::pixel, effect);
  pane.choose(4, "Matrix-> World");
  EXPECT_EQ(effect.matrices[0].psRegister, 4);
  EXPECT_EQ(effect.matrices[0].vsRegister, noRegister);
  EXPECT_TRUE(effect.shadersChanged);
  EXPECT_FALSE(pane.binding.chooserVisible());
  EXPECT_TRUE(pane.log.pending().empty());
  for (int i = 0; i < 4; ++i) {
    const ConstantRow& row = pane.binding.rows()[static_cast<size_t>(4 + i)];
    EXPECT_EQ(row.label, "c[" + std::to_string(4 + i) + "]");
    EXPECT_EQ(row.name, "World[" + std::to_string(i) + "]");
    EXPECT_EQ(row.values[0], std::to_string(4 * i) + ".12");
    EXPECT_EQ(row.values[3], std::to_string(4 * i + 3) + ".12");
    EXPECT_EQ(row.variable, (VariableRef{VariableKind::matrix, 0}));
  }
  EXPECT_EQ(pane.binding.rows()[3], (ConstantRow{"c[3]", "", {}, std::nullopt}));
}

TEST(ConstantBinding, VectorRowShowsNameAndFourValues) {
  Effect effect = sampleEffect();
  effect.colors[0].value = {0.5f, 0.25f, 1.0f, 0.004f};
  Pane pane(ShaderPaneKind::vertex, effect);
  pane.choose(95, "Color-> Tint");
  const ConstantRow& row = pane.binding.rows()[95];
  EXPECT_EQ(row.name, "Tint");
  EXPECT_EQ(row.values[0], "0.50");
  EXPECT_EQ(row.values[1], "0.25");
  EXPECT_EQ(row.values[2], "1.00");
  EXPECT_EQ(row.values[3], "0.00");
}

struct Refusal {
  const char* name;
  ShaderPaneKind kind;
  std::vector<std::pair<std::string, int>> boundBefore;  // chooser entry, row
  int row;
  std::string entry;
  std::string message;
};

const Refusal refusals[] = {
    {"matrix on c5 of the pixel pane", ShaderPaneKind::pixel, {}, 5, "Matrix-> World",
     "Matrix \"World\" could not be set - not enough registers free in constants list !"},
    {"matrix on c93 of the vertex pane", ShaderPaneKind::vertex, {}, 93, "Matrix-> World",
     "Matrix \"World\" could not be set - not enough registers free in constants list !"},
    {"vector bound again on its own row", ShaderPaneKind::vertex, {{"Vector-> Light", 3}}, 3, "Vector-> Light",
     "Vector \"Light\" already set in Register c[3] !"},
    {"colour bound again elsewhere", ShaderPaneKind::pixel, {{"Color-> Tint", 1}}, 6, "Color-> Tint",
     "Color \"Tint\" already set in Register c[1] !"},
    {"matrix bound again names its first and last register", ShaderPaneKind::vertex, {{"Matrix-> World", 10}}, 40,
     "Matrix-> World", "Matrix \"World\" already set from Register c[10] to c[13] !"},
    {"vector on the third row of a matrix", ShaderPaneKind::vertex, {{"Matrix-> World", 10}}, 12, "Vector-> Light",
     "Vector \"Light\" could not be set - Register c[12] is already occupied by \"World\" !"},
    {"colour on a vector's row", ShaderPaneKind::pixel, {{"Vector-> Eye", 2}}, 2, "Color-> Tint",
     "Color \"Tint\" could not be set - Register c[2] is already occupied by \"Eye\" !"},
    {"matrix overlapping a matrix names the occupant's first register", ShaderPaneKind::vertex,
     {{"Matrix-> World", 10}}, 11, "Matrix-> View",
     "Matrix \"View\" could not be set - Register c[10] is already occupied by \"World\" !"},
    {"matrix stops at the first occupied row", ShaderPaneKind::pixel, {{"Vector-> Eye", 3}, {"Color-> Tint", 2}}, 0,
     "Matrix-> View", "Matrix \"View\" could not be set - Register c[2] is already occupied by \"Tint\" !"},
};

class RefusalTest : public testing::TestWithParam<Refusal> {};

TEST_P(RefusalTest, LogsOneMessageAndChangesNothing) {
  const Refusal& c = GetParam();
  Effect effect = sampleEffect();
  Pane pane(c.kind, effect);
  for (const auto& [entry, row] : c.boundBefore) pane.choose(row, entry);
  ASSERT_TRUE(pane.log.pending().empty());
  effect.shadersChanged = false;
  Effect before = effect;
  std::vector<ConstantRow> rowsBefore = pane.binding.rows();

  pane.choose(c.row, c.entry);
  EXPECT_EQ(pane.log.pending(), std::vector<std::string>{c.message});
  EXPECT_FALSE(effect.shadersChanged);
  EXPECT_FALSE(pane.binding.chooserVisible());
  EXPECT_EQ(pane.binding.rows(), rowsBefore);
  for (VariableKind kind : {VariableKind::vector, VariableKind::matrix, VariableKind::color})
    for (size_t i = 0; i < variablesOfKind(effect, kind).size(); ++i) {
      EXPECT_EQ(variablesOfKind(effect, kind)[i].vsRegister, variablesOfKind(before, kind)[i].vsRegister);
      EXPECT_EQ(variablesOfKind(effect, kind)[i].psRegister, variablesOfKind(before, kind)[i].psRegister);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusalTest, testing::ValuesIn(refusals),
                         [](const testing::TestParamInfo<Refusal>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

TEST(ConstantBinding, C92IsTheLastMatrixStartOfTheVertexPane) {
  Effect effect = sampleEffect();
  Pane pane(ShaderPaneKind::vertex, effect);
  pane.choose(92, "Matrix-> World");
  EXPECT_EQ(effect.matrices[0].vsRegister, 92);
  EXPECT_EQ(pane.binding.rows()[95].name, "World[3]");
}

TEST(ConstantBinding, OneVariableIsBoundInBothShaderKindsIndependently) {
  Effect effect = sampleEffect();
  Pane vertexPane(ShaderPaneKind::vertex, effect);
  Pane pixelPane(ShaderPaneKind::pixel, effect);
  vertexPane.choose(3, "Vector-> Light");
  pixelPane.choose(1, "Vector-> Light");
  EXPECT_EQ(effect.vectors[0].vsRegister, 3);
  EXPECT_EQ(effect.vectors[0].psRegister, 1);
  EXPECT_EQ(vertexPane.binding.rows()[3].name, "Light");
  EXPECT_EQ(vertexPane.binding.rows()[1].name, "");
  EXPECT_EQ(pixelPane.binding.rows()[1].name, "Light");
  EXPECT_EQ(pixelPane.binding.rows()[3].name, "");
}

TEST(ConstantBinding, NoVariableOnAnyRowOfAMatrixFreesAllFourRows) {
  for (int rowOfMatrix = 0; rowOfMatrix < 4; ++rowOfMatrix) {
    Effect effect = sampleEffect();
    Pane pane(ShaderPaneKind::vertex, effect);
    pane.choose(20, "Matrix-> View");
    effect.shadersChanged = false;
    pane.choose(20 + rowOfMatrix, "...");
    EXPECT_EQ(effect.matrices[1].vsRegister, noRegister);
    EXPECT_TRUE(effect.shadersChanged);
    for (int r = 20; r < 24; ++r)
      EXPECT_EQ(pane.binding.rows()[static_cast<size_t>(r)], (ConstantRow{"c[" + std::to_string(r) + "]", "", {}, std::nullopt}));
  }
}

TEST(ConstantBinding, NoVariableUnbindsAVectorAndOnAFreeRowOnlyMarksTheShadersChanged) {
  Effect effect = sampleEffect();
  Pane pane(ShaderPaneKind::pixel, effect);
  pane.choose(0, "Color-> Tint");
  pane.choose(0, "...");
  EXPECT_EQ(effect.colors[0].psRegister, noRegister);
  EXPECT_EQ(pane.binding.rows()[0].name, "");

  effect.shadersChanged = false;
  std::vector<ConstantRow> rowsBefore = pane.binding.rows();
  pane.choose(5, "...");
  EXPECT_TRUE(effect.shadersChanged);
  EXPECT_EQ(pane.binding.rows(), rowsBefore);
  EXPECT_TRUE(pane.log.pending().empty());
}

TEST(ConstantBinding, DismissedChooserChangesNothing) {
  Effect effect = sampleEffect();
  Pane pane(ShaderPaneKind::pixel, effect);
  ASSERT_TRUE(pane.binding.ShowVariableChooser(2, nameColumn));
  pane.binding.ApplyVariableChoice(std::nullopt);
  EXPECT_FALSE(pane.binding.chooserVisible());
  EXPECT_FALSE(effect.shadersChanged);
}

TEST(ConstantBinding, DeletedVariableBoundInBothKindsBlanksItsRowsInBothPanes) {
  Effect effect = sampleEffect();
  Pane vertexPane(ShaderPaneKind::vertex, effect);
  Pane pixelPane(ShaderPaneKind::pixel, effect);
  vertexPane.choose(8, "Matrix-> World");
  pixelPane.choose(0, "Matrix-> World");
  vertexPane.choose(12, "Vector-> Eye");

  vertexPane.binding.ClearBoundRows(effect.matrices[0].vsRegister);
  pixelPane.binding.ClearBoundRows(effect.matrices[0].psRegister);
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(vertexPane.binding.rows()[static_cast<size_t>(8 + r)].name, "");
    EXPECT_FALSE(vertexPane.binding.rows()[static_cast<size_t>(8 + r)].variable);
    EXPECT_EQ(pixelPane.binding.rows()[static_cast<size_t>(r)].name, "");
  }
  EXPECT_EQ(vertexPane.binding.rows()[12].name, "Eye");
  EXPECT_EQ(effect.matrices[0].vsRegister, 8);  // the variable is about to go
  EXPECT_EQ(effect.matrices[0].psRegister, 0);

  effect.matrices.erase(effect.matrices.begin());
  vertexPane.binding.variableRemoved({VariableKind::matrix, 0});
  // The second matrix is now the first; choosing it by its new place works.
  vertexPane.choose(40, "Matrix-> View");
  EXPECT_EQ(effect.matrices[0].vsRegister, 40);
  EXPECT_EQ(vertexPane.binding.rows()[40].variable, (VariableRef{VariableKind::matrix, 0}));
}

TEST(ConstantBinding, RefreshShowsStoredRegistersAndSkipsRowsBeyondTheKind) {
  Effect effect = sampleEffect();
  effect.matrices[0].psRegister = 6;  // rows 6 and 7 only
  effect.vectors[1].psRegister = 200;
  effect.colors[0].psRegister = 2;
  Pane pane(ShaderPaneKind::pixel, effect);
  pane.binding.RefreshConstantsList();
  EXPECT_EQ(pane.binding.rows()[6].name, "World[0]");
  EXPECT_EQ(pane.binding.rows()[7].name, "World[1]");
  EXPECT_EQ(pane.binding.rows()[2].name, "Tint");
  EXPECT_EQ(pane.binding.rows().size(), 8u);
}

TEST(ConstantBinding, BlankedRowsLoseLabelsAndReferencesButNotTheRegisters) {
  Effect effect = sampleEffect();
  Pane pane(ShaderPaneKind::pixel, effect);
  pane.choose(1, "Vector-> Light");
  pane.binding.blankRows();
  for (const ConstantRow& row : pane.binding.rows()) EXPECT_EQ(row, ConstantRow{});
  EXPECT_EQ(effect.vectors[0].psRegister, 1);
  pane.binding.writeLabels();
  pane.binding.RefreshConstantsList();
  EXPECT_EQ(pane.binding.rows()[1].label, "c[1]");
  EXPECT_EQ(pane.binding.rows()[1].name, "Light");
}

}  // namespace
}  // namespace veltrace
