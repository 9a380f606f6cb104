#pragma once
// Overlay text for the preview: the printable ASCII glyphs of one GDI font are
// drawn once into a texture, and text is then drawn as textured screen-space
// quads. The device state the drawing needs is applied from a state block and
// the previous state restored afterwards, so the text never disturbs the
// frame around it.

#include <windows.h>
#include <d3d8.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "render/device/com_ptr.h"

namespace veltrace::render {

// Font flags.
inline constexpr std::uint32_t fontBold = 1u << 0;
inline constexpr std::uint32_t fontItalic = 1u << 1;

// Draw flags.
inline constexpr std::uint32_t textFiltered = 1u << 0;  // bilinear instead of point sampling

class D3DFont {
 public:
  D3DFont(std::string faceName, int heightPoints, std::uint32_t flags = 0);
  ~D3DFont();
  D3DFont(const D3DFont&) = delete;
  D3DFont& operator=(const D3DFont&) = delete;

  // With the device: the glyph texture.
  HRESULT initDeviceObjects(IDirect3DDevice8* device);
  // After creation and every reset: the vertex buffer and the state blocks.
  HRESULT restoreDeviceObjects();
  // Before a reset: what lives in the default pool.
  HRESULT invalidateDeviceObjects();
  // With the device: everything, the device reference included.
  HRESULT deleteDeviceObjects();

  // Text from (x, y) in back-buffer pixels, its top-left corner; "\n" starts a
  // new line. Characters outside printable ASCII are skipped.
  HRESULT drawText(float x, float y, D3DCOLOR colour, std::string_view text, std::uint32_t flags = 0);

  // Width and height of the text in pixels as drawText would draw it.
  SIZE textExtent(std::string_view text) const;

  int textureWidth() const { return textureWidth_; }

 private:
  static constexpr char firstGlyph = 32;
  static constexpr char lastGlyph = 126;
  static constexpr int glyphCount = lastGlyph - firstGlyph + 1;

  struct GlyphBox {
    float left = 0, top = 0, right = 0, bottom = 0;  // texture coordinates
  };

  HRESULT paintGlyphs(std::uint32_t* pixels, HDC context);
  HRESULT recordStateBlocks();
  void deleteStateBlocks();

  std::string faceName_;
  int heightPoints_;
  std::uint32_t flags_;
  int textureWidth_ = 256;
  int textureHeight_ = 256;
  float textScale_ = 1.0f;  // below 1 when the glyphs had to be drawn smaller to fit
  int spacing_ = 0;
  GlyphBox glyphs_[glyphCount];

  IDirect3DDevice8* device_ = nullptr;  // not owned: the font lives inside the device's lifetime
  ComPtr<IDirect3DTexture8> texture_;
  ComPtr<IDirect3DVertexBuffer8> vertices_;
  DWORD savedState_ = 0;
  DWORD drawState_ = 0;
};

}  // namespace veltrace::render
