#pragma once
// The small linear algebra the preview needs, with the Direct3D conventions:
// points are row vectors transformed as p · M, the coordinate system is
// left-handed, and a product A · B applies A first. Each helper follows the
// documented formula of the D3DX function of the same purpose, so matrices
// computed here can go to the device and to shader constants unchanged.

#include <optional>

namespace veltrace::render {

struct Vector3 {
  float x = 0, y = 0, z = 0;
};

struct Vector4 {
  float x = 0, y = 0, z = 0, w = 0;
};

// Row-major: m[row][column]; row 3 holds the translation.
struct Matrix4 {
  float m[4][4] = {};
};

Vector3 add(Vector3 a, Vector3 b);
Vector3 subtract(Vector3 a, Vector3 b);
Vector3 scale(Vector3 v, float factor);
float dot(Vector3 a, Vector3 b);
// Left-handed cross product, as D3DXVec3Cross: the same component formula as
// the right-handed one; only the picture of its direction differs.
Vector3 cross(Vector3 a, Vector3 b);
float length(Vector3 v);

// Unit vector in the direction of v; the zero vector stays zero instead of
// turning into NaNs.
Vector3 normalize(Vector3 v);

Matrix4 identityMatrix();
Matrix4 multiply(const Matrix4& a, const Matrix4& b);
Matrix4 transpose(const Matrix4& matrix);

// The inverse, or nothing when the matrix is singular (its determinant is 0
// or not finite).
std::optional<Matrix4> inverse(const Matrix4& matrix);

Matrix4 translationMatrix(float x, float y, float z);
Matrix4 rotationX(float radians);
Matrix4 rotationY(float radians);
Matrix4 rotationZ(float radians);

// Roll about z first, then pitch about x, then yaw about y:
// rotationZ(roll) · rotationX(pitch) · rotationY(yaw).
Matrix4 rotationYawPitchRoll(float yaw, float pitch, float roll);

// View matrix of a camera at eye looking at target, left-handed.
Matrix4 lookAtLH(Vector3 eye, Vector3 target, Vector3 up);

// Left-handed perspective projection: vertical field of view in radians,
// aspect = width / height, depth mapped to 0 at zNear and 1 at zFar.
Matrix4 perspectiveFovLH(float fovY, float aspect, float zNear, float zFar);

// (v, 1) · M, divided by the resulting w (left undivided when w is 0).
Vector3 transformCoord(Vector3 v, const Matrix4& matrix);

// The four components of (v, w) · M, without division.
Vector4 transform(Vector4 v, const Matrix4& matrix);

}  // namespace veltrace::render
