#pragma once
// Hands computed constant uploads to the device's vertex and pixel shader
// constant registers.

#include <d3d8.h>

#include <vector>

#include "render/preview/constant_upload.h"

namespace veltrace::render {

// Every upload is attempted; a register the device refuses (beyond its range)
// leaves that one out and the others still load. Returns how many the device
// refused, which the caller may report; the frame goes on either way.
int uploadConstants(IDirect3DDevice8& device, const std::vector<ConstantUpload>& uploads);

}  // namespace veltrace::render
