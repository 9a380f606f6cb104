#pragma once
// The sample scenes and textures shipped in media\scenes and media\textures,
// made by formula so that they can be made again at any time
// (veltrace-cli scene samples FOLDER).

#include <string>
#include <vector>

#include "scene/authoring/authored_scene.h"
#include "scene/authoring/bitmap.h"

namespace veltrace {

struct SampleScene {
  std::string fileName;
  AuthoredScene scene;
};

struct SampleTexture {
  std::string fileName;
  Image image;
};

std::vector<SampleScene> sampleScenes();
// Includes the fallback texture "texture_not_found.bmp".
std::vector<SampleTexture> sampleTextures();

// Writes both into media\scenes and media\textures below the folder, making
// the folders when needed. False, with the failing path, on the first file
// that cannot be written.
bool writeSampleMedia(const std::string& folderCorePath, std::string& failedPath);

}  // namespace veltrace
