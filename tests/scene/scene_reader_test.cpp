// The scan order and the three passes over a mesh's faces: subsets, counts,
// corners, welding, and what damaged meshes are turned into.

#include <gtest/gtest.h>

#include "base/files.h"
#include "base/text.h"
#include "scene/authoring/scene_writer.h"
#include "scene/authoring/shapes.h"
#include "scene/mesh_reader.h"
#include "scene/standard_faces.h"
#include "tests/scene/scene_text.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

using test::cornerVertex;
using test::materialList;
using test::meshBlock;
using test::MeshText;
using test::readSceneText;

// One triangle over vertices 0, 1, 2 with a plain material.
MeshText oneTriangle() {
  MeshText mesh;
  mesh.vertexCount = 3;
  mesh.faceCount = 1;
  mesh.vertices = "*V 0 0 0 0\n*V 1 1 0 0\n*V 2 0 0 1\n";
  mesh.faces = "*F 0 0 1 2 *D 0\n";
  mesh.textureCoordinates = "*TV_EX 0 1 0 1 0 0 0 0 0\n";
  mesh.normals = "*FN 0 0 1 0\n*VN 0 0 1 0\n*VN 1 0 1 0\n*VN 2 0 1 0\n";
  return mesh;
}

TEST(SceneScan, ReadsNameTransformAndMaterialReference) {
  MeshText mesh = oneTriangle();
  mesh.name = "Box 01";
  mesh.materialRef = 1;
  mesh.faces = "*F 0 0 1 2 *D 4\n";
  std::string text = materialList({"*MATERIAL_NAME \"A\"", "*MATERIAL_NAME \"B\""}) + meshBlock(mesh);
  text.replace(text.find("*TM_ROW3 0 0 0"), 14, "*TM_ROW3 4 5 6");
  text.replace(text.find("*TM_POS 0 0 0"), 13, "*TM_POS 7 8 9");
  auto result = readSceneText(text);
  ASSERT_TRUE(result.ok);
  ASSERT_EQ(result.scene.meshCount(), 1);
  const SceneMesh& read = result.scene.meshes[0];
  EXPECT_EQ(read.name, "Box 01");
  EXPECT_EQ(read.materialIndex, 1);
  // The reference, then the id of the subset's first face, marks it.
  EXPECT_EQ(result.scene.materials[1].materialId, 4);
  EXPECT_EQ(result.scene.materials[0].materialId, 0);
  EXPECT_EQ(read.transform[12], 4.0f);  // row 3 as written, fourth column kept
  EXPECT_EQ(read.transform[14], 6.0f);
  EXPECT_EQ(read.transform[15], 1.0f);
  EXPECT_EQ(read.position.y, 8.0f);
  EXPECT_EQ(read.vertexCount, 3);
  EXPECT_EQ(read.faceCount, 1);
}

TEST(SceneScan, PositionsAndNormalsExchangeTheSecondAndThirdNumbers) {
  MeshText mesh = oneTriangle();
  mesh.vertexCount = 6;
  mesh.vertices += "*V 3 0 0 0\n*V 4 0 0 0\n*V 5 1.0 2.0 3.0\n";
  mesh.faces = "*F 0 5 1 2 *D 0\n";
  mesh.normals = "*FN 0 0 0 1\n*VN 5 0.25 0.5 0.75\n*VN 1 0 1 0\n*VN 2 0 1 0\n";
  auto result = readSceneText(meshBlock(mesh));
  ASSERT_TRUE(result.ok);
  const SceneMesh& read = result.scene.meshes[0];
  EXPECT_EQ(read.vertices[5].x, 1.0f);
  EXPECT_EQ(read.vertices[5].y, 3.0f);
  EXPECT_EQ(read.vertices[5].z, 2.0f);
  const SceneVertex& corner = cornerVertex(read.subsets[0], 0, 0);
  EXPECT_EQ(corner.position.y, 3.0f);
  EXPECT_EQ(corner.normal.x, 0.25f);
  EXPECT_EQ(corner.normal.y, 0.75f);
  EXPECT_EQ(corner.normal.z, 0.5f);
}

TEST(SceneScan, TextureTriplesBelongToTheCornersInReverseOrder) {
  MeshText mesh = oneTriangle();
  mesh.textureCoordinates = "*TV_EX 0.5 -0.5 0 0 0 0 0 -0.5 0\n";
  auto result = readSceneText(meshBlock(mesh));
  const MeshSubset& subset = result.scene.meshes[0].subsets[0];
  const SceneVertex& a = cornerVertex(subset, 0, 0);
  const SceneVertex& b = cornerVertex(subset, 0, 1);
  const SceneVertex& c = cornerVertex(subset, 0, 2);
  EXPECT_EQ(a.u, 0.0f);
  EXPECT_EQ(a.v, -0.5f);
  EXPECT_EQ(b.u, 0.0f);
  EXPECT_EQ(b.v, 0.0f);
  EXPECT_EQ(c.u, 0.5f);
  EXPECT_EQ(c.v, -0.5f);
}

TEST(SceneScan, TextureAndNormalLinesBeyondTheFacesAreIgnored) {
  MeshText mesh = oneTriangle();
  mesh.textureCoordinates += "*TV_EX 9 9 9 9 9 9 9 9 9\n";
  mesh.normals += "*FN 1 0 0 1\n*VN 0 9 9 9\n*VN 0 9 9 9\n*VN 0 9 9 9\n*VN 0 9 9 9\n";
  auto result = readSceneText(meshBlock(mesh));
  ASSERT_TRUE(result.ok);
  const MeshSubset& subset = result.scene.meshes[0].subsets[0];
  EXPECT_EQ(subset.vertexCount, 3);
  for (const SceneVertex& vertex : subset.vertices) {
    EXPECT_NE(vertex.u, 9.0f);
    EXPECT_EQ(vertex.normal.y, 0.0f);  // (0, 1, 0) in the file reads as z = 1
    EXPECT_EQ(vertex.normal.z, 1.0f);
  }
}

TEST(SceneScan, RequiredKeywordsFailTheLoad) {
  std::string good = meshBlock(oneTriangle());
  EXPECT_TRUE(readSceneText(good).ok);
  for (const char* keyword : {"*NODE_NAME", "*MESH_NUMVERTEX", "*MESH_NUMFACES"}) {
    std::string text = good;
    text.replace(text.find(keyword), 2, "*X");
    EXPECT_FALSE(readSceneText(text).ok) << keyword;
  }
}

// Exporters put a blank or a tab behind "*MESH_NUMFACES"; a longer word
// that starts with it is not the keyword.
TEST(SceneScan, TheFaceCountKeywordTakesAnyWhiteSpaceBehindIt) {
  const std::string good = meshBlock(oneTriangle());
  struct Case {
    const char* written;
    bool loads;
  } cases[] = {{"*MESH_NUMFACES\t", true},  {"*MESH_NUMFACES\r\n", true}, {"*MESH_NUMFACES  ", true},
               {"*MESH_NUMFACESX ", false}, {"*MESH_NUMFACES1 ", false}};
  for (const Case& c : cases) {
    std::string text = good;
    text.replace(text.find("*MESH_NUMFACES "), 15, c.written);
    auto result = readSceneText(text);
    EXPECT_EQ(result.ok, c.loads) << c.written;
    if (result.ok) EXPECT_EQ(result.scene.meshes[0].subsets[0].triangleCount, 1) << c.written;
  }
}

TEST(SceneScan, MissingOptionalPartsKeepDefaults) {
  std::string text =
      "*GEOMOBJECT { *NODE_NAME \"Bare\" *MESH { *MESH_NUMVERTEX 3 *MESH_NUMFACES 1 "
      "*MESH_VERTEX_LIST { *V 0 0 0 0 *V 1 1 0 0 } *MESH_FACE_LIST { *F 0 0 1 2 *D 0 } } }";
  auto result = readSceneText(text);
  ASSERT_TRUE(result.ok);
  const SceneMesh& mesh = result.scene.meshes[0];
  EXPECT_EQ(mesh.transform[0], 1.0f);
  EXPECT_EQ(mesh.transform[5], 1.0f);
  EXPECT_EQ(mesh.materialIndex, 0);
  EXPECT_EQ(mesh.vertices[2].x, 0.0f);  // vertex 2 is not listed: it stays zero
  ASSERT_EQ(mesh.subsets.size(), 1u);
  EXPECT_EQ(mesh.subsets[0].triangleCount, 1);
  EXPECT_EQ(mesh.subsets[0].indices.size(), 3u);  // welded without texture coordinates or normals
}

TEST(SceneScan, AMeshWithoutListsDoesNotBorrowThoseOfTheNextMesh) {
  MeshText bare = oneTriangle();
  bare.name = "Bare";
  bare.textureCoordinates = "none";
  bare.normals = "none";
  MeshText full = oneTriangle();
  full.name = "Full";
  full.textureCoordinates = "*TV_EX 0.5 0.5 0 0.5 0.5 0 0.5 0.5 0\n";
  auto result = readSceneText(meshBlock(bare) + meshBlock(full));
  ASSERT_TRUE(result.ok);
  ASSERT_EQ(result.scene.meshCount(), 2);
  EXPECT_EQ(result.scene.meshes[0].subsets[0].vertices[0].u, 0.0f);
  EXPECT_EQ(result.scene.meshes[0].subsets[0].vertices[0].normal.z, 0.0f);
  EXPECT_EQ(result.scene.meshes[1].name, "Full");
  EXPECT_EQ(result.scene.meshes[1].subsets[0].vertices[0].u, 0.5f);
}

TEST(SceneScan, TheMeshCountComesFromTheWholeFile) {
  std::string text = materialList({"*MATERIAL_NAME \"M\""}) + meshBlock(oneTriangle()) + meshBlock(oneTriangle());
  auto result = readSceneText(text);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.scene.meshCount(), 2);
  // A third "*GEOMOBJECT" without its parts fails the load.
  EXPECT_FALSE(readSceneText(text + "*GEOMOBJECT { }").ok);
}

TEST(LoadScene, NamesTheSceneAfterItsFileAndLogsTheOutcome) {
  test::TempFolder folder;
  const std::string path = folder.corePath() + "\\box.vase";
  ASSERT_TRUE(replaceFileWith(path, meshBlock(oneTriangle())));
  MessageLog log;
  Scene scene;
  ASSERT_TRUE(loadScene(path, scene, log));
  EXPECT_EQ(scene.name, "box.vase");
  EXPECT_EQ(scene.folder, folder.corePath() + "\\");
  ASSERT_EQ(log.pending().size(), 1u);
  EXPECT_EQ(log.pending()[0], "Scene \"box.vase\" loaded successfully ...");
}

TEST(LoadScene, FailuresLeaveAnEmptySceneAndSaySo) {
  test::TempFolder folder;
  MessageLog log;
  Scene scene;
  scene.meshes.resize(3);
  EXPECT_FALSE(loadScene(folder.corePath() + "\\missing.vase", scene, log));
  EXPECT_EQ(scene.meshCount(), 0);
  EXPECT_EQ(scene.name, "Scene");

  const std::string broken = folder.corePath() + "\\broken.vase";
  ASSERT_TRUE(replaceFileWith(broken, "*GEOMOBJECT { *NODE_NAME \"x\" }"));
  EXPECT_FALSE(loadScene(broken, scene, log));
  auto lines = log.takePending();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Failed to load Scene \"missing.vase\" !");
  EXPECT_EQ(lines[1], "Failed to load Scene \"broken.vase\" !");
}

TEST(StandardFaces, AreToldApartFromTheFacesTheReaderReads) {
  struct Case {
    const char* text;
    bool standardOnly;
  } cases[] = {
      {"*MESH_FACE_LIST {\n*MESH_FACE 0: A: 0 B: 1 C: 2\n}", true},
      {"*MESH_FACE\t0:\tA:\t0", true},
      {"*MESH_FACE 0: A: 0 B: 1 C: 2\n*F 0 0 1 2 *D 0", false},  // one mesh in the reader's form
      {"*MESH_FACE_LIST { *F 0 0 1 2 *D 0 }", false},
      {"*MESH_FACE_LIST { } *MESH_FACENORMAL 0 0 0 1", false},  // neither: nothing to import instead
      {"*FN 0 0 1 0 *MESH_FACE", true},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(holdsOnlyStandardFaces(c.text), c.standardOnly) << c.text;
}

// A file as modelling packages export it: the standard face lines only.
TEST(LoadScene, AFileWithOnlyStandardFacesIsNotLoadedEmptyButSentToTheImport) {
  test::TempFolder folder;
  AuthoredScene box;
  box.materials.emplace_back();
  const std::int32_t ids[6] = {0, 0, 0, 0, 0, 0};
  box.meshes.push_back(makeBox("Box", {0, 0, 0}, {1, 1, 1}, ids));
  const std::string path = folder.corePath() + "\\exported.ase";
  ASSERT_TRUE(writePlainAseScene(path, box));

  MessageLog log;
  Scene scene;
  EXPECT_EQ(loadSceneFile(path, scene, log), SceneLoadOutcome::needsImport);
  EXPECT_EQ(scene.meshCount(), 0);
  auto lines = log.takePending();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], formatText(standardFacesMessage, "exported.ase"));
  EXPECT_FALSE(loadScene(path, scene, log));

  // The same box in the reader's own form loads.
  const std::string own = folder.corePath() + "\\own.vase";
  ASSERT_TRUE(writeVaseScene(own, box));
  EXPECT_EQ(loadSceneFile(own, scene, log), SceneLoadOutcome::loaded);
  EXPECT_EQ(scene.meshes[0].subsets[0].triangleCount, 12);
}

}  // namespace
}  // namespace veltrace
