#include <gtest/gtest.h>

#include "effect/effect_factory.h"
#include "effect/shader_numbering.h"
#include "effect/state_catalogue.h"
#include "effect_test_support.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

TEST(NewEffect, HasTheDefaultsAndFullStateTables) {
  Effect effect = test::newShippedEffect();
  EXPECT_EQ(effect.name, "New Effect");
  EXPECT_EQ(effect.folder, "\\effects\\");
  EXPECT_TRUE(effect.variablesFile.empty());
  EXPECT_TRUE(effect.vertexShaderFile.empty());
  EXPECT_TRUE(effect.indexFileName.empty());
  EXPECT_TRUE(effect.vectors.empty() && effect.matrices.empty() && effect.colors.empty());
  EXPECT_TRUE(effect.shadersChanged);

  const auto& textures = effect.textureStages;
  EXPECT_TRUE(textures.textures.empty());
  EXPECT_EQ(textures.baseStage, -1);
  EXPECT_EQ(textures.bumpStage, -1);
  EXPECT_EQ(textures.alphaStage, -1);
  for (int stage = 0; stage < textureStageCount; ++stage) {
    EXPECT_EQ(textures.stages[stage].stage, stage);
    EXPECT_EQ(textures.stages[stage].settings.size(), 27u);
  }
  EXPECT_EQ(effect.renderStates.size(), 76u);

  EXPECT_EQ(effect.streamMapping.stream, 0u);
  ASSERT_EQ(effect.streamMapping.entries.size(), 5u);
  const char* names[] = {"Position", "Normal", "TexCoord", "Tangent", "BiNormal"};
  const std::int32_t registers[] = {0, 3, 7, 8, 9};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(effect.streamMapping.entries[i].dataName, names[i]);
    EXPECT_EQ(effect.streamMapping.entries[i].inputRegister, registers[i]);
    EXPECT_EQ(effect.streamMapping.entries[i].dataType, i == 2 ? "Float2" : "Float3");
  }
  EXPECT_EQ(effect.streamMapping.declaration[0], 0x20000000u);

  for (const ShaderSlot* slot : {&effect.vertexShader, &effect.pixelShader}) {
    EXPECT_EQ(slot->name, "New Shader");
    EXPECT_TRUE(slot->source.empty());
    EXPECT_FALSE(slot->present);
    EXPECT_TRUE(slot->buildState);
  }
}

TEST(NewEffect, StageTablesAreIndependentCopies) {
  Effect effect = test::newShippedEffect();
  StateEntry* op = findState(effect.textureStages.stages[2].settings, "D3DTSS_COLOROP");
  ASSERT_NE(op, nullptr);
  findEnumerant(*op, "D3DTOP_MODULATE")->selected = true;
  EXPECT_FALSE(stateIsSet(*findState(effect.textureStages.stages[3].settings, "D3DTSS_COLOROP")));
  EXPECT_TRUE(stateIsSet(*op));
}

TEST(NewEffect, WithoutPrefsFolderIsCreatedWithEmptyTablesAndBothMessages) {
  test::TempFolder folder;
  MessageLog log;
  Effect effect = createEffect(folder.corePath(), log);
  std::vector<std::string> expected = {
      "Error while opening \"" + folder.corePath() + "\\prefs\\AllTextureStates.txt\" !",
      "Error while initializing texture states !",
      "Error while opening \"" + folder.corePath() + "\\prefs\\AllRenderStates.txt\" !",
      "Error while initializing render states !",
  };
  EXPECT_EQ(log.pending(), expected);
  EXPECT_TRUE(effect.renderStates.empty());
  for (const auto& stage : effect.textureStages.stages) EXPECT_TRUE(stage.settings.empty());
  EXPECT_EQ(effect.streamMapping.entries.size(), 5u);
  EXPECT_EQ(effect.name, "New Effect");
}

TEST(NewEffect, ABadCatalogueLineIsReportedAndTheRestIsStillRead) {
  test::TempFolder folder;
  std::string program = folder.corePath();
  ASSERT_EQ(createFolder(program + "\\prefs"), FolderResult::created);
  test::writeText(program + "\\prefs\\AllTextureStates.txt", "D3DTSS_A,1,ENUM,X,1,1\r\nD3DTSS_B\r\nD3DTSS_C,3,INT,4,1\r\n");
  test::writeText(program + "\\prefs\\AllRenderStates.txt", "D3DRS_A,1,BOOL,TRUE,1,FALSE\r\n");
  MessageLog log;
  Effect effect = createEffect(program, log);
  std::vector<std::string> expected = {
      "Error while reading texture states in line 2 !",
      "Error while initializing texture states !",
      "Error while reading renderstates in line 1 !",
      "Error while initializing render states !",
  };
  EXPECT_EQ(log.pending(), expected);
  for (const auto& stage : effect.textureStages.stages) {
    ASSERT_EQ(stage.settings.size(), 3u);
    EXPECT_TRUE(stage.settings[0].enumerants[0].selected);
    EXPECT_FLOAT_EQ(stage.settings[2].numericValue, 4.0f);
  }
  ASSERT_EQ(effect.renderStates.size(), 1u);
  EXPECT_EQ(effect.renderStates[0].enumerants.size(), 1u);
}

TEST(NewVariable, HasTheDefaultsOfItsKind) {
  EffectVariable vector = createVariable(VariableKind::vector);
  EXPECT_EQ(vector.name, "New Vector");
  EXPECT_EQ(vector.kind, VariableKind::vector);
  EXPECT_EQ((std::array<float, 4>{vector.value[0], vector.value[1], vector.value[2], vector.value[3]}),
            (std::array<float, 4>{0, 0, 0, 1}));

  EffectVariable matrix = createVariable(VariableKind::matrix);
  EXPECT_EQ(matrix.name, "New Matrix");
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_EQ(matrix.value[row * 4 + column], row == column ? 1.0f : 0.0f) << row << "," << column;

  EffectVariable color = createVariable(VariableKind::color);
  EXPECT_EQ(color.name, "New Color");
  EXPECT_EQ(color.value[3], 1.0f);
  EXPECT_EQ(color.value[0] + color.value[1] + color.value[2], 0.0f);

  for (const auto& variable : {vector, matrix, color}) {
    EXPECT_EQ(variable.vsRegister, -1);
    EXPECT_EQ(variable.psRegister, -1);
    EXPECT_FALSE(variable.predefined);
    EXPECT_TRUE(variable.predefinedName.empty());
  }
}

TEST(ShaderNumbering, NeverHandsOutTheSameNumberTwice) {
  std::int32_t first = takeNextShaderNumber();
  std::int32_t second = takeNextShaderNumber();
  EXPECT_GT(first, 0);
  EXPECT_EQ(second, first + 1);
}

}  // namespace
}  // namespace veltrace
