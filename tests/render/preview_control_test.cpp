// Mouse and keyboard control of the preview and the per-frame update: which
// drag turns what, the capture rules, held keys, toggles, resets, and what
// frame-move takes from the Parameter pane.

#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

#include "render/preview/frame_move.h"
#include "render/preview/preview_input.h"

namespace veltrace::render {
namespace {

constexpr MouseButtons leftOnly{true, false, false};
constexpr MouseButtons rightOnly{false, true, false};
constexpr MouseButtons both{true, true, false};
constexpr MouseButtons middleOnly{false, false, true};
constexpr MouseButtons none{};

void step(PreviewState& state) { frameMove(state, 1.0f, std::nullopt); }

TEST(PreviewMouse, RightDragTurnsTheWorldAndWrapsPast360) {
  PreviewState state;
  mouseMove(state, -1480, 0, rightOnly);  // 1480 px × 0.25° = 370°
  EXPECT_FLOAT_EQ(state.cameraYaw, 370.0f);
  step(state);
  EXPECT_FLOAT_EQ(state.cameraYaw, 10.0f);

  mouseMove(state, 0, 0, none);
  state.cameraYaw = 0;
  mouseMove(state, 1480, 40, rightOnly);
  step(state);
  EXPECT_FLOAT_EQ(state.cameraYaw, -10.0f) << "the sign is kept";
  EXPECT_FLOAT_EQ(state.cameraPitch, -10.0f);
}

TEST(PreviewMouse, BothButtonsTurnOnlyTheLight) {
  PreviewState state;
  mouseMove(state, 10, -20, both);
  EXPECT_FLOAT_EQ(state.lightYaw, -0.1f);
  EXPECT_FLOAT_EQ(state.lightPitch, 0.2f);
  EXPECT_EQ(state.objectYaw, 0.0f);
  EXPECT_EQ(state.objectPitch, 0.0f);
  EXPECT_EQ(state.cameraYaw, 0.0f);
  EXPECT_EQ(state.cameraPitch, 0.0f);
}

TEST(PreviewMouse, EachButtonMovesItsOwnThing) {
  PreviewState state;
  mouseMove(state, 10, 20, leftOnly);
  EXPECT_FLOAT_EQ(state.objectYaw, -0.05f);
  EXPECT_FLOAT_EQ(state.objectPitch, -0.1f);
  EXPECT_EQ(state.cameraYaw, 0.0f);
  EXPECT_EQ(state.lightYaw, 0.0f);

  mouseMove(state, 20, 30, middleOnly);
  EXPECT_FLOAT_EQ(state.lookAt.x, -1.0f);
  EXPECT_FLOAT_EQ(state.lookAt.y, 1.0f);
  EXPECT_FLOAT_EQ(state.objectYaw, -0.05f);
}

TEST(PreviewMouse, EveryMoveRemembersThePosition) {
  PreviewState state;
  mouseMove(state, 100, 50, none);
  EXPECT_EQ(state.lastMouseX, 100);
  EXPECT_EQ(state.lastMouseY, 50);
  mouseMove(state, 104, 50, leftOnly);  // only the 4 pixels since then count
  EXPECT_FLOAT_EQ(state.objectYaw, -0.02f);
}

TEST(PreviewMouse, CaptureIsReleasedOnlyWhenNoButtonIsLeft) {
  PreviewState state;
  EXPECT_EQ(buttonDown(state, MouseButton::left), CaptureChange::capture);
  EXPECT_EQ(buttonDown(state, MouseButton::right), CaptureChange::capture);
  EXPECT_TRUE(state.leftButton && state.rightButton);
  EXPECT_EQ(buttonUp(state, MouseButton::left), CaptureChange::none);
  EXPECT_FALSE(state.leftButton);
  EXPECT_EQ(buttonUp(state, MouseButton::right), CaptureChange::release);
  EXPECT_FALSE(state.rightButton);

  buttonDown(state, MouseButton::right);
  EXPECT_EQ(buttonUp(state, MouseButton::right), CaptureChange::release);
}

TEST(PreviewKeys, VirtualKeysMapToPreviewKeys) {
  EXPECT_EQ(previewKeyFromVirtualKey(0x25), PreviewKey::left);
  EXPECT_EQ(previewKeyFromVirtualKey(0x27), PreviewKey::right);
  EXPECT_EQ(previewKeyFromVirtualKey(0x26), PreviewKey::up);
  EXPECT_EQ(previewKeyFromVirtualKey(0x28), PreviewKey::down);
  EXPECT_EQ(previewKeyFromVirtualKey(0x21), PreviewKey::pageUp);
  EXPECT_EQ(previewKeyFromVirtualKey(0x22), PreviewKey::pageDown);
  EXPECT_EQ(previewKeyFromVirtualKey('N'), PreviewKey::toggleNormals);
  EXPECT_EQ(previewKeyFromVirtualKey('R'), PreviewKey::reset);
  EXPECT_FALSE(previewKeyFromVirtualKey('n')) << "virtual keys of letters are upper case";
  EXPECT_FALSE(previewKeyFromVirtualKey('Q'));
}

TEST(PreviewKeys, HeldKeysMoveTheCameraEveryFrame) {
  PreviewState state;
  keyDown(state, PreviewKey::right);
  keyDown(state, PreviewKey::up);
  keyDown(state, PreviewKey::pageUp);
  step(state);
  step(state);
  EXPECT_FLOAT_EQ(state.eye.x, 0.6f);
  EXPECT_FLOAT_EQ(state.lookAt.x, 0.6f);
  EXPECT_FLOAT_EQ(state.eye.y, 0.6f);
  EXPECT_FLOAT_EQ(state.lookAt.y, 0.6f);
  EXPECT_FLOAT_EQ(state.eye.z, -29.4f);
  EXPECT_FLOAT_EQ(state.lookAt.z, 0.0f) << "near and far move the eye only";

  keyUp(state, PreviewKey::right);
  keyUp(state, PreviewKey::up);
  keyUp(state, PreviewKey::pageUp);
  step(state);
  EXPECT_FLOAT_EQ(state.eye.x, 0.6f);
}

TEST(PreviewKeys, OppositeKeysTogetherMoveNothing) {
  PreviewState state;
  keyDown(state, PreviewKey::left);
  keyDown(state, PreviewKey::right);
  keyDown(state, PreviewKey::pageUp);
  keyDown(state, PreviewKey::pageDown);
  step(state);
  EXPECT_EQ(state.eye.x, 0.0f);
  EXPECT_EQ(state.lookAt.x, 0.0f);
  EXPECT_EQ(state.eye.z, -30.0f);
}

TEST(PreviewKeys, WithBothButtonsHeldKeysMoveTheLight) {
  PreviewState state;
  buttonDown(state, MouseButton::left);
  buttonDown(state, MouseButton::right);
  keyDown(state, PreviewKey::left);
  keyDown(state, PreviewKey::down);
  keyDown(state, PreviewKey::pageDown);
  step(state);
  EXPECT_FLOAT_EQ(state.lightBase.x, -0.3f);
  EXPECT_FLOAT_EQ(state.lightBase.y, -0.3f);
  EXPECT_FLOAT_EQ(state.lightBase.z, -23.3f);
  EXPECT_EQ(state.eye.x, 0.0f);
  EXPECT_EQ(state.eye.z, -30.0f);
  EXPECT_FLOAT_EQ(state.light.position.z, -23.3f);
}

TEST(PreviewKeys, NormalsAndTangentsExcludeEachOther) {
  PreviewState state;
  keyDown(state, PreviewKey::toggleTangents);
  step(state);
  EXPECT_EQ(state.vectorDisplay, vectorDisplayTangentFramesMask);

  keyDown(state, PreviewKey::toggleNormals);  // switches tangents off, normals on
  step(state);
  EXPECT_TRUE(state.showNormals);
  EXPECT_FALSE(state.showTangents);
  EXPECT_EQ(state.vectorDisplay, vectorDisplayNormalsMask);

  keyDown(state, PreviewKey::toggleNormals);
  step(state);
  EXPECT_FALSE(state.showNormals);
  EXPECT_FALSE(state.showTangents);
  EXPECT_EQ(state.vectorDisplay, 0u);

  keyUp(state, PreviewKey::toggleNormals);  // key-up of a toggle does nothing
  EXPECT_FALSE(state.showNormals);
}

TEST(PreviewKeys, StatsAndLightToggleOnKeyDown) {
  PreviewState state;
  keyDown(state, PreviewKey::toggleStats);
  keyDown(state, PreviewKey::toggleLight);
  EXPECT_TRUE(state.showStats);
  EXPECT_TRUE(state.showLight);
  keyDown(state, PreviewKey::toggleStats);
  EXPECT_FALSE(state.showStats);
}

TEST(PreviewKeys, ResetRestoresViewAndLight) {
  PreviewState state;
  state.eye = {1, 2, 3};
  state.lookAt = {4, 5, 6};
  state.cameraYaw = 30;
  state.objectPitch = 1;
  state.objectRoll = 2;
  state.fovDegrees = 80;
  state.lightBase = {7, 8, 9};
  state.lightYaw = 1.5f;
  state.moveLeft = true;
  keyDown(state, PreviewKey::reset);
  EXPECT_EQ(state.eye.z, -30.0f);
  EXPECT_EQ(state.lookAt.x, 0.0f);
  EXPECT_EQ(state.cameraYaw, 0.0f);
  EXPECT_EQ(state.objectPitch, 0.0f);
  EXPECT_EQ(state.objectRoll, 0.0f);
  EXPECT_EQ(state.fovDegrees, 50.0f);
  EXPECT_TRUE(state.parameterPaneNeedsRefresh);
  EXPECT_EQ(state.lightBase.z, -23.0f);
  EXPECT_EQ(state.lightYaw, 0.0f);
  EXPECT_TRUE(state.moveLeft) << "held keys stay held until their key-up";
}

TEST(PreviewFrameMove, TakesThePaneValuesForTheNextFrame) {
  PreviewState state;
  PreviewParameters pane;
  pane.lightAmbient = {0.1f, 0.2f, 0.3f, 0.4f};
  pane.lightDiffuse = {0.5f, 0.5f, 0.5f, 1};
  pane.lightSpecular = {1, 0, 0, 1};
  pane.fovDegrees = 90;
  pane.nearPlane = 2;
  pane.farPlane = 50;
  frameMove(state, 1.0f, pane);
  EXPECT_EQ(state.light.ambient.b, 0.3f);
  EXPECT_EQ(state.light.diffuse.a, 1.0f);
  EXPECT_EQ(state.light.specular.r, 1.0f);
  // This frame still used 50°; the next one uses 90°.
  EXPECT_NEAR(state.projection.m[1][1], 1.0f / std::tan(25.0f * 0.017453292f), 1e-5f);
  frameMove(state, 1.0f, pane);
  EXPECT_NEAR(state.projection.m[1][1], 1.0f, 1e-5f);
  EXPECT_NEAR(state.projection.m[2][2], 50.0f / 48.0f, 1e-5f);
}

TEST(PreviewFrameMove, IgnoresPaneFieldsThatDescribeNoProjection) {
  PreviewState state;
  PreviewParameters pane;
  for (auto [fov, nearPlane, farPlane] : {std::tuple{0, 1, 100}, {180, 1, 100}, {50, 0, 100}, {50, 10, 10}, {50, 10, 5}}) {
    pane.fovDegrees = fov;
    pane.nearPlane = nearPlane;
    pane.farPlane = farPlane;
    frameMove(state, 1.0f, pane);
    EXPECT_EQ(state.fovDegrees, 50.0f);
    EXPECT_EQ(state.nearPlane, 1.0f);
    EXPECT_EQ(state.farPlane, 100.0f);
  }
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) EXPECT_TRUE(std::isfinite(state.projection.m[row][column]));
}

TEST(PreviewFrameMove, AspectOfAnEmptyBackBufferIsOne) {
  EXPECT_FLOAT_EQ(backBufferAspect(800, 600), 4.0f / 3.0f);
  EXPECT_EQ(backBufferAspect(800, 0), 1.0f);
  EXPECT_EQ(backBufferAspect(0, 0), 1.0f);
}

TEST(PreviewFrameMove, LightMarkerSitsAtTheTurnedLight) {
  PreviewState state;
  state.lightYaw = 0.7f;
  state.lightPitch = -0.3f;
  step(state);
  Vector3 marker = transformCoord({0, 0, 0}, lightMarkerWorld(state));
  EXPECT_NEAR(marker.x, state.light.position.x, 1e-4f);
  EXPECT_NEAR(marker.y, state.light.position.y, 1e-4f);
  EXPECT_NEAR(marker.z, state.light.position.z, 1e-4f);
}

}  // namespace
}  // namespace veltrace::render
