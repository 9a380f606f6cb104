// Material blocks: fields, sub-materials, the pending map marks, the order in
// which materials are found, and damaged blocks.

#include <gtest/gtest.h>

#include "scene/material_reader.h"
#include "tests/scene/scene_text.h"

namespace veltrace {
namespace {

using test::materialList;
using test::readSceneText;

TEST(MaterialBlock, ReadsNamesColoursAndValues) {
  auto result = readSceneText(materialList({R"(
    *MATERIAL_NAME "Red Brick Wall"
    *MATERIAL_CLASS "Standard"
    *MATERIAL_AMBIENT 0.1 0.2 0.3
    *MATERIAL_DIFFUSE 0.4 0.5 0.6
    *MATERIAL_SPECULAR 0.7 0.8 0.9
    *MATERIAL_SHINE 0.25
    *MATERIAL_SHINESTRENGTH 0.5
    *MATERIAL_TRANSPARENCY 0.75
    *MATERIAL_SELFILLUM 0.125
    *MATERIAL_XP_FALLOFF 0.0 *UNKNOWN_BLOCK { 1 2 3 })"}));
  ASSERT_TRUE(result.ok);
  ASSERT_EQ(result.scene.materialCount(), 1);
  const SceneMaterial& material = result.scene.materials[0];
  EXPECT_EQ(material.name, "Red Brick Wall");
  EXPECT_EQ(material.className, "Standard");
  EXPECT_FLOAT_EQ(material.ambient.g, 0.2f);
  EXPECT_FLOAT_EQ(material.diffuse.b, 0.6f);
  EXPECT_FLOAT_EQ(material.specular.r, 0.7f);
  EXPECT_EQ(material.diffuse.a, 1.0f);  // alpha keeps its default
  EXPECT_EQ(material.specular.a, 1.0f);
  EXPECT_FLOAT_EQ(material.shine, 0.25f);
  EXPECT_FLOAT_EQ(material.shineStrength, 0.5f);
  EXPECT_FLOAT_EQ(material.transparency, 0.75f);
  EXPECT_FLOAT_EQ(material.selfIllumination, 0.125f);
  EXPECT_EQ(material.emissive.r, 0.0f);
}

TEST(MaterialBlock, DefaultsWhenTheFileHasNoMaterials) {
  auto result = readSceneText("*3DSMAX_ASCIIEXPORT 200\n");
  ASSERT_TRUE(result.ok);
  ASSERT_EQ(result.scene.materialCount(), 1);
  const SceneMaterial& material = result.scene.materials[0];
  EXPECT_EQ(material.ambient.r, 1.0f);
  EXPECT_EQ(material.diffuse.g, 1.0f);
  EXPECT_EQ(material.specular.b, 0.0f);
  EXPECT_EQ(material.specular.a, 1.0f);
  EXPECT_TRUE(material.name.empty());
  EXPECT_EQ(material.subMaterialCount(), 0);

  auto zero = readSceneText("*MATERIAL_COUNT 0\n");
  EXPECT_EQ(zero.scene.materialCount(), 1);
  auto negative = readSceneText("*MATERIAL_COUNT -4\n");
  EXPECT_EQ(negative.scene.materialCount(), 1);
}

TEST(MaterialBlock, MapsPutTheirBitmapsInPlace) {
  auto result = readSceneText(materialList({R"(
    *MAP_DIFFUSE { *MAP_CLASS "Bitmap" *BITMAP "C:\maps\stone base.bmp" }
    *MAP_BUMP { *BITMAP "stone_bump.tga" }
    *MAP_OPACITY { *BITMAP "holes.png" }
    *MAP_SPECULAR { *BITMAP "ignored.bmp" })"}));
  const SceneMaterial& material = result.scene.materials[0];
  EXPECT_EQ(material.baseTexture, "C:\\maps\\stone base.bmp");
  EXPECT_EQ(material.bumpTexture, "stone_bump.tga");
  EXPECT_EQ(material.alphaTexture, "holes.png");
}

TEST(MaterialBlock, APendingMarkWaitsForTheNextBitmap) {
  // The bump block has no bitmap; its mark takes the next bitmap found, the
  // one in the diffuse block, whose own mark then waits on.
  auto result = readSceneText(materialList({R"(
    *MAP_BUMP { *MAP_CLASS "Noise" }
    *MAP_DIFFUSE { *BITMAP "first.bmp" }
    *MAP_REFLECT { *BITMAP "second.bmp" })"}));
  const SceneMaterial& material = result.scene.materials[0];
  EXPECT_EQ(material.bumpTexture, "first.bmp");
  EXPECT_EQ(material.baseTexture, "second.bmp");
  EXPECT_TRUE(material.alphaTexture.empty());
}

TEST(MaterialBlock, ABitmapWithNothingPendingIsDropped) {
  auto result = readSceneText(materialList({R"(*MAP_AMBIENT { *BITMAP "nowhere.bmp" } *BITMAP "loose.bmp")"}));
  const SceneMaterial& material = result.scene.materials[0];
  EXPECT_TRUE(material.baseTexture.empty());
  EXPECT_TRUE(material.bumpTexture.empty());
  EXPECT_TRUE(material.alphaTexture.empty());
}

TEST(MaterialBlock, SubMaterialsAreReadIntoTheirSlots) {
  auto result = readSceneText(materialList({R"(
    *MATERIAL_NAME "Multi"
    *NUMSUBMTLS 3
    *SUBMATERIAL 2 { *MATERIAL_NAME "Third" *MAP_OPACITY { *BITMAP "alpha.bmp" } }
    *SUBMATERIAL 0 { *MATERIAL_NAME "First" *MATERIAL_DIFFUSE 0 1 0 }
    *MATERIAL_CLASS "Multi/Sub-Object")"}));
  const SceneMaterial& material = result.scene.materials[0];
  EXPECT_EQ(material.name, "Multi");
  EXPECT_EQ(material.className, "Multi/Sub-Object");
  ASSERT_EQ(material.subMaterialCount(), 3);
  EXPECT_EQ(material.subMaterials[0].name, "First");
  EXPECT_EQ(material.subMaterials[0].diffuse.r, 0.0f);
  EXPECT_TRUE(material.subMaterials[1].name.empty());
  EXPECT_EQ(material.subMaterials[2].name, "Third");
  EXPECT_EQ(material.subMaterials[2].alphaTexture, "alpha.bmp");
}

TEST(MaterialBlock, ASubMaterialBeyondTheCountIsSkippedWithoutEndingTheBlock) {
  auto result = readSceneText(materialList({R"(
    *NUMSUBMTLS 1
    *SUBMATERIAL 5 { *MATERIAL_NAME "Lost" *SUBMATERIAL 0 { *MATERIAL_NAME "Deeper" } }
    *SUBMATERIAL -1 { *MATERIAL_NAME "Negative" }
    *MATERIAL_NAME "Owner")"}));
  const SceneMaterial& material = result.scene.materials[0];
  EXPECT_EQ(material.name, "Owner");
  ASSERT_EQ(material.subMaterialCount(), 1);
  EXPECT_TRUE(material.subMaterials[0].name.empty());
}

TEST(MaterialBlock, SubMaterialCountsAreTakenOnceAndBounded) {
  auto twice = readSceneText(materialList({"*NUMSUBMTLS 2 *NUMSUBMTLS 7"}));
  EXPECT_EQ(twice.scene.materials[0].subMaterialCount(), 2);
  auto negative = readSceneText(materialList({"*NUMSUBMTLS -3"}));
  EXPECT_EQ(negative.scene.materials[0].subMaterialCount(), 0);
  auto huge = readSceneText(materialList({"*NUMSUBMTLS 2000000000"}));
  EXPECT_LE(huge.scene.materials[0].subMaterialCount(), MaterialScan::maxMaterialRecords);
  auto count = readSceneText("*MATERIAL_COUNT 2000000000");
  EXPECT_EQ(count.scene.materialCount(), MaterialScan::maxMaterialRecords);
}

TEST(MaterialBlock, DeepNestingIsCutOffWithoutExhaustingTheStack) {
  std::string nested;
  for (int i = 0; i < 200000; ++i) nested += "*MAP_DIFFUSE { ";
  nested += "*BITMAP \"deep.bmp\"";
  auto result = readSceneText(materialList({nested}));
  EXPECT_EQ(result.scene.materials[0].baseTexture, "deep.bmp");
}

TEST(MaterialOrder, MaterialsAreFoundInFileOrderAndAMissingOneRewinds) {
  // Material 1 stands before material 0, so its search (from behind material
  // 0) misses it and rewinds; material 2 is then found from the start.
  auto result = readSceneText(
      "*MATERIAL_COUNT 3\n"
      "*MATERIAL 1 { *MATERIAL_NAME \"B\" }\n"
      "*MATERIAL 0 { *MATERIAL_NAME \"A\" }\n"
      "*MATERIAL 2 { *MATERIAL_NAME \"C\" }\n");
  ASSERT_EQ(result.scene.materialCount(), 3);
  EXPECT_EQ(result.scene.materials[0].name, "A");
  EXPECT_TRUE(result.scene.materials[1].name.empty());
  EXPECT_EQ(result.scene.materials[2].name, "C");
}

TEST(MaterialOrder, NumbersArePrefixesOfLongerNumbers) {
  // "*MATERIAL 1" is found at the start of "*MATERIAL 12".
  auto result = readSceneText("*MATERIAL_COUNT 2 *MATERIAL 0 { *MATERIAL_NAME \"A\" } *MATERIAL 12 { *MATERIAL_NAME \"L\" }");
  EXPECT_EQ(result.scene.materials[1].name, "L");
}

}  // namespace
}  // namespace veltrace
