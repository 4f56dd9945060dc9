// The host's painting pipeline. Everything is composed off screen and
// copied to the window in one step:
//   background cache  skin or colour, the program's background drawing, icon
//   canvas            background + controls + frame + shadow (max-track size,
//                     made once so resizing never reallocates it)
//   layer             the source of UpdateLayeredWindow (translucent windows)
// Sections: full render (setBackground), background and skin drawing, frame
// and shadow, title, partial repaint (redrawRect, composeRect), presenting,
// fade-in, WM_PAINT and WM_SIZE.
#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "toolkit/controls/control_paint.h"
#include "toolkit/controls/picture_box.h"
#include "toolkit/core/drawing.h"
#include "toolkit/core/host_window.h"

namespace zelvo::toolkit {

namespace {

constexpr Argb kTransparentWhite = 0x00FFFFFF;

PixelRect pixelRectOf(const RectF& rect) { return truncate(rect); }

void copyRect(HDC to, HDC from, const PixelRect& r) {
  if (r.width > 0 && r.height > 0) BitBlt(to, r.x, r.y, r.width, r.height, from, r.x, r.y, SRCCOPY);
}

void drawImage(GpGraphics* graphics, GpImage* image, float x, float y, float w, float h,
               GpImageAttributes* attributes = nullptr, float srcW = -1, float srcH = -1) {
  if (!graphics || !image) return;
  if (srcW < 0) {
    UINT iw = 0, ih = 0;
    gp::GdipGetImageWidth(image, &iw);
    gp::GdipGetImageHeight(image, &ih);
    srcW = static_cast<float>(iw);
    srcH = static_cast<float>(ih);
  }
  gp::GdipDrawImageRectRect(graphics, image, x, y, w, h, 0, 0, srcW, srcH, Gdiplus::UnitPixel, attributes, nullptr,
                            nullptr);
}

// The region only changes with the size, the margin and the corner, so the
// same region is not handed to the system again on every render.
struct RegionKey {
  int width = -1, height = -1, margin = -1, corner = -1;
  friend bool operator==(const RegionKey&, const RegionKey&) = default;
};

}  // namespace

// ---------------------------------------------------------------------------
// Full render

void HostWindow::setBackground(std::optional<std::string> skinBytes, std::optional<ColorRef> colour, bool fadeIn) {
  WindowRecord* record = windowRecord();
  if (!record || !record->windowDc) return;
  fullRepaint_ = 1;
  if (skinBytes) skin_.loadFromBytes(*skinBytes);
  if (colour && *colour != static_cast<ColorRef>(-1)) {
    backgroundColour_ = *colour;
  } else if (skin_.imageHandle()) {
    backgroundColour_ =
        argbToColorref(skin_.pixel(static_cast<int>(skin_.width() * 0.85), static_cast<int>(skin_.height() * 0.85))).colour;
  }
  const int width = clientWidth_, height = clientHeight_;
  const int m = margin();
  renderBackground(width, height, m, backgroundColour_);

  GpGraphics* background = record->background.graphics();
  if (callbacks_.backgroundPaint) callbacks_.backgroundPaint(hwnd_, background, record->background.dc(), width, height);
  if (!(record = windowRecord())) return;
  gp::GdipFlush(background, Gdiplus::FlushIntentionSync);
  copyRect(record->canvas.dc(), record->background.dc(), {0, 0, width, height});

  if (corner_ != 1 && style_ != 0) {
    if (style_ & kStyleIcon) drawIcon(m);
    wchar_t text[256] = {};
    GetWindowTextW(hwnd_, text, 256);
    drawTitle(fromWide(text), false, false);
  }
  layoutCaptionButtons(m);
  if (callbacks_.backgroundRepainted)
    callbacks_.backgroundRepainted(hwnd_, background, record->background.dc(), width, height);
  if (!(record = windowRecord())) return;
  repaintControls(std::nullopt, 0);

  GpGraphics* canvas = record->canvas.graphics();
  if (corner_ != 1) {
    if (!record->layered()) {
      static thread_local RegionKey lastKey;
      static thread_local HWND lastWindow = nullptr;
      const RegionKey key{width, height, m, corner_};
      if (!(key == lastKey) || lastWindow != hwnd_) {
        SetWindowRgn(hwnd_, CreateRoundRectRgn(m, m, width - m + 1, height - m + 1, corner_, corner_), TRUE);
        lastKey = key;
        lastWindow = hwnd_;
      }
    }
    drawFrame(canvas, width, height, m, corner_);
    if (record->layered() && m != 0) drawShadow(canvas, frameRect(width, height, m), corner_);
  }
  gp::GdipFlush(canvas, Gdiplus::FlushIntentionSync);

  if (fadeIn) {
    SetTimer(hwnd_, kFadeInTimer, static_cast<UINT>(globals().defaultTimerInterval), nullptr);
    return;
  }
  present();
  fullRepaint_ = 0;
}

void HostWindow::present() {
  WindowRecord* record = windowRecord();
  if (!record) return;
  if (!record->layered()) {
    copyRect(record->windowDc, record->canvas.dc(), {0, 0, clientWidth_, clientHeight_});
  } else {
    copyRect(record->layer.dc(), record->canvas.dc(), {0, 0, clientWidth_, clientHeight_});
    updateLayered(hwnd_, record->layer.dc(), clientWidth_, clientHeight_);
  }
}

void HostWindow::repaintControls(std::optional<int> controlId, int direct) {
  WindowRecord* record = windowRecord();
  if (!record) return;
  if (controlId) {
    const int p = positionOfId(windowNumber_, *controlId);
    if (const ControlRecord* c = controlRecord(windowNumber_, p); c && (c->visible & 1))
      deliverMessage(windowNumber_, p, hwnd_, kMsgPaint, 0, kPaintRepaint, direct);
    return;
  }
  const RectF window = makeRectF(0, 0, static_cast<float>(clientWidth_), static_cast<float>(clientHeight_));
  for (int p = 1; (record = windowRecord()) && p <= record->controlCount(); ++p) {
    const ControlRecord& c = record->controls[p - 1];
    if ((c.visible & 1) && rectsIntersect(c.rect, window))
      deliverMessage(windowNumber_, p, hwnd_, kMsgPaint, 0, kPaintRepaint, direct);
  }
}

// ---------------------------------------------------------------------------
// Background and skin

void HostWindow::renderBackground(int width, int height, int m, ColorRef colour) {
  WindowRecord* record = windowRecord();
  Surface& surface = record->background;
  GpGraphics* graphics = surface.graphics();
  GpImage* picture = skin_.imageHandle();
  const int pw = skin_.width(), ph = skin_.height();
  const int bw = skinBandSize(pw), bh = skinBandSize(ph);
  const RectF frame = frameRect(width, height, m);
  const PixelRect whole{0, 0, width, height};

  if (corner_ == 1) {
    surface.fill(whole, kTransparentWhite);
    if (picture) {
      if (IsRectEmpty(&nineGridCentre_)) drawImage(graphics, picture, 0, 0, static_cast<float>(pw), static_cast<float>(ph));
      else drawNineGrid(graphics, makeRectF(0, 0, static_cast<float>(width), static_cast<float>(height)));
    }
    return;
  }

  if (!record->layered()) {
    surface.fill(whole, toArgb(colour, 255));
    if (!picture) return;
    if (record->stretchSkin) {
      drawImage(graphics, picture, frame.x, frame.y, frame.width, frame.height);
      return;
    }
    drawImage(graphics, picture, static_cast<float>(m), static_cast<float>(m), static_cast<float>(pw),
              static_cast<float>(ph));
    if (blendEdges_) {
      const float fm = static_cast<float>(m);
      fillGradient(graphics, makeRectF(fm, fm + ph - bh + 1, fm + pw, static_cast<float>(bh)), toArgb(colour, 0),
                   toArgb(colour, 255), 1);
      fillGradient(graphics, makeRectF(fm + pw - bw + 1, fm, static_cast<float>(bw), fm + ph), toArgb(colour, 0),
                   toArgb(colour, 255), 0);
    }
    return;
  }

  const int a = std::clamp(record->alpha, 0, 255);
  surface.fill(whole, kTransparentWhite);
  if (corner_ != 0) roundRect(graphics, frame, 7, toArgb(colour, a));
  else surface.fill(pixelRectOf(makeRectF(frame.x, frame.y, frame.width - 1, frame.height - 1)), toArgb(colour, a));
  if (!picture) return;
  GpImageAttributes* rawAttributes = nullptr;
  gp::GdipCreateImageAttributes(&rawAttributes);
  ImageAttributesPtr attributes(rawAttributes);
  Gdiplus::ColorMatrix matrix{};
  for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1.0f;
  matrix.m[3][3] = static_cast<float>(a) / 255.0f;
  if (attributes)
    gp::GdipSetImageAttributesColorMatrix(attributes.get(), Gdiplus::ColorAdjustTypeBitmap, TRUE, &matrix, nullptr,
                                          Gdiplus::ColorMatrixFlagsDefault);
  if (corner_ != 0) drawSkinClipped(frame, 9, attributes.get(), bw, bh);
  else if (record->stretchSkin) drawImage(graphics, picture, frame.x, frame.y, frame.width, frame.height, attributes.get());
  else drawSkinClipped(frame, 0, attributes.get(), bw, bh);
}

void HostWindow::drawSkinClipped(const RectF& frame, float arc, GpImageAttributes* attributes, int bw, int bh) {
  WindowRecord* record = windowRecord();
  GpGraphics* graphics = record->background.graphics();
  GpImage* picture = skin_.imageHandle();
  const int pw = skin_.width(), ph = skin_.height();
  if (arc != 0) {
    PathPtr clip = roundedClipPath(frame, arc);
    setClipPath(graphics, clip.get());
  } else {
    setClipRect(graphics, frame);
  }
  if (record->stretchSkin) {
    drawImage(graphics, picture, frame.x, frame.y, frame.width, frame.height, attributes);
  } else if (blendEdges_) {
    GpBitmap* rawBitmap = nullptr;
    gp::GdipCreateBitmapFromScan0(std::max(1, static_cast<int>(frame.width)), std::max(1, static_cast<int>(frame.height)),
                                  0, PixelFormat32bppARGB, nullptr, &rawBitmap);
    ImagePtr bitmap(rawBitmap);
    GpGraphics* rawGraphics = nullptr;
    if (bitmap) gp::GdipGetImageGraphicsContext(bitmap.get(), &rawGraphics);
    GraphicsPtr inner(rawGraphics);
    if (inner) {
      gp::GdipGraphicsClear(inner.get(), withAlpha(toArgb(backgroundColour_), 255));
      drawImage(inner.get(), picture, 0, 0, static_cast<float>(pw), static_cast<float>(ph));
      fillGradient(inner.get(), makeRectF(0, static_cast<float>(ph - bh), static_cast<float>(pw), static_cast<float>(bh + 1)),
                   toArgb(backgroundColour_, 0), toArgb(backgroundColour_, 255), 1);
      fillGradient(inner.get(), makeRectF(static_cast<float>(pw - bw), 0, static_cast<float>(bw + 1), static_cast<float>(ph)),
                   toArgb(backgroundColour_, 0), toArgb(backgroundColour_, 255), 0);
      inner.reset();
      drawImage(graphics, bitmap.get(), frame.x, frame.y, frame.width, frame.height, attributes);
    }
  } else {
    drawImage(graphics, picture, frame.x, frame.y, static_cast<float>(pw), static_cast<float>(ph), attributes);
  }
  resetClip(graphics);
}

void HostWindow::drawNineGrid(GpGraphics* graphics, const RectF& dest) {
  GpImage* picture = skin_.imageHandle();
  const float pw = static_cast<float>(skin_.width()), ph = static_cast<float>(skin_.height());
  const float l = static_cast<float>(nineGridCentre_.left), t = static_cast<float>(nineGridCentre_.top);
  const float r = pw - static_cast<float>(nineGridCentre_.right), b = ph - static_cast<float>(nineGridCentre_.bottom);
  const float cw = pw - l - r, ch = ph - t - b;
  const float dx = dest.x, dy = dest.y, dw = dest.width, dh = dest.height;
  auto part = [&](float sx, float sy, float sw, float sh, float tx, float ty, float tw, float th) {
    if (sw > 0 && sh > 0 && tw > 0 && th > 0)
      gp::GdipDrawImageRectRect(graphics, picture, tx, ty, tw, th, sx, sy, sw, sh, Gdiplus::UnitPixel, nullptr, nullptr,
                                nullptr);
  };
  part(0, 0, l, t, dx, dy, l, t);
  part(pw - r, 0, r, t, dx + dw - r, dy, r, t);
  part(0, ph - b, l, b, dx, dy + dh - b, l, b);
  part(pw - r, ph - b, r, b, dx + dw - r, dy + dh - b, r, b);
  part(l, 0, cw, t, dx + l, dy, dw - l - r, t);
  part(l, ph - b, cw, b, dx + l, dy + dh - b, dw - l - r, b);
  part(0, t, l, ch, dx, dy + t, l, dh - t - b);
  part(pw - r, t, r, ch, dx + dw - r, dy + t, r, dh - t - b);
  part(l, t, cw, ch, dx + l, dy + t, dw - l - r, dh - t - b);
}

void HostWindow::drawIcon(int m) {
  WindowRecord* record = windowRecord();
  ImageObject icon;
  icon.loadFromIcon(windowIcon(hwnd_));
  const float at = static_cast<float>(m + 6);
  if (icon.imageHandle()) {
    drawImage(record->background.graphics(), icon.imageHandle(), at, at, 16, 16);
    gp::GdipFlush(record->background.graphics(), Gdiplus::FlushIntentionSync);
  }
  copyRect(record->canvas.dc(), record->background.dc(), {m + 6, m + 6, 16, 16});
  if (iconControl_) iconControl_->setBounds(at, at, std::nullopt, std::nullopt, false);
}

// ---------------------------------------------------------------------------
// Frame and shadow

void HostWindow::drawFrame(GpGraphics* graphics, int width, int height, int m, int corner) {
  RectF frame = frameRect(width, height, m);
  if (corner != 0) {
    roundRect(graphics, frame, 6, std::nullopt, argb(120, 0, 0, 0));
    offsetRect(1, 1, -2, -2, frame);
    roundRect(graphics, frame, 4, std::nullopt, argb(70, 255, 255, 255));
  } else {
    drawBorder(graphics, frame, argb(110, 0, 0, 0));
    offsetRect(1, 1, -2, -2, frame);
    drawBorder(graphics, frame, argb(70, 255, 255, 255));
  }
}

void HostWindow::drawShadow(GpGraphics* graphics, const RectF& frame, int corner) {
  static constexpr float kRoundArcs[] = {11, 14, 17, 20};
  static constexpr float kSquareArcs[] = {4, 7, 11, 14};
  static constexpr int kAlphas[] = {75, 55, 25, 15};
  RectF ring = frame;
  offsetRect(-1, -1, 2, 2, ring);
  for (int i = 0; i < 4; ++i) {
    roundRect(graphics, ring, corner != 0 ? kRoundArcs[i] : kSquareArcs[i], std::nullopt, argb(kAlphas[i], 0, 0, 0));
    offsetRect(-1, -1, 2, 2, ring);
  }
}

// ---------------------------------------------------------------------------
// Title

void HostWindow::drawTitle(const std::string& text, bool restoreBackground, bool present) {
  WindowRecord* record = windowRecord();
  if (!record || corner_ == 1 || !(style_ & kStyleTitle)) return;
  const int m = margin();
  const int right = titleRightReserve(style_, m);
  const int left = (style_ & kStyleIcon) ? m + 28 : m + 8;
  const RectF title = makeRectF(static_cast<float>(left), static_cast<float>(m + 6),
                                static_cast<float>(clientWidth_ - right - left), 17);
  if (title.width <= 0) return;
  if (restoreBackground) copyRect(record->canvas.dc(), record->background.dc(), pixelRectOf(title));
  bool drawn = false;
  if (globals().systemMajorVersion == 5) drawn = drawGlowCaption(record->canvas.dc(), text, title, 4);
  if (!drawn) {
    const Argb colour = isDarkBackground(windowNumber_, title) ? argb(225, 255, 255, 255) : argb(225, 0, 0, 0);
    drawControlText(title, record->canvas.graphics(), text, globals().defaultFont.get(), colour, 3, 3, 0, 0, 3);
    gp::GdipFlush(record->canvas.graphics(), Gdiplus::FlushIntentionSync);
  }
  if (present) redrawRect(windowNumber_, title, true, false);
}

bool HostWindow::drawGlowCaption(HDC dc, const std::string& text, const RectF& titleRect, int glow) {
  HTHEME theme = OpenThemeData(hwnd_, L"TextStyle");
  if (!theme) return false;
  const PixelRect t = pixelRectOf(titleRect);
  platform::ScopedMemoryDc memory(CreateCompatibleDC(dc));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = t.width;
  info.bmiHeader.biHeight = -t.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  platform::ScopedBitmap dib(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  bool done = false;
  if (memory && dib) {
    platform::ScopedSelect select(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, t.width, t.height, dc, t.x, t.y, SRCCOPY);
    DTTOPTS options{};
    options.dwSize = sizeof options;
    options.dwFlags = DTT_COMPOSITED | DTT_GLOWSIZE;
    options.iGlowSize = glow;
    RECT r{glow, 0, t.x + t.width, t.y + t.height};
    const std::wstring wide = toWide(text);
    done = SUCCEEDED(DrawThemeTextEx(theme, memory.get(), 8, 0, wide.c_str(), -1, DT_SINGLELINE, &r, &options));
    BitBlt(dc, t.x, t.y, t.width, t.height, memory.get(), 0, 0, SRCCOPY);
  }
  CloseThemeData(theme);
  return done || (memory && dib);
}

// ---------------------------------------------------------------------------
// Partial repaint

void HostWindow::redrawRect(int windowNumber, const RectF& rect, bool present, bool restoreBackground) {
  WindowRecord* record = toolkit::windowRecord(windowNumber);
  if (!record || !record->host || record->host->fullRepaint()) return;
  if (restoreBackground) copyRect(record->canvas.dc(), record->background.dc(), pixelRectOf(rect));
  for (int p = 1; (record = toolkit::windowRecord(windowNumber)) && p <= record->controlCount(); ++p) {
    const ControlRecord& c = record->controls[p - 1];
    if ((c.visible & 1) && rectsIntersect(c.rect, rect))
      deliverMessage(windowNumber, p, record->hwnd, kMsgPaint, 0, kPaintRepaint, 0);
  }
  composeRect(windowNumber, rect, false);
  if (!(record = toolkit::windowRecord(windowNumber)) || !present) return;
  gp::GdipFlush(record->canvas.graphics(), Gdiplus::FlushIntentionSync);
  const HostWindow& host = *record->host;
  if (!record->layered()) {
    copyRect(record->windowDc, record->canvas.dc(), pixelRectOf(rect));
  } else {
    copyRect(record->layer.dc(), record->canvas.dc(), pixelRectOf(rect));
    updateLayered(record->hwnd, record->layer.dc(), host.clientWidth(), host.clientHeight());
  }
}

void HostWindow::composeRect(int windowNumber, const RectF& rect, bool drawFrameToo) {
  WindowRecord* record = toolkit::windowRecord(windowNumber);
  if (!record || !record->host) return;
  const HostWindow& host = *record->host;
  if (host.corner_ == 1) return;
  const int m = host.margin();
  const int width = host.clientWidth_, height = host.clientHeight_;
  if (insideInnerZone(rect, width, height, m)) return;
  GpGraphics* canvas = record->canvas.graphics();
  if (drawFrameToo) {
    setClipRect(canvas, rect);
    drawFrame(canvas, width, height, m, host.corner_);
    resetClip(canvas);
  }
  if (record->layered() && m == 5) {
    gp::GdipFlush(canvas, Gdiplus::FlushIntentionSync);
    // Everything outside the frame rectangle becomes transparent again.
    Surface& surface = record->canvas;
    surface.fill({0, 0, width, m}, kTransparentWhite);
    surface.fill({0, height - m, width, m}, kTransparentWhite);
    surface.fill({0, m, m, height - 2 * m}, kTransparentWhite);
    surface.fill({width - m, m, m, height - 2 * m}, kTransparentWhite);
    if (drawFrameToo) drawShadow(canvas, frameRect(width, height, m), host.corner_);
  }
}

void HostWindow::updateLayered(HWND hwnd, HDC sourceDc, int width, int height) {
  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(hwnd, nullptr, nullptr, &size, sourceDc, &source, 0, &blend, ULW_ALPHA);
}

// ---------------------------------------------------------------------------
// Fade-in, WM_PAINT, WM_SIZE

void HostWindow::onFadeTick(HWND hwnd) {
  WindowRecord* record = windowRecord();
  if (!record) {
    KillTimer(hwnd, kFadeInTimer);
    return;
  }
  HDC target = record->windowDc;
  if (record->layered()) {
    target = record->layer.dc();
    updateLayered(hwnd, target, clientWidth_, clientHeight_);
  }
  if (fadeProgress_ > 254) {
    fullRepaint_ = 0;
    KillTimer(hwnd, kFadeInTimer);
    fadeProgress_ = 0;
    return;
  }
  fadeProgress_ += 51;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::min(fadeProgress_, 255)), 0};
  AlphaBlend(target, 0, 0, clientWidth_, clientHeight_, record->canvas.dc(), 0, 0, clientWidth_, clientHeight_, blend);
}

void HostWindow::onPaint(HWND hwnd) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(hwnd, &paint);
  if (WindowRecord* record = windowRecord(); record && dc) {
    const RECT& r = paint.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, record->canvas.dc(), r.left, r.top, SRCCOPY);
  }
  EndPaint(hwnd, &paint);
}

void HostWindow::onSize(HWND hwnd, int width, int height) {
  if (width == 0 && height == 0) return;
  WindowRecord* record = windowRecord();
  if (!record) return;
  clientWidth_ = width;
  clientHeight_ = height;
  record->background.make(record->windowDc, width, height);
  if (record->layered()) record->layer.make(record->windowDc, width, height);
  if (callbacks_.sizeChanged) callbacks_.sizeChanged(hwnd, width, height);
  setBackground(std::nullopt, backgroundColour_, false);
}

}  // namespace zelvo::toolkit
