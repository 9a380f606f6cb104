#include "scene/authoring/samples.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "base/files.h"
#include "scene/authoring/scene_writer.h"
#include "scene/authoring/shapes.h"

namespace veltrace {

namespace {

constexpr int textureSize = 64;
const char* const texturePrefix = "\\media\\textures\\";

std::string texturePath(const char* name) { return std::string(texturePrefix) + name; }

Image paint(const std::function<Rgb(int x, int y)>& pixelAt) {
  Image image;
  image.width = textureSize;
  image.height = textureSize;
  image.pixels.reserve(static_cast<size_t>(textureSize * textureSize));
  for (int y = 0; y < textureSize; ++y)
    for (int x = 0; x < textureSize; ++x) image.pixels.push_back(pixelAt(x, y));
  return image;
}

std::uint8_t level(float value) {
  value = value < 0 ? 0 : value > 1 ? 1 : value;
  return static_cast<std::uint8_t>(std::lround(value * 255));
}

Rgb grey(float value) { return {level(value), level(value), level(value)}; }

// Tiles of 16 pixels with 2-pixel grout lines.
bool onGrout(int x, int y) { return x % 16 < 2 || y % 16 < 2; }

// The preview looks at the origin from 30 units away with a 50 degree field
// of view; each sample is scaled so that it fills a good part of that view.
void scaleScene(AuthoredScene& scene, float factor) {
  for (auto& mesh : scene.meshes)
    for (auto& position : mesh.positions) position = {position.x * factor, position.y * factor, position.z * factor};
}

AuthoredMaterial material(const char* name, Vec3 diffuse) {
  AuthoredMaterial result;
  result.name = name;
  result.diffuse = diffuse;
  result.ambient = {diffuse.x * 0.3f, diffuse.y * 0.3f, diffuse.z * 0.3f};
  return result;
}

SampleScene cubeScene() {
  AuthoredMaterial tiles = material("Tiles", {0.8f, 0.8f, 0.9f});
  tiles.baseMap = texturePath("tiles_base.bmp");
  SampleScene sample{"cube.vase", {}};
  sample.scene.materials = {tiles};
  sample.scene.meshes = {makeBox("Cube", {0, 0, 0}, {1, 1, 1}, {0, 0, 0, 0, 0, 0})};
  scaleScene(sample.scene, 5.0f);
  return sample;
}

SampleScene torusScene() {
  AuthoredMaterial marble = material("Marble", {0.9f, 0.85f, 0.8f});
  marble.baseMap = texturePath("marble_base.bmp");
  marble.bumpMap = texturePath("tiles_bump.bmp");
  marble.shine = 0.6f;
  SampleScene sample{"torus.vase", {}};
  sample.scene.materials = {marble};
  sample.scene.meshes = {makeTorus("Torus", 1.0f, 0.4f, 32, 16)};
  scaleScene(sample.scene, 6.0f);
  return sample;
}

// Two meshes; the pedestal's material has three sub-materials using base,
// bump and alpha maps, the floor a plain textured one.
SampleScene pedestalScene() {
  AuthoredMaterial stone = material("Pedestal", {1, 1, 1});
  stone.className = "Multi/Sub-Object";
  AuthoredMaterial top = material("Tiled Top", {0.8f, 0.8f, 0.9f});
  top.baseMap = texturePath("tiles_base.bmp");
  top.bumpMap = texturePath("tiles_bump.bmp");
  AuthoredMaterial sides = material("Marble Sides", {0.9f, 0.85f, 0.8f});
  sides.baseMap = texturePath("marble_base.bmp");
  AuthoredMaterial grating = material("Grating", {0.6f, 0.6f, 0.65f});
  grating.baseMap = texturePath("tiles_base.bmp");
  grating.opacityMap = texturePath("grating_alpha.bmp");
  stone.subMaterials = {top, sides, grating};

  AuthoredMaterial floor = material("Floor", {0.7f, 0.75f, 0.7f});
  floor.baseMap = texturePath("floor_base.bmp");

  SampleScene sample{"pedestal.vase", {}};
  sample.scene.materials = {stone, floor};
  // Sides in the order +y, -y, +x, -x, +z, -z.
  AuthoredMesh pedestal = makeBox("Pedestal", {0, 0.8f, 0}, {0.8f, 0.8f, 0.8f}, {0, 1, 2, 2, 1, 1});
  pedestal.materialRef = 0;
  AuthoredMesh ground = makeWavedGrid("Floor", 6.0f, 12, 0);
  ground.materialRef = 1;
  sample.scene.meshes = {pedestal, ground};
  scaleScene(sample.scene, 3.0f);
  return sample;
}

}  // namespace

std::vector<SampleScene> sampleScenes() { return {cubeScene(), torusScene(), pedestalScene()}; }

std::vector<SampleTexture> sampleTextures() {
  std::vector<SampleTexture> textures;
  // The fallback: a magenta and black checker nobody mistakes for a texture.
  textures.push_back({"texture_not_found.bmp", paint([](int x, int y) {
                        return ((x / 8 + y / 8) % 2) ? Rgb{255, 0, 255} : Rgb{0, 0, 0};
                      })});
  textures.push_back({"tiles_base.bmp", paint([](int x, int y) {
                        if (onGrout(x, y)) return Rgb{90, 90, 100};
                        return ((x / 16 + y / 16) % 2) ? Rgb{200, 205, 225} : Rgb{120, 140, 190};
                      })});
  textures.push_back({"tiles_bump.bmp", paint([](int x, int y) {
                        // Height: tiles raised, grout low, tile edges bevelled.
                        if (onGrout(x, y)) return grey(0.1f);
                        int edge = std::min({x % 16 - 2, y % 16 - 2, 15 - x % 16, 15 - y % 16});
                        return grey(edge >= 2 ? 0.9f : 0.5f + 0.2f * static_cast<float>(edge));
                      })});
  textures.push_back({"grating_alpha.bmp", paint([](int x, int y) {
                        // Round holes (transparent, black) in an opaque plate.
                        float dx = static_cast<float>(x % 16) - 7.5f, dy = static_cast<float>(y % 16) - 7.5f;
                        return grey(dx * dx + dy * dy < 30 ? 0.0f : 1.0f);
                      })});
  textures.push_back({"marble_base.bmp", paint([](int x, int y) {
                        float t = static_cast<float>(x + y) * 0.2f + 2.0f * std::sin(static_cast<float>(y) * 0.3f);
                        float vein = 0.5f + 0.5f * std::sin(t);
                        return Rgb{level(0.75f + 0.2f * vein), level(0.7f + 0.2f * vein), level(0.65f + 0.2f * vein)};
                      })});
  textures.push_back({"floor_base.bmp", paint([](int x, int y) {
                        // Planks 8 pixels wide, staggered, with darker joints.
                        bool joint = x % 8 == 0 || (y + (x / 8) * 11) % 32 == 0;
                        float grain = 0.05f * std::sin(static_cast<float>(y) * 0.9f + static_cast<float>(x / 8));
                        return joint ? Rgb{70, 50, 30} : Rgb{level(0.6f + grain), level(0.45f + grain), level(0.3f + grain)};
                      })});
  return textures;
}

bool writeSampleMedia(const std::string& folderCorePath, std::string& failedPath) {
  const std::string media = folderCorePath + "\\media";
  const std::string scenes = media + "\\scenes";
  const std::string textures = media + "\\textures";
  for (const std::string& folder : {folderCorePath, media, scenes, textures}) {
    if (createFolder(folder) == FolderResult::failed) {
      failedPath = folder;
      return false;
    }
  }
  for (const SampleScene& sample : sampleScenes()) {
    std::string path = scenes + "\\" + sample.fileName;
    if (!writeVaseScene(path, sample.scene)) {
      failedPath = path;
      return false;
    }
  }
  for (const SampleTexture& texture : sampleTextures()) {
    std::string path = textures + "\\" + texture.fileName;
    if (!replaceFileWith(path, encodeBmp24(texture.image))) {
      failedPath = path;
      return false;
    }
  }
  return true;
}

}  // namespace veltrace
