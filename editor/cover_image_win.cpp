#include "editor/cover_image_win.h"

#include <wincodec.h>

#include <algorithm>

namespace {
IWICImagingFactory* NewFactory() {
  IWICImagingFactory* factory = nullptr;
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&factory)))
             ? factory
             : nullptr;
}

// A COM object, released when it goes.
template <typename Interface>
struct Com {
  Interface* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  Interface** operator&() { return &p; }
  Interface* operator->() const { return p; }
};
}  // namespace

std::optional<DecodedCover> DecodeCover(const std::string& data, int side, COLORREF background) {
  Com<IWICImagingFactory> factory;
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICBitmapScaler> scaler;
  Com<IWICFormatConverter> converter;
  DecodedCover cover;
  if (data.empty() || side <= 0 || !(factory.p = NewFactory()) ||
      FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(data.data())),
                                          DWORD(data.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                              &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&cover.width, &cover.height)) ||
      cover.width == 0 || cover.height == 0)
    return std::nullopt;
  // Scaled down to fit, never up; the longer side fills the box.
  const double scale = std::min(1.0, double(side) / std::max(cover.width, cover.height));
  const UINT width = std::max(1u, UINT(cover.width * scale + 0.5)),
             height = std::max(1u, UINT(cover.height * scale + 0.5));
  if (FAILED(factory->CreateBitmapScaler(&scaler)) ||
      FAILED(scaler->Initialize(frame.p, width, height, WICBitmapInterpolationModeFant)) ||
      FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(scaler.p, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0, WICBitmapPaletteTypeCustom)))
    return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = LONG(width);
  info.bmiHeader.biHeight = -LONG(height);  // top-down, as WIC gives the rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  cover.bitmap = BitmapHandle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!cover.bitmap || FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                                    static_cast<BYTE*>(bits))))
    return std::nullopt;
  // Premultiplied pixels laid over the background: what shows through is its colour.
  const BYTE under[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
  for (BYTE* pixel = static_cast<BYTE*>(bits);
       pixel < static_cast<BYTE*>(bits) + width * height * 4; pixel += 4) {
    for (int c = 0; c < 3; ++c) pixel[c] = BYTE(pixel[c] + under[c] * (255 - pixel[3]) / 255);
    pixel[3] = 255;
  }
  return cover;
}

std::optional<std::string> PngOfBitmap(HBITMAP bitmap) {
  Com<IWICImagingFactory> factory;
  Com<IWICBitmap> source;
  Com<IStream> stream;
  Com<IWICBitmapEncoder> encoder;
  Com<IWICBitmapFrameEncode> frame;
  UINT width = 0, height = 0;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (!(factory.p = NewFactory()) ||
      FAILED(factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &source)) ||
      FAILED(source->GetSize(&width, &height)) ||
      FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
      FAILED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr)) ||
      FAILED(frame->SetSize(width, height)) || FAILED(frame->SetPixelFormat(&format)) ||
      FAILED(frame->WriteSource(source.p, nullptr)) || FAILED(frame->Commit()) ||
      FAILED(encoder->Commit()))
    return std::nullopt;
  STATSTG stat{};
  HGLOBAL memory = nullptr;
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) ||
      FAILED(GetHGlobalFromStream(stream.p, &memory)))
    return std::nullopt;
  const void* bytes = GlobalLock(memory);
  if (!bytes) return std::nullopt;
  std::string png(static_cast<const char*>(bytes), size_t(stat.cbSize.QuadPart));
  GlobalUnlock(memory);
  return png;
}
