#include "render/preview/fixed_function_lighting.h"

namespace veltrace::render {

namespace {

constexpr float powerAtFullShine = 100;

}  // namespace

FixedFunctionLight fixedFunctionLight(const PreviewLight& light) {
  FixedFunctionLight result;
  result.position = light.position;
  result.diffuse = light.diffuse;
  result.specular = light.specular;
  result.ambient = light.ambient;
  result.range = light.range;
  result.attenuation0 = light.attenuation0;
  result.attenuation1 = light.attenuation1;
  result.attenuation2 = light.attenuation2;
  if (result.attenuation0 <= 0 && result.attenuation1 <= 0 && result.attenuation2 <= 0) {
    result.attenuation0 = 1;
    result.attenuation1 = result.attenuation2 = 0;
  }
  return result;
}

FixedFunctionMaterial fixedFunctionMaterial(const MaterialColours& colours, float shine) {
  FixedFunctionMaterial result;
  result.diffuse = colours.diffuse;
  result.ambient = colours.ambient;
  result.specular = colours.specular;
  result.emissive = colours.emissive;
  if (shine > 0) {
    result.power = shine * powerAtFullShine;
  } else {
    result.specular = {0, 0, 0, colours.specular.a};
  }
  return result;
}

bool effectBindsTextures(const Effect& effect) {
  const TextureStageTable& table = effect.textureStages;
  if (table.baseStage >= 0 || table.bumpStage >= 0 || table.alphaStage >= 0) return true;
  for (const TextureSlot& slot : table.textures)
    if (slot.stage >= 0 && slot.stage < textureStageCount) return true;
  return false;
}

bool baseTextureOnStageZero(const Effect& effect, bool materialHasBaseTexture) {
  return materialHasBaseTexture && !effectBindsTextures(effect);
}

bool stageZeroTextured(const Effect& effect, bool materialHasBaseTexture) {
  if (baseTextureOnStageZero(effect, materialHasBaseTexture)) return true;
  const TextureStageTable& table = effect.textureStages;
  if (table.baseStage == 0 || table.bumpStage == 0 || table.alphaStage == 0) return true;
  for (const TextureSlot& slot : table.textures)
    if (slot.stage == 0) return true;
  return false;
}

}  // namespace veltrace::render
