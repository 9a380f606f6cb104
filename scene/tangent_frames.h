#pragma once
// Tangent frames of a subset and the guide lines drawn along vertex vectors.
// The tangent pass runs once per subset, the first time the subset is drawn
// with an effect; the normal lines are made when the subset is built.

#include "scene/scene_model.h"

namespace veltrace {

// One line per unique vertex, from its position along its normal.
void buildNormalLines(MeshSubset& subset, float vectorLength);

// Accumulates each vertex's binormal (dP/dv) from the texture coordinates of
// its triangles, normalises binormal and normal in place, sets the tangent to
// binormal x normal, fills the three tangent-frame line lists and marks the
// subset's frames as built. Running it again does nothing.
void buildTangentFrames(MeshSubset& subset, float vectorLength);

}  // namespace veltrace
