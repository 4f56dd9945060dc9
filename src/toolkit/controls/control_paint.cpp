#include "toolkit/controls/control_paint.h"

#include <algorithm>

#include "toolkit/controls/text_format.h"
#include "toolkit/core/drawing.h"
#include "toolkit/core/host_window.h"
#include "toolkit/core/toolkit.h"
#include "toolkit/core/window_table.h"

namespace zelvo::toolkit {

namespace {

void copyFromBackground(WindowRecord& record, const PixelRect& r) {
  if (r.width > 0 && r.height > 0)
    BitBlt(record.canvas.dc(), r.x, r.y, r.width, r.height, record.background.dc(), r.x, r.y, SRCCOPY);
}

void paintRange(int windowNumber, int from, int to, const RectF& rect) {
  for (int p = from; p <= to; ++p) {
    const ControlRecord* c = controlRecord(windowNumber, p);
    if (!c) break;
    if ((c->visible & 1) && rectsIntersect(c->rect, rect))
      deliverMessage(windowNumber, p, c->hostWindow, kMsgPaint, 0, kPaintRepaint, 0);
  }
}

}  // namespace

GpGraphics* canvasGraphics(int windowNumber) {
  WindowRecord* record = windowRecord(windowNumber);
  return record ? record->canvas.graphics() : nullptr;
}

HDC canvasDc(int windowNumber) {
  WindowRecord* record = windowRecord(windowNumber);
  return record ? record->canvas.dc() : nullptr;
}

int beginControlPaint(int windowNumber, int position, const RectF& rect, int fadeAlpha, int direct) {
  WindowRecord* record = windowRecord(windowNumber);
  if (!record || !record->host || !controlRecord(windowNumber, position)) return 0;
  if (record->host->fullRepaint()) return 0;
  if (direct != 1) return fadeAlpha == 0 ? 1 : 0;
  if (fadeAlpha != 0) presentRect(windowNumber, rect, 255);
  gp::GdipFlush(record->canvas.graphics(), Gdiplus::FlushIntentionSync);
  copyFromBackground(*record, truncate(rect));
  setClipRect(record->canvas.graphics(), rect);
  paintRange(windowNumber, 1, position - 1, rect);
  return 1;
}

void endControlPaint(int windowNumber, int position, const RectF& rect, int noFade, int direct, int presentNow,
                     int noPresent) {
  WindowRecord* record = windowRecord(windowNumber);
  if (!record || !record->host) return;
  if (direct == 0) {
    HostWindow::composeRect(windowNumber, rect, false);
    return;
  }
  const HostWindow& host = *record->host;
  if (position == host.focusedPosition() && host.keyboardFocus()) {
    if (const ControlRecord* c = controlRecord(windowNumber, position))
      drawBorder(record->canvas.graphics(), c->rect, kBorderDashed);
  }
  paintRange(windowNumber, position + 1, record->controlCount(), rect);
  if (!(record = windowRecord(windowNumber))) return;
  resetClip(record->canvas.graphics());
  HostWindow::composeRect(windowNumber, rect, direct != 0);
  if (noPresent) return;
  if (presentNow & 1) {
    presentRect(windowNumber, rect, 255);
    return;
  }
  if (record->fadeSetting && noFade != 1) {
    const UINT_PTR id = controlTimerId(windowNumber, position);
    KillTimer(record->hwnd, id);
    startControlTimer(record->hwnd, id);
  } else {
    presentRect(windowNumber, rect, 255);
  }
}

void presentRect(int windowNumber, const RectF& rect, int alpha) {
  WindowRecord* record = windowRecord(windowNumber);
  if (!record || !record->host) return;
  const PixelRect r = truncate(rect);
  if (r.width <= 0 || r.height <= 0) return;
  gp::GdipFlush(record->canvas.graphics(), Gdiplus::FlushIntentionSync);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), 0};
  if (!record->layered()) {
    AlphaBlend(record->windowDc, r.x, r.y, r.width, r.height, record->canvas.dc(), r.x, r.y, r.width, r.height, blend);
  } else {
    AlphaBlend(record->layer.dc(), r.x, r.y, r.width, r.height, record->canvas.dc(), r.x, r.y, r.width, r.height, blend);
    HostWindow::updateLayered(record->hwnd, record->layer.dc(), record->host->clientWidth(),
                              record->host->clientHeight());
  }
}

bool isDarkBackground(int windowNumber, const RectF& rect) {
  WindowRecord* record = windowRecord(windowNumber);
  if (!record) return false;
  const int y = static_cast<int>(rect.y + rect.height / 2);
  for (float share : {0.2f, 0.5f, 0.8f}) {
    const std::uint32_t bgra = record->background.pixel(static_cast<int>(rect.x + share * rect.width), y);
    const ColorRef colour = ((bgra >> 16) & 0xFF) | (bgra & 0xFF00) | ((bgra & 0xFF) << 16);
    if (!isDarkColour(toArgb(colour, 255))) return false;
  }
  return true;
}

void drawControlText(const RectF& rect, GpGraphics* graphics, const std::string& text, GpFont* font, Argb colour,
                     int alignment, int trimming, int hotkeyPrefix, int formatFlags, int effect,
                     std::optional<Argb> effectColour) {
  if (!graphics || !font) return;
  RectF area = rect;
  const std::wstring wide = toWide(text);
  TextFormat format;
  format.create();
  format.setAlignment(alignment < 3 ? alignment : alignment - 3);
  format.setTrimming(trimming);
  format.setFormatFlags(formatFlags);
  format.setHotkeyPrefix(hotkeyPrefix);
  if (alignment >= 3) {
    RectF measured;
    if (measureString(graphics, text, font, area, format.handle(), measured)) {
      area.y += (area.height - measured.height) / 2;
      area.height = static_cast<float>(static_cast<int>(measured.height));
    }
  }
  if (effect != 0) {
    Argb halo = isDarkColour(colour) ? argb(90, 255, 255, 255) : argb(70, 0, 0, 0);
    if (effectColour && *effectColour != static_cast<Argb>(-1)) halo = *effectColour;
    if (effect == 1 || effect == 2) {
      const float d = effect == 1 ? -1.0f : 1.0f;
      BrushPtr brush = makeBrush(halo);
      Gdiplus::RectF moved(area.x + d, area.y + d, area.width, area.height);
      if (brush)
        gp::GdipDrawString(graphics, wide.c_str(), static_cast<INT>(wide.size()), font, &moved, format.handle(),
                           brush.get());
    } else if (effect == 3) {
      drawGlowText(area, graphics, text, font, format.handle(), halo);
    }
  }
  BrushPtr brush = makeBrush(colour);
  Gdiplus::RectF layout(area.x, area.y, area.width, area.height);
  if (brush)
    gp::GdipDrawString(graphics, wide.c_str(), static_cast<INT>(wide.size()), font, &layout, format.handle(), brush.get());
}

void drawGlowText(const RectF& rect, GpGraphics* graphics, const std::string& text, GpFont* font,
                  GpStringFormat* format, Argb colour) {
  const int w = static_cast<int>(rect.width) + 2, h = static_cast<int>(rect.height) + 2;
  const int sw = w / 3, sh = h / 3;
  if (!graphics || w <= 2 || h <= 2 || sw <= 0 || sh <= 0) return;
  const std::wstring wide = toWide(text);
  GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &raw) != kOk) return;
  ImagePtr large(raw);
  GpGraphics* rawGraphics = nullptr;
  if (gp::GdipGetImageGraphicsContext(raw, &rawGraphics) != kOk) return;
  {
    GraphicsPtr g(rawGraphics);
    gp::GdipSetSmoothingMode(g.get(), Gdiplus::SmoothingModeAntiAlias);
    gp::GdipSetTextRenderingHint(g.get(), Gdiplus::TextRenderingHintAntiAliasGridFit);
    BrushPtr brush = makeBrush(colour);
    static constexpr float kOffsets[4][2] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}};
    for (const auto& o : kOffsets) {
      Gdiplus::RectF layout(o[0], o[1], rect.width, rect.height);
      if (brush) gp::GdipDrawString(g.get(), wide.c_str(), -1, font, &layout, format, brush.get());
    }
  }
  GpBitmap* rawSmall = nullptr;
  if (gp::GdipCreateBitmapFromScan0(sw, sh, 0, PixelFormat32bppARGB, nullptr, &rawSmall) != kOk) return;
  ImagePtr small(rawSmall);
  if (gp::GdipGetImageGraphicsContext(rawSmall, &rawGraphics) != kOk) return;
  {
    GraphicsPtr g(rawGraphics);
    gp::GdipSetCompositingQuality(g.get(), Gdiplus::CompositingQualityHighQuality);
    gp::GdipSetInterpolationMode(g.get(), Gdiplus::InterpolationModeHighQualityBicubic);
    gp::GdipDrawImageRectRect(g.get(), large.get(), 0, 0, static_cast<float>(sw), static_cast<float>(sh), 0, 0,
                              static_cast<float>(w), static_cast<float>(h), Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
  }
  gp::GdipDrawImageRectRect(graphics, small.get(), rect.x - 2, rect.y - 2, rect.width + 2, rect.height + 3, 0, 0,
                            static_cast<float>(sw), static_cast<float>(sh), Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

void drawImageAt(GpGraphics* graphics, GpImage* image, float x, float y, std::optional<float> width,
                 std::optional<float> height, bool centred) {
  if (!graphics || !image) return;
  UINT iw = 0, ih = 0;
  gp::GdipGetImageWidth(image, &iw);
  gp::GdipGetImageHeight(image, &ih);
  float w = static_cast<float>(iw), h = static_cast<float>(ih);
  if (centred) {
    x += (width.value_or(w) - w) / 2;
    y += (height.value_or(h) - h) / 2;
  } else {
    if (width) w = *width;
    if (height) h = *height;
  }
  gp::GdipDrawImageRectRect(graphics, image, x, y, w, h, 0, 0, static_cast<float>(iw), static_cast<float>(ih),
                            Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

int drawImageStretched(GpGraphics* graphics, GpImage* image, const RectF& destRect, const RectF& srcRect, bool srcGiven) {
  if (!graphics || !image) return 0;
  RectF src = srcRect;
  if (!srcGiven) {
    UINT iw = 0, ih = 0;
    gp::GdipGetImageWidth(image, &iw);
    gp::GdipGetImageHeight(image, &ih);
    src = makeRectF(0, 0, static_cast<float>(iw), static_cast<float>(ih));
  }
  if (src.width <= 0 || src.height <= 0) return 0;
  return gp::GdipDrawImageRectRect(graphics, image, destRect.x, destRect.y, destRect.width, destRect.height, src.x, src.y,
                                   src.width, src.height, Gdiplus::UnitPixel, nullptr, nullptr, nullptr) == kOk
             ? 1
             : 0;
}

void startControlTimer(HWND hwnd, UINT_PTR id, std::optional<UINT> interval) {
  SetTimer(hwnd, id, interval.value_or(static_cast<UINT>(globals().defaultTimerInterval)), nullptr);
}

bool holdsMouseCapture(int windowNumber, int position) {
  const WindowRecord* window = windowRecord(windowNumber);
  return window && window->host && window->host->pressed() && window->host->pressedPosition() == position;
}

void fadeInStep(HWND hwnd, UINT_PTR timerId, int windowNumber, const RectF& rect, int& fadeAlpha) {
  if (fadeAlpha >= 255) {
    KillTimer(hwnd, timerId);
    fadeAlpha = 0;
  } else {
    fadeAlpha += 51;
    presentRect(windowNumber, rect, fadeAlpha);
  }
}

}  // namespace zelvo::toolkit
