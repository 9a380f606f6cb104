// The component file formats line by line: what each line form reads into
// the effect, and the exact text each writer produces.

#include <gtest/gtest.h>

#include <limits>

#include "effect/component_files.h"
#include "effect_test_support.h"

namespace veltrace {
namespace {

std::vector<std::string> texts(const std::vector<FileLine>& lines) {
  std::vector<std::string> result;
  for (const auto& line : lines) result.push_back(line.text);
  return result;
}

// ---- variables.txt

TEST(VariablesFile, WritesTheDocumentedLineForms) {
  Effect effect;
  EffectVariable half;
  half.name = "Constant Half";
  half.value = {0.5f, 0.5f, 0.5f, 0.5f};
  half.vsRegister = 15;
  effect.vectors.push_back(half);
  EffectVariable light;
  light.kind = VariableKind::color;
  light.name = "Diffuse Light Color";
  light.predefined = true;
  light.predefinedName = "light_diff";
  light.psRegister = 0;
  effect.colors.push_back(light);
  EffectVariable matrix;
  matrix.kind = VariableKind::matrix;
  matrix.name = "M";
  for (int i = 0; i < 16; ++i) matrix.value[i] = static_cast<float>(i) - 0.25f;
  effect.matrices.push_back(matrix);

  auto lines = variablesFileLines(effect);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "VECTOR,Constant Half,0,0.50000,0.50000,0.50000,0.50000,15,NA");
  EXPECT_EQ(lines[1].text,
            "MATRIX,M,0,-0.25000,0.75000,1.75000,2.75000,3.75000,4.75000,5.75000,6.75000,7.75000,8.75000,"
            "9.75000,10.75000,11.75000,12.75000,13.75000,14.75000,NA,NA");
  EXPECT_EQ(lines[2].text, "COLOR,Diffuse Light Color,1,light_diff,NA,0");
  // Vectors first, then matrices, then colours; each failure names its kind
  // and the lines written before it.
  EXPECT_EQ(lines[0].failureMessage, "Error while writing vector in variables file in line 0 !");
  EXPECT_EQ(lines[1].failureMessage, "Error while writing matrix in variables file in line 1 !");
  EXPECT_EQ(lines[2].failureMessage, "Error while writing color in variables file in line 2 !");
}

TEST(VariablesFile, ColourComponentsAreStoredAsTruncatedBytes) {
  Effect effect;
  EffectVariable color;
  color.kind = VariableKind::color;
  color.name = "C";
  color.value = {0.5f, 1.0f, 0.0f, 0.999f};
  effect.colors.push_back(color);
  EXPECT_EQ(variablesFileLines(effect)[0].text, "COLOR,C,0,127,255,0,254,NA,NA");

  Effect loaded;
  MessageLog log;
  ASSERT_TRUE(parseVariables(loaded, "COLOR,C,0,127,255,0,254,NA,NA\r\n", log));
  ASSERT_EQ(loaded.colors.size(), 1u);
  EXPECT_NEAR(loaded.colors[0].value[0], 0.498f, 0.0005f);
  EXPECT_NEAR(loaded.colors[0].value[1], 1.0f, 0.00001f);
}

TEST(VariablesFile, ReadsSeveralVariablesFromOneLineIntoTheirLists) {
  Effect effect;
  MessageLog log;
  ASSERT_TRUE(parseVariables(effect,
                             "COLOR,c,1,light_diff,NA,3,VECTOR,v,0,1,2,3,4,7,NA\r\n"
                             "MATRIX,m,1,world,4,NA\r\n",
                             log));
  EXPECT_TRUE(log.pending().empty());
  ASSERT_EQ(effect.colors.size(), 1u);
  ASSERT_EQ(effect.vectors.size(), 1u);
  ASSERT_EQ(effect.matrices.size(), 1u);
  EXPECT_TRUE(effect.colors[0].predefined);
  EXPECT_EQ(effect.colors[0].predefinedName, "light_diff");
  EXPECT_EQ(effect.colors[0].psRegister, 3);
  EXPECT_EQ(effect.vectors[0].kind, VariableKind::vector);
  EXPECT_EQ(effect.vectors[0].value[3], 4.0f);
  EXPECT_EQ(effect.vectors[0].vsRegister, 7);
  EXPECT_EQ(effect.vectors[0].psRegister, -1);
  EXPECT_EQ(effect.matrices[0].predefinedName, "world");
}

TEST(VariablesFile, PredefinedCountsOnlyWhenItReadsAsOne) {
  Effect effect;
  MessageLog log;
  ASSERT_TRUE(parseVariables(effect, "VECTOR,v,2,1,2,3,4,NA,NA\r\n", log));
  ASSERT_EQ(effect.vectors.size(), 1u);
  EXPECT_FALSE(effect.vectors[0].predefined);
  EXPECT_EQ(effect.vectors[0].value[0], 1.0f);
}

TEST(VariablesFile, RejectsUnknownEmptyAndShortLinesWithTheLineNumber) {
  struct Case {
    const char* text;
    int badLine;
    size_t vectorsRead;
  };
  const Case cases[] = {
      {"VECTOR,a,0,1,2,3,4,NA,NA\r\n\r\n", 2, 1},          // trailing empty line
      {"VECTOR,a,0,1,2,3,4,NA,NA\r\nvector,b\r\n", 2, 1},  // names are case-sensitive
      {"VECTOR,a,0,1,2,3,4,NA\r\n", 1, 0},                 // one register short
      {"VECTOR,a\r\n", 1, 0},
      {"MATRIX,m,0,1,2,3\r\n", 1, 0},
      {"VECTOR,a,0,1,2,3,4,NA,NA,\r\n", 1, 1},             // a trailing comma starts nothing
      {"VECTOR,a,1\r\n", 1, 0},
  };
  for (const auto& c : cases) {
    Effect effect;
    effect.variablesFile = "vars.txt";
    MessageLog log;
    EXPECT_FALSE(parseVariables(effect, c.text, log)) << c.text;
    ASSERT_EQ(log.pending().size(), 1u) << c.text;
    EXPECT_EQ(log.pending()[0], formatText("Error while reading effect file \"vars.txt\" in line %i !", c.badLine));
    EXPECT_EQ(effect.vectors.size(), c.vectorsRead) << c.text;
    EXPECT_TRUE(effect.matrices.empty());
  }
}

TEST(VariablesFile, AnEmptyFileHasNoVariables) {
  Effect effect;
  MessageLog log;
  EXPECT_TRUE(parseVariables(effect, "", log));
  EXPECT_TRUE(effect.vectors.empty());
}

// ---- texturesstagesstates.txt

TEST(TextureStageFile, ReadsMaterialRolesFileTexturesAndStageStates) {
  Effect effect = test::newShippedEffect();
  parseTextureStages(effect,
                     "TEXTURE,Material Base Texture,1,BASE,0\r\n"
                     "TEXTURE,Material Bump Texture,1,BUMP,2\r\n"
                     "TEXTURE,Whatever,1,GLOSS,5\r\n"
                     "TEXTURE,toon.bmp,0,\\media\\textures\\toon.bmp,1\r\n"
                     "TEXTURE,far.bmp,0,d:\\art\\far.bmp,-1\r\n"
                     "STAGE,1,D3DTSS_COLOROP,D3DTOP_MODULATE\r\n"
                     "STAGE,1,D3DTSS_COLOROP,D3DTOP_ADD\r\n"
                     "STAGE,3,D3DTSS_MIPMAPLODBIAS,-0.50\r\n"
                     "STAGE,3,D3DTSS_MAXANISOTROPY,4.00\r\n"
                     "STAGE,7,D3DTSS_BORDERCOLOR,0xFF00FF00\r\n"
                     "STAGE,7,D3DTSS_NOSUCHSTATE,1\r\n"
                     "STAGE,7,D3DTSS_ADDRESSU,D3DTADDRESS_NOSUCH\r\n",
                     "C:\\Tool");
  const auto& table = effect.textureStages;
  EXPECT_EQ(table.baseStage, 0);
  EXPECT_EQ(table.bumpStage, 2);
  EXPECT_EQ(table.alphaStage, -1);
  ASSERT_EQ(table.textures.size(), 2u);
  EXPECT_EQ(table.textures[0].name, "toon.bmp");
  EXPECT_EQ(table.textures[0].path, "C:\\Tool\\media\\textures\\toon.bmp");
  EXPECT_EQ(table.textures[0].stage, 1);
  EXPECT_EQ(table.textures[1].path, "d:\\art\\far.bmp");
  EXPECT_EQ(table.textures[1].stage, -1);

  // An ENUM line adds its choice; it does not clear the others.
  const StateEntry* op = findState(table.stages[1].settings, "D3DTSS_COLOROP");
  int selected = 0;
  for (const auto& enumerant : op->enumerants) selected += enumerant.selected ? 1 : 0;
  EXPECT_EQ(selected, 2);
  EXPECT_FALSE(stateIsSet(*findState(table.stages[0].settings, "D3DTSS_COLOROP")));

  const StateEntry* bias = findState(table.stages[3].settings, "D3DTSS_MIPMAPLODBIAS");
  EXPECT_TRUE(bias->isSet);
  EXPECT_FLOAT_EQ(bias->numericValue, -0.5f);
  const StateEntry* anisotropy = findState(table.stages[3].settings, "D3DTSS_MAXANISOTROPY");
  EXPECT_TRUE(anisotropy->isSet);
  EXPECT_FLOAT_EQ(anisotropy->numericValue, 4.0f);
  const StateEntry* border = findState(table.stages[7].settings, "D3DTSS_BORDERCOLOR");
  EXPECT_TRUE(border->isSet);
  EXPECT_EQ(border->textValue, "0xFF00FF00");
  EXPECT_FALSE(stateIsSet(*findState(table.stages[7].settings, "D3DTSS_ADDRESSU")));
}

TEST(TextureStageFile, AnyOtherLineEndsTheReadingQuietly) {
  Effect effect = test::newShippedEffect();
  parseTextureStages(effect,
                     "TEXTURE,Material Alpha Texture,1,ALPHA,4\r\n"
                     "\r\n"
                     "TEXTURE,Material Base Texture,1,BASE,0\r\n",
                     "C:\\Tool");
  EXPECT_EQ(effect.textureStages.alphaStage, 4);
  EXPECT_EQ(effect.textureStages.baseStage, -1);
}

TEST(TextureStageFile, ShortLinesAndStagesOutsideTheEightAreSkipped) {
  Effect effect = test::newShippedEffect();
  parseTextureStages(effect,
                     "TEXTURE,short.bmp,0,\\x\r\n"
                     "TEXTURE\r\n"
                     "STAGE,1,D3DTSS_COLOROP\r\n"
                     "STAGE,8,D3DTSS_COLOROP,D3DTOP_ADD\r\n"
                     "STAGE,-1,D3DTSS_COLOROP,D3DTOP_ADD\r\n"
                     "STAGE,99999999999,D3DTSS_COLOROP,D3DTOP_ADD\r\n"
                     "STAGE,2,D3DTSS_COLOROP,D3DTOP_ADD\r\n",
                     "C:\\Tool");
  EXPECT_TRUE(effect.textureStages.textures.empty());
  for (int stage = 0; stage < textureStageCount; ++stage)
    EXPECT_EQ(stateIsSet(*findState(effect.textureStages.stages[stage].settings, "D3DTSS_COLOROP")), stage == 2)
        << stage;
}

TEST(TextureStageFile, WritesRolesSlotsAndSetStatesStageByStage) {
  Effect effect = test::newShippedEffect();
  auto& table = effect.textureStages;
  table.alphaStage = 3;
  table.baseStage = 0;
  table.textures.push_back({"Toon.BMP", "C:\\Tool\\Media\\Textures\\Toon.BMP", 0, 1});
  table.textures.push_back({"far.bmp", "D:\\Art\\far.bmp", 0, -1});
  findEnumerant(*findState(table.stages[2].settings, "D3DTSS_COLOROP"), "D3DTOP_ADD")->selected = true;
  StateEntry* bias = findState(table.stages[0].settings, "D3DTSS_MIPMAPLODBIAS");
  bias->isSet = true;
  bias->numericValue = -1.5f;
  StateEntry* index = findState(table.stages[0].settings, "D3DTSS_TEXCOORDINDEX");
  index->isSet = true;
  index->numericValue = 2.0f;
  StateEntry* border = findState(table.stages[0].settings, "D3DTSS_BORDERCOLOR");
  border->isSet = true;
  border->textValue = "0x11223344";
  // Set but not recorded: the value differs from the default yet isSet is off.
  findState(table.stages[5].settings, "D3DTSS_BUMPENVMAT00")->numericValue = 3.0f;

  std::vector<std::string> expected = {
      "TEXTURE,Material Base Texture,1,BASE,0",
      "TEXTURE,Material Alpha Texture,1,ALPHA,3",
      "TEXTURE,Toon.BMP,0,\\media\\textures\\Toon.BMP,1",
      "TEXTURE,far.bmp,0,d:\\art\\far.bmp,-1",
      "STAGE,0,D3DTSS_TEXCOORDINDEX,2.00",
      "STAGE,0,D3DTSS_MIPMAPLODBIAS,-1.50",
      "STAGE,0,D3DTSS_BORDERCOLOR,0x11223344",
      "STAGE,2,D3DTSS_COLOROP,D3DTOP_ADD",
  };
  auto lines = textureStageFileLines(effect, "c:\\tool");
  EXPECT_EQ(texts(lines), expected);
  EXPECT_EQ(lines[3].failureMessage, "Error while writing textures in line 3 !");
  EXPECT_EQ(lines[4].failureMessage, "Error while writing texture state in line 4 !");
}

TEST(TextureStageFile, StoredPathIsRelativeOnlyInsideTheProgramFolder) {
  TextureSlot inside{"a.bmp", "C:\\Tool\\media\\a.bmp", 0, 0};
  TextureSlot sibling{"b.bmp", "C:\\Tool2\\media\\b.bmp", 0, 0};
  TextureSlot noFolder{"c.bmp", "c.bmp", 0, 0};
  EXPECT_EQ(storedTexturePath(inside, "C:\\TOOL"), "\\media\\a.bmp");
  EXPECT_EQ(storedTexturePath(inside, "C:\\Tool\\"), "\\media\\a.bmp");
  // A folder that merely starts with the program folder's name stays absolute.
  EXPECT_EQ(storedTexturePath(sibling, "C:\\Tool"), "c:\\tool2\\media\\b.bmp");
  EXPECT_EQ(storedTexturePath(noFolder, "C:\\Tool"), "c.bmp");
}

// Writes the effect's texture lines and reads them into a new effect.
std::vector<TextureSlot> texturesReadBack(const Effect& effect, const std::string& programFolder) {
  std::string text;
  for (const auto& line : textureStageFileLines(effect, programFolder)) text += line.text + "\r\n";
  Effect again = test::newShippedEffect();
  parseTextureStages(again, text, programFolder);
  return again.textureStages.textures;
}

TEST(TextureStageFile, TexturesWithCommasInTheirFolderOrNameReadBackAsWritten) {
  Effect effect = test::newShippedEffect();
  auto& table = effect.textureStages;
  table.textures.push_back({"toon.bmp", "C:\\Tool\\media\\old, kept\\toon.bmp", 0, 2});
  table.textures.push_back({"Wood, dark.bmp", "d:\\art\\Wood, dark.bmp", 0, 5});
  table.textures.push_back({"a,0,b.bmp", "d:\\x,0,y\\a,0,b.bmp", 0, -1});
  table.textures.push_back({"plain.bmp", "d:\\art\\plain.bmp", 0, 1});
  auto textures = texturesReadBack(effect, "C:\\Tool");
  ASSERT_EQ(textures.size(), 4u);
  for (size_t i = 0; i < textures.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(textures[i].name, table.textures[i].name);
    EXPECT_EQ(textures[i].path, table.textures[i].path);
    EXPECT_EQ(textures[i].kind, 0);
    EXPECT_EQ(textures[i].stage, table.textures[i].stage);
  }
}

TEST(TextureStageFile, TexturesOnANetworkShareAreNotPutBelowTheProgramFolder) {
  Effect effect = test::newShippedEffect();
  effect.textureStages.textures.push_back({"toon.bmp", "\\\\server\\art\\toon.bmp", 0, 0});
  effect.textureStages.textures.push_back({"near.bmp", "C:\\Tool\\media\\near.bmp", 0, 1});
  auto textures = texturesReadBack(effect, "C:\\Tool");
  ASSERT_EQ(textures.size(), 2u);
  EXPECT_EQ(textures[0].path, "\\\\server\\art\\toon.bmp");
  EXPECT_EQ(textures[1].path, "C:\\Tool\\media\\near.bmp");
}

// ---- renderstates.txt

TEST(RenderStateFile, TheFilesChoiceReplacesTheCatalogueDefault) {
  Effect effect = test::newShippedEffect();
  parseRenderStates(effect,
                    "D3DRS_ALPHAFUNC,D3DCMP_LESS\r\n"
                    "D3DRS_CULLMODE,D3DCULL_BOGUS\r\n"
                    "D3DRS_ZENABLE\r\n"
                    "D3DRS_FOGSTART,0.25\r\n"
                    "D3DRS_CLIPPLANEENABLE,3.9\r\n"
                    "D3DRS_TEXTUREFACTOR,0xFF00FF00\r\n"
                    "D3DRS_STENCILMASK,255\r\n"
                    "D3DRS_FOGEND,1e39\r\n"
                    "D3DRS_NOSUCHSTATE,1\r\n"
                    "\r\n");
  auto selected = [&](const char* name) {
    std::vector<std::string> names;
    for (const auto& enumerant : findState(effect.renderStates, name)->enumerants)
      if (enumerant.selected) names.push_back(enumerant.name);
    return names;
  };
  EXPECT_EQ(selected("D3DRS_ALPHAFUNC"), std::vector<std::string>{"D3DCMP_LESS"});
  // An enumerant the state does not have is ignored.
  EXPECT_EQ(selected("D3DRS_CULLMODE"), std::vector<std::string>{"D3DCULL_CW"});
  // A line without a value changes nothing.
  EXPECT_EQ(selected("D3DRS_ZENABLE"), std::vector<std::string>{"D3DZB_TRUE"});
  EXPECT_EQ(selected("D3DRS_FILLMODE"), std::vector<std::string>{"D3DFILL_SOLID"});

  const StateEntry* fogStart = findState(effect.renderStates, "D3DRS_FOGSTART");
  EXPECT_TRUE(fogStart->isSet);
  EXPECT_FLOAT_EQ(fogStart->numericValue, 0.25f);
  const StateEntry* clip = findState(effect.renderStates, "D3DRS_CLIPPLANEENABLE");
  EXPECT_TRUE(clip->isSet);
  EXPECT_FLOAT_EQ(clip->numericValue, 3.0f);
  EXPECT_EQ(findState(effect.renderStates, "D3DRS_TEXTUREFACTOR")->textValue, "0xFF00FF00");
  EXPECT_EQ(findState(effect.renderStates, "D3DRS_STENCILMASK")->textValue, "255");
  // Beyond the float range: held at the largest float, written as a number.
  const StateEntry* fogEnd = findState(effect.renderStates, "D3DRS_FOGEND");
  EXPECT_EQ(fogEnd->numericValue, std::numeric_limits<float>::max());
  for (const auto& line : renderStateFileLines(effect)) {
    if (line.text.rfind("D3DRS_FOGEND,", 0) == 0) {
      EXPECT_EQ(line.text.find("inf"), std::string::npos) << line.text;
    }
  }
}

TEST(RenderStateFile, WritesChoicesInCatalogueOrder) {
  Effect effect = test::newShippedEffect();
  StateEntry* cull = findState(effect.renderStates, "D3DRS_CULLMODE");
  for (auto& enumerant : cull->enumerants) enumerant.selected = enumerant.name == "D3DCULL_NONE";
  findEnumerant(*findState(effect.renderStates, "D3DRS_ZWRITEENABLE"), "TRUE")->selected = true;
  StateEntry* bias = findState(effect.renderStates, "D3DRS_ZBIAS");
  bias->isSet = true;
  bias->numericValue = 2.0f;
  StateEntry* clip = findState(effect.renderStates, "D3DRS_CLIPPLANEENABLE");
  clip->isSet = true;
  clip->numericValue = 5.9f;
  StateEntry* ref = findState(effect.renderStates, "D3DRS_ALPHAREF");
  ref->isSet = true;
  ref->textValue = "0x00000080";

  std::vector<std::string> expected = {
      "D3DRS_FILLMODE,D3DFILL_SOLID",  "D3DRS_SHADEMODE,D3DSHADE_GOURAUD", "D3DRS_CULLMODE,D3DCULL_NONE",
      "D3DRS_ZFUNC,D3DCMP_LESSEQUAL",  "D3DRS_ZENABLE,D3DZB_TRUE",         "D3DRS_ZWRITEENABLE,TRUE",
      "D3DRS_ZBIAS,2.00",              "D3DRS_ALPHATESTENABLE,TRUE",       "D3DRS_ALPHAFUNC,D3DCMP_GREATER",
      "D3DRS_ALPHAREF,0x00000080",     "D3DRS_CLIPPLANEENABLE,5",
  };
  auto lines = renderStateFileLines(effect);
  EXPECT_EQ(texts(lines), expected);
  EXPECT_EQ(lines[10].failureMessage, "Error while writing render state in line 10 !");
}

// ---- streammapping.txt

TEST(StreamMappingFile, ReadsRegistersByNameAndRebuildsTheDeclaration) {
  Effect effect = test::newShippedEffect();
  effect.streamMapping.stream = 3;
  parseStreamMapping(effect,
                     "TexCoord,v-1\r\n"
                     "Normal,vv5\r\n"
                     "Color,v2\r\n"
                     "Tangent\r\n"
                     "\r\n");
  const auto& entries = effect.streamMapping.entries;
  EXPECT_EQ(effect.streamMapping.stream, 0u);
  EXPECT_EQ(entries[0].inputRegister, 0);  // not named: kept
  EXPECT_EQ(entries[1].inputRegister, 5);
  EXPECT_EQ(entries[2].inputRegister, -1);
  EXPECT_EQ(entries[3].inputRegister, 8);
  EXPECT_EQ(effect.streamMapping.declaration[2], 0x40020005u);
  EXPECT_EQ(effect.streamMapping.declaration[5], 0xFFFFFFFFu);
}

TEST(StreamMappingFile, WritesEveryEntryWithItsRegister) {
  Effect effect = test::newShippedEffect();
  effect.streamMapping.entries[2].inputRegister = -1;
  std::vector<std::string> expected = {"Position,v0", "Normal,v3", "TexCoord,v-1", "Tangent,v8", "BiNormal,v9"};
  EXPECT_EQ(texts(streamMappingFileLines(effect)), expected);
}

// ---- shader sources

TEST(ShaderFile, DropsCarriageReturnsAndKeepsAMissingLastLineEnd) {
  ShaderSlot slot;
  slot.source = "vs.1.1\r\nmov oPos, v0\r\r\nmov oD0, c4";
  auto lines = shaderFileLines(slot, "Error while writing Vertex Shader !");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(texts(lines), (std::vector<std::string>{"vs.1.1", "mov oPos, v0", "mov oD0, c4"}));
  EXPECT_TRUE(lines[1].lineEnd);
  EXPECT_FALSE(lines[2].lineEnd);
  EXPECT_EQ(lines[2].failureMessage, "Error while writing Vertex Shader !");

  slot.source = "a\n\n";
  lines = shaderFileLines(slot, "");
  EXPECT_EQ(texts(lines), (std::vector<std::string>{"a", ""}));
  slot.source.clear();
  EXPECT_TRUE(shaderFileLines(slot, "").empty());
}

}  // namespace
}  // namespace veltrace
