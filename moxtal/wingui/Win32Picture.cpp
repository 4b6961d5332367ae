#include "Win32Picture.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Exception.h"
#include "platform/Win32Text.h"

namespace mx::wingui {

namespace {

// Releases a COM interface at the end of a scope.
template <class T>
struct TComPtr {
  T* p = nullptr;
  ~TComPtr() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
  explicit operator bool() const { return p != nullptr; }
};

bool Factory(TComPtr<IWICImagingFactory>& factory) {
  return SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)));
}

}  // namespace

HBITMAP DecodePicture(const std::string& bytes, SIZE& size) {
  size = {0, 0};
  // A picture comes from a project folder someone else wrote: a file of at most 64 MiB, the
  // first 256 images of an icon, each at most 4096 pixels a side.
  constexpr std::size_t kMostBytes = 64u << 20;
  constexpr UINT kMostFrames = 256;
  constexpr UINT kMostSide = 4096;
  TComPtr<IWICImagingFactory> factory;
  if (bytes.empty() || bytes.size() > kMostBytes || !Factory(factory)) return nullptr;
  TComPtr<IStream> stream;
  stream.p = ::SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<UINT>(bytes.size()));
  TComPtr<IWICBitmapDecoder> decoder;
  if (!stream || FAILED(factory->CreateDecoderFromStream(stream.p, nullptr,
                                                         WICDecodeMetadataCacheOnDemand, &decoder)))
    return nullptr;
  // An icon holds several sizes: the largest that may be drawn is scaled down best.
  UINT frames = 0;
  decoder->GetFrameCount(&frames);
  UINT best = 0;
  UINT bestWidth = 0;
  for (UINT i = 0; i < std::min(frames, kMostFrames); ++i) {
    TComPtr<IWICBitmapFrameDecode> frame;
    UINT w = 0, h = 0;
    if (SUCCEEDED(decoder->GetFrame(i, &frame)) && SUCCEEDED(frame->GetSize(&w, &h)) &&
        w > bestWidth && w <= kMostSide && h <= kMostSide) {
      best = i;
      bestWidth = w;
    }
  }
  TComPtr<IWICBitmapFrameDecode> frame;
  TComPtr<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  if (FAILED(decoder->GetFrame(best, &frame)) ||
      FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0, WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
      width > kMostSide || height > kMostSide)
    return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  if (FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                   static_cast<BYTE*>(bits)))) {
    ::DeleteObject(bitmap);
    return nullptr;
  }
  size = {static_cast<LONG>(width), static_cast<LONG>(height)};
  return bitmap;
}

HICON BitmapIcon(const char* bytes, std::size_t size) {
  SIZE extent{};
  HBITMAP colour = DecodePicture(std::string(bytes, size), extent);
  if (!colour) return nullptr;
  // The picture is opaque; the colour of its bottom-left pixel is its background.
  BITMAP shape{};
  ::GetObjectW(colour, sizeof shape, &shape);
  auto* pixels = static_cast<std::uint32_t*>(shape.bmBits);
  const std::uint32_t background = pixels[(extent.cy - 1) * extent.cx];
  for (LONG i = 0; i < extent.cx * extent.cy; ++i) {
    if (pixels[i] == background) pixels[i] = 0;
  }
  // The colour bitmap has alpha, so the mask only has to be there: all zero.
  const std::vector<BYTE> zeros(static_cast<std::size_t>((extent.cx + 15) / 16 * 2 * extent.cy), 0);
  HBITMAP mask = ::CreateBitmap(extent.cx, extent.cy, 1, 1, zeros.data());
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(mask);
  ::DeleteObject(colour);
  return icon;
}

void SaveWindowPicture(HWND window, const std::string& path) {
  RECT box{};
  ::GetClientRect(window, &box);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  HDC screen = ::GetDC(window);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  // What the window shows inside its frame, its children included (the frame is the window
  // manager's, which a virtual display may not have).
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::GdiFlush();
  auto* pixels = static_cast<BYTE*>(bits);
  for (int i = 0; i < width * height; ++i)
    pixels[i * 4 + 3] = 255;

  TComPtr<IWICImagingFactory> factory;
  TComPtr<IWICStream> stream;
  TComPtr<IWICBitmapEncoder> encoder;
  TComPtr<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  const std::wstring file = platform::win32::Widen(path);
  const bool written =
      Factory(factory) && SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE)) &&
      SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
      SUCCEEDED(frame->Initialize(nullptr)) &&
      SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
      SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGRA &&
      SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 4,
                                   static_cast<UINT>(width * height * 4), pixels)) &&
      SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(window, screen);
  if (!written) throw Exception("Cannot write " + path);
}

}  // namespace mx::wingui
