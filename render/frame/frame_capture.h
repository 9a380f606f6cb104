#pragma once
// Reading a drawn frame back from the device's back buffer: directly when the
// back buffer is lockable, else through a copy into an image surface.

#include <d3d8.h>

#include <string>

#include "render/frame/png_file.h"

namespace veltrace::render {

// The back buffer as RGBA (alpha 255). 32-bit (X8R8G8B8, A8R8G8B8) and
// 16-bit (R5G6B5, X1R5G5B5) formats are read; others fail with a message.
HRESULT captureBackBuffer(IDirect3DDevice8& device, RgbaImage& image, std::string& error);

}  // namespace veltrace::render
