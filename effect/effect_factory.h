#pragma once
// Creating effects and variables with their defaults.

#include <string>

#include "app/message_log.h"
#include "effect/effect.h"

namespace veltrace {

// A new effect: named "New Effect", folder "\effects\" (relative until it is
// loaded or saved), no variables, no textures, the fixed stream mapping, empty
// shader slots, and state tables filled from the two catalogues below
// programFolder (core form, no trailing backslash). A catalogue that cannot be
// read is reported and its tables stay empty; the effect is created all the
// same.
Effect createEffect(const std::string& programFolder, MessageLog& log);

// A new variable of the kind with its defaults; the caller appends it to the
// list of that kind.
EffectVariable createVariable(VariableKind kind);

// Stream 0 with the five fixed entries at their default registers and the
// declaration built.
StreamMapping createStreamMapping();

// Paths of the two catalogues below a program folder.
std::string renderStateCataloguePath(const std::string& programFolder);
std::string textureStateCataloguePath(const std::string& programFolder);

}  // namespace veltrace
