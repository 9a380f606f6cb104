#pragma once
// What the fixed-function pipeline is given for an effect that has no vertex
// shader, so that such an effect (a new one, say) shows its subset at once:
// lit by the preview's light, in the scene material's colours, with the
// material's base texture when the effect binds no textures of its own.
// The effect's own render and texture stage states are applied afterwards
// and win over these.

#include <cstdint>

#include "effect/effect.h"
#include "render/preview/predefined_constants.h"
#include "render/preview/preview_state.h"

namespace veltrace::render {

// The preview light as a device light: a point light at the light's current
// position with its three colours.
struct FixedFunctionLight {
  Vector3 position;
  ColourValue diffuse, specular, ambient;
  float range = 0;
  float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
};

// The preview light keeps no attenuation (all three factors 0), which a
// device would divide by: such a light shines undimmed (constant factor 1).
FixedFunctionLight fixedFunctionLight(const PreviewLight& light);

struct FixedFunctionMaterial {
  ColourValue diffuse, ambient, specular, emissive;
  float power = 0;  // specular exponent
};

// The scene material's colours. Its shine (0..1) becomes the specular
// exponent, 100 at full shine; a material without shine has no highlight
// (an exponent of 0 would light every face with the full specular colour).
FixedFunctionMaterial fixedFunctionMaterial(const MaterialColours& colours, float shine);

// Whether the effect puts any texture on a stage: one of its own texture
// slots, or one of the material's textures on the stage the effect names.
bool effectBindsTextures(const Effect& effect);

// The material's base texture goes on stage 0 when the material has one and
// the effect binds no textures of its own.
bool baseTextureOnStageZero(const Effect& effect, bool materialHasBaseTexture);

// Whether stage 0 receives a texture, the effect's own or the material's
// base texture in its stead: stage 0 then modulates it with the lit colour,
// else it passes the lit colour on.
bool stageZeroTextured(const Effect& effect, bool materialHasBaseTexture);

}  // namespace veltrace::render
