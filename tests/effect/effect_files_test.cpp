// Loading and saving whole effect file sets: the files on disk, the
// messages, and that nothing is lost on the way.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "effect/declaration.h"
#include "effect/effect_files.h"
#include "effect/staged_files.h"
#include "effect_test_support.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

using test::fileText;
using test::writeText;

class EffectFiles : public ::testing::Test {
 protected:
  std::string root() const { return folder_.corePath(); }
  std::string path(const std::string& relative) const { return root() + "\\" + relative; }

  // Loads with the shipped catalogues; the messages go to log_.
  bool load(Effect& effect, const std::string& indexPath) {
    effect = test::newShippedEffect();
    return loadEffect(effect, indexPath, programFolder, log_);
  }

  std::vector<std::string> takeLog() { return log_.takePending(); }

  // Lists the names in a folder, to catch temporary files left behind.
  std::vector<std::string> namesIn(const std::string& corePath) const {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(nativePath(corePath)))
      names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempFolder folder_;
  MessageLog log_;
  std::string programFolder = "C:\\Tool";
};

const char* const newEffectIndex =
    "EFFECT_NAME,Sample\r\n"
    "EFFECT_PATH,\\sample\\\r\n"
    "VARIABLES_FILE,variables.txt\r\n"
    "TEXTURESTAGESTATES_FILE,texturesstagesstates.txt\r\n"
    "RENDERSTATES_FILE,renderstates.txt\r\n"
    "STREAMMAPPING_FILE,streammapping.txt\r\n"
    "VERTEXSHADER_FILE,NULL\r\n"
    "PIXELSHADER_FILE,NULL\r\n";

TEST_F(EffectFiles, ANewEffectIsWrittenExactlyAsDocumented) {
  Effect effect = test::newShippedEffect();
  effect.name = "Sample";
  ASSERT_TRUE(saveEffect(effect, path("sample.veff"), programFolder, log_));
  EXPECT_EQ(takeLog(), std::vector<std::string>{"Effect file \"" + path("sample.veff") + "\" saved ..."});

  EXPECT_EQ(fileText(path("sample.veff")), newEffectIndex);
  EXPECT_EQ(fileText(path("sample\\variables.txt")), "");
  EXPECT_EQ(fileText(path("sample\\texturesstagesstates.txt")), "");
  EXPECT_EQ(fileText(path("sample\\renderstates.txt")),
            "D3DRS_FILLMODE,D3DFILL_SOLID\r\n"
            "D3DRS_SHADEMODE,D3DSHADE_GOURAUD\r\n"
            "D3DRS_CULLMODE,D3DCULL_CW\r\n"
            "D3DRS_ZFUNC,D3DCMP_LESSEQUAL\r\n"
            "D3DRS_ZENABLE,D3DZB_TRUE\r\n"
            "D3DRS_ALPHATESTENABLE,TRUE\r\n"
            "D3DRS_ALPHAFUNC,D3DCMP_GREATER\r\n");
  EXPECT_EQ(fileText(path("sample\\streammapping.txt")),
            "Position,v0\r\nNormal,v3\r\nTexCoord,v7\r\nTangent,v8\r\nBiNormal,v9\r\n");
  EXPECT_EQ(namesIn(root()), (std::vector<std::string>{"sample", "sample.veff"}));
  EXPECT_EQ(namesIn(path("sample")), (std::vector<std::string>{"renderstates.txt", "streammapping.txt",
                                                               "texturesstagesstates.txt", "variables.txt"}));
  // The save names the index file only; name and folder stay.
  EXPECT_EQ(effect.indexFileName, "sample.veff");
  EXPECT_EQ(effect.name, "Sample");
  EXPECT_EQ(effect.folder, "\\effects\\");
}

TEST_F(EffectFiles, TheShippedSampleEffectIsANewEffectNamedSample) {
  std::string shipped = test::shippedProgramFolder() + "\\effects\\";
  EXPECT_EQ(fileText(shipped + "sample.veff"), newEffectIndex);
  Effect effect = test::newShippedEffect();
  effect.name = "Sample";
  ASSERT_TRUE(saveEffect(effect, path("sample.veff"), programFolder, log_));
  for (const char* name : {"variables.txt", "texturesstagesstates.txt", "renderstates.txt", "streammapping.txt"})
    EXPECT_EQ(fileText(shipped + "sample\\" + name), fileText(path("sample\\") + name)) << name;
}

// An effect with something in every field the files carry.
Effect richEffect(const std::string& programFolder) {
  Effect effect = test::newShippedEffect();
  effect.name = "Glass (two sided)";

  EffectVariable half;
  half.name = "Constant Half";
  half.value = {0.5f, -1.25f, 3.0f, 0.00001f};
  half.vsRegister = 15;
  effect.vectors.push_back(half);
  EffectVariable light;
  light.name = "Light [world]";
  light.predefined = true;
  light.predefinedName = "light_pos_world";
  light.psRegister = 2;
  effect.vectors.push_back(light);
  EffectVariable matrix;
  matrix.kind = VariableKind::matrix;
  matrix.name = "Transform";
  for (int i = 0; i < 16; ++i) matrix.value[i] = static_cast<float>(i * i) / 8.0f - 4.0f;
  matrix.vsRegister = 4;
  matrix.psRegister = 6;
  effect.matrices.push_back(matrix);
  EffectVariable viewProj;
  viewProj.kind = VariableKind::matrix;
  viewProj.name = "VP";
  viewProj.predefined = true;
  viewProj.predefinedName = "view_proj";
  viewProj.vsRegister = 0;
  effect.matrices.push_back(viewProj);
  EffectVariable tint;
  tint.kind = VariableKind::color;
  tint.name = "Tint";
  tint.value = {1.0f, 0.2f, 0.0f, 0.6f};
  tint.psRegister = 1;
  effect.colors.push_back(tint);

  auto& table = effect.textureStages;
  table.baseStage = 0;
  table.bumpStage = 1;
  table.alphaStage = 7;
  table.textures.push_back({"Toon.BMP", programFolder + "\\media\\textures\\Toon.BMP", 0, 2});
  table.textures.push_back({"far.dds", "d:\\art\\far.dds", 0, -1});
  findEnumerant(*findState(table.stages[0].settings, "D3DTSS_COLOROP"), "D3DTOP_MODULATE")->selected = true;
  findEnumerant(*findState(table.stages[0].settings, "D3DTSS_COLORARG1"), "D3DTA_TEXTURE")->selected = true;
  findEnumerant(*findState(table.stages[1].settings, "D3DTSS_COLOROP"), "D3DTOP_BUMPENVMAP")->selected = true;
  for (const char* name : {"D3DTSS_BUMPENVMAT00", "D3DTSS_BUMPENVMAT11"}) {
    StateEntry* entry = findState(table.stages[1].settings, name);
    entry->isSet = true;
    entry->numericValue = -0.75f;
  }
  StateEntry* index = findState(table.stages[6].settings, "D3DTSS_TEXCOORDINDEX");
  index->isSet = true;
  index->numericValue = 3.0f;
  StateEntry* border = findState(table.stages[7].settings, "D3DTSS_BORDERCOLOR");
  border->isSet = true;
  border->textValue = "0xFF00FF00";

  auto& states = effect.renderStates;
  for (auto& enumerant : findState(states, "D3DRS_CULLMODE")->enumerants)
    enumerant.selected = enumerant.name == "D3DCULL_NONE";
  for (auto& enumerant : findState(states, "D3DRS_ALPHATESTENABLE")->enumerants)
    enumerant.selected = enumerant.name == "FALSE";
  findEnumerant(*findState(states, "D3DRS_ALPHABLENDENABLE"), "TRUE")->selected = true;
  findEnumerant(*findState(states, "D3DRS_SRCBLEND"), "D3DBLEND_SRCALPHA")->selected = true;
  StateEntry* fogEnd = findState(states, "D3DRS_FOGEND");
  fogEnd->isSet = true;
  fogEnd->numericValue = 12.5f;
  StateEntry* clip = findState(states, "D3DRS_CLIPPLANEENABLE");
  clip->isSet = true;
  clip->numericValue = 3.0f;
  StateEntry* factor = findState(states, "D3DRS_TEXTUREFACTOR");
  factor->isSet = true;
  factor->textValue = "0x80FF0000";
  StateEntry* mask = findState(states, "D3DRS_STENCILMASK");
  mask->isSet = true;
  mask->textValue = "255";

  findStreamEntry(effect.streamMapping, "TexCoord")->inputRegister = -1;
  findStreamEntry(effect.streamMapping, "Normal")->inputRegister = 5;
  buildDeclaration(effect.streamMapping);

  effect.vertexShader.present = true;
  effect.vertexShader.source = "vs.1.1\r\nm4x4 oPos, v0, c0\r\nmov oD0, c4\r\n";
  effect.pixelShader.present = true;
  effect.pixelShader.source = "ps.1.1\r\ntex t0\r\nmov r0, t0\r\n";
  return effect;
}

void expectVariablesEqual(const std::vector<EffectVariable>& read, const std::vector<EffectVariable>& written,
                          float tolerance) {
  ASSERT_EQ(read.size(), written.size());
  for (size_t i = 0; i < read.size(); ++i) {
    SCOPED_TRACE(written[i].name);
    EXPECT_EQ(read[i].name, written[i].name);
    EXPECT_EQ(read[i].kind, written[i].kind);
    EXPECT_EQ(read[i].predefined, written[i].predefined);
    EXPECT_EQ(read[i].predefinedName, written[i].predefinedName);
    EXPECT_EQ(read[i].vsRegister, written[i].vsRegister);
    EXPECT_EQ(read[i].psRegister, written[i].psRegister);
    if (written[i].predefined) continue;
    for (int v = 0; v < valueCount(written[i].kind); ++v) EXPECT_NEAR(read[i].value[v], written[i].value[v], tolerance);
  }
}

void expectStatesEqual(const std::vector<StateEntry>& read, const std::vector<StateEntry>& written) {
  ASSERT_EQ(read.size(), written.size());
  for (size_t i = 0; i < read.size(); ++i) {
    SCOPED_TRACE(written[i].name);
    EXPECT_EQ(read[i].name, written[i].name);
    EXPECT_EQ(read[i].isSet, written[i].isSet);
    EXPECT_EQ(read[i].textValue, written[i].textValue);
    EXPECT_FLOAT_EQ(read[i].numericValue, written[i].numericValue);
    ASSERT_EQ(read[i].enumerants.size(), written[i].enumerants.size());
    for (size_t e = 0; e < read[i].enumerants.size(); ++e)
      EXPECT_EQ(read[i].enumerants[e].selected, written[i].enumerants[e].selected) << written[i].enumerants[e].name;
  }
}

TEST_F(EffectFiles, LoadSaveLoadKeepsEveryField) {
  programFolder = root();
  Effect written = richEffect(programFolder);
  ASSERT_TRUE(saveEffect(written, path("glass.veff"), programFolder, log_));
  takeLog();

  Effect read;
  ASSERT_TRUE(load(read, path("glass.veff")));
  ASSERT_TRUE(readShaderSources(read, log_));
  EXPECT_TRUE(takeLog().empty());

  EXPECT_EQ(read.name, written.name);
  EXPECT_EQ(read.folder, path("glass\\"));
  EXPECT_EQ(read.indexFileName, "glass.veff");
  EXPECT_EQ(read.variablesFile, "variables.txt");
  EXPECT_EQ(read.textureStatesFile, "texturesstagesstates.txt");
  EXPECT_EQ(read.renderStatesFile, "renderstates.txt");
  EXPECT_EQ(read.streamMappingFile, "streammapping.txt");
  EXPECT_EQ(read.vertexShaderFile, "vertexshader.txt");
  EXPECT_EQ(read.pixelShaderFile, "pixelshader.txt");

  expectVariablesEqual(read.vectors, written.vectors, 0.000005f);
  expectVariablesEqual(read.matrices, written.matrices, 0.000005f);
  expectVariablesEqual(read.colors, written.colors, 1.0f / 255.0f);

  const auto& readTable = read.textureStages;
  const auto& writtenTable = written.textureStages;
  EXPECT_EQ(readTable.baseStage, 0);
  EXPECT_EQ(readTable.bumpStage, 1);
  EXPECT_EQ(readTable.alphaStage, 7);
  ASSERT_EQ(readTable.textures.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(readTable.textures[i].name, writtenTable.textures[i].name);
    EXPECT_EQ(readTable.textures[i].path, writtenTable.textures[i].path);
    EXPECT_EQ(readTable.textures[i].kind, 0);
    EXPECT_EQ(readTable.textures[i].stage, writtenTable.textures[i].stage);
  }
  for (int stage = 0; stage < textureStageCount; ++stage) {
    SCOPED_TRACE(stage);
    expectStatesEqual(readTable.stages[stage].settings, writtenTable.stages[stage].settings);
  }
  expectStatesEqual(read.renderStates, written.renderStates);

  ASSERT_EQ(read.streamMapping.entries.size(), 5u);
  for (size_t i = 0; i < 5; ++i)
    EXPECT_EQ(read.streamMapping.entries[i].inputRegister, written.streamMapping.entries[i].inputRegister);
  EXPECT_EQ(read.streamMapping.declaration, written.streamMapping.declaration);

  EXPECT_TRUE(read.vertexShader.present);
  EXPECT_TRUE(read.pixelShader.present);
  EXPECT_EQ(read.vertexShader.source, written.vertexShader.source);
  EXPECT_EQ(read.pixelShader.source, written.pixelShader.source);
  EXPECT_EQ(read.vertexShader.name.rfind("Glass (two sided) VertexShader #", 0), 0u) << read.vertexShader.name;
  EXPECT_EQ(read.pixelShader.name.rfind("Glass (two sided) PixelShader #", 0), 0u) << read.pixelShader.name;

  // Saving what was read writes the same bytes again.
  std::vector<std::string> names = {"variables.txt", "texturesstagesstates.txt", "renderstates.txt",
                                    "streammapping.txt", "vertexshader.txt", "pixelshader.txt"};
  ASSERT_TRUE(saveEffect(read, path("again.veff"), programFolder, log_));
  for (const auto& name : names) EXPECT_EQ(fileText(path("again\\" + name)), fileText(path("glass\\" + name))) << name;
  EXPECT_EQ(fileText(path("glass\\vertexshader.txt")), written.vertexShader.source);
}

TEST_F(EffectFiles, ShaderNumbersDifferAcrossEffectsLoadedOneAfterTheOther) {
  Effect effect = test::newShippedEffect();
  effect.name = "A";
  effect.vertexShader.present = true;
  effect.pixelShader.present = true;
  ASSERT_TRUE(saveEffect(effect, path("a.veff"), programFolder, log_));
  effect.name = "B";
  ASSERT_TRUE(saveEffect(effect, path("b.veff"), programFolder, log_));

  Effect first, second;
  ASSERT_TRUE(load(first, path("a.veff")));
  ASSERT_TRUE(load(second, path("b.veff")));
  std::vector<std::string> names = {first.vertexShader.name, first.pixelShader.name, second.vertexShader.name,
                                    second.pixelShader.name};
  std::vector<int> numbers;
  for (const auto& name : names) numbers.push_back(std::stoi(name.substr(name.rfind('#') + 1)));
  EXPECT_EQ(numbers[1], numbers[0] + 1);
  EXPECT_EQ(numbers[2], numbers[1] + 1);
  EXPECT_EQ(numbers[3], numbers[2] + 1);
  EXPECT_EQ(names[2], formatText("B VertexShader #%d", numbers[2]));
}

TEST_F(EffectFiles, ReportsAMissingOrBadIndexFile) {
  Effect effect;
  EXPECT_FALSE(load(effect, path("none.veff")));
  EXPECT_EQ(takeLog(), std::vector<std::string>{"Error while opening effect \"" + path("none.veff") + "\" !"});

  struct Case {
    const char* text;
    int badLine;
  };
  const Case cases[] = {
      {"EFFECT_NAME,x\r\nEFFECT_PATH,\\x\\\r\nNOT_A_KEY,1\r\nVARIABLES_FILE,v.txt\r\n", 3},
      {"EFFECT_NAME,x,BOGUS,1,EFFECT_PATH,\\x\\\r\n", 1},
      {"EFFECT_NAME\r\n", 1},
      {"EFFECT_NAME,x\r\n\r\n", 2},
      {"effect_name,x\r\n", 1},
  };
  for (const auto& c : cases) {
    writeText(path("bad.veff"), c.text);
    EXPECT_FALSE(load(effect, path("bad.veff"))) << c.text;
    EXPECT_EQ(takeLog(), std::vector<std::string>{formatText("Error while reading effect file \"%s\" in line %i !",
                                                             path("bad.veff").c_str(), c.badLine)})
        << c.text;
  }
  // Reading stops at the bad line, though the rest of that line is read.
  writeText(path("bad.veff"), "EFFECT_NAME,x,BOGUS,1,EFFECT_PATH,\\elsewhere\\\r\nVARIABLES_FILE,v.txt\r\n");
  load(effect, path("bad.veff"));
  EXPECT_EQ(effect.folder, path("elsewhere\\"));
  EXPECT_TRUE(effect.variablesFile.empty());
}

TEST_F(EffectFiles, AMissingComponentFailsTheLoadWithItsMessages) {
  Effect effect = test::newShippedEffect();
  ASSERT_TRUE(saveEffect(effect, path("e.veff"), programFolder, log_));
  takeLog();
  struct Case {
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      {"variables.txt", "Error while initializing Variables !"},
      {"texturesstagesstates.txt", "Error while initializing Textures/Stages/States!"},
      {"renderstates.txt", "Error while initializing Render States!"},
      {"streammapping.txt", "Error while initializing Stream Mapping !"},
  };
  for (const auto& c : cases) {
    std::string component = path("e\\") + c.file;
    std::string kept = fileText(component);
    std::filesystem::remove(nativePath(component));
    Effect loaded;
    EXPECT_FALSE(load(loaded, path("e.veff")));
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"Error while opening \"" + component + "\" !", c.message}));
    writeText(component, kept);
  }
  Effect loaded;
  EXPECT_TRUE(load(loaded, path("e.veff")));
  EXPECT_TRUE(takeLog().empty());
}

TEST_F(EffectFiles, TrailingEmptyLineFailsVariablesButNotTextures) {
  Effect effect = test::newShippedEffect();
  ASSERT_TRUE(saveEffect(effect, path("e.veff"), programFolder, log_));
  takeLog();
  writeText(path("e\\texturesstagesstates.txt"), "TEXTURE,Material Base Texture,1,BASE,2\r\n\r\n");
  Effect loaded;
  EXPECT_TRUE(load(loaded, path("e.veff")));
  EXPECT_EQ(loaded.textureStages.baseStage, 2);
  EXPECT_TRUE(takeLog().empty());

  writeText(path("e\\variables.txt"), "VECTOR,v,0,1,2,3,4,NA,NA\r\n\r\n");
  EXPECT_FALSE(load(loaded, path("e.veff")));
  EXPECT_EQ(takeLog(), (std::vector<std::string>{"Error while reading effect file \"variables.txt\" in line 2 !",
                                                 "Error while initializing Variables !"}));
}

TEST_F(EffectFiles, EffectPathIsBelowTheIndexFolderOrAbsolute) {
  Effect effect = test::newShippedEffect();
  effect.name = "Elsewhere";
  ASSERT_TRUE(saveEffect(effect, path("store.veff"), programFolder, log_));
  ASSERT_EQ(createFolder(path("index")), FolderResult::created);
  // A folder not starting with a backslash replaces the index file's folder.
  // Natively an absolute path starts with one, so there it is named from the
  // working folder instead.
  std::string storeFolder = path("store\\");
  if (storeFolder[0] == '\\') {
    storeFolder = std::filesystem::relative(folder_.path() / "store").string() + "\\";
    std::replace(storeFolder.begin(), storeFolder.end(), '/', '\\');
  }
  writeText(path("index\\absolute.veff"), "EFFECT_NAME,Abs\r\nEFFECT_PATH," + storeFolder +
                                              "\r\nVARIABLES_FILE,variables.txt\r\n"
                                              "TEXTURESTAGESTATES_FILE,texturesstagesstates.txt\r\n"
                                              "RENDERSTATES_FILE,renderstates.txt\r\n"
                                              "STREAMMAPPING_FILE,streammapping.txt\r\n");
  Effect loaded;
  EXPECT_TRUE(load(loaded, path("index\\absolute.veff")));
  EXPECT_EQ(loaded.folder, storeFolder);
  EXPECT_EQ(loaded.indexFileName, "absolute.veff");
  EXPECT_FALSE(loaded.vertexShader.present);

  std::string relative = fileText(path("store.veff"));
  writeText(path("relative.veff"), relative);
  EXPECT_TRUE(load(loaded, path("relative.veff")));
  EXPECT_EQ(loaded.folder, path("store\\"));
  EXPECT_EQ(loaded.name, "Elsewhere");
}

TEST_F(EffectFiles, AnIndexFileNameWithCommasLoadsAgain) {
  Effect effect = test::newShippedEffect();
  effect.name = "Glass";
  ASSERT_TRUE(saveEffect(effect, path("Glass, two sided.veff"), programFolder, log_));
  EXPECT_NE(fileText(path("Glass, two sided.veff")).find("EFFECT_PATH,\\Glass, two sided\\\r\n"), std::string::npos);
  takeLog();
  Effect loaded;
  EXPECT_TRUE(load(loaded, path("Glass, two sided.veff"))) << takeLog().front();
  EXPECT_EQ(loaded.folder, path("Glass, two sided\\"));
  EXPECT_EQ(loaded.variablesFile, "variables.txt");

  // The folder ends at its backslash; pairs behind it are still read.
  writeText(path("pairs.veff"), "EFFECT_PATH,\\Glass, two sided\\,EFFECT_NAME,Pairs\r\n"
                                "VARIABLES_FILE,variables.txt\r\n"
                                "TEXTURESTAGESTATES_FILE,texturesstagesstates.txt\r\n"
                                "RENDERSTATES_FILE,renderstates.txt\r\n"
                                "STREAMMAPPING_FILE,streammapping.txt\r\n");
  EXPECT_TRUE(load(loaded, path("pairs.veff")));
  EXPECT_EQ(loaded.name, "Pairs");
  EXPECT_EQ(loaded.folder, path("Glass, two sided\\"));
}

TEST_F(EffectFiles, RenderStateFileChoicesReplaceDefaultsOnlyWhereNamed) {
  Effect effect = test::newShippedEffect();
  ASSERT_TRUE(saveEffect(effect, path("e.veff"), programFolder, log_));
  writeText(path("e\\renderstates.txt"), "D3DRS_CULLMODE,D3DCULL_CCW\r\n");
  Effect loaded;
  ASSERT_TRUE(load(loaded, path("e.veff")));
  auto selectedOf = [&](const char* state) {
    std::string names;
    for (const auto& enumerant : findState(loaded.renderStates, state)->enumerants)
      if (enumerant.selected) names += enumerant.name + " ";
    return names;
  };
  EXPECT_EQ(selectedOf("D3DRS_CULLMODE"), "D3DCULL_CCW ");
  EXPECT_EQ(selectedOf("D3DRS_ALPHAFUNC"), "D3DCMP_GREATER ");
  writeText(path("e\\renderstates.txt"), "D3DRS_ALPHAFUNC,D3DCMP_LESS\r\n");
  ASSERT_TRUE(load(loaded, path("e.veff")));
  EXPECT_EQ(selectedOf("D3DRS_ALPHAFUNC"), "D3DCMP_LESS ");
}

TEST_F(EffectFiles, ShadersAreWrittenOnlyWhenPresentAndMissingSourcesAreReported) {
  Effect effect = test::newShippedEffect();
  effect.vertexShader.present = true;
  effect.vertexShader.source = "vs.1.1\nmov oPos, v0";
  effect.pixelShader.source = "ps.1.1\r\n";  // kept in memory but switched off
  ASSERT_TRUE(saveEffect(effect, path("e.veff"), programFolder, log_));
  std::string index = fileText(path("e.veff"));
  EXPECT_NE(index.find("VERTEXSHADER_FILE,vertexshader.txt\r\nPIXELSHADER_FILE,NULL\r\n"), std::string::npos);
  EXPECT_EQ(fileText(path("e\\vertexshader.txt")), "vs.1.1\r\nmov oPos, v0");
  EXPECT_FALSE(fileExists(path("e\\pixelshader.txt")));
  takeLog();

  Effect loaded;
  ASSERT_TRUE(load(loaded, path("e.veff")));
  EXPECT_TRUE(readShaderSources(loaded, log_));
  // The editor ends every line, the last one included, with CR LF.
  EXPECT_EQ(loaded.vertexShader.source, "vs.1.1\r\nmov oPos, v0\r\n");

  std::filesystem::remove(nativePath(path("e\\vertexshader.txt")));
  ASSERT_TRUE(load(loaded, path("e.veff")));
  EXPECT_TRUE(takeLog().empty());
  EXPECT_FALSE(readShaderSources(loaded, log_));
  EXPECT_EQ(takeLog(), std::vector<std::string>{"Error while opening \"" + path("e\\vertexshader.txt") + "\" !"});
}

TEST_F(EffectFiles, SavingOverAnExistingFolderReusesIt) {
  Effect effect = test::newShippedEffect();
  ASSERT_EQ(createFolder(path("e")), FolderResult::created);
  writeText(path("e\\notes.txt"), "mine");
  writeText(path("e\\renderstates.txt"), "old");
  ASSERT_TRUE(saveEffect(effect, path("e.veff"), programFolder, log_));
  EXPECT_EQ(fileText(path("e\\notes.txt")), "mine");
  EXPECT_NE(fileText(path("e\\renderstates.txt")), "old");
}

TEST_F(EffectFiles, AFailedSaveLeavesThePreviousFilesAsTheyWere) {
  Effect effect = test::newShippedEffect();
  effect.name = "First";
  ASSERT_TRUE(saveEffect(effect, path("e.veff"), programFolder, log_));
  takeLog();
  std::vector<std::string> names = {"variables.txt", "texturesstagesstates.txt", "renderstates.txt",
                                    "streammapping.txt"};
  std::vector<std::string> before;
  for (const auto& name : names) before.push_back(fileText(path("e\\" + name)));
  std::string indexBefore = fileText(path("e.veff"));

  // Something in the way of the render state file's temporary name.
  ASSERT_EQ(createFolder(path("e\\renderstates.txt.saving~")), FolderResult::created);
  effect.name = "Second";
  effect.vectors.push_back(createVariable(VariableKind::vector));
  findState(effect.renderStates, "D3DRS_FOGSTART")->isSet = true;
  EXPECT_FALSE(saveEffect(effect, path("e.veff"), programFolder, log_));
  EXPECT_EQ(takeLog(), (std::vector<std::string>{"Error while creating \"" + path("e\\renderstates.txt") + "\" !",
                                                 "Error while saving renderstates !"}));
  EXPECT_EQ(fileText(path("e.veff")), indexBefore);
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(fileText(path("e\\" + names[i])), before[i]) << names[i];
  EXPECT_EQ(namesIn(root()), (std::vector<std::string>{"e", "e.veff"}));
  EXPECT_EQ(namesIn(path("e")), (std::vector<std::string>{"renderstates.txt", "renderstates.txt.saving~",
                                                          "streammapping.txt", "texturesstagesstates.txt",
                                                          "variables.txt"}));
}

#ifndef _WIN32
// Lines that cannot be written: the temporary file is made a link to
// /dev/full, where every write fails for want of space.
TEST_F(EffectFiles, LinesThatCannotBeWrittenAreReportedAndNothingIsReplaced) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  Effect effect = test::newShippedEffect();
  effect.vertexShader.present = true;
  effect.vertexShader.source = "old\r\n";
  ASSERT_TRUE(saveEffect(effect, path("e.veff"), programFolder, log_));
  takeLog();
  std::string indexBefore = fileText(path("e.veff"));
  effect.name = "Changed";
  effect.vectors.push_back(createVariable(VariableKind::vector));
  effect.colors.push_back(createVariable(VariableKind::color));
  effect.vertexShader.source = "new\r\nlines\r\n";
  auto full = [&](const std::string& relative) {
    std::filesystem::create_symlink("/dev/full", nativePath(stagingPath(path(relative))));
  };
  auto unlink = [&](const std::string& relative) { std::filesystem::remove(nativePath(stagingPath(path(relative)))); };

  full("e\\variables.txt");
  EXPECT_FALSE(saveEffect(effect, path("e.veff"), programFolder, log_));
  EXPECT_EQ(takeLog(), (std::vector<std::string>{"Error while writing vector in variables file in line 0 !",
                                                 "Error while writing color in variables file in line 1 !",
                                                 "Error while saving variables !"}));
  EXPECT_EQ(fileText(path("e.veff")), indexBefore);
  unlink("e\\variables.txt");

  // A shader that cannot be written keeps its old file; the save goes on.
  full("e\\vertexshader.txt");
  EXPECT_TRUE(saveEffect(effect, path("e.veff"), programFolder, log_));
  EXPECT_EQ(takeLog(), (std::vector<std::string>{"Error while writing Vertex Shader !",
                                                 "Error while writing Vertex Shader !",
                                                 "Effect file \"" + path("e.veff") + "\" saved ..."}));
  EXPECT_EQ(fileText(path("e\\vertexshader.txt")), "old\r\n");
  EXPECT_NE(fileText(path("e.veff")).find("EFFECT_NAME,Changed\r\n"), std::string::npos);
  unlink("e\\vertexshader.txt");

  // An index that cannot be written completely replaces nothing.
  indexBefore = fileText(path("e.veff"));
  std::string variablesBefore = fileText(path("e\\variables.txt"));
  effect.name = "Third";
  effect.vectors.clear();
  full("e.veff");
  EXPECT_FALSE(saveEffect(effect, path("e.veff"), programFolder, log_));
  auto messages = takeLog();
  ASSERT_EQ(messages.size(), 8u);
  EXPECT_EQ(messages[0], "Error while writing effect file \"" + path("e.veff") + "\" in line 0 !");
  EXPECT_EQ(messages[7], "Error while writing effect file \"" + path("e.veff") + "\" in line 7 !");
  EXPECT_EQ(fileText(path("e.veff")), indexBefore);
  EXPECT_EQ(fileText(path("e\\variables.txt")), variablesBefore);
  unlink("e.veff");
  EXPECT_EQ(namesIn(root()), (std::vector<std::string>{"e", "e.veff"}));
}
#endif

TEST_F(EffectFiles, ReportsAnIndexOrFolderThatCannotBeCreated) {
  Effect effect = test::newShippedEffect();
  EXPECT_FALSE(saveEffect(effect, path("missing\\e.veff"), programFolder, log_));
  EXPECT_EQ(takeLog(), std::vector<std::string>{"Error while creating \"" + path("missing\\e.veff") + "\" !"});

  // A file where the component folder belongs.
  writeText(path("taken"), "a file");
  EXPECT_FALSE(saveEffect(effect, path("taken.veff"), programFolder, log_));
  EXPECT_EQ(takeLog(), std::vector<std::string>{"Error while creating new effect directory - try again !"});
  EXPECT_FALSE(fileExists(path("taken.veff")));

  // Without an extension the folder would take the index file's name.
  EXPECT_FALSE(saveEffect(effect, path("plain"), programFolder, log_));
  EXPECT_EQ(takeLog(), std::vector<std::string>{"Error while creating new effect directory - try again !"});
  EXPECT_EQ(namesIn(root()), (std::vector<std::string>{"taken"}));
}

}  // namespace
}  // namespace veltrace
