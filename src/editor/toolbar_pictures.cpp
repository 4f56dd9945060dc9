#include "editor/toolbar_pictures.h"

#include <objidl.h>
#include <shlwapi.h>
// GDI+ needs min/max in scope for its headers, and no NOMINMAX conflict.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/handles.h"

namespace zelvo::editor {

extern const unsigned char kToolbarPng[];
extern const std::size_t kToolbarPngSize;

namespace {

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

// The mask colour: pixels that are transparent in the strip.
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

class GdiplusSession {
 public:
  GdiplusSession() {
    gp::GdiplusStartupInput input;
    ok_ = gp::GdiplusStartup(&token_, &input, nullptr) == gp::Ok;
  }
  ~GdiplusSession() {
    if (ok_) gp::GdiplusShutdown(token_);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  explicit operator bool() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

struct StreamRelease {
  void operator()(IStream* stream) const { stream->Release(); }
};

class GdipBitmap {
 public:
  explicit GdipBitmap(IStream* stream) { flat::GdipCreateBitmapFromStream(stream, &bitmap_); }
  ~GdipBitmap() {
    if (bitmap_) flat::GdipDisposeImage(bitmap_);
  }
  GdipBitmap(const GdipBitmap&) = delete;
  GdipBitmap& operator=(const GdipBitmap&) = delete;
  gp::GpBitmap* get() const { return bitmap_; }

 private:
  gp::GpBitmap* bitmap_ = nullptr;
};

// The strip as 32-bit ARGB pixels, row by row.
std::vector<std::uint32_t> decodeStrip(int& width, int& height) {
  std::vector<std::uint32_t> pixels;
  GdiplusSession session;
  if (!session) return pixels;
  IStream* raw = SHCreateMemStream(kToolbarPng, static_cast<UINT>(kToolbarPngSize));
  if (!raw) return pixels;
  std::unique_ptr<IStream, StreamRelease> stream(raw);
  GdipBitmap bitmap(stream.get());
  if (!bitmap.get()) return pixels;
  UINT w = 0, h = 0;
  flat::GdipGetImageWidth(bitmap.get(), &w);
  flat::GdipGetImageHeight(bitmap.get(), &h);
  gp::Rect rect(0, 0, static_cast<INT>(w), static_cast<INT>(h));
  gp::BitmapData data{};
  if (flat::GdipBitmapLockBits(bitmap.get(), &rect, gp::ImageLockModeRead, PixelFormat32bppARGB, &data) != gp::Ok)
    return pixels;
  pixels.resize(static_cast<std::size_t>(w) * h);
  for (UINT y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::byte*>(data.Scan0) +
                                                             static_cast<std::ptrdiff_t>(y) * data.Stride);
    std::copy(row, row + w, pixels.begin() + static_cast<std::ptrdiff_t>(y) * w);
  }
  flat::GdipBitmapUnlockBits(bitmap.get(), &data);
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return pixels;
}

// A 24-bit bitmap of the strip with the mask colour where it is see-through:
// masked image lists look right with every version of the common controls.
platform::ScopedBitmap maskedBitmap(const std::vector<std::uint32_t>& pixels, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  platform::ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;
  auto* out = static_cast<std::uint32_t*>(bits);
  constexpr std::uint32_t maskPixel = 0x00FF00FF;  // magenta as a DIB pixel (0x00RRGGBB)
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint32_t argb = pixels[i];
    out[i] = (argb >> 24) >= 128 ? (argb & 0x00FFFFFF) : maskPixel;
  }
  return bitmap;
}

}  // namespace

ScopedImageList loadToolbarPictures() {
  ScopedImageList list(ImageList_Create(kToolbarPictureSize, kToolbarPictureSize, ILC_COLOR24 | ILC_MASK,
                                        kToolbarPictureCount, 0));
  if (!list.get()) return list;
  int width = 0, height = 0;
  const std::vector<std::uint32_t> pixels = decodeStrip(width, height);
  if (pixels.empty() || height != kToolbarPictureSize) return list;
  platform::ScopedBitmap bitmap = maskedBitmap(pixels, width, height);
  if (bitmap) ImageList_AddMasked(list.get(), bitmap.get(), kMaskColour);
  return list;
}

}  // namespace zelvo::editor
