#pragma once
// The values a variable can stand for instead of its stored value: light and
// eye positions, the time, the transform matrices with their inverses, and the
// material and light colours. Computed here without a device from what the
// frame knows; the upload puts them into constant registers.

#include <optional>
#include <string_view>

#include "effect/effect.h"
#include "render/math/matrix_math.h"
#include "render/preview/preview_state.h"

namespace veltrace::render {

enum class PredefinedConstant {
  lightPosWorld, eyePosWorld, time,
  transform, transformInv, world, worldInv, worldView, worldViewInv,
  view, viewInv, viewProj, viewProjInv, proj, projInv,
  matAmb, matDiff, matSpec, matEmis, lightAmb, lightDiff, lightSpec,
};

struct PredefinedConstantInfo {
  std::string_view name;
  VariableKind kind;
  PredefinedConstant constant;
};

// Every predefined constant, vectors first, then matrices, then colours, each
// in the order the panes offer them.
const PredefinedConstantInfo* predefinedConstantTable(std::size_t& count);

// The constant of that exact (case-sensitive) name and kind; a name of another
// kind, or none of the names, gives nothing.
std::optional<PredefinedConstant> findPredefinedConstant(std::string_view name, VariableKind kind);

// What one frame knows that the constants are made of.
struct ConstantFrame {
  Matrix4 world = identityMatrix();
  Matrix4 view = identityMatrix();
  Matrix4 projection = identityMatrix();
  Vector3 eye;
  Vector3 lightPosition;
  ColourValue lightAmbient, lightDiffuse, lightSpecular;
  float time = 0;  // application time in seconds
};

ConstantFrame constantFrameFrom(const PreviewState& state, float applicationTime);

// The subset's material colours, and whether its base texture is bound (the
// material names one and the effect gives it a stage): a bound base texture
// replaces the material colours by white.
struct MaterialColours {
  ColourValue ambient, diffuse, specular, emissive;
  bool baseTextureBound = false;
};

// One register (vectors, colours) or four (matrices, one row each).
struct ConstantValue {
  int registerCount = 1;
  Vector4 rows[4];
};

// Plain matrices come transposed, inverses as computed; the inverse of a
// singular matrix (a camera placed on its own look-at point) is loaded as the
// identity rather than as undefined numbers.
ConstantValue predefinedValue(PredefinedConstant constant, const ConstantFrame& frame,
                              const MaterialColours& material);

}  // namespace veltrace::render
