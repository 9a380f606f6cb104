// Framing imported models for the preview's starting camera, and the turn of
// z-up models to y up.

#include <gtest/gtest.h>

#include <cmath>

#include "scene/authoring/model_framing.h"
#include "scene/authoring/shapes.h"

namespace veltrace {
namespace {

AuthoredScene sceneOfBox(Vec3 centre, Vec3 halfSize) {
  AuthoredScene scene;
  scene.materials.emplace_back();
  const std::int32_t ids[6] = {0, 0, 0, 0, 0, 0};
  scene.meshes.push_back(makeBox("Box", centre, halfSize, ids));
  return scene;
}

TEST(ModelFraming, TheFramedSphereFillsTwoThirdsOfTheStartingViewsHeight) {
  // Seen from 30 units with a 50 degree view, the outline's half height on
  // the image plane against the view's.
  const double r = framedRadius();
  const double seenHalfAngle = std::asin(r / previewEyeDistance);
  EXPECT_NEAR(std::tan(seenHalfAngle) / std::tan(25.0 * 3.14159265358979 / 180), 2.0 / 3.0, 1e-5);
}

TEST(ModelFraming, ModelsOfAnySizeAndPlaceEndAtTheOriginAtTheFramedSize) {
  struct Case {
    Vec3 centre;
    Vec3 halfSize;
  } cases[] = {{{0, 0, 0}, {1, 1, 1}},
               {{5000, -200, 12000}, {800, 300, 1500}},  // millimetres, far from the origin
               {{0.01f, 0.02f, 0}, {0.001f, 0.004f, 0.002f}}};
  for (const Case& c : cases) {
    AuthoredScene scene = sceneOfBox(c.centre, c.halfSize);
    frameForPreview(scene);
    auto sphere = boundingSphereOf(scene);
    ASSERT_TRUE(sphere);
    EXPECT_NEAR(sphere->centre.x, 0, 1e-3);
    EXPECT_NEAR(sphere->centre.y, 0, 1e-3);
    EXPECT_NEAR(sphere->centre.z, 0, 1e-3);
    EXPECT_NEAR(sphere->radius, framedRadius(), 1e-3);
    // Proportions stay: a box twice as high as wide stays so.
    const Vec3 corner = scene.meshes[0].positions[0];
    EXPECT_NEAR(std::abs(corner.y) / std::abs(corner.x), c.halfSize.y / c.halfSize.x, 1e-3);
  }
}

TEST(ModelFraming, APointIsMovedButNotBlownUp) {
  AuthoredScene scene;
  scene.meshes.emplace_back();
  scene.meshes[0].positions = {{3, 4, 5}, {3, 4, 5}};
  frameForPreview(scene);
  EXPECT_EQ(scene.meshes[0].positions[1].x, 0.0f);
  EXPECT_FALSE(boundingSphereOf(AuthoredScene{}));
}

TEST(ModelFraming, AZUpModelIsTurnedUprightNotMirrored) {
  // A model's up (its z) arrives as -z of the scene's axes; its depth (its
  // y) as y.
  AuthoredScene scene;
  scene.meshes.emplace_back();
  AuthoredMesh& mesh = scene.meshes[0];
  mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 0, -1}};  // x right, up
  AuthoredFace face;
  for (int k = 0; k < 3; ++k) {
    face.corners[k].vertex = k;
    face.corners[k].normal = {0, -1, 0};  // the model's -y: towards a front view
  }
  mesh.faces.push_back(face);
  turnZUpToYUp(scene);
  EXPECT_EQ(mesh.positions[2].y, 1.0f);  // up is up
  EXPECT_EQ(mesh.positions[1].x, 1.0f);  // right stays right
  EXPECT_EQ(mesh.faces[0].corners[0].normal.z, -1.0f);  // facing the viewer
  // Handedness kept: (right x up) runs against the normal, as the corners
  // of a front face do in the scene's axes.
  auto cross = [](Vec3 a, Vec3 b) { return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; };
  Vec3 n = cross(mesh.positions[1], mesh.positions[2]);
  EXPECT_EQ(n.z, 1.0f);
  EXPECT_EQ(n.x * mesh.faces[0].corners[0].normal.x + n.y * mesh.faces[0].corners[0].normal.y +
                n.z * mesh.faces[0].corners[0].normal.z,
            -1.0f);
}

}  // namespace
}  // namespace veltrace
