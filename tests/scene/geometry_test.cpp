// Subsets formed from the face ids, welding, the tangent pass, and the faces
// that cannot be stored.

#include <gtest/gtest.h>

#include <cmath>

#include "scene/authoring/scene_writer.h"
#include "scene/authoring/shapes.h"
#include "scene/tangent_frames.h"
#include "tests/scene/scene_text.h"

namespace veltrace {
namespace {

using test::cornerVertex;
using test::materialList;
using test::meshBlock;
using test::MeshText;
using test::readSceneText;

// Four faces over a fan of vertices, with the given ids.
MeshText fourFaces(const char* ids[4]) {
  MeshText mesh;
  mesh.vertexCount = 6;
  mesh.faceCount = 4;
  mesh.vertices = "*V 0 0 0 0\n*V 1 1 0 0\n*V 2 1 0 1\n*V 3 0 0 1\n*V 4 2 0 0\n*V 5 2 0 1\n";
  for (int f = 0; f < 4; ++f)
    mesh.faces += "*F " + std::to_string(f) + " 0 " + std::to_string(f + 1) + " " + std::to_string(f + 2) + " *D " +
                  ids[f] + "\n";
  return mesh;
}

std::string withSubMaterials(int count) {
  std::string body = "*NUMSUBMTLS " + std::to_string(count) + "\n";
  for (int i = 0; i < count; ++i)
    body += "*SUBMATERIAL " + std::to_string(i) + " { *MATERIAL_NAME \"Sub" + std::to_string(i) + "\" }\n";
  return materialList({body});
}

TEST(Subsets, IdsMakeSubsetsInTheOrderTheyFirstAppear) {
  const char* ids[4] = {"3", "1", "3", "0"};
  auto result = readSceneText(withSubMaterials(4) + meshBlock(fourFaces(ids)));
  ASSERT_TRUE(result.ok);
  const SceneMesh& mesh = result.scene.meshes[0];
  ASSERT_EQ(mesh.subsetCount(), 3);
  EXPECT_EQ(mesh.subsetIds, (std::vector<std::int32_t>{3, 1, 0, -1}));
  EXPECT_EQ(mesh.subsets[0].id, 3);
  EXPECT_EQ(mesh.subsets[0].triangleCount, 2);
  EXPECT_EQ(mesh.subsets[0].indexCount, 6);
  EXPECT_EQ(mesh.subsets[1].triangleCount, 1);
  EXPECT_EQ(mesh.subsets[2].triangleCount, 1);
  EXPECT_EQ(result.scene.materialOf(mesh.subsets[0]).name, "Sub3");
  EXPECT_EQ(result.scene.materialOf(mesh.subsets[1]).name, "Sub1");
  EXPECT_EQ(result.scene.materialOf(mesh.subsets[2]).name, "Sub0");
  EXPECT_EQ(result.scene.materials[0].subMaterials[3].materialId, 3);
}

TEST(Subsets, IdsTakeTheirSubMaterialModuloTheCount) {
  const char* ids[4] = {"3", "1", "3", "0"};
  auto result = readSceneText(withSubMaterials(3) + meshBlock(fourFaces(ids)));
  const SceneMesh& mesh = result.scene.meshes[0];
  ASSERT_EQ(mesh.subsetCount(), 3);
  EXPECT_EQ(mesh.subsets[0].subMaterialIndex, 0);  // 3 modulo 3
  EXPECT_EQ(mesh.subsets[2].subMaterialIndex, 0);
  // Both subsets take sub-material 0; the later one's id is the one kept.
  EXPECT_EQ(result.scene.materials[0].subMaterials[0].materialId, 0);
  EXPECT_EQ(result.scene.materials[0].subMaterials[1].materialId, 1);
}

TEST(Subsets, WithoutSubMaterialsOneSubsetTakesEveryFace) {
  const char* ids[4] = {"3", "1", "3", "0"};
  auto result = readSceneText(meshBlock(fourFaces(ids)));
  const SceneMesh& mesh = result.scene.meshes[0];
  ASSERT_EQ(mesh.subsetCount(), 1);
  EXPECT_EQ(mesh.subsets[0].triangleCount, 4);
  EXPECT_EQ(mesh.subsets[0].subMaterialIndex, -1);
  EXPECT_EQ(&result.scene.materialOf(mesh.subsets[0]), &result.scene.materials[0]);
}

TEST(Subsets, IdsBeyondTheSubMaterialsLoseTheirFaces) {
  // Two sub-materials but three distinct ids: the third id's face has no
  // subset and is left out; the counts still match the indices written.
  const char* ids[4] = {"0", "1", "2", "1"};
  auto result = readSceneText(withSubMaterials(2) + meshBlock(fourFaces(ids)));
  ASSERT_TRUE(result.ok);
  const SceneMesh& mesh = result.scene.meshes[0];
  ASSERT_EQ(mesh.subsetCount(), 2);
  EXPECT_EQ(mesh.subsets[0].triangleCount, 1);
  EXPECT_EQ(mesh.subsets[1].triangleCount, 2);
  for (const MeshSubset& subset : mesh.subsets)
    EXPECT_EQ(subset.indices.size(), static_cast<size_t>(subset.indexCount));
}

TEST(Subsets, NegativeIdsWrapIntoTheSubMaterials) {
  const char* ids[4] = {"-1", "-1", "-1", "-1"};
  auto result = readSceneText(withSubMaterials(3) + meshBlock(fourFaces(ids)));
  const SceneMesh& mesh = result.scene.meshes[0];
  ASSERT_EQ(mesh.subsetCount(), 1);
  EXPECT_EQ(mesh.subsets[0].subMaterialIndex, 2);
}

TEST(DamagedFaces, FacesThatCannotBeStoredAreLeftOut) {
  MeshText mesh;
  mesh.vertexCount = 3;
  mesh.faceCount = 2;
  mesh.vertices = "*V 0 0 0 0\n*V 1 1 0 0\n*V 2 0 0 1\n";
  mesh.faces =
      "*F 0 0 1 2 *D 0\n"
      "*F 0 2 1 0 *D 0\n"     // its index again
      "*F 1 0 1 3 *D 0\n"     // vertex 3 is beyond the list
      "*F 1 -1 1 2 *D 0\n"    // so is vertex -1
      "*F 2 0 1 2 *D 0\n"     // face index at the face count
      "*F -5 0 1 2 *D 0\n"    // negative face index
      "*D 0\n"                // an id without a face
      "*F 1 2 0 1\n";         // a face without an id
  auto result = readSceneText(meshBlock(mesh));
  ASSERT_TRUE(result.ok);
  const MeshSubset& subset = result.scene.meshes[0].subsets[0];
  EXPECT_EQ(subset.triangleCount, 1);
  ASSERT_EQ(subset.indices.size(), 3u);
  EXPECT_EQ(cornerVertex(subset, 0, 1).position.x, 1.0f);  // the first face 0, not its repeat
}

TEST(DamagedFaces, HugeCountsInASmallFileAreBounded) {
  MeshText mesh;
  mesh.vertexCount = 2000000000;
  mesh.faceCount = 2000000000;
  mesh.vertices = "*V 0 0 0 0\n*V 1 1 0 0\n*V 2 0 0 1\n";
  mesh.faces = "*F 0 0 1 2 *D 0\n*F 1999999999 0 1 2 *D 0\n";
  auto result = readSceneText(meshBlock(mesh));
  ASSERT_TRUE(result.ok);
  const SceneMesh& read = result.scene.meshes[0];
  EXPECT_LT(read.faceCount, 1000);
  EXPECT_LT(read.vertexCount, 1000);
  EXPECT_EQ(read.subsets[0].triangleCount, 1);
}

TEST(DamagedFaces, AMaterialReferenceOutsideTheMaterialsTakesTheFirst) {
  MeshText mesh;
  mesh.materialRef = 7;
  mesh.vertexCount = 3;
  mesh.faceCount = 1;
  mesh.vertices = "*V 0 0 0 0\n*V 1 1 0 0\n*V 2 0 0 1\n";
  mesh.faces = "*F 0 0 1 2 *D 0\n";
  auto result = readSceneText(withSubMaterials(2) + meshBlock(mesh));
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.scene.meshes[0].materialIndex, 0);
  mesh.materialRef = -3;
  EXPECT_EQ(readSceneText(meshBlock(mesh)).scene.meshes[0].materialIndex, 0);
}

TEST(DamagedFaces, AFaceListBeforeTheCountsIsSeenOnlyByTheFirstPass) {
  // The first pass looks for the list from behind the node, the other two
  // from behind the vertex list, so they miss a list placed before it.
  std::string text = withSubMaterials(2) +
                     "*GEOMOBJECT { *NODE_NAME \"Early\" *MESH { *MESH_FACE_LIST { *F 0 0 1 2 *D 1 } "
                     "*MESH_NUMVERTEX 3 *MESH_NUMFACES 1 *MESH_VERTEX_LIST { *V 0 0 0 0 *V 1 1 0 0 *V 2 0 0 1 } } }";
  auto result = readSceneText(text);
  ASSERT_TRUE(result.ok);
  const SceneMesh& mesh = result.scene.meshes[0];
  ASSERT_EQ(mesh.subsetCount(), 1);
  EXPECT_EQ(mesh.subsets[0].id, 1);
  EXPECT_EQ(mesh.subsets[0].triangleCount, 0);
  EXPECT_TRUE(mesh.subsets[0].indices.empty());
}

TEST(DamagedFaces, FacesListedOutOfOrderKeepTheirOwnCorners) {
  // Face 1 is listed first; texture line n belongs to face n all the same.
  MeshText mesh;
  mesh.vertexCount = 4;
  mesh.faceCount = 2;
  mesh.vertices = "*V 0 0 0 0\n*V 1 1 0 0\n*V 2 0 0 1\n*V 3 1 0 1\n";
  mesh.faces = "*F 1 1 3 2 *D 0\n*F 0 0 1 2 *D 0\n";
  mesh.textureCoordinates = "*TV_EX 0 0 0 0 0 0 0 0 0\n*TV_EX 1 1 0 1 1 0 1 1 0\n";
  auto result = readSceneText(meshBlock(mesh));
  const MeshSubset& subset = result.scene.meshes[0].subsets[0];
  ASSERT_EQ(subset.indices.size(), 6u);
  EXPECT_EQ(cornerVertex(subset, 0, 1).position.x, 1.0f);  // face 0 first: corner b is vertex 1
  EXPECT_EQ(cornerVertex(subset, 0, 0).u, 0.0f);
  EXPECT_EQ(cornerVertex(subset, 1, 1).position.x, 1.0f);  // face 1: corner b is vertex 3
  EXPECT_EQ(cornerVertex(subset, 1, 1).position.y, 1.0f);
  EXPECT_EQ(cornerVertex(subset, 1, 0).u, 1.0f);
}

TEST(Welding, SharedCornersShareVerticesAndSeamsSplitThem) {
  MeshText mesh;
  mesh.vertexCount = 4;
  mesh.faceCount = 2;
  mesh.vertices = "*V 0 0 0 0\n*V 1 1 0 0\n*V 2 0 0 1\n*V 3 1 0 1\n";
  mesh.faces = "*F 0 0 2 1 *D 0\n*F 1 2 3 1 *D 0\n";
  mesh.normals =
      "*FN 0 0 1 0\n*VN 0 0 1 0\n*VN 2 0 1 0\n*VN 1 0 1 0\n"
      "*FN 1 0 1 0\n*VN 2 0 1 0\n*VN 3 0 1 0\n*VN 1 0 1 0\n";
  // Texture coordinates follow the positions: the edge 2-1 is shared.
  mesh.textureCoordinates = "*TV_EX 1 0 0 0 1 0 0 0 0\n*TV_EX 1 0 0 1 1 0 0 1 0\n";
  auto shared = readSceneText(meshBlock(mesh));
  const MeshSubset& whole = shared.scene.meshes[0].subsets[0];
  EXPECT_EQ(whole.vertexCount, 4);
  EXPECT_EQ(whole.indices, (std::vector<std::uint32_t>{0, 1, 2, 1, 3, 2}));

  // Different coordinates on the second face's side of the edge: a seam.
  mesh.textureCoordinates = "*TV_EX 1 0 0 0 1 0 0 0 0\n*TV_EX 0.5 0 0 1 1 0 0.5 1 0\n";
  auto seam = readSceneText(meshBlock(mesh));
  EXPECT_EQ(seam.scene.meshes[0].subsets[0].vertexCount, 6);
  EXPECT_EQ(seam.scene.meshes[0].subsets[0].indexCount, 6);
}

TEST(Welding, ASubsetOf1520FacesHas4560Indices) {
  AuthoredScene authored;
  authored.materials.emplace_back();
  authored.meshes.push_back(makeWavedGrid("Grid", 4.0f, 28, 0));
  authored.meshes[0].faces.resize(1520);  // 27 rows of 28 cells, then 4 cells of the next row
  auto result = readSceneText(formatVaseScene(authored));
  ASSERT_TRUE(result.ok);
  const MeshSubset& subset = result.scene.meshes[0].subsets[0];
  EXPECT_EQ(subset.triangleCount, 1520);
  EXPECT_EQ(subset.indexCount, 4560);
  EXPECT_EQ(subset.indices.size(), 4560u);
  EXPECT_EQ(subset.vertexCount, 28 * 29 + 5);  // 28 full rows of points and 5 of the next
  EXPECT_EQ(subset.normalLines.size(), static_cast<size_t>(subset.vertexCount));
  for (std::uint32_t index : subset.indices) EXPECT_LT(index, static_cast<std::uint32_t>(subset.vertexCount));
}

TEST(GuideLines, NormalLinesRunFromEachVertexAlongItsNormal) {
  MeshText mesh;
  mesh.vertexCount = 3;
  mesh.faceCount = 1;
  mesh.vertices = "*V 0 1 2 3\n*V 1 1 0 0\n*V 2 0 0 1\n";
  mesh.faces = "*F 0 0 1 2 *D 0\n";
  mesh.normals = "*FN 0 0 0 1\n*VN 0 0 0 1\n*VN 1 0 0 1\n*VN 2 0 0 1\n";
  auto result = readSceneText(meshBlock(mesh), 0.5f);
  const MeshSubset& subset = result.scene.meshes[0].subsets[0];
  ASSERT_EQ(subset.normalLines.size(), 3u);
  const GuideLine& line = subset.normalLines[subset.indices[0]];
  EXPECT_EQ(line.from.x, 1.0f);
  EXPECT_EQ(line.from.y, 3.0f);
  EXPECT_EQ(line.to.y, 3.5f);  // (0, 0, 1) in the file is y = 1
  EXPECT_EQ(line.to.z, 2.0f);
}

MeshSubset flatSquare() {
  // Four vertices in the x-y plane, normal (0, 0, 1), u = x and v = y.
  MeshSubset subset;
  auto vertex = [](float x, float y) {
    SceneVertex v;
    v.position = {x, y, 0};
    v.normal = {0, 0, 2};  // not unit length: the pass normalises it
    v.u = x;
    v.v = y;
    return v;
  };
  subset.vertices = {vertex(0, 0), vertex(1, 0), vertex(1, 1), vertex(0, 1)};
  subset.indices = {0, 3, 1, 3, 2, 1};
  return subset;
}

TEST(TangentFrames, AFlatSquareGetsTheTextbookFrame) {
  MeshSubset subset = flatSquare();
  buildTangentFrames(subset, 2.0f);
  EXPECT_TRUE(subset.framesBuilt);
  for (const SceneVertex& vertex : subset.vertices) {
    EXPECT_NEAR(vertex.binormal.x, 0.0f, 1e-6);
    EXPECT_NEAR(vertex.binormal.y, 1.0f, 1e-6);
    EXPECT_NEAR(vertex.binormal.z, 0.0f, 1e-6);
    EXPECT_NEAR(vertex.tangent.x, 1.0f, 1e-6);
    EXPECT_NEAR(vertex.tangent.y, 0.0f, 1e-6);
    EXPECT_NEAR(vertex.tangent.z, 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(vertex.normal.z, 1.0f);
  }
  ASSERT_EQ(subset.tangentLines.size(), 4u);
  EXPECT_FLOAT_EQ(subset.tangentLines[2].to.x, 3.0f);  // (1, 1, 0) + 2 x (1, 0, 0)
  EXPECT_FLOAT_EQ(subset.binormalLines[2].to.y, 3.0f);
  EXPECT_FLOAT_EQ(subset.frameNormalLines[2].to.z, 2.0f);
}

TEST(TangentFrames, DegenerateTextureCoordinatesAddNothing) {
  MeshSubset subset = flatSquare();
  for (SceneVertex& vertex : subset.vertices) vertex.u = vertex.v = 0.5f;
  buildTangentFrames(subset, 1.0f);
  for (const SceneVertex& vertex : subset.vertices) {
    EXPECT_EQ(vertex.binormal.x, 0.0f);
    EXPECT_EQ(vertex.binormal.y, 0.0f);
    EXPECT_EQ(vertex.tangent.x, 0.0f);
    EXPECT_FALSE(std::isnan(vertex.tangent.y));
  }
}

TEST(TangentFrames, RunOnlyOnce) {
  MeshSubset subset = flatSquare();
  buildTangentFrames(subset, 1.0f);
  subset.vertices[0].binormal = {5, 5, 5};
  buildTangentFrames(subset, 1.0f);
  EXPECT_EQ(subset.vertices[0].binormal.x, 5.0f);
}

TEST(TangentFrames, IndicesOutsideTheVerticesAreSkipped) {
  MeshSubset subset = flatSquare();
  subset.indices.push_back(0);
  subset.indices.push_back(1);
  subset.indices.push_back(99);
  buildTangentFrames(subset, 1.0f);
  EXPECT_NEAR(subset.vertices[0].binormal.y, 1.0f, 1e-6);
}

}  // namespace
}  // namespace veltrace
