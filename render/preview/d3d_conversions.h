#pragma once
// The portable maths types handed to Direct3D 8: both lay out a matrix row by
// row, so the conversion is a plain copy.

#include <d3d8.h>

#include <cstring>

#include "render/math/matrix_math.h"

namespace veltrace::render {

static_assert(sizeof(Matrix4) == sizeof(D3DMATRIX));

inline D3DMATRIX toD3DMatrix(const Matrix4& matrix) {
  D3DMATRIX result;
  std::memcpy(&result, &matrix, sizeof result);
  return result;
}

}  // namespace veltrace::render
