// One off-screen surface of a host: a memory DC holding a 32-bit bottom-up
// DIB section, and a GDI+ graphics on that DC (anti-aliased shapes and
// grid-fitted anti-aliased text). Remaking it at a new size keeps the DC.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/handles.h"
#include "toolkit/core/gdiplus_handles.h"
#include "toolkit/core/geometry.h"

namespace zelvo::toolkit {

class Surface {
 public:
  Surface() = default;
  ~Surface() { release(); }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // (Re)makes the bitmap and graphics at this size; the DC is made
  // compatible with `reference` the first time. False when GDI refused.
  bool make(HDC reference, int width, int height);
  void release();

  HDC dc() const { return dc_.get(); }
  GpGraphics* graphics() const { return graphics_.get(); }
  bool valid() const { return static_cast<bool>(bitmap_); }
  int width() const { return width_; }
  int height() const { return height_; }
  // Pixel at (x, y) from the top-left, as stored (premultiplied BGRA); 0
  // outside. For tests and the dark-background probe.
  std::uint32_t pixel(int x, int y) const;
  // Writes `colour` (ARGB, stored premultiplied) into the rectangle, clipped
  // to the surface. GDI+ clears blend through GDI on a DC and cannot make a
  // pixel transparent again; the layered-window path needs exactly that.
  void fill(const PixelRect& rect, std::uint32_t colour);

 private:
  platform::ScopedMemoryDc dc_;
  platform::ScopedBitmap bitmap_;
  HGDIOBJ displaced_ = nullptr;
  GraphicsPtr graphics_;
  void* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace zelvo::toolkit
