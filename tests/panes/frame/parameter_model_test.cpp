#include <gtest/gtest.h>

#include "panes/frame/parameter_model.h"

namespace veltrace::panes {
namespace {

using render::PreviewState;

constexpr float aspect = 4.0f / 3.0f;

// The model after the initial update from a fresh preview.
ParameterModel initialModel() {
  ParameterModel model;
  PreviewState preview;
  render::initialiseLight(preview);
  model.takeFromPreview(preview);
  return model;
}

TEST(ParameterModel, InitialUpdateShowsThePreviewsDefaults) {
  ParameterModel model = initialModel();
  EXPECT_EQ(model.projectionText(ProjectionField::fieldOfView), "50");
  EXPECT_EQ(model.projectionText(ProjectionField::nearClip), "1");
  EXPECT_EQ(model.projectionText(ProjectionField::farClip), "100");
  EXPECT_EQ(model.colours(), (ColourGrid{{{0, 0, 0}, {255, 255, 255}, {102, 102, 102}}}))
      << "ambient black, diffuse white, specular 0.4 x 255 truncated";
  EXPECT_FALSE(model.colourEditing());
  EXPECT_FALSE(model.projectionEditing());
}

TEST(ParameterModel, StartsWithThePreviewsDefaultsBeforeTheInitialUpdate) {
  EXPECT_EQ(ParameterModel().colours(), initialModel().colours());
  EXPECT_EQ(ParameterModel().projection(ProjectionField::farClip), 100);
}

TEST(ParameterModel, InitialUpdateTruncatesThePreviewsValues) {
  PreviewState preview;
  preview.fovDegrees = 59.9f;
  preview.nearPlane = 2.5f;
  preview.farPlane = -3.7f;
  preview.light.ambient = {0.5f, 0.999f, 1.0f, 0};
  ParameterModel model;
  model.takeFromPreview(preview);
  EXPECT_EQ(model.projection(ProjectionField::fieldOfView), 59);
  EXPECT_EQ(model.projection(ProjectionField::nearClip), 2);
  EXPECT_EQ(model.projection(ProjectionField::farClip), -3);
  EXPECT_EQ(model.colour(LightColour::ambient, ColourComponent::red), 127);
  EXPECT_EQ(model.colour(LightColour::ambient, ColourComponent::green), 254);
  EXPECT_EQ(model.colour(LightColour::ambient, ColourComponent::blue), 255);
}

TEST(ParameterModel, RangesOfTheArrowsAndSliders) {
  EXPECT_EQ(arrowRange(ProjectionField::fieldOfView).lowest, 0);
  EXPECT_EQ(arrowRange(ProjectionField::fieldOfView).highest, 180);
  EXPECT_EQ(arrowRange(ProjectionField::nearClip).highest, 2000);
  EXPECT_EQ(arrowRange(ProjectionField::farClip).highest, 2000);
  EXPECT_EQ(colourSliderRange.highest, 255);
  EXPECT_EQ(colourSliderPageStep, 10);
}

TEST(ParameterModel, Typing90IntoTheFieldOfViewChangesTheNextFramesProjection) {
  ParameterModel model = initialModel();
  PreviewState preview;
  model.setProjectionEditing(true);
  EXPECT_TRUE(model.projectionTextChanged(ProjectionField::fieldOfView, "90"));
  render::frameMove(preview, aspect, model.previewParameters());
  EXPECT_EQ(preview.fovDegrees, 90.0f);
}

struct TextCase {
  const char* text;
  int value;
};

TEST(ParameterModel, ProjectionTextReadsAsAWholeNumberWithoutClamping) {
  const TextCase cases[] = {
      {"90", 90}, {"abc", 0}, {"", 0}, {"12abc", 12}, {" 7", 7}, {"-5", -5}, {"5000", 5000}, {"2.9", 2},
  };
  for (const auto& c : cases) {
    ParameterModel model;
    model.setProjectionEditing(true);
    model.projectionTextChanged(ProjectionField::farClip, c.text);
    EXPECT_EQ(model.projection(ProjectionField::farClip), c.value) << c.text;
  }
}

TEST(ParameterModel, TextSetWhileTheSwitchIsOffIsNotReadBack) {
  ParameterModel model = initialModel();
  EXPECT_FALSE(model.projectionTextChanged(ProjectionField::fieldOfView, "10"));
  EXPECT_FALSE(model.colourTextChanged(LightColour::diffuse, ColourComponent::red, "10"));
  EXPECT_EQ(model.projection(ProjectionField::fieldOfView), 50);
  EXPECT_EQ(model.colour(LightColour::diffuse, ColourComponent::red), 255);

  model.setColourEditing(true);  // the colour switch does not open the projection fields
  EXPECT_FALSE(model.projectionTextChanged(ProjectionField::fieldOfView, "10"));
  model.setColourEditing(false);
  model.setProjectionEditing(true);
  EXPECT_FALSE(model.colourTextChanged(LightColour::diffuse, ColourComponent::red, "10"));
}

TEST(ParameterModel, DiffuseRedSliderAt128ShowsInItsFieldAndReachesTheLight) {
  ParameterModel model = initialModel();
  ColourGrid positions = model.sliderPositions();
  positions[1][0] = 128;
  model.slidersMoved(positions);
  EXPECT_EQ(model.colourText(LightColour::diffuse, ColourComponent::red), "128");
  EXPECT_EQ(model.swatchColour(LightColour::diffuse), (SwatchColour{128, 255, 255}));

  PreviewState preview;
  render::frameMove(preview, aspect, model.previewParameters());
  EXPECT_FLOAT_EQ(preview.light.diffuse.r, 128.0f / 255.0f);
  EXPECT_FLOAT_EQ(preview.light.diffuse.g, 1.0f);
  EXPECT_FLOAT_EQ(preview.light.diffuse.a, 1.0f);
}

TEST(ParameterModel, ColourTyped300IsUsedAs300Over255WithItsSliderAtTheEnd) {
  ParameterModel model = initialModel();
  model.setColourEditing(true);
  EXPECT_TRUE(model.colourTextChanged(LightColour::specular, ColourComponent::green, "300"));
  EXPECT_EQ(model.colour(LightColour::specular, ColourComponent::green), 300);
  EXPECT_EQ(model.sliderPosition(LightColour::specular, ColourComponent::green), 255);
  EXPECT_EQ(model.swatchColour(LightColour::specular), (SwatchColour{102, 255, 102}));
  EXPECT_FLOAT_EQ(model.previewParameters().lightSpecular.g, 300.0f / 255.0f);

  model.colourTextChanged(LightColour::specular, ColourComponent::blue, "-20");
  EXPECT_EQ(model.sliderPosition(LightColour::specular, ColourComponent::blue), 0);
  EXPECT_FLOAT_EQ(model.previewParameters().lightSpecular.b, -20.0f / 255.0f);
  model.colourTextChanged(LightColour::specular, ColourComponent::red, "red");
  EXPECT_EQ(model.colour(LightColour::specular, ColourComponent::red), 0);
}

TEST(ParameterModel, MovingAnySliderTakesEverySlidersPosition) {
  ParameterModel model = initialModel();
  model.setColourEditing(true);
  model.colourTextChanged(LightColour::ambient, ColourComponent::red, "300");
  model.setColourEditing(false);
  ColourGrid positions = model.sliderPositions();
  positions[2][2] = 7;
  model.slidersMoved(positions);
  EXPECT_EQ(model.colour(LightColour::ambient, ColourComponent::red), 255) << "its slider stood at the end";
  EXPECT_EQ(model.colour(LightColour::specular, ColourComponent::blue), 7);
}

TEST(ParameterModel, ResetViewShows50AndResetsThePreview) {
  ParameterModel model = initialModel();
  model.setProjectionEditing(true);
  model.projectionTextChanged(ProjectionField::fieldOfView, "90");
  PreviewState preview;
  preview.eye = {3, 4, 5};
  preview.lightBase = {1, 1, 1};
  model.resetView(preview);
  EXPECT_EQ(model.projectionText(ProjectionField::fieldOfView), "50");
  EXPECT_EQ(preview.eye.z, -30.0f);
  EXPECT_EQ(preview.lightBase.x, 1.0f) << "the light is Reset Light's";
  EXPECT_FALSE(model.followPreviewReset(preview)) << "nothing left to follow";

  model.resetLight(preview);
  EXPECT_EQ(preview.lightBase.z, -23.0f);
}

TEST(ParameterModel, PreviewsResetKeyIsFollowedBeforeTheNextFrame) {
  ParameterModel model = initialModel();
  model.setProjectionEditing(true);
  model.projectionTextChanged(ProjectionField::fieldOfView, "90");
  PreviewState preview;
  render::resetView(preview);  // the "R" key
  EXPECT_TRUE(model.followPreviewReset(preview));
  EXPECT_EQ(model.projection(ProjectionField::fieldOfView), 50);
  render::frameMove(preview, aspect, model.previewParameters());
  EXPECT_EQ(preview.fovDegrees, 50.0f);
  EXPECT_FALSE(model.followPreviewReset(preview));
}

struct WheelCase {
  int startDegrees;
  std::vector<int> deltas;
  int endDegrees;
};

TEST(ParameterModel, MouseWheelChangesTheFieldOfViewByNotches) {
  const WheelCase cases[] = {
      {50, {120}, 48},                // away from the user narrows
      {50, {-240}, 54},               // towards the user widens
      {50, {60}, 50},                 // half a notch does nothing yet
      {50, {60, 60}, 48},             // two halves are a notch
      {2, {120, 120, 120}, 1},        // never below 1 degree
      {178, {-360}, 179},             // never 180 or more
      {400, {120}, 179},              // a typed value beyond the range comes back into it
  };
  for (const auto& c : cases) {
    ParameterModel model;
    model.setFieldOfView(c.startDegrees);
    for (int delta : c.deltas) model.wheelTurned(delta);
    EXPECT_EQ(model.projection(ProjectionField::fieldOfView), c.endDegrees) << c.startDegrees;
  }
  ParameterModel model;
  EXPECT_TRUE(model.wheelTurned(120));
  EXPECT_FALSE(model.wheelTurned(10));
}

TEST(ParameterModel, SwatchIsItsFrameShrunkByFourPixels) {
  EXPECT_EQ(swatchRect({10, 20, 60, 50}), (PixelRect{14, 24, 56, 46}));
  EXPECT_EQ(swatchRect({0, 0, 8, 8}), (PixelRect{4, 4, 4, 4}));
  EXPECT_EQ(swatchRect({0, 0, 5, 30}), (PixelRect{2, 4, 2, 26})) << "too narrow: empty, not inverted";
}

}  // namespace
}  // namespace veltrace::panes
