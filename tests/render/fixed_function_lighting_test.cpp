#include "render/preview/fixed_function_lighting.h"

#include <gtest/gtest.h>

using namespace veltrace;
using namespace veltrace::render;

namespace {

TEST(FixedFunctionLighting, TheLightIsThePreviewLightAtItsCurrentPosition) {
  PreviewLight preview;
  preview.position = {1, 2, -3};
  preview.diffuse = {0.9f, 0.8f, 0.7f, 0};
  preview.ambient = {0.1f, 0.2f, 0.3f, 0};
  FixedFunctionLight light = fixedFunctionLight(preview);
  EXPECT_EQ(light.position.z, -3.0f);
  EXPECT_EQ(light.diffuse.g, 0.8f);
  EXPECT_EQ(light.ambient.b, 0.3f);
  EXPECT_EQ(light.specular.r, preview.specular.r);
  EXPECT_EQ(light.range, preview.range);
  // The preview keeps no attenuation: the device light shines undimmed.
  EXPECT_EQ(light.attenuation0, 1.0f);
  EXPECT_EQ(light.attenuation1 + light.attenuation2, 0.0f);

  preview.attenuation1 = 0.5f;
  light = fixedFunctionLight(preview);
  EXPECT_EQ(light.attenuation0, 0.0f) << "attenuation the light has is kept";
  EXPECT_EQ(light.attenuation1, 0.5f);
}

TEST(FixedFunctionLighting, MaterialShineBecomesTheSpecularPowerAndNoShineNoHighlight) {
  MaterialColours colours;
  colours.diffuse = {0.8f, 0.8f, 0.9f, 1};
  colours.specular = {0.5f, 0.5f, 0.5f, 1};
  FixedFunctionMaterial shiny = fixedFunctionMaterial(colours, 0.25f);
  EXPECT_EQ(shiny.diffuse.b, 0.9f);
  EXPECT_EQ(shiny.specular.r, 0.5f);
  EXPECT_FLOAT_EQ(shiny.power, 25.0f);

  FixedFunctionMaterial dull = fixedFunctionMaterial(colours, 0);
  EXPECT_EQ(dull.power, 0.0f);
  EXPECT_EQ(dull.specular.r + dull.specular.g + dull.specular.b, 0.0f);
  EXPECT_EQ(dull.diffuse.r, 0.8f);
}

TEST(FixedFunctionLighting, BaseTextureGoesOnStageZeroOnlyForAnEffectWithoutTexturesOfItsOwn) {
  struct Case {
    const char* what;
    std::int32_t baseStage, bumpStage, slotStage;  // slotStage < -1: no slot
    bool materialHasBase;
    bool baseOnZero, stageZeroHasTexture;
  };
  const Case cases[] = {
      {"new effect, textured material", noStage, noStage, -2, true, true, true},
      {"new effect, plain material", noStage, noStage, -2, false, false, false},
      {"effect puts the base on stage 1", 1, noStage, -2, true, false, false},
      {"effect puts the base on stage 0", 0, noStage, -2, true, false, true},
      {"effect asks for the bump texture", noStage, 2, -2, true, false, false},
      {"own texture on stage 0", noStage, noStage, 0, true, false, true},
      {"own texture on stage 3", noStage, noStage, 3, true, false, false},
      {"own texture on no stage", noStage, noStage, noStage, true, true, true},
      {"own texture on a stage that does not exist", noStage, noStage, 8, true, true, true},
  };
  for (const Case& c : cases) {
    Effect effect;
    effect.textureStages.baseStage = c.baseStage;
    effect.textureStages.bumpStage = c.bumpStage;
    if (c.slotStage >= -1) effect.textureStages.textures.push_back({"own.bmp", "own.bmp", 0, c.slotStage});
    EXPECT_EQ(baseTextureOnStageZero(effect, c.materialHasBase), c.baseOnZero) << c.what;
    EXPECT_EQ(stageZeroTextured(effect, c.materialHasBase), c.stageZeroHasTexture) << c.what;
  }
}

}  // namespace
