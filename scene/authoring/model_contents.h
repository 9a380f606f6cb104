#pragma once
// What a model file held besides triangles, and why a model without any is
// refused: the preview draws triangles only, so a file of points, lines,
// cameras, lights or animation alone has nothing to show.

#include <string>
#include <string_view>

#include "scene/authoring/authored_scene.h"

namespace veltrace {

struct ModelContents {
  long long triangles = 0;
  long long points = 0;
  long long lines = 0;
  int cameras = 0;
  int lights = 0;
  int animations = 0;
};

// Empty when the model has triangles; otherwise the reason it is refused,
// naming what it holds instead: "the model holds only lines and cameras, no
// triangles", or "the model holds nothing to draw" for an empty one.
std::string refusalOf(const ModelContents& contents);

// A model that still has z up after the import library read it: Blender
// files (the library keeps their axes), and any file whose metadata names z
// as its up axis (0 = x, 1 = y, 2 = z). ASE, 3DS and COLLADA files come out
// of the library turned already.
bool isStillZUp(std::string_view extension, int metadataUpAxis);

// Texture paths of a model name files beside the model; its scene is saved
// elsewhere (below media\scenes\imported\), where the program would not
// find them. A relative path is put behind the model's folder (core form,
// ending in a backslash); absolute ones stay.
std::string textureBesideModel(std::string_view modelFolder, std::string_view texturePath);
void anchorTexturePaths(AuthoredScene& scene, std::string_view modelFolder);

// Formats whose stored normals are not taken: STL files give one normal per
// face, which exporters often leave pointing against the face's winding
// (the winding, which decides the front, is what STL readers go by).
bool hasUntrustedNormals(std::string_view extension);

}  // namespace veltrace
