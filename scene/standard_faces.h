#pragma once
// Scene files exported by modelling packages as plain ASE hold their faces as
// "*MESH_FACE 0: A: 0 B: 1 C: 2 ..." lines, which the scene reader does not
// read (it reads "*F" lines with "*D" ids). Such a file would load as meshes
// without a single triangle; this tells it apart so that the load can say
// why and point to the model import instead.

#include <string_view>

namespace veltrace {

// True when the text has at least one "*MESH_FACE" word and no "*F" word
// (each standing alone, white space or the end behind it): every face it
// holds is in the standard form.
bool holdsOnlyStandardFaces(std::string_view text);

}  // namespace veltrace
