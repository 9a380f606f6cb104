// The scene information tree: its lines, their order and their depth.

#include <gtest/gtest.h>

#include "scene/scene_info.h"
#include "tests/scene/scene_text.h"

namespace veltrace {
namespace {

std::string render(const std::vector<InfoLine>& lines) {
  std::string text;
  for (const InfoLine& line : lines) text += std::string(static_cast<size_t>(line.depth) * 2, ' ') + line.text + "\n";
  return text;
}

Scene twoMeshScene() {
  Scene scene;
  scene.materials.resize(2);
  SceneMaterial& multi = scene.materials[0];
  multi.name = "Multi";
  multi.shine = 0.3f;
  multi.subMaterials.resize(2);
  multi.subMaterials[1].baseTexture = "C:\\maps\\stone.bmp";
  multi.subMaterials[1].alphaTexture = "holes.tga";
  SceneMaterial& plain = scene.materials[1];
  plain.name = "Plain";
  plain.bumpTexture = "\\media\\textures\\bumps.bmp";

  scene.meshes.resize(2);
  scene.meshes[0].name = "Box";
  scene.meshes[0].vertexCount = 8;
  scene.meshes[0].subsets.resize(2);
  scene.meshes[0].subsets[0].indexCount = 6;
  scene.meshes[0].subsets[0].subMaterialIndex = 1;
  scene.meshes[0].subsets[1].indexCount = 30;
  scene.meshes[0].subsets[1].subMaterialIndex = 0;
  scene.meshes[1].name = "Floor";
  scene.meshes[1].materialIndex = 1;
  scene.meshes[1].vertexCount = 4;
  scene.meshes[1].subsets.resize(1);
  scene.meshes[1].subsets[0].materialIndex = 1;
  scene.meshes[1].subsets[0].indexCount = 6;
  return scene;
}

TEST(SceneInformation, LaysOutMeshesMaterialsAndTextures) {
  Scene scene = twoMeshScene();
  std::string expected =
      "Meshes\n"
      "  Mesh #1 (Box)\n"
      "    Indices : 36\n"
      "    Vertices : 8\n"
      "    Subsets\n"
      "      Subset #1\n"
      "        Triangles : 2\n"
      "        Material : #1\n"
      "        Sub-Material : #2\n"
      "      Subset #2\n"
      "        Triangles : 10\n"
      "        Material : #1\n"
      "        Sub-Material : #1\n"
      "  Mesh #2 (Floor)\n"
      "    Indices : 6\n"
      "    Vertices : 4\n"
      "    Subsets\n"
      "      Subset #1\n"
      "        Triangles : 2\n"
      "        Material : #2\n"
      "Materials\n"
      "  Material #1 (Multi)\n"
      "    Ambient = (1.0, 1.0, 1.0, 1.0)\n"
      "    Diffuse = (1.0, 1.0, 1.0, 1.0)\n"
      "    Specular = (0.0, 0.0, 0.0, 1.0)\n"
      "    Emissive = (0.0, 0.0, 0.0, 1.0)\n"
      "    Power = 0.3\n"
      "    Base Texture = NULL\n"
      "    Sub-Materials\n"
      "      Sub-Material #1\n"
      "        Ambient = (1.0, 1.0, 1.0, 1.0)\n"
      "        Diffuse = (1.0, 1.0, 1.0, 1.0)\n"
      "        Specular = (0.0, 0.0, 0.0, 1.0)\n"
      "        Emissive = (0.0, 0.0, 0.0, 1.0)\n"
      "        Power = 0.0\n"
      "        Base Texture = NULL\n"
      "      Sub-Material #2\n"
      "        Ambient = (1.0, 1.0, 1.0, 1.0)\n"
      "        Diffuse = (1.0, 1.0, 1.0, 1.0)\n"
      "        Specular = (0.0, 0.0, 0.0, 1.0)\n"
      "        Emissive = (0.0, 0.0, 0.0, 1.0)\n"
      "        Power = 0.0\n"
      "        Base Texture = stone.bmp\n"
      "        Alpha Texture = holes.tga\n"
      "  Material #2 (Plain)\n"
      "    Ambient = (1.0, 1.0, 1.0, 1.0)\n"
      "    Diffuse = (1.0, 1.0, 1.0, 1.0)\n"
      "    Specular = (0.0, 0.0, 0.0, 1.0)\n"
      "    Emissive = (0.0, 0.0, 0.0, 1.0)\n"
      "    Power = 0.0\n"
      "    Base Texture = NULL\n"
      "    Bump Texture = bumps.bmp\n"
      "Textures\n"
      "  #0 : \"stone.bmp\"\n"
      "  #1 : \"holes.tga\"\n"
      "  #2 : \"bumps.bmp\"\n";
  EXPECT_EQ(render(sceneInformation(scene, sceneTextureNames(scene))), expected);
}

TEST(SceneInformation, TextureNamesAreListedOnceInStoreOrder) {
  Scene scene;
  scene.materials.resize(2);
  scene.materials[0].baseTexture = "a\\same.bmp";
  scene.materials[0].bumpTexture = "b.bmp";
  scene.materials[0].alphaTexture = "c.bmp";
  scene.materials[1].baseTexture = "other\\same.bmp";  // same name, other folder: one store entry
  EXPECT_EQ(sceneTextureNames(scene), (std::vector<std::string>{"same.bmp", "c.bmp", "b.bmp"}));
}

TEST(SceneInformation, AnEmptySceneStillHasItsThreeFolders) {
  Scene scene;
  scene.materials.resize(1);
  auto lines = sceneInformation(scene, {});
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.front().text, "Meshes");
  EXPECT_EQ(lines.back().text, "Textures");
  EXPECT_EQ(lines.back().depth, 0);
}

}  // namespace
}  // namespace veltrace
