#include "toolkit/core/surface.h"

namespace zelvo::toolkit {

bool Surface::make(HDC reference, int width, int height) {
  graphics_.reset();
  if (dc_ && displaced_) SelectObject(dc_.get(), displaced_);
  displaced_ = nullptr;
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  if (!dc_) dc_.reset(CreateCompatibleDC(reference));
  if (!dc_ || width <= 0 || height <= 0) return false;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * height * 4;
  bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
  if (!bitmap_) return false;
  displaced_ = SelectObject(dc_.get(), bitmap_.get());
  width_ = width;
  height_ = height;

  GpGraphics* graphics = nullptr;
  if (gp::GdipCreateFromHDC(dc_.get(), &graphics) == kOk) {
    graphics_.reset(graphics);
    gp::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
    gp::GdipSetTextRenderingHint(graphics, Gdiplus::TextRenderingHintAntiAliasGridFit);
  }
  return true;
}

void Surface::release() {
  graphics_.reset();
  if (dc_ && displaced_) SelectObject(dc_.get(), displaced_);
  displaced_ = nullptr;
  bitmap_.reset();
  dc_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

std::uint32_t Surface::pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  const auto* rows = static_cast<const std::uint32_t*>(bits_);
  return rows[static_cast<size_t>(height_ - 1 - y) * width_ + x];
}

void Surface::fill(const PixelRect& rect, std::uint32_t colour) {
  if (!bits_) return;
  const int x0 = rect.x < 0 ? 0 : rect.x, y0 = rect.y < 0 ? 0 : rect.y;
  const int x1 = rect.x + rect.width > width_ ? width_ : rect.x + rect.width;
  const int y1 = rect.y + rect.height > height_ ? height_ : rect.y + rect.height;
  if (x0 >= x1 || y0 >= y1) return;
  const std::uint32_t a = colour >> 24;
  auto premultiply = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  const std::uint32_t stored = (a << 24) | (premultiply((colour >> 16) & 0xFF) << 16) |
                               (premultiply((colour >> 8) & 0xFF) << 8) | premultiply(colour & 0xFF);
  GdiFlush();
  auto* rows = static_cast<std::uint32_t*>(bits_);
  for (int y = y0; y < y1; ++y) {
    std::uint32_t* row = rows + static_cast<size_t>(height_ - 1 - y) * width_;
    for (int x = x0; x < x1; ++x) row[x] = stored;
  }
}

}  // namespace zelvo::toolkit
