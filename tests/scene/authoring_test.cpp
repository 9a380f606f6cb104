// Written scenes read back to what was written, and the shipped sample media
// are what the generator makes.

#include <gtest/gtest.h>

#include <cmath>

#include "base/files.h"
#include "scene/authoring/samples.h"
#include "scene/authoring/scene_writer.h"
#include "scene/authoring/shapes.h"
#include "tests/scene/scene_text.h"

namespace veltrace {
namespace {

bool sameVector(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// Every face of every authored mesh must come back, in order, with exactly
// the positions, normals and texture coordinates written.
void expectReadsBack(const AuthoredScene& authored) {
  auto result = test::readSceneText(formatVaseScene(authored));
  ASSERT_TRUE(result.ok);
  ASSERT_EQ(result.scene.meshes.size(), authored.meshes.size());
  for (size_t m = 0; m < authored.meshes.size(); ++m) {
    const AuthoredMesh& written = authored.meshes[m];
    const SceneMesh& read = result.scene.meshes[m];
    EXPECT_EQ(read.name, written.name);
    EXPECT_EQ(read.materialIndex, written.materialRef);
    std::vector<size_t> nextTriangle(read.subsets.size(), 0);
    for (const AuthoredFace& face : written.faces) {
      // The face's subset: the one formed from its id (or the only one).
      size_t s = 0;
      while (read.subsets.size() > 1 && read.subsets[s].id != face.materialId) ++s;
      const MeshSubset& subset = read.subsets[s];
      size_t triangle = nextTriangle[s]++;
      for (size_t k = 0; k < 3; ++k) {
        const AuthoredCorner& corner = face.corners[k];
        const SceneVertex& vertex = test::cornerVertex(subset, triangle, k);
        ASSERT_TRUE(sameVector(vertex.position, written.positions[static_cast<size_t>(corner.vertex)]));
        ASSERT_TRUE(sameVector(vertex.normal, corner.normal));
        ASSERT_EQ(vertex.u, corner.u);
        ASSERT_EQ(vertex.v, corner.v);
      }
    }
  }
}

TEST(SceneWriter, NumbersReadBackExactly) {
  for (float value : {0.0f, 1.0f, -2.5f, 0.1f, 1e-20f, -3.4e38f, 123456.789f, 0.98078525f}) {
    std::string text = formatSceneNumber(value);
    EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
    SceneScanner scanner(text);
    EXPECT_EQ(scanner.real(), value) << text;
  }
  EXPECT_EQ(formatSceneNumber(std::nanf("")), "0");
  EXPECT_EQ(formatSceneNumber(INFINITY), "0");
}

TEST(SceneWriter, EverySampleSceneReadsBackExactly) {
  for (const SampleScene& sample : sampleScenes()) {
    SCOPED_TRACE(sample.fileName);
    expectReadsBack(sample.scene);
  }
}

TEST(SceneWriter, MaterialsAndSubMaterialsReadBack) {
  for (const SampleScene& sample : sampleScenes()) {
    auto result = test::readSceneText(formatVaseScene(sample.scene));
    ASSERT_EQ(result.scene.materials.size(), sample.scene.materials.size());
    for (size_t i = 0; i < sample.scene.materials.size(); ++i) {
      const AuthoredMaterial& written = sample.scene.materials[i];
      const SceneMaterial& read = result.scene.materials[i];
      EXPECT_EQ(read.name, written.name);
      EXPECT_EQ(read.className, written.className);
      EXPECT_EQ(read.diffuse.g, written.diffuse.y);
      EXPECT_EQ(read.baseTexture, written.baseMap);
      EXPECT_EQ(read.bumpTexture, written.bumpMap);
      EXPECT_EQ(read.alphaTexture, written.opacityMap);
      ASSERT_EQ(read.subMaterials.size(), written.subMaterials.size());
      for (size_t k = 0; k < written.subMaterials.size(); ++k) {
        EXPECT_EQ(read.subMaterials[k].name, written.subMaterials[k].name);
        EXPECT_EQ(read.subMaterials[k].baseTexture, written.subMaterials[k].baseMap);
        EXPECT_EQ(read.subMaterials[k].alphaTexture, written.subMaterials[k].opacityMap);
        EXPECT_EQ(read.subMaterials[k].bumpTexture, written.subMaterials[k].bumpMap);
      }
    }
  }
}

TEST(SceneWriter, ThePlainAseTwinHasNoExtensions) {
  AuthoredScene scene;
  scene.materials.emplace_back();
  scene.meshes.push_back(makeWavedGrid("Grid", 2.0f, 4, 2));
  std::string text = formatPlainAseScene(scene);
  EXPECT_EQ(text.find("*TV_EX"), std::string::npos);
  EXPECT_EQ(text.find("*D "), std::string::npos);
  EXPECT_NE(text.find("*MESH_MTLID 1"), std::string::npos);
  EXPECT_NE(text.find("*MESH_NUMTVERTEX 25"), std::string::npos);  // shared like the grid's points
  EXPECT_NE(text.find("*MESH_TFACE 31"), std::string::npos);
}

// Front faces wind counter-clockwise as the preview sees them, as in files
// whose second and third numbers were exchanged on the way out of a
// right-handed modeller: a new effect culls clockwise faces. Seen from
// outside, (b - a) x (c - a) then points into the surface.
TEST(SampleShapes, FacesWindCounterClockwiseSeenFromOutside) {
  const std::int32_t ids[6] = {0, 0, 0, 0, 0, 0};
  for (const AuthoredMesh& mesh : {makeBox("Box", {0, 0, 0}, {1, 2, 3}, ids), makeSphere("Sphere", 1, 12, 6),
                                   makeTorus("Torus", 1, 0.25f, 12, 8), makeWavedGrid("Grid", 4, 4, 0)}) {
    SCOPED_TRACE(mesh.name);
    ASSERT_FALSE(mesh.faces.empty());
    for (const AuthoredFace& face : mesh.faces) {
      const Vec3& a = mesh.positions[static_cast<size_t>(face.corners[0].vertex)];
      const Vec3& b = mesh.positions[static_cast<size_t>(face.corners[1].vertex)];
      const Vec3& c = mesh.positions[static_cast<size_t>(face.corners[2].vertex)];
      Vec3 e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
      Vec3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
      const Vec3& shading = face.corners[0].normal;
      ASSERT_LT(n.x * shading.x + n.y * shading.y + n.z * shading.z, 0.0f);
    }
  }
  // The side facing the camera at (0, 0, -30), which sees x to the right
  // and y up, winds counter-clockwise on screen.
  AuthoredMesh box = makeBox("Box", {0, 0, 0}, {1, 1, 1}, ids);
  int towardsCamera = 0;
  for (const AuthoredFace& face : box.faces) {
    if (face.corners[0].normal.z != -1.0f) continue;
    ++towardsCamera;
    const Vec3& a = box.positions[static_cast<size_t>(face.corners[0].vertex)];
    const Vec3& b = box.positions[static_cast<size_t>(face.corners[1].vertex)];
    const Vec3& c = box.positions[static_cast<size_t>(face.corners[2].vertex)];
    EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0.0f);
  }
  EXPECT_EQ(towardsCamera, 2);
}

TEST(SampleShapes, ABoxHasEightCornersAndTwelveFaces) {
  const std::int32_t ids[6] = {0, 1, 2, 2, 1, 1};
  AuthoredMesh box = makeBox("Box", {0, 0, 0}, {1, 1, 1}, ids);
  EXPECT_EQ(box.positions.size(), 8u);
  EXPECT_EQ(box.faces.size(), 12u);
  EXPECT_EQ(box.faces[0].materialId, 0);
  EXPECT_EQ(box.faces[11].materialId, 1);
}

TEST(SampleTextures, TheFallbackIsASixtyFourPixelMagentaChecker) {
  std::vector<SampleTexture> textures = sampleTextures();
  ASSERT_EQ(textures[0].fileName, "texture_not_found.bmp");
  std::string file = encodeBmp24(textures[0].image);
  ASSERT_EQ(file.size(), 54u + 64u * 64u * 3u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  auto word = [&](size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(file[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(file[at + 1])) << 8;
  };
  EXPECT_EQ(word(18), 64u);  // width
  EXPECT_EQ(word(22), 64u);  // height
  EXPECT_EQ(word(28), 24u);  // bits per pixel
  // Rows are stored bottom-up: the file's first pixel is the image's
  // bottom-left one, in a magenta cell (B, G, R); 8 pixels on it is black.
  EXPECT_EQ(file.substr(54, 3), std::string("\xFF\0\xFF", 3));
  EXPECT_EQ(file.substr(54 + 8 * 3, 3), std::string("\0\0\0", 3));
}

TEST(SampleMedia, TheShippedFilesAreWhatTheGeneratorMakes) {
  // If this fails, run: veltrace-cli scene samples data
#ifdef _WIN32
  GTEST_SKIP() << "the files are made by the native build; the Windows maths library rounds differently";
#endif
  const std::string media = std::string(VELTRACE_DATA_DIR) + "/media/";
  for (const SampleScene& sample : sampleScenes()) {
    auto shipped = readWholeFile(media + "scenes/" + sample.fileName);
    ASSERT_TRUE(shipped.has_value()) << sample.fileName;
    EXPECT_TRUE(*shipped == formatVaseScene(sample.scene)) << sample.fileName;
  }
  for (const SampleTexture& texture : sampleTextures()) {
    auto shipped = readWholeFile(media + "textures/" + texture.fileName);
    ASSERT_TRUE(shipped.has_value()) << texture.fileName;
    EXPECT_TRUE(*shipped == encodeBmp24(texture.image)) << texture.fileName;
  }
}

TEST(SampleMedia, EveryShippedSceneLoads) {
  for (const SampleScene& sample : sampleScenes()) {
    MessageLog log;
    Scene scene;
    const std::string path = std::string(VELTRACE_DATA_DIR) + "/media/scenes/" + sample.fileName;
    ASSERT_TRUE(loadScene(path, scene, log)) << sample.fileName;
    EXPECT_GT(scene.meshCount(), 0);
    for (const SceneMesh& mesh : scene.meshes)
      for (const MeshSubset& subset : mesh.subsets) EXPECT_GT(subset.triangleCount, 0) << sample.fileName;
  }
}

}  // namespace
}  // namespace veltrace
