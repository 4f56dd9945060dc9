#include "toolkit/core/image_list.h"

#include <algorithm>
#include <utility>

namespace zelvo::toolkit {

namespace {

struct Registration {
  ImageListId id;
  ImageList* list;
};

std::vector<Registration>& registry() {
  static std::vector<Registration> records;
  return records;
}

const ImageList* findList(ImageListId id) {
  if (id == 0) return nullptr;
  for (const Registration& r : registry())
    if (r.id == id) return r.list;
  return nullptr;
}

void unregister(ImageList* list) {
  auto& records = registry();
  records.erase(std::remove_if(records.begin(), records.end(), [list](const Registration& r) { return r.list == list; }),
                records.end());
}

}  // namespace

ImageList::~ImageList() {
  clear();
  unregister(this);
}

void ImageList::init(int width, int height) {
  clear();
  unregister(this);  // a second init must not leave a stale record behind
  id_ = reinterpret_cast<ImageListId>(this);
  registry().push_back({id_, this});
  width_ = width;
  height_ = height;
}

void ImageList::clear() {
  pictures_.clear();
  auxiliary_.clear();
  memory_.clear();
}

bool ImageList::draw(GpGraphics* graphics, int n, float x, float y) const {
  if (n < 1 || n > count() || !graphics) return false;
  GpImage* picture = pictures_[n - 1].get();
  UINT w = 0, h = 0;
  gp::GdipGetImageWidth(picture, &w);
  gp::GdipGetImageHeight(picture, &h);
  if (static_cast<int>(w) == width_ && static_cast<int>(h) == height_)
    return gp::GdipDrawImageRect(graphics, picture, x, y, static_cast<float>(w), static_cast<float>(h)) == kOk;
  return gp::GdipDrawImageRectRect(graphics, picture, x, y, static_cast<float>(width_), static_cast<float>(height_), 0, 0,
                                   static_cast<float>(w), static_cast<float>(h), Gdiplus::UnitPixel, nullptr, nullptr,
                                   nullptr) == kOk;
}

int ImageList::append(ImagePtr picture, ScopedGlobal memory, ImagePtr auxiliary) {
  pictures_.push_back(std::move(picture));
  memory_.push_back(std::move(memory));
  auxiliary_.push_back(std::move(auxiliary));
  return count();
}

int ImageList::addIcon(HICON icon) {
  ImagePtr auxiliary;
  ImagePtr picture = imageFromIcon(icon, auxiliary);
  if (!picture) return 0;
  return append(std::move(picture), ScopedGlobal{}, std::move(auxiliary));
}

int ImageList::addBytes(std::string_view bytes) {
  ScopedGlobal block = copyToGlobal(bytes);
  ImagePtr picture = loadImageFromGlobal(block.get());
  if (!picture) return 0;
  return append(std::move(picture), std::move(block), nullptr);
}

int ImageList::addBitmap(HBITMAP bitmap, HPALETTE palette) {
  GpBitmap* image = nullptr;
  if (!bitmap || gp::GdipCreateBitmapFromHBITMAP(bitmap, palette, &image) != kOk) return 0;
  return append(ImagePtr(image), ScopedGlobal{}, nullptr);
}

int ImageList::addResource(HINSTANCE instance, const wchar_t* resourceName) {
  GpBitmap* image = nullptr;
  if (gp::GdipCreateBitmapFromResource(instance, resourceName, &image) != kOk) return 0;
  return append(ImagePtr(image), ScopedGlobal{}, nullptr);
}

int imageListWidth(ImageListId id) {
  const ImageList* list = findList(id);
  return list ? list->width() : 0;
}

int imageListHeight(ImageListId id) {
  const ImageList* list = findList(id);
  return list ? list->height() : 0;
}

bool drawFromImageList(ImageListId id, GpGraphics* graphics, int n, float x, float y) {
  const ImageList* list = findList(id);
  return list ? list->draw(graphics, n, x, y) : false;
}

}  // namespace zelvo::toolkit
