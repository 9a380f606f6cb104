// Models imported through assimp and written as .vase files read back with
// the same triangles, normals, texture coordinates, materials and texture
// names.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "base/files.h"
#include "cli/scene_import.h"
#include "scene/authoring/model_contents.h"
#include "scene/authoring/model_framing.h"
#include "scene/authoring/shapes.h"
#include "scene/authoring/scene_writer.h"
#include "scene/scene_reader.h"
#include "tests/scene/scene_text.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

// A quad in two halves of different materials: red (textured, bump and
// opacity maps) and blue (plain).
const char* const objText =
    "mtllib two.mtl\n"
    "o Panel\n"
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\nv 2 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\n"
    "usemtl Red\n"
    "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n"
    "usemtl Blue\n"
    "f 2/1/1 5/2/1 6/3/1\nf 2/1/1 6/3/1 3/4/1\n";

const char* const mtlText =
    "newmtl Red\nKd 1 0 0\nmap_Kd textures/red.bmp\nmap_bump red_bump.bmp\nmap_d red_alpha.bmp\n"
    "newmtl Blue\nKd 0 0 1\n";

void writeFile(const std::filesystem::path& path, const char* text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

TEST(SceneImport, AnObjRoundTripsThroughTheReader) {
  ASSERT_TRUE(cli::importAvailable());
  test::TempFolder folder;
  writeFile(folder.path() / "two.obj", objText);
  writeFile(folder.path() / "two.mtl", mtlText);

  AuthoredScene imported;
  std::string problem;
  ASSERT_TRUE(cli::importModel((folder.path() / "two.obj").string(), imported, problem, {.keepUnits = true}))
      << problem;
  const std::string vase = folder.corePath() + "\\two.vase";
  ASSERT_TRUE(writeVaseScene(vase, imported));

  MessageLog log;
  Scene scene;
  ASSERT_TRUE(loadScene(vase, scene, log));
  ASSERT_EQ(scene.meshCount(), 1);
  const SceneMesh& mesh = scene.meshes[0];
  EXPECT_EQ(mesh.name, "Panel");

  // One mesh, two model materials: a material with one sub-material each.
  const SceneMaterial& material = scene.materials[static_cast<size_t>(mesh.materialIndex)];
  ASSERT_EQ(material.subMaterialCount(), 2);
  ASSERT_EQ(mesh.subsetCount(), 2);
  int triangles = 0;
  for (const MeshSubset& subset : mesh.subsets) triangles += subset.triangleCount;
  EXPECT_EQ(triangles, 4);

  const SceneMaterial* red = nullptr;
  for (const MeshSubset& subset : mesh.subsets)
    if (scene.materialOf(subset).name == "Red") red = &scene.materialOf(subset);
  ASSERT_NE(red, nullptr);
  EXPECT_EQ(red->diffuse.r, 1.0f);
  EXPECT_EQ(red->diffuse.b, 0.0f);
  EXPECT_EQ(red->baseTexture, "textures\\red.bmp");
  EXPECT_EQ(red->bumpTexture, "red_bump.bmp");
  EXPECT_EQ(red->alphaTexture, "red_alpha.bmp");

  // Positions, normals and texture coordinates come through, turned into
  // the preview's axes (see below).
  for (const MeshSubset& subset : mesh.subsets) {
    for (const SceneVertex& vertex : subset.vertices) {
      EXPECT_EQ(vertex.normal.z, -1.0f);
      EXPECT_EQ(vertex.position.z, 0.0f);
      EXPECT_TRUE(vertex.u == 0.0f || vertex.u == 1.0f);
    }
  }
  const MeshSubset& first = mesh.subsets[0];
  const SceneVertex& corner = first.vertices[first.indices[1]];
  EXPECT_EQ(corner.position.x, 1.0f);
  EXPECT_EQ(corner.u, 1.0f);
  EXPECT_EQ(corner.v, 1.0f);
}

// Models come in right-handed with y up and v growing up the image; the
// preview is left-handed, looks along +z from (0, 0, -30), samples images
// top down, and keeps faces that wind counter-clockwise on screen (a new
// effect culls clockwise ones).
TEST(SceneImport, AModelFacingItsViewerFacesThePreviewCameraUpright) {
  ASSERT_TRUE(cli::importAvailable());
  test::TempFolder folder;
  // A square at z = 0.5 facing its viewer (+z), counter-clockwise seen from
  // there, with the image's bottom left corner at its bottom left.
  writeFile(folder.path() / "square.obj",
            "o Square\nv 0 0 0.5\nv 1 0 0.5\nv 1 1 0.5\nv 0 1 0.5\n"
            "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
            "f 1/1/1 2/2/1 3/3/1 4/4/1\n");
  AuthoredScene imported;
  std::string problem;
  ASSERT_TRUE(cli::importModel((folder.path() / "square.obj").string(), imported, problem, {.keepUnits = true}))
      << problem;
  const std::string vase = folder.corePath() + "\\square.vase";
  ASSERT_TRUE(writeVaseScene(vase, imported));
  MessageLog log;
  Scene scene;
  ASSERT_TRUE(loadScene(vase, scene, log));
  ASSERT_EQ(scene.meshCount(), 1);
  ASSERT_EQ(scene.meshes[0].subsetCount(), 1);
  const MeshSubset& subset = scene.meshes[0].subsets[0];
  ASSERT_EQ(subset.triangleCount, 2);

  for (const SceneVertex& vertex : subset.vertices) {
    // Towards the camera, not mirrored front to back.
    EXPECT_EQ(vertex.position.z, -0.5f);
    EXPECT_EQ(vertex.normal.z, -1.0f);
    // Seen from the camera, x runs to the right and y up: the image's top
    // (v = 0) is at the top, its left (u = 0) at the left.
    EXPECT_EQ(vertex.u, vertex.position.x);
    EXPECT_EQ(vertex.v, 1.0f - vertex.position.y);
  }
  for (int t = 0; t < subset.triangleCount; ++t) {
    const SceneVertex& a = test::cornerVertex(subset, static_cast<size_t>(t), 0);
    const SceneVertex& b = test::cornerVertex(subset, static_cast<size_t>(t), 1);
    const SceneVertex& c = test::cornerVertex(subset, static_cast<size_t>(t), 2);
    float screenArea = (b.position.x - a.position.x) * (c.position.y - a.position.y) -
                       (b.position.y - a.position.y) * (c.position.x - a.position.x);
    EXPECT_GT(screenArea, 0.0f) << "triangle " << t << " winds clockwise on screen";
  }
}

// (b - a) x (c - a) of every face against its corners' normals: front
// faces wind counter-clockwise seen from outside, so it points inwards.
void expectFacesWindLikeTheirNormals(const SceneMesh& mesh) {
  SCOPED_TRACE(mesh.name);
  for (const MeshSubset& subset : mesh.subsets) {
    ASSERT_GT(subset.triangleCount, 0);
    for (int t = 0; t < subset.triangleCount; ++t) {
      const SceneVertex& a = test::cornerVertex(subset, static_cast<size_t>(t), 0);
      const SceneVertex& b = test::cornerVertex(subset, static_cast<size_t>(t), 1);
      const SceneVertex& c = test::cornerVertex(subset, static_cast<size_t>(t), 2);
      Vec3 e1{b.position.x - a.position.x, b.position.y - a.position.y, b.position.z - a.position.z};
      Vec3 e2{c.position.x - a.position.x, c.position.y - a.position.y, c.position.z - a.position.z};
      Vec3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
      EXPECT_LT(n.x * a.normal.x + n.y * a.normal.y + n.z * a.normal.z, 0.0f) << "triangle " << t;
    }
  }
}

TEST(SceneImport, NormalsMadeForAModelPointOutOfItsFrontFaces) {
  ASSERT_TRUE(cli::importAvailable());
  test::TempFolder folder;
  // No normals: the import makes them.
  writeFile(folder.path() / "bare.obj", "o Bare\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0.5\nf 1 2 3 4\n");
  AuthoredScene imported;
  std::string problem;
  ASSERT_TRUE(cli::importModel((folder.path() / "bare.obj").string(), imported, problem)) << problem;
  const std::string vase = folder.corePath() + "\\bare.vase";
  ASSERT_TRUE(writeVaseScene(vase, imported));
  MessageLog log;
  Scene scene;
  ASSERT_TRUE(loadScene(vase, scene, log));
  ASSERT_EQ(scene.meshCount(), 1);
  expectFacesWindLikeTheirNormals(scene.meshes[0]);
}

TEST(SceneImport, MirroringNodesKeepTheirFacesTheRightWayOut) {
  ASSERT_TRUE(cli::importAvailable());
  test::TempFolder folder;
  // One triangle, placed once as it is and once mirrored in x by its node.
  writeFile(folder.path() / "mirror.gltf",
            R"({"asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0, 1]}],
 "nodes": [{"name": "Plain", "mesh": 0}, {"name": "Mirrored", "mesh": 0, "scale": [-1, 1, 1]}],
 "meshes": [{"primitives": [{"attributes": {"POSITION": 0}, "indices": 1}]}],
 "buffers": [{"byteLength": 44, "uri": "data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAAAAABAAIAAAA="}],
 "bufferViews": [{"buffer": 0, "byteOffset": 0, "byteLength": 36}, {"buffer": 0, "byteOffset": 36, "byteLength": 6}],
 "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3", "min": [0, 0, 0], "max": [1, 1, 0]},
               {"bufferView": 1, "componentType": 5123, "count": 3, "type": "SCALAR"}]})");
  AuthoredScene imported;
  std::string problem;
  ASSERT_TRUE(cli::importModel((folder.path() / "mirror.gltf").string(), imported, problem)) << problem;
  const std::string vase = folder.corePath() + "\\mirror.vase";
  ASSERT_TRUE(writeVaseScene(vase, imported));
  MessageLog log;
  Scene scene;
  ASSERT_TRUE(loadScene(vase, scene, log));
  ASSERT_EQ(scene.meshCount(), 2);
  for (const SceneMesh& mesh : scene.meshes) expectFacesWindLikeTheirNormals(mesh);
}

TEST(SceneImport, ModelsThatCannotBeReadSayWhy) {
  test::TempFolder folder;
  writeFile(folder.path() / "broken.obj", "this is not a model\n");
  AuthoredScene imported;
  std::string problem;
  EXPECT_FALSE(cli::importModel((folder.path() / "missing.obj").string(), imported, problem));
  EXPECT_FALSE(problem.empty());
  problem.clear();
  EXPECT_FALSE(cli::importModel((folder.path() / "broken.obj").string(), imported, problem));
  EXPECT_FALSE(problem.empty());
}

// Reads a model through the import, the .vase writer and the scene reader.
Scene importedScene(const std::filesystem::path& model, const test::TempFolder& folder, cli::ImportOptions options) {
  AuthoredScene imported;
  std::string problem;
  EXPECT_TRUE(cli::importModel(model.string(), imported, problem, options)) << problem;
  const std::string vase = folder.corePath() + "\\" + model.stem().string() + ".vase";
  EXPECT_TRUE(writeVaseScene(vase, imported));
  MessageLog log;
  Scene scene;
  EXPECT_TRUE(loadScene(vase, scene, log));
  return scene;
}

struct Extent {
  Vec3 low{1e30f, 1e30f, 1e30f}, high{-1e30f, -1e30f, -1e30f};
};

Extent extentOf(const Scene& scene) {
  Extent e;
  for (const SceneMesh& mesh : scene.meshes)
    for (const MeshSubset& subset : mesh.subsets)
      for (const SceneVertex& v : subset.vertices) {
        e.low = {std::min(e.low.x, v.position.x), std::min(e.low.y, v.position.y), std::min(e.low.z, v.position.z)};
        e.high = {std::max(e.high.x, v.position.x), std::max(e.high.y, v.position.y),
                  std::max(e.high.z, v.position.z)};
      }
  return e;
}

TEST(SceneImport, ModelsAreFramedForThePreviewUnlessTheUnitsAreKept) {
  test::TempFolder folder;
  // A cube of side 200 far from the origin.
  writeFile(folder.path() / "far.obj",
            "v 1000 0 0\nv 1200 0 0\nv 1200 200 0\nv 1000 200 0\n"
            "v 1000 0 200\nv 1200 0 200\nv 1200 200 200\nv 1000 200 200\n"
            "f 1 2 3 4\nf 5 8 7 6\nf 1 5 6 2\nf 2 6 7 3\nf 3 7 8 4\nf 5 1 4 8\n");
  Extent framed = extentOf(importedScene(folder.path() / "far.obj", folder, {}));
  // Half the cube's diagonal is the framed radius: each half side is r / sqrt(3).
  const float halfSide = framedRadius() / std::sqrt(3.0f);
  EXPECT_NEAR(framed.high.x, halfSide, 1e-3);
  EXPECT_NEAR(framed.low.y, -halfSide, 1e-3);
  EXPECT_NEAR(framed.high.z, halfSide, 1e-3);

  Extent kept = extentOf(importedScene(folder.path() / "far.obj", folder, {.keepUnits = true}));
  EXPECT_EQ(kept.low.x, 1000.0f);
  EXPECT_EQ(kept.high.y, 200.0f);
}

// An ASE file as a z-up modelling package writes it: a box twice as tall as
// wide, to the right of and behind the origin. The library turns the file's
// z up into y; it must come out upright, still right and behind (not
// mirrored), faces wound as their normals say (not inside out).
TEST(SceneImport, AZUpAseModelComesOutUprightAndNotMirrored) {
  test::TempFolder folder;
  AuthoredScene box;
  box.materials.emplace_back();
  const std::int32_t ids[6] = {0, 0, 0, 0, 0, 0};
  box.meshes.push_back(makeBox("Tall", {4, 0, 3}, {1, 2, 1}, ids));  // written with y and z exchanged
  ASSERT_TRUE(writePlainAseScene(folder.corePath() + "\\tall.ase", box));
  Scene scene = importedScene(folder.path() / "tall.ase", folder, {.keepUnits = true});
  ASSERT_EQ(scene.meshCount(), 1);
  Extent e = extentOf(scene);
  EXPECT_NEAR(e.high.y - e.low.y, 4.0f, 1e-4);
  EXPECT_NEAR(e.high.x - e.low.x, 2.0f, 1e-4);
  EXPECT_NEAR(e.low.x, 3.0f, 1e-4);
  EXPECT_NEAR(e.low.z, 2.0f, 1e-4);
  expectFacesWindLikeTheirNormals(scene.meshes[0]);
}

TEST(SceneImport, ModelsWithNothingToDrawAreRefusedForWhatTheyHold) {
  test::TempFolder folder;
  struct Case {
    const char* file;
    const char* text;
    const char* reason;
  } cases[] = {
      {"lines.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nl 1 2 3\n", "the model holds only lines, no triangles"},
      {"points.obj", "v 0 0 0\nv 1 0 0\np 1 2\n", "the model holds only points, no triangles"},
      // A point cloud, which the library's own check refuses as a mesh without faces.
      {"cloud.ply", "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
                    "end_header\n0 0 0\n1 0 0\n0 1 0\n",
       "the model holds only points, no triangles"},
  };
  for (const Case& c : cases) {
    writeFile(folder.path() / c.file, c.text);
    AuthoredScene imported;
    std::string problem;
    EXPECT_FALSE(cli::importModel((folder.path() / c.file).string(), imported, problem)) << c.file;
    EXPECT_EQ(problem, c.reason) << c.file;
  }
}

TEST(ModelContents, TheRefusalNamesWhatTheModelHolds) {
  struct Case {
    ModelContents contents;
    const char* reason;
  } cases[] = {
      {{.triangles = 1, .lines = 4}, ""},
      {{.lines = 4}, "the model holds only lines, no triangles"},
      {{.points = 1, .lines = 2, .cameras = 1}, "the model holds only points, lines and cameras, no triangles"},
      {{.cameras = 2, .animations = 1}, "the model holds only cameras and animation, no triangles"},
      {{.lights = 1}, "the model holds only lights, no triangles"},
      {{}, "the model holds nothing to draw"},
  };
  for (const Case& c : cases) EXPECT_EQ(refusalOf(c.contents), c.reason);
}

// An STL triangle whose facet normal points against its winding: the normal
// is made again from the winding, so the face is lit from the side it shows.
TEST(SceneImport, StlNormalsFollowTheFacesWinding) {
  test::TempFolder folder;
  writeFile(folder.path() / "flipped.stl",
            "solid flipped\n facet normal 0 0 -1\n  outer loop\n   vertex 0 0 0\n   vertex 1 0 0\n   vertex 0 1 0\n"
            "  endloop\n endfacet\nendsolid flipped\n");
  Scene scene = importedScene(folder.path() / "flipped.stl", folder, {.keepUnits = true});
  ASSERT_EQ(scene.meshCount(), 1);
  expectFacesWindLikeTheirNormals(scene.meshes[0]);
  EXPECT_TRUE(hasUntrustedNormals(".STL"));
  EXPECT_FALSE(hasUntrustedNormals(".obj"));
}

TEST(ModelContents, RelativeTexturePathsAreAnchoredBesideTheModel) {
  struct Case {
    const char* texture;
    const char* anchored;
  } cases[] = {
      {"wood.png", "D:\\models\\wood.png"},
      {"maps\\wood.png", "D:\\models\\maps\\wood.png"},
      {".\\wood.png", "D:\\models\\wood.png"},
      {"C:\\textures\\wood.png", "C:\\textures\\wood.png"},
      {"\\media\\textures\\wood.png", "\\media\\textures\\wood.png"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(textureBesideModel("D:\\models\\", c.texture), c.anchored);
  AuthoredScene scene;
  scene.materials.resize(1);
  scene.materials[0].subMaterials.resize(1);
  scene.materials[0].subMaterials[0].bumpMap = "bump.png";
  anchorTexturePaths(scene, "D:\\m\\");
  EXPECT_EQ(scene.materials[0].subMaterials[0].bumpMap, "D:\\m\\bump.png");
  EXPECT_EQ(scene.materials[0].baseMap, "");
}

TEST(ModelContents, BlenderFilesAndThoseWhoseMetadataSaysSoAreStillZUp) {
  EXPECT_TRUE(isStillZUp(".blend", -1));
  EXPECT_TRUE(isStillZUp(".BLEND", -1));
  EXPECT_TRUE(isStillZUp(".fbx", 2));
  EXPECT_FALSE(isStillZUp(".fbx", 1));
  EXPECT_FALSE(isStillZUp(".ase", -1));  // the library turns these itself
  EXPECT_FALSE(isStillZUp(".3ds", -1));
  EXPECT_FALSE(isStillZUp("", -1));
}

}  // namespace
}  // namespace veltrace
