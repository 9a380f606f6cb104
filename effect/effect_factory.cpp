#include "effect/effect_factory.h"

#include "effect/declaration.h"
#include "effect/state_catalogue.h"

namespace veltrace {

std::string renderStateCataloguePath(const std::string& programFolder) {
  return programFolder + "\\prefs\\AllRenderStates.txt";
}

std::string textureStateCataloguePath(const std::string& programFolder) {
  return programFolder + "\\prefs\\AllTextureStates.txt";
}

StreamMapping createStreamMapping() {
  StreamMapping mapping;
  mapping.stream = 0;
  // The vertex layout every scene subset has (position, normal, texture
  // coordinates, tangent, binormal), at the registers shaders expect them.
  mapping.entries = {
      {0, "Position", "Float3"}, {3, "Normal", "Float3"},   {7, "TexCoord", "Float2"},
      {8, "Tangent", "Float3"},  {9, "BiNormal", "Float3"},
  };
  buildDeclaration(mapping);
  return mapping;
}

Effect createEffect(const std::string& programFolder, MessageLog& log) {
  Effect effect;
  effect.folder = "\\effects\\";
  for (int stage = 0; stage < textureStageCount; ++stage) effect.textureStages.stages[stage].stage = stage;
  effect.streamMapping = createStreamMapping();

  if (!readTextureStateCatalogue(textureStateCataloguePath(programFolder), effect, log))
    log.append("Error while initializing texture states !");
  if (!readRenderStateCatalogue(renderStateCataloguePath(programFolder), effect, log))
    log.append("Error while initializing render states !");
  return effect;
}

EffectVariable createVariable(VariableKind kind) {
  EffectVariable variable;
  variable.kind = kind;
  switch (kind) {
    case VariableKind::vector:
      variable.name = "New Vector";
      variable.value[3] = 1.0f;
      break;
    case VariableKind::matrix:
      variable.name = "New Matrix";
      for (int diagonal = 0; diagonal < 4; ++diagonal) variable.value[diagonal * 5] = 1.0f;
      break;
    case VariableKind::color:
      variable.name = "New Color";  // opaque black
      variable.value[3] = 1.0f;
      break;
  }
  return variable;
}

}  // namespace veltrace
