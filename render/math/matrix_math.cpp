#include "render/math/matrix_math.h"

#include <cmath>

namespace veltrace::render {

Vector3 add(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vector3 subtract(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector3 scale(Vector3 v, float factor) { return {v.x * factor, v.y * factor, v.z * factor}; }
float dot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vector3 cross(Vector3 a, Vector3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float length(Vector3 v) { return std::sqrt(dot(v, v)); }

Vector3 normalize(Vector3 v) {
  float size = length(v);
  if (size == 0.0f || !std::isfinite(size)) return {};
  return scale(v, 1.0f / size);
}

Matrix4 identityMatrix() {
  Matrix4 result;
  for (int i = 0; i < 4; ++i) result.m[i][i] = 1.0f;
  return result;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 result;
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.m[row][k] * b.m[k][column];
      result.m[row][column] = sum;
    }
  return result;
}

Matrix4 transpose(const Matrix4& matrix) {
  Matrix4 result;
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) result.m[column][row] = matrix.m[row][column];
  return result;
}

std::optional<Matrix4> inverse(const Matrix4& matrix) {
  // Adjugate over determinant, with the 2 × 2 minors of the upper and lower
  // row pairs shared between the cofactors. Computed in double so that the
  // nearly singular matrices of a far projection keep their precision.
  double a[4][4];
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) a[row][column] = matrix.m[row][column];

  double s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
  double s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
  double s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
  double s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
  double s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
  double s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];

  double c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
  double c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
  double c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
  double c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
  double c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
  double c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];

  double determinant = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
  if (determinant == 0.0 || !std::isfinite(determinant)) return std::nullopt;
  double f = 1.0 / determinant;

  double b[4][4];
  b[0][0] = (a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3) * f;
  b[0][1] = (-a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3) * f;
  b[0][2] = (a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3) * f;
  b[0][3] = (-a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3) * f;

  b[1][0] = (-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1) * f;
  b[1][1] = (a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1) * f;
  b[1][2] = (-a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1) * f;
  b[1][3] = (a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1) * f;

  b[2][0] = (a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0) * f;
  b[2][1] = (-a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0) * f;
  b[2][2] = (a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0) * f;
  b[2][3] = (-a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0) * f;

  b[3][0] = (-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0) * f;
  b[3][1] = (a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0) * f;
  b[3][2] = (-a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0) * f;
  b[3][3] = (a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0) * f;

  Matrix4 result;
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) {
      result.m[row][column] = static_cast<float>(b[row][column]);
      if (!std::isfinite(result.m[row][column])) return std::nullopt;
    }
  return result;
}

Matrix4 translationMatrix(float x, float y, float z) {
  Matrix4 result = identityMatrix();
  result.m[3][0] = x;
  result.m[3][1] = y;
  result.m[3][2] = z;
  return result;
}

Matrix4 rotationX(float radians) {
  float c = std::cos(radians), s = std::sin(radians);
  Matrix4 result = identityMatrix();
  result.m[1][1] = c;
  result.m[1][2] = s;
  result.m[2][1] = -s;
  result.m[2][2] = c;
  return result;
}

Matrix4 rotationY(float radians) {
  float c = std::cos(radians), s = std::sin(radians);
  Matrix4 result = identityMatrix();
  result.m[0][0] = c;
  result.m[0][2] = -s;
  result.m[2][0] = s;
  result.m[2][2] = c;
  return result;
}

Matrix4 rotationZ(float radians) {
  float c = std::cos(radians), s = std::sin(radians);
  Matrix4 result = identityMatrix();
  result.m[0][0] = c;
  result.m[0][1] = s;
  result.m[1][0] = -s;
  result.m[1][1] = c;
  return result;
}

Matrix4 rotationYawPitchRoll(float yaw, float pitch, float roll) {
  return multiply(multiply(rotationZ(roll), rotationX(pitch)), rotationY(yaw));
}

Matrix4 lookAtLH(Vector3 eye, Vector3 target, Vector3 up) {
  Vector3 zAxis = normalize(subtract(target, eye));
  Vector3 xAxis = normalize(cross(up, zAxis));
  Vector3 yAxis = cross(zAxis, xAxis);

  Matrix4 result;
  const Vector3 axes[3] = {xAxis, yAxis, zAxis};
  for (int column = 0; column < 3; ++column) {
    result.m[0][column] = axes[column].x;
    result.m[1][column] = axes[column].y;
    result.m[2][column] = axes[column].z;
    result.m[3][column] = -dot(axes[column], eye);
  }
  result.m[3][3] = 1.0f;
  return result;
}

Matrix4 perspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
  float yScale = 1.0f / std::tan(fovY / 2.0f);
  float xScale = yScale / aspect;
  Matrix4 result;
  result.m[0][0] = xScale;
  result.m[1][1] = yScale;
  result.m[2][2] = zFar / (zFar - zNear);
  result.m[2][3] = 1.0f;
  result.m[3][2] = -zNear * zFar / (zFar - zNear);
  return result;
}

Vector4 transform(Vector4 v, const Matrix4& matrix) {
  const float in[4] = {v.x, v.y, v.z, v.w};
  float out[4];
  for (int column = 0; column < 4; ++column) {
    float sum = 0.0f;
    for (int k = 0; k < 4; ++k) sum += in[k] * matrix.m[k][column];
    out[column] = sum;
  }
  return {out[0], out[1], out[2], out[3]};
}

Vector3 transformCoord(Vector3 v, const Matrix4& matrix) {
  Vector4 result = transform({v.x, v.y, v.z, 1.0f}, matrix);
  if (result.w == 0.0f) return {result.x, result.y, result.z};
  return {result.x / result.w, result.y / result.w, result.z / result.w};
}

}  // namespace veltrace::render
