#include "render/texture/wic_decoder.h"

#include <windows.h>
#include <wincodec.h>

#include <vector>

#include "base/text.h"
#include "render/device/com_ptr.h"
#include "render/texture/dds_reader.h"
#include "render/texture/image_header.h"

namespace veltrace {

namespace {

using render::ComPtr;

// COM on this thread for the length of one decoding. A thread that already
// entered another apartment kind may still use COM; only a successful entry
// is left again.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

std::string failureText(const char* step, HRESULT result) {
  switch (static_cast<unsigned long>(result)) {
    case static_cast<unsigned long>(WINCODEC_ERR_COMPONENTNOTFOUND):
      return "no system codec reads this kind of file";
    case static_cast<unsigned long>(WINCODEC_ERR_BADHEADER):
    case static_cast<unsigned long>(WINCODEC_ERR_BADIMAGE):
    case static_cast<unsigned long>(WINCODEC_ERR_BADSTREAMDATA):
      return "the system codec finds the file corrupt";
    case static_cast<unsigned long>(REGDB_E_CLASSNOTREG):
      return "the imaging component is not installed";
  }
  return formatText("%s failed with error 0x%08lX", step, static_cast<unsigned long>(result));
}

DecodeResult failed(std::string reason) { return {std::nullopt, std::move(reason)}; }

bool tooLarge(std::uint32_t width, std::uint32_t height, DecodeLimits limits) {
  return width == 0 || height == 0 || width > limits.maximumSide || height > limits.maximumSide;
}

}  // namespace

DecodeResult decodeWithImagingComponent(std::span<const std::uint8_t> bytes, DecodeLimits limits) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return failed("empty or oversized image file");
  if (auto announced = announcedImageSize(bytes); announced && tooLarge(announced->width, announced->height, limits))
    return failed(imageTooLargeError);

  ComApartment apartment;
  if (!apartment.usable()) return failed("COM cannot be used on this thread");
  ComPtr<IWICImagingFactory> factory;
  HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.put()));
  if (FAILED(result)) return failed(failureText("creating the imaging factory", result));

  ComPtr<IWICStream> stream;
  result = factory->CreateStream(stream.put());
  if (SUCCEEDED(result))
    result = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  if (FAILED(result)) return failed(failureText("reading the file from memory", result));

  ComPtr<IWICBitmapDecoder> decoder;
  result = factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put());
  if (FAILED(result)) return failed(failureText("finding a decoder", result));
  ComPtr<IWICBitmapFrameDecode> frame;
  result = decoder->GetFrame(0, frame.put());
  if (FAILED(result)) return failed(failureText("reading the first frame", result));

  UINT width = 0, height = 0;
  result = frame->GetSize(&width, &height);
  if (FAILED(result)) return failed(failureText("reading the image size", result));
  if (tooLarge(width, height, limits)) return failed(imageTooLargeError);

  ComPtr<IWICFormatConverter> converter;
  result = factory->CreateFormatConverter(converter.put());
  if (SUCCEEDED(result))
    result = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
  if (FAILED(result)) return failed(failureText("converting to 32-bit pixels", result));

  const UINT stride = width * 4;
  std::vector<std::uint8_t> pixels(size_t(stride) * height);
  result = converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data());
  if (FAILED(result)) return failed(failureText("decoding the pixels", result));

  // Blue, green, red, alpha to red, green, blue, alpha. Formats without alpha
  // come out opaque, so any other alpha means the file has one.
  bool hasAlpha = false;
  for (size_t at = 0; at < pixels.size(); at += 4) {
    std::swap(pixels[at], pixels[at + 2]);
    hasAlpha = hasAlpha || pixels[at + 3] != 0xFF;
  }
  return imageFromRgbaPixels(pixels.data(), width, height, hasAlpha, limits);
}

DecodeResult decodeTextureFileWithSystemCodecs(std::span<const std::uint8_t> bytes, DecodeLimits limits) {
  DecodeResult portable = decodeTextureFile(bytes, limits);
  // The DDS reader's verdict is final, and an image refused for its size
  // must not be decoded by anyone else either.
  if (portable.image || looksLikeDds(bytes) || portable.error == imageTooLargeError) return portable;
  DecodeResult system = decodeWithImagingComponent(bytes, limits);
  if (system.image) return system;
  if (system.error == portable.error) return portable;
  return failed(portable.error + "; Windows Imaging Component: " + system.error);
}

}  // namespace veltrace
