#include "toolkit/core/image_object.h"

#include <cstring>

#include "toolkit/core/toolkit.h"

namespace zelvo::toolkit {

namespace {

// GUID of the time dimension in which GDI+ counts the frames of animations.
constexpr GUID kFrameDimensionTime = {0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
constexpr PROPID kFrameDelayProperty = 0x5100;
constexpr int kPixelFormat32bppArgb = 0x26200A;

struct ComRelease {
  void operator()(IUnknown* p) const {
    if (p) p->Release();
  }
};

}  // namespace

ScopedGlobal copyToGlobal(std::string_view bytes) {
  if (bytes.empty()) return ScopedGlobal{};
  ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  if (!block) return block;
  void* p = GlobalLock(block.get());
  if (!p) return ScopedGlobal{};
  std::memcpy(p, bytes.data(), bytes.size());
  GlobalUnlock(block.get());
  return block;
}

ImagePtr loadImageFromGlobal(HGLOBAL block) {
  if (!block) return nullptr;
  IStream* raw = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, FALSE, &raw)) || !raw) return nullptr;
  std::unique_ptr<IStream, ComRelease> stream(raw);
  GpImage* image = nullptr;
  if (gp::GdipLoadImageFromStream(stream.get(), &image) != kOk) return nullptr;
  ImagePtr owned(image);
  // GDI+ may report success for data it cannot size; such a picture is as
  // good as none.
  UINT w = 0, h = 0;
  gp::GdipGetImageWidth(image, &w);
  gp::GdipGetImageHeight(image, &h);
  if (w == 0 || h == 0) return nullptr;
  return owned;
}

ImagePtr imageFromIcon(HICON icon, ImagePtr& auxiliary) {
  auxiliary.reset();
  if (!icon) return nullptr;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return nullptr;
  platform::ScopedBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP description{};
  if (colour && GetObjectW(colour.get(), sizeof description, &description) && description.bmBitsPixel >= 32) {
    platform::ScopedBitmap copy(static_cast<HBITMAP>(CopyImage(colour.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    colour.reset();
    mask.reset();
    GpBitmap* aux = nullptr;
    if (copy && gp::GdipCreateBitmapFromHBITMAP(copy.get(), nullptr, &aux) == kOk) {
      auxiliary.reset(aux);
      UINT w = 0, h = 0;
      gp::GdipGetImageWidth(aux, &w);
      gp::GdipGetImageHeight(aux, &h);
      Gdiplus::PixelFormat format = 0;
      gp::GdipGetImagePixelFormat(aux, &format);
      Gdiplus::GpRect all(0, 0, static_cast<INT>(w), static_cast<INT>(h));
      Gdiplus::BitmapData data{};
      bool realAlpha = false;
      ImagePtr picture;
      if (gp::GdipBitmapLockBits(aux, &all, Gdiplus::ImageLockModeRead, format, &data) == kOk) {
        GpBitmap* over = nullptr;
        if (gp::GdipCreateBitmapFromScan0(static_cast<INT>(w), static_cast<INT>(h), data.Stride,
                                          kPixelFormat32bppArgb, static_cast<BYTE*>(data.Scan0), &over) == kOk)
          picture.reset(over);
        for (UINT y = 0; y < h && !realAlpha; ++y) {
          const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(data.Scan0) +
                                                                   static_cast<ptrdiff_t>(y) * data.Stride);
          for (UINT x = 0; x < w; ++x) {
            const unsigned alpha = row[x] >> 24;
            if (alpha >= 1 && alpha <= 254) {
              realAlpha = true;
              break;
            }
          }
        }
        gp::GdipBitmapUnlockBits(aux, &data);
      }
      if (realAlpha && picture) return picture;
      picture.reset();
      auxiliary.reset();
    }
  }
  GpBitmap* converted = nullptr;
  if (gp::GdipCreateBitmapFromHICON(icon, &converted) != kOk) return nullptr;
  return ImagePtr(converted);
}

void ImageObject::clear() {
  // The picture reads from the block and the auxiliary pixels: it goes first.
  picture_.reset();
  auxiliary_.reset();
  memory_.reset();
}

GpImage* ImageObject::loadFromBytes(std::string_view bytes) {
  clear();
  ScopedGlobal block = copyToGlobal(bytes);
  ImagePtr image = loadImageFromGlobal(block.get());
  if (!image) return nullptr;
  memory_ = std::move(block);
  picture_ = std::move(image);
  return picture_.get();
}

GpImage* ImageObject::loadFromFile(const std::string& pathUtf8) {
  clear();
  GpImage* image = nullptr;
  if (gp::GdipLoadImageFromFile(toWide(pathUtf8).c_str(), &image) != kOk) return nullptr;
  picture_.reset(image);
  return image;
}

bool ImageObject::createBitmap(int width, int height, int stride, std::optional<int> pixelFormat, void* pixels) {
  clear();
  GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, pixels ? stride : 0, pixelFormat.value_or(kPixelFormat32bppArgb),
                                    static_cast<BYTE*>(pixels), &bitmap) != kOk)
    return false;
  picture_.reset(bitmap);
  return true;
}

GpImage* ImageObject::loadFromIcon(HICON icon) {
  clear();
  picture_ = imageFromIcon(icon, auxiliary_);
  return picture_.get();
}

GpImage* ImageObject::loadFromBitmap(HBITMAP bitmap) {
  clear();
  GpBitmap* image = nullptr;
  if (!bitmap || gp::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != kOk) return nullptr;
  picture_.reset(image);
  return image;
}

void ImageObject::setImageHandle(GpImage* image) {
  clear();
  picture_.reset(image);
}

int ImageObject::width() const {
  UINT w = 0;
  if (picture_) gp::GdipGetImageWidth(picture_.get(), &w);
  return static_cast<int>(w);
}

int ImageObject::height() const {
  UINT h = 0;
  if (picture_) gp::GdipGetImageHeight(picture_.get(), &h);
  return static_cast<int>(h);
}

Argb ImageObject::pixel(int x, int y) const {
  if (!picture_ || x < 0 || y < 0 || x >= width() || y >= height()) return 0;
  Gdiplus::ImageType type{};
  gp::GdipGetImageType(picture_.get(), &type);
  if (type != Gdiplus::ImageTypeBitmap) return 0;
  Gdiplus::ARGB colour = 0;
  gp::GdipBitmapGetPixel(static_cast<GpBitmap*>(picture_.get()), x, y, &colour);
  return colour;
}

int ImageObject::frameCount() const {
  if (!picture_) return 0;
  UINT count = 0;
  if (gp::GdipImageGetFrameCount(picture_.get(), &kFrameDimensionTime, &count) != kOk) return 0;
  return static_cast<int>(count);
}

bool ImageObject::frameDelays(std::vector<int>& delays) const {
  if (!picture_) return false;
  UINT size = 0;
  if (gp::GdipGetPropertyItemSize(picture_.get(), kFrameDelayProperty, &size) != kOk || size < sizeof(Gdiplus::PropertyItem))
    return false;
  std::vector<std::uint64_t> storage((size + 7) / 8);
  auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(storage.data());
  if (gp::GdipGetPropertyItem(picture_.get(), kFrameDelayProperty, size, item) != kOk) return false;
  const bool unsignedLongs = item->type == 4 && item->length > 0 && item->value;
  const bool signedLongs = item->type == 9;
  if (!unsignedLongs && !signedLongs) return false;
  delays.clear();
  if (item->value) {
    // The value lies inside the block GDI+ filled; never read past it.
    const auto* begin = static_cast<const BYTE*>(item->value);
    const auto* blockEnd = reinterpret_cast<const BYTE*>(storage.data()) + size;
    size_t count = item->length / 4;
    if (begin < reinterpret_cast<const BYTE*>(storage.data()) || begin > blockEnd) count = 0;
    else count = std::min<size_t>(count, static_cast<size_t>(blockEnd - begin) / 4);
    for (size_t i = 0; i < count; ++i) {
      std::int32_t v;
      std::memcpy(&v, begin + i * 4, 4);
      delays.push_back(v);
    }
  }
  return true;
}

bool ImageObject::selectFrame(int index) {
  if (!picture_) return false;
  return gp::GdipImageSelectActiveFrame(picture_.get(), &kFrameDimensionTime, static_cast<UINT>(index)) == kOk;
}

void ImageObject::rotateFlip(int rotateFlipType) {
  if (picture_) gp::GdipImageRotateFlip(picture_.get(), static_cast<Gdiplus::RotateFlipType>(rotateFlipType));
}

}  // namespace zelvo::toolkit
