// The maths helpers against values worked out by hand from the Direct3D
// conventions: row vectors (p · M), left-handed axes, A · B applies A first.

#include "render/math/matrix_math.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace veltrace::render {
namespace {

constexpr float halfPi = std::numbers::pi_v<float> / 2.0f;
constexpr float tolerance = 1e-5f;

void expectNear(Vector3 actual, Vector3 expected) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectMatrixNear(const Matrix4& actual, const Matrix4& expected, float within = tolerance) {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_NEAR(actual.m[row][column], expected.m[row][column], within)
          << "at row " << row << ", column " << column;
}

Matrix4 fromRows(std::initializer_list<float> values) {
  Matrix4 result;
  int at = 0;
  for (float value : values) {
    result.m[at / 4][at % 4] = value;
    ++at;
  }
  return result;
}

TEST(MatrixMath, RotationsTurnTheAxesTheLeftHandedWay) {
  expectNear(transformCoord({0, 1, 0}, rotationX(halfPi)), {0, 0, 1});
  expectNear(transformCoord({0, 0, 1}, rotationX(halfPi)), {0, -1, 0});
  expectNear(transformCoord({1, 0, 0}, rotationY(halfPi)), {0, 0, -1});
  expectNear(transformCoord({0, 0, 1}, rotationY(halfPi)), {1, 0, 0});
  expectNear(transformCoord({1, 0, 0}, rotationZ(halfPi)), {0, 1, 0});
}

TEST(MatrixMath, YawPitchRollRollsFirstThenPitchesThenYaws) {
  // Pitch takes +y to +z, then yaw takes +z to +x; the other order would
  // leave the point at +z.
  expectNear(transformCoord({0, 1, 0}, rotationYawPitchRoll(halfPi, halfPi, 0)), {1, 0, 0});
  // Roll takes +x to +y, then pitch takes +y to +z.
  expectNear(transformCoord({1, 0, 0}, rotationYawPitchRoll(0, halfPi, halfPi)), {0, 0, 1});
  expectMatrixNear(rotationYawPitchRoll(0.3f, 0, 0), rotationY(0.3f));
  expectMatrixNear(rotationYawPitchRoll(0, 0.3f, 0), rotationX(0.3f));
}

TEST(MatrixMath, ProductAppliesTheLeftMatrixFirst) {
  Matrix4 moveThenTurn = multiply(translationMatrix(1, 0, 0), rotationY(halfPi));
  Matrix4 turnThenMove = multiply(rotationY(halfPi), translationMatrix(1, 0, 0));
  expectNear(transformCoord({0, 0, 0}, moveThenTurn), {0, 0, -1});
  expectNear(transformCoord({0, 0, 0}, turnThenMove), {1, 0, 0});
  expectMatrixNear(multiply(identityMatrix(), moveThenTurn), moveThenTurn);
}

TEST(MatrixMath, TranslationSitsInTheLastRow) {
  Matrix4 matrix = translationMatrix(1, 2, 3);
  EXPECT_EQ(matrix.m[3][0], 1);
  EXPECT_EQ(matrix.m[3][1], 2);
  EXPECT_EQ(matrix.m[3][2], 3);
  expectNear(transformCoord({1, 1, 1}, matrix), {2, 3, 4});
}

TEST(MatrixMath, TransposeSwapsRowsAndColumns) {
  Matrix4 matrix = fromRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  Matrix4 expected = fromRows({1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16});
  expectMatrixNear(transpose(matrix), expected, 0);
}

TEST(MatrixMath, LookAtAlongZIsATranslationOfTheDistance) {
  Matrix4 view = lookAtLH({0, 0, -30}, {0, 0, 0}, {0, 1, 0});
  expectMatrixNear(view, fromRows({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 30, 1}));
}

TEST(MatrixMath, LookAtFromTheSidePutsTheTargetInFront) {
  // Camera at +x looking at the origin: its right is world +z.
  Matrix4 view = lookAtLH({10, 0, 0}, {0, 0, 0}, {0, 1, 0});
  expectMatrixNear(view, fromRows({0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 10, 1}));
  expectNear(transformCoord({10, 0, 0}, view), {0, 0, 0});
  expectNear(transformCoord({0, 0, 1}, view), {1, 0, 10});
}

TEST(MatrixMath, PerspectiveMapsNearToDepthZeroAndFarToOne) {
  Matrix4 projection = perspectiveFovLH(halfPi, 2.0f, 1.0f, 101.0f);
  expectMatrixNear(projection, fromRows({0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0}));
  EXPECT_NEAR(transformCoord({0, 0, 1}, projection).z, 0.0f, tolerance);
  EXPECT_NEAR(transformCoord({0, 0, 101}, projection).z, 1.0f, tolerance);
  // At 45° half-angle a point as high as it is far lands on the top edge.
  EXPECT_NEAR(transformCoord({0, 10, 10}, projection).y, 1.0f, tolerance);
}

TEST(MatrixMath, InverseUndoesTheMatrix) {
  expectMatrixNear(*inverse(translationMatrix(1, 2, 3)), translationMatrix(-1, -2, -3));
  Matrix4 turn = rotationYawPitchRoll(0.4f, -1.1f, 0.2f);
  expectMatrixNear(*inverse(turn), transpose(turn));

  Matrix4 general = fromRows({2, 0, 1, 0, 1, 3, 0, 0, 0, 1, 4, 0, 5, -2, 1, 1});
  auto inverted = inverse(general);
  ASSERT_TRUE(inverted);
  expectMatrixNear(multiply(general, *inverted), identityMatrix());
  expectMatrixNear(multiply(*inverted, general), identityMatrix());

  Matrix4 projection = perspectiveFovLH(0.87f, 4.0f / 3.0f, 1.0f, 100.0f);
  auto unprojection = inverse(projection);
  ASSERT_TRUE(unprojection);
  expectMatrixNear(multiply(projection, *unprojection), identityMatrix(), 1e-4f);
}

TEST(MatrixMath, SingularMatricesHaveNoInverse) {
  EXPECT_FALSE(inverse(Matrix4{}));
  EXPECT_FALSE(inverse(fromRows({1, 2, 3, 4, 1, 2, 3, 4, 0, 0, 1, 0, 0, 0, 0, 1})));
  Matrix4 withNan = identityMatrix();
  withNan.m[1][1] = std::nanf("");
  EXPECT_FALSE(inverse(withNan));
}

TEST(MatrixMath, TransformCoordDividesByW) {
  Matrix4 halving = identityMatrix();
  halving.m[3][3] = 2.0f;
  expectNear(transformCoord({2, 4, 6}, halving), {1, 2, 3});
  Vector4 raw = transform({2, 4, 6, 1}, halving);
  EXPECT_EQ(raw.w, 2.0f);
}

TEST(MatrixMath, NormalizeGivesUnitLengthAndKeepsZero) {
  expectNear(normalize({3, 4, 0}), {0.6f, 0.8f, 0});
  expectNear(normalize({0, 0, -7}), {0, 0, -1});
  expectNear(normalize({0, 0, 0}), {0, 0, 0});
  expectNear(cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1});
}

}  // namespace
}  // namespace veltrace::render
