#include "render/frame/frame_capture.h"

#include "render/device/com_ptr.h"

namespace veltrace::render {

namespace {

// Bit fields of the 16-bit formats, widened to 8 bits by repeating their top
// bits.
constexpr std::uint32_t r565Shift = 11, g565Shift = 5, g565Mask = 0x3F, r5Mask = 0x1F;
constexpr std::uint32_t r555Shift = 10, g555Shift = 5;

std::uint8_t widen5(std::uint32_t v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }
std::uint8_t widen6(std::uint32_t v) { return static_cast<std::uint8_t>((v << 2) | (v >> 4)); }

bool readable(D3DFORMAT format) {
  return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8 || format == D3DFMT_R5G6B5 ||
         format == D3DFMT_X1R5G5B5;
}

void convertRow(const BYTE* row, D3DFORMAT format, int width, std::uint8_t* out) {
  for (int x = 0; x < width; ++x, out += 4) {
    if (format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8) {
      std::uint32_t texel = reinterpret_cast<const std::uint32_t*>(row)[x];
      out[0] = static_cast<std::uint8_t>(texel >> 16);
      out[1] = static_cast<std::uint8_t>(texel >> 8);
      out[2] = static_cast<std::uint8_t>(texel);
    } else {
      std::uint32_t texel = reinterpret_cast<const std::uint16_t*>(row)[x];
      if (format == D3DFMT_R5G6B5) {
        out[0] = widen5((texel >> r565Shift) & r5Mask);
        out[1] = widen6((texel >> g565Shift) & g565Mask);
      } else {
        out[0] = widen5((texel >> r555Shift) & r5Mask);
        out[1] = widen5((texel >> g555Shift) & r5Mask);
      }
      out[2] = widen5(texel & r5Mask);
    }
    out[3] = 255;
  }
}

HRESULT readSurface(IDirect3DSurface8& surface, const D3DSURFACE_DESC& description, RgbaImage& image) {
  D3DLOCKED_RECT locked{};
  HRESULT result = surface.LockRect(&locked, nullptr, D3DLOCK_READONLY);
  if (FAILED(result)) return result;
  image.width = static_cast<int>(description.Width);
  image.height = static_cast<int>(description.Height);
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 4, 0);
  for (int y = 0; y < image.height; ++y) {
    auto row = static_cast<const BYTE*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch;
    convertRow(row, description.Format, image.width, &image.pixels[static_cast<std::size_t>(y) * image.width * 4]);
  }
  surface.UnlockRect();
  return D3D_OK;
}

}  // namespace

HRESULT captureBackBuffer(IDirect3DDevice8& device, RgbaImage& image, std::string& error) {
  ComPtr<IDirect3DSurface8> backBuffer;
  HRESULT result = device.GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put());
  if (FAILED(result)) {
    error = "the back buffer cannot be reached";
    return result;
  }
  D3DSURFACE_DESC description{};
  backBuffer->GetDesc(&description);
  if (!readable(description.Format)) {
    error = "the back buffer's pixel format cannot be read back";
    return D3DERR_INVALIDCALL;
  }
  if (SUCCEEDED(readSurface(*backBuffer.get(), description, image))) return D3D_OK;

  ComPtr<IDirect3DSurface8> copy;
  result = device.CreateImageSurface(description.Width, description.Height, description.Format, copy.put());
  if (SUCCEEDED(result)) result = device.CopyRects(backBuffer.get(), nullptr, 0, copy.get(), nullptr);
  if (SUCCEEDED(result)) result = readSurface(*copy.get(), description, image);
  if (FAILED(result)) error = "the frame cannot be read back from the device";
  return result;
}

}  // namespace veltrace::render
