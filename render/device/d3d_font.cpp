#include "render/device/d3d_font.h"

#include <algorithm>
#include <cstring>

namespace veltrace::render {

namespace {

// One corner of a glyph quad: screen position, colour, texture coordinate.
struct FontVertex {
  float x, y, z, rhw;
  D3DCOLOR colour;
  float u, v;
};
constexpr DWORD fontVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

constexpr int quadsPerBatch = 64;
constexpr int verticesPerQuad = 6;
constexpr int batchVertices = quadsPerBatch * verticesPerQuad;

constexpr int largeFontPoints = 40;
constexpr int mediumFontPoints = 20;
constexpr DWORD alphaReference = 0x08;  // drop nearly transparent texels

// Texel formats the glyph alpha is written in, preferred first.
constexpr std::uint16_t alpha4Shift = 12;
constexpr std::uint16_t white4 = 0x0FFF;
constexpr std::uint32_t alpha8Shift = 24;
constexpr std::uint32_t white8 = 0x00FFFFFF;

int textureWidthFor(int heightPoints) {
  if (heightPoints > largeFontPoints) return 1024;
  if (heightPoints > mediumFontPoints) return 512;
  return 256;
}

// Lays the glyphs out in rows; false when they do not fit the height.
bool layoutFits(HDC context, int width, int height, int spacing) {
  int x = spacing, y = 0;
  SIZE size{};
  for (char c = ' '; c <= '~'; ++c) {
    GetTextExtentPoint32A(context, &c, 1, &size);
    if (x + size.cx + spacing > width) {
      x = spacing;
      y += size.cy + 1;
    }
    if (y + size.cy > height) return false;
    x += size.cx + 2 * spacing;
  }
  return true;
}

}  // namespace

D3DFont::D3DFont(std::string faceName, int heightPoints, std::uint32_t flags)
    : faceName_(std::move(faceName)), heightPoints_(std::max(heightPoints, 1)), flags_(flags) {}

D3DFont::~D3DFont() {
  invalidateDeviceObjects();
  deleteDeviceObjects();
}

HRESULT D3DFont::initDeviceObjects(IDirect3DDevice8* device) {
  if (!device) return E_INVALIDARG;
  deleteDeviceObjects();
  device_ = device;

  textureWidth_ = textureHeight_ = textureWidthFor(heightPoints_);
  D3DCAPS8 caps{};
  device_->GetDeviceCaps(&caps);
  if (caps.MaxTextureWidth > 0 && static_cast<DWORD>(textureWidth_) > caps.MaxTextureWidth) {
    textScale_ = static_cast<float>(caps.MaxTextureWidth) / static_cast<float>(textureWidth_);
    textureWidth_ = textureHeight_ = static_cast<int>(caps.MaxTextureWidth);
  } else {
    textScale_ = 1.0f;
  }

  D3DFORMAT format = D3DFMT_A4R4G4B4;
  HRESULT result = device_->CreateTexture(textureWidth_, textureHeight_, 1, 0, format, D3DPOOL_MANAGED, texture_.put());
  if (FAILED(result)) {
    format = D3DFMT_A8R8G8B8;
    result = device_->CreateTexture(textureWidth_, textureHeight_, 1, 0, format, D3DPOOL_MANAGED, texture_.put());
  }
  if (FAILED(result)) return result;

  // GDI draws white glyphs on black into a 32-bit top-down bitmap; its blue
  // channel then becomes the texture's alpha.
  BITMAPINFO bitmapInfo{};
  bitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bitmapInfo.bmiHeader.biWidth = textureWidth_;
  bitmapInfo.bmiHeader.biHeight = -textureHeight_;
  bitmapInfo.bmiHeader.biPlanes = 1;
  bitmapInfo.bmiHeader.biCompression = BI_RGB;
  bitmapInfo.bmiHeader.biBitCount = 32;

  HDC context = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(context, &bitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!context || !bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    if (context) DeleteDC(context);
    texture_.reset();
    return E_FAIL;
  }
  SetMapMode(context, MM_TEXT);
  HGDIOBJ previousBitmap = SelectObject(context, bitmap);
  result = paintGlyphs(static_cast<std::uint32_t*>(bits), context);
  SelectObject(context, previousBitmap);

  if (SUCCEEDED(result)) {
    D3DLOCKED_RECT locked{};
    result = texture_->LockRect(0, &locked, nullptr, 0);
    if (SUCCEEDED(result)) {
      auto source = static_cast<const std::uint32_t*>(bits);
      for (int y = 0; y < textureHeight_; ++y) {
        auto row = static_cast<std::uint8_t*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        for (int x = 0; x < textureWidth_; ++x) {
          std::uint32_t alpha = source[y * textureWidth_ + x] & 0xFF;
          if (format == D3DFMT_A4R4G4B4)
            reinterpret_cast<std::uint16_t*>(row)[x] =
                static_cast<std::uint16_t>(((alpha >> 4) << alpha4Shift) | white4);
          else
            reinterpret_cast<std::uint32_t*>(row)[x] = (alpha << alpha8Shift) | white8;
        }
      }
      texture_->UnlockRect(0);
    }
  }
  DeleteObject(bitmap);
  DeleteDC(context);
  if (FAILED(result)) texture_.reset();
  return result;
}

HRESULT D3DFont::paintGlyphs(std::uint32_t* pixels, HDC context) {
  // Smaller until every glyph fits the texture.
  HFONT font = nullptr;
  for (int attempt = 0; attempt < 8; ++attempt) {
    int height = -MulDiv(heightPoints_, static_cast<int>(GetDeviceCaps(context, LOGPIXELSY) * textScale_), 72);
    font = CreateFontA(height, 0, 0, 0, (flags_ & fontBold) ? FW_BOLD : FW_NORMAL, (flags_ & fontItalic) != 0,
                       FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, VARIABLE_PITCH, faceName_.c_str());
    if (!font) return E_FAIL;
    HGDIOBJ previous = SelectObject(context, font);
    SIZE space{};
    GetTextExtentPoint32A(context, " ", 1, &space);
    spacing_ = static_cast<int>(space.cx / 3);
    if (layoutFits(context, textureWidth_, textureHeight_, spacing_)) {
      SelectObject(context, previous);
      break;
    }
    SelectObject(context, previous);
    DeleteObject(font);
    font = nullptr;
    textScale_ *= 0.8f;
  }
  if (!font) return E_FAIL;

  HGDIOBJ previousFont = SelectObject(context, font);
  std::memset(pixels, 0, static_cast<std::size_t>(textureWidth_) * textureHeight_ * sizeof(std::uint32_t));
  SetTextColor(context, RGB(255, 255, 255));
  SetBkColor(context, RGB(0, 0, 0));
  SetTextAlign(context, TA_TOP);

  int x = spacing_, y = 0;
  SIZE size{};
  for (char c = firstGlyph; c <= lastGlyph; ++c) {
    GetTextExtentPoint32A(context, &c, 1, &size);
    if (x + size.cx + spacing_ > textureWidth_) {
      x = spacing_;
      y += size.cy + 1;
    }
    ExtTextOutA(context, x, y, ETO_OPAQUE, nullptr, &c, 1, nullptr);
    GlyphBox& box = glyphs_[c - firstGlyph];
    box.left = static_cast<float>(x - spacing_) / textureWidth_;
    box.top = static_cast<float>(y) / textureHeight_;
    box.right = static_cast<float>(x + size.cx + spacing_) / textureWidth_;
    box.bottom = static_cast<float>(y + size.cy) / textureHeight_;
    x += size.cx + 2 * spacing_;
  }
  GdiFlush();
  SelectObject(context, previousFont);
  DeleteObject(font);
  return S_OK;
}

HRESULT D3DFont::restoreDeviceObjects() {
  if (!device_) return E_FAIL;
  invalidateDeviceObjects();
  HRESULT result = device_->CreateVertexBuffer(batchVertices * sizeof(FontVertex), D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC,
                                               0, D3DPOOL_DEFAULT, vertices_.put());
  if (FAILED(result)) return result;
  return recordStateBlocks();
}

HRESULT D3DFont::recordStateBlocks() {
  // The same states are recorded twice: one block is applied to draw, the
  // other captures what was set before and puts it back afterwards.
  for (DWORD* block : {&savedState_, &drawState_}) {
    HRESULT result = device_->BeginStateBlock();
    if (FAILED(result)) return result;
    device_->SetTexture(0, texture_.get());
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device_->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device_->SetRenderState(D3DRS_ALPHAREF, alphaReference);
    device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device_->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetRenderState(D3DRS_ZENABLE, FALSE);
    device_->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device_->SetRenderState(D3DRS_CLIPPING, TRUE);
    device_->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    device_->SetRenderState(D3DRS_VERTEXBLEND, FALSE);
    device_->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device_->SetRenderState(D3DRS_COLORWRITEENABLE, D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_GREEN |
                                                        D3DCOLORWRITEENABLE_BLUE | D3DCOLORWRITEENABLE_ALPHA);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    device_->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
    device_->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device_->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device_->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device_->SetVertexShader(fontVertexFormat);
    device_->SetPixelShader(0);
    device_->SetStreamSource(0, vertices_.get(), sizeof(FontVertex));
    result = device_->EndStateBlock(block);
    if (FAILED(result)) return result;
  }
  return S_OK;
}

void D3DFont::deleteStateBlocks() {
  if (!device_) return;
  if (savedState_) device_->DeleteStateBlock(savedState_);
  if (drawState_) device_->DeleteStateBlock(drawState_);
  savedState_ = drawState_ = 0;
}

HRESULT D3DFont::invalidateDeviceObjects() {
  vertices_.reset();
  deleteStateBlocks();
  return S_OK;
}

HRESULT D3DFont::deleteDeviceObjects() {
  texture_.reset();
  device_ = nullptr;
  return S_OK;
}

SIZE D3DFont::textExtent(std::string_view text) const {
  float rowHeight = (glyphs_[0].bottom - glyphs_[0].top) * textureHeight_;
  float width = 0, lineWidth = 0, height = rowHeight;
  for (char c : text) {
    if (c == '\n') {
      lineWidth = 0;
      height += rowHeight;
      continue;
    }
    if (c < firstGlyph || c > lastGlyph) continue;
    const GlyphBox& box = glyphs_[c - firstGlyph];
    lineWidth += (box.right - box.left) * textureWidth_ - 2 * spacing_;
    width = std::max(width, lineWidth);
  }
  return {static_cast<LONG>(width / textScale_), static_cast<LONG>(height / textScale_)};
}

HRESULT D3DFont::drawText(float x, float y, D3DCOLOR colour, std::string_view text, std::uint32_t flags) {
  if (!device_ || !vertices_ || !savedState_ || !drawState_) return E_FAIL;

  device_->CaptureStateBlock(savedState_);
  device_->ApplyStateBlock(drawState_);
  if (flags & textFiltered) {
    device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  }

  // Texel centres sit half a pixel in.
  const float startX = x - 0.5f;
  float penX = startX, penY = y - 0.5f;
  const float rowHeight = (glyphs_[0].bottom - glyphs_[0].top) * textureHeight_ / textScale_;

  HRESULT result = S_OK;
  std::size_t at = 0;
  while (at < text.size() && SUCCEEDED(result)) {
    FontVertex* vertex = nullptr;
    result = vertices_->Lock(0, 0, reinterpret_cast<BYTE**>(&vertex), D3DLOCK_DISCARD);
    if (FAILED(result)) break;
    int quads = 0;
    for (; at < text.size() && quads < quadsPerBatch; ++at) {
      char c = text[at];
      if (c == '\n') {
        penX = startX;
        penY += rowHeight;
        continue;
      }
      if (c < firstGlyph || c > lastGlyph) continue;
      const GlyphBox& box = glyphs_[c - firstGlyph];
      float width = (box.right - box.left) * textureWidth_ / textScale_;
      float height = (box.bottom - box.top) * textureHeight_ / textScale_;
      if (c != ' ') {
        const FontVertex corners[4] = {
            {penX, penY + height, 0.9f, 1.0f, colour, box.left, box.bottom},
            {penX, penY, 0.9f, 1.0f, colour, box.left, box.top},
            {penX + width, penY + height, 0.9f, 1.0f, colour, box.right, box.bottom},
            {penX + width, penY, 0.9f, 1.0f, colour, box.right, box.top},
        };
        *vertex++ = corners[0];
        *vertex++ = corners[1];
        *vertex++ = corners[2];
        *vertex++ = corners[3];
        *vertex++ = corners[2];
        *vertex++ = corners[1];
        ++quads;
      }
      penX += width - 2 * spacing_ / textScale_;
    }
    vertices_->Unlock();
    if (quads > 0) result = device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, quads * 2);
  }

  device_->ApplyStateBlock(savedState_);
  return result;
}

}  // namespace veltrace::render
