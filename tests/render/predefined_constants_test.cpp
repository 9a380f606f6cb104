// Every predefined constant for one known pose, worked out by hand:
// camera at (0, 0, −30) looking at the origin with the world turned 90° about
// y by the right button, the object turned π/2 about y, the light turned π/2
// about y from its base (0, 0, −23), a 400 × 300 back buffer, field of view
// 50°, planes 1 and 100.

#include "render/preview/predefined_constants.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "render/preview/frame_move.h"

namespace veltrace::render {
namespace {

constexpr float halfPi = std::numbers::pi_v<float> / 2.0f;

using Rows = std::array<std::array<float, 4>, 4>;

class KnownPose : public ::testing::Test {
 protected:
  void SetUp() override {
    state.cameraYaw = 90;
    state.objectYaw = halfPi;
    state.lightYaw = halfPi;
    initialiseLight(state);
    frameMove(state, backBufferAspect(400, 300), std::nullopt);
    frame = constantFrameFrom(state, 0.0f);
  }

  ConstantValue value(std::string_view name, VariableKind kind) {
    auto constant = findPredefinedConstant(name, kind);
    EXPECT_TRUE(constant) << name;
    return constant ? predefinedValue(*constant, frame, material) : ConstantValue{};
  }

  static void expectRows(const ConstantValue& actual, const Rows& expected, float within = 1e-4f) {
    ASSERT_EQ(actual.registerCount, 4);
    for (int row = 0; row < 4; ++row) {
      const Vector4& v = actual.rows[row];
      const float got[4] = {v.x, v.y, v.z, v.w};
      for (int column = 0; column < 4; ++column)
        EXPECT_NEAR(got[column], expected[row][column], within) << "row " << row << ", column " << column;
    }
  }

  static void expectVector(const ConstantValue& actual, Vector4 expected) {
    ASSERT_EQ(actual.registerCount, 1);
    EXPECT_NEAR(actual.rows[0].x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.rows[0].y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.rows[0].z, expected.z, 1e-5f);
    EXPECT_NEAR(actual.rows[0].w, expected.w, 1e-5f);
  }

  // The constant's rows as a matrix, to multiply with.
  static Matrix4 asMatrix(const ConstantValue& value) {
    Matrix4 matrix;
    for (int row = 0; row < 4; ++row) {
      matrix.m[row][0] = value.rows[row].x;
      matrix.m[row][1] = value.rows[row].y;
      matrix.m[row][2] = value.rows[row].z;
      matrix.m[row][3] = value.rows[row].w;
    }
    return matrix;
  }

  static void expectIdentity(const Matrix4& matrix) {
    for (int row = 0; row < 4; ++row)
      for (int column = 0; column < 4; ++column)
        EXPECT_NEAR(matrix.m[row][column], row == column ? 1.0f : 0.0f, 1e-4f) << row << "," << column;
  }

  PreviewState state;
  ConstantFrame frame;
  MaterialColours material{{0.1f, 0.2f, 0.3f, 1}, {0.4f, 0.5f, 0.6f, 1}, {0.7f, 0.8f, 0.9f, 1}, {0, 0.1f, 0, 1}, false};

  // Projection numbers: cot(25°), that over the 4/3 aspect, and the depth pair.
  const float yScale = 1.0f / std::tan(25.0f * std::numbers::pi_v<float> / 180.0f);
  const float xScale = yScale / (4.0f / 3.0f);
  const float depthScale = 100.0f / 99.0f;
  const float depthOffset = -100.0f / 99.0f;
};

TEST_F(KnownPose, VectorsGiveLightAndUnrotatedEye) {
  expectVector(value("light_pos_world", VariableKind::vector), {-23, 0, 0, 1});
  expectVector(value("eye_pos_world", VariableKind::vector), {0, 0, -30, 1});
}

TEST_F(KnownPose, TimeCarriesItsSineAndCosine) {
  expectVector(value("time", VariableKind::vector), {0, 0, 1, 1});
  frame.time = halfPi;
  expectVector(value("time", VariableKind::vector), {halfPi, 1, 0, 1});
}

TEST_F(KnownPose, PlainMatricesComeTransposed) {
  expectRows(value("world", VariableKind::matrix), {{{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 0, 1}}});
  expectRows(value("view", VariableKind::matrix), {{{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 30}, {0, 0, 0, 1}}});
  expectRows(value("world_view", VariableKind::matrix),
             {{{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 30}, {0, 0, 0, 1}}});
  expectRows(value("proj", VariableKind::matrix),
             {{{xScale, 0, 0, 0}, {0, yScale, 0, 0}, {0, 0, depthScale, depthOffset}, {0, 0, 1, 0}}});
  float depthAt30 = 30 * depthScale + depthOffset;
  expectRows(value("view_proj", VariableKind::matrix),
             {{{0, 0, xScale, 0}, {0, yScale, 0, 0}, {-depthScale, 0, 0, depthAt30}, {-1, 0, 0, 30}}});
  expectRows(value("transform", VariableKind::matrix),
             {{{-xScale, 0, 0, 0}, {0, yScale, 0, 0}, {0, 0, -depthScale, depthAt30}, {0, 0, -1, 30}}});
}

TEST_F(KnownPose, InversesComeAsComputedNotTransposed) {
  // The camera sits at world (30, 0, 0) once the world is turned: the
  // translation lands in the last row only when not transposed.
  expectRows(value("view_inv", VariableKind::matrix), {{{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}, {30, 0, 0, 1}}});
  expectRows(value("world_view_inv", VariableKind::matrix),
             {{{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}, {0, 0, 30, 1}}});
  expectRows(value("world_inv", VariableKind::matrix), {{{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 0, 1}}});
  expectRows(value("proj_inv", VariableKind::matrix),
             {{{1 / xScale, 0, 0, 0}, {0, 1 / yScale, 0, 0}, {0, 0, 0, 1 / depthOffset},
               {0, 0, 1, -depthScale / depthOffset}}});

  Matrix4 wv = multiply(state.world, state.view);
  expectIdentity(multiply(multiply(wv, state.projection), asMatrix(value("transform_inv", VariableKind::matrix))));
  expectIdentity(multiply(multiply(state.view, state.projection),
                          asMatrix(value("view_proj_inv", VariableKind::matrix))));
}

TEST_F(KnownPose, SingularInverseLoadsTheIdentity) {
  frame.world = Matrix4{};
  expectRows(value("world_inv", VariableKind::matrix), {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
}

TEST_F(KnownPose, MaterialColoursTurnWhiteUnderABoundBaseTexture) {
  expectVector(value("mat_amb", VariableKind::color), {0.1f, 0.2f, 0.3f, 1});
  expectVector(value("mat_diff", VariableKind::color), {0.4f, 0.5f, 0.6f, 1});
  expectVector(value("mat_spec", VariableKind::color), {0.7f, 0.8f, 0.9f, 1});
  expectVector(value("mat_emis", VariableKind::color), {0, 0.1f, 0, 1});
  material.baseTextureBound = true;
  for (const char* name : {"mat_amb", "mat_diff", "mat_spec", "mat_emis"})
    expectVector(value(name, VariableKind::color), {1, 1, 1, 1});
}

TEST_F(KnownPose, LightColoursComeFromTheLightRecord) {
  expectVector(value("light_amb", VariableKind::color), {0, 0, 0, 0});
  expectVector(value("light_diff", VariableKind::color), {1, 1, 1, 0});
  expectVector(value("light_spec", VariableKind::color), {0.4f, 0.4f, 0.4f, 0});
  material.baseTextureBound = true;  // does not touch the light
  expectVector(value("light_diff", VariableKind::color), {1, 1, 1, 0});
}

TEST(PredefinedConstantNames, AreExactAndBelongToOneKind) {
  std::size_t count = 0;
  const PredefinedConstantInfo* table = predefinedConstantTable(count);
  EXPECT_EQ(count, 22u);
  for (std::size_t i = 0; i < count; ++i)
    EXPECT_EQ(findPredefinedConstant(table[i].name, table[i].kind), table[i].constant) << table[i].name;
  EXPECT_FALSE(findPredefinedConstant("World", VariableKind::matrix));
  EXPECT_FALSE(findPredefinedConstant("world ", VariableKind::matrix));
  EXPECT_FALSE(findPredefinedConstant("world", VariableKind::vector));
  EXPECT_FALSE(findPredefinedConstant("", VariableKind::color));
}

}  // namespace
}  // namespace veltrace::render
