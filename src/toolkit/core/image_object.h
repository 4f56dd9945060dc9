// One picture of the toolkit, held through GDI+: loaded from bytes in memory
// (PNG, JPEG, BMP, GIF: anything GDI+ reads), a file, an icon or a bitmap
// handle. Every load begins by clearing; every failure leaves it empty.
// Used for skins, the caption sprite, window icons and control pictures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "toolkit/core/colour.h"
#include "toolkit/core/gdiplus_handles.h"

namespace zelvo::toolkit {

// A global memory block, freed once.
struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { GlobalFree(h); }
};
using ScopedGlobal = platform::Scoped<GlobalMemoryTraits>;

// Copies bytes into a movable global block that a stream reads from. Empty
// for an empty buffer or when memory is short.
ScopedGlobal copyToGlobal(std::string_view bytes);
// Loads a picture from a global block without giving the block away.
ImagePtr loadImageFromGlobal(HGLOBAL block);
// A picture from an icon: 32-bit icons with real alpha keep their ARGB
// pixels (backed by `auxiliary`), all others go through their mask.
ImagePtr imageFromIcon(HICON icon, ImagePtr& auxiliary);

class ImageObject {
 public:
  ImageObject() = default;
  ~ImageObject() { clear(); }
  ImageObject(const ImageObject&) = delete;
  ImageObject& operator=(const ImageObject&) = delete;

  // Operations in table order.
  void clear();
  GpImage* loadFromBytes(std::string_view bytes);
  GpImage* loadFromFile(const std::string& pathUtf8);
  // Over `pixels` (which must outlive the picture) or GDI+'s own memory
  // when `pixels` is null.
  bool createBitmap(int width, int height, int stride, std::optional<int> pixelFormat, void* pixels);
  GpImage* loadFromIcon(HICON icon);
  GpImage* loadFromBitmap(HBITMAP bitmap);
  GpImage* imageHandle() const { return picture_.get(); }
  // Takes ownership of `image` as the picture.
  void setImageHandle(GpImage* image);
  int width() const;
  int height() const;
  // ARGB at (x, y); 0 when empty or outside the picture.
  Argb pixel(int x, int y) const;
  // Frames in the time dimension; 0 when none or empty.
  int frameCount() const;
  // Frame delays in hundredths of a second; false (list untouched) when the
  // picture has no usable delay property.
  bool frameDelays(std::vector<int>& delays) const;
  bool selectFrame(int index);
  void rotateFlip(int rotateFlipType);

 private:
  ImagePtr picture_;
  ScopedGlobal memory_;
  ImagePtr auxiliary_;
};

}  // namespace zelvo::toolkit
