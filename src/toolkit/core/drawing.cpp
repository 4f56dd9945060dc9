#include "toolkit/core/drawing.h"

namespace zelvo::toolkit {

namespace {

void outline(GpGraphics* graphics, const RectF& rect, Argb colour, float width, bool dashed) {
  PenPtr pen = makePen(colour, width);
  if (!pen) return;
  if (dashed) gp::GdipSetPenDashStyle(pen.get(), Gdiplus::DashStyleDash);
  gp::GdipDrawRectangle(graphics, pen.get(), rect.x, rect.y, rect.width - 1, rect.height - 1);
}

void line(GpGraphics* graphics, GpPen* pen, float x1, float y1, float x2, float y2) {
  if (pen) gp::GdipDrawLine(graphics, pen, x1, y1, x2, y2);
}

}  // namespace

PenPtr makePen(Argb colour, float width) {
  GpPen* pen = nullptr;
  if (gp::GdipCreatePen1(colour, width, Gdiplus::UnitWorld, &pen) != kOk) return nullptr;
  return PenPtr(pen);
}

BrushPtr makeBrush(Argb colour) {
  Gdiplus::GpSolidFill* brush = nullptr;
  if (gp::GdipCreateSolidFill(colour, &brush) != kOk) return nullptr;
  return BrushPtr(brush);
}

void fillGradient(GpGraphics* graphics, const RectF& rect, Argb colour1, Argb colour2, int mode) {
  if (!graphics) return;
  Gdiplus::GpRectF area(rect.x, rect.y, rect.width, rect.height);
  Gdiplus::GpLineGradient* brush = nullptr;
  if (gp::GdipCreateLineBrushFromRect(&area, colour1, colour2, static_cast<Gdiplus::LinearGradientMode>(mode),
                                      Gdiplus::WrapModeTileFlipXY, &brush) != kOk)
    return;
  BrushPtr owned(brush);
  gp::GdipFillRectangle(graphics, brush, rect.x, rect.y, rect.width - 1, rect.height - 1);
}

void fillRectangle(GpGraphics* graphics, const RectF& rect, Argb colour) {
  if (!graphics) return;
  BrushPtr brush = makeBrush(colour);
  if (brush) gp::GdipFillRectangle(graphics, brush.get(), rect.x, rect.y, rect.width - 1, rect.height - 1);
}

void drawLine(GpGraphics* graphics, Argb colour, float x1, float y1, float x2, float y2, float width) {
  if (!graphics) return;
  PenPtr pen = makePen(colour, width);
  line(graphics, pen.get(), x1, y1, x2, y2);
}

void drawBorder(GpGraphics* graphics, const RectF& rect, Argb style, std::optional<Argb> colour, float width) {
  if (!graphics) return;
  const float x0 = rect.x, y0 = rect.y, w = rect.width, h = rect.height;
  const float r = x0 + w - 1, b = y0 + h - 1;
  switch (style) {
    case kBorderSunken: {
      PenPtr dark = makePen(argb(160, 0, 0, 0), width), light = makePen(argb(245, 255, 255, 255), width / 2);
      line(graphics, dark.get(), x0, y0, r, y0);
      line(graphics, dark.get(), x0, y0, x0, b);
      line(graphics, light.get(), x0, b, r, b);
      line(graphics, light.get(), r, y0, r, b);
      return;
    }
    case kBorderRaised: {
      PenPtr light = makePen(argb(245, 255, 255, 255), width / 2), dark = makePen(argb(168, 0, 0, 0), width);
      line(graphics, light.get(), x0, y0, x0 + w - 2, y0);
      line(graphics, light.get(), x0, y0, x0, y0 + h - 2);
      line(graphics, dark.get(), x0, b, r, b);
      line(graphics, dark.get(), r, y0, r, y0 + h - 2);
      return;
    }
    case kBorderSolid:
      outline(graphics, rect, colour.value_or(argb(254, 100, 100, 100)), width, false);
      return;
    case kBorderDashed:
      outline(graphics, rect, colour.value_or(argb(90, 0, 0, 0)), width, true);
      return;
    default:
      outline(graphics, rect, style, width, false);
  }
}

PathPtr roundRectPath(const RectF& rect, float arc) {
  GpPath* path = nullptr;
  if (gp::GdipCreatePath(Gdiplus::FillModeAlternate, &path) != kOk) return nullptr;
  const float x = rect.x, y = rect.y, w = rect.width, h = rect.height;
  gp::GdipAddPathArc(path, x, y, arc, arc, 180, 90);
  gp::GdipAddPathArc(path, x + w - arc - 1, y, arc, arc, 270, 90);
  gp::GdipAddPathArc(path, x + w - arc - 1, y + h - arc - 1, arc, arc, 0, 90);
  gp::GdipAddPathArc(path, x, y + h - arc - 1, arc, arc, 90, 90);
  gp::GdipClosePathFigure(path);
  return PathPtr(path);
}

PathPtr roundedClipPath(const RectF& rect, float arc) {
  GpPath* path = nullptr;
  if (gp::GdipCreatePath(Gdiplus::FillModeAlternate, &path) != kOk) return nullptr;
  const float x = rect.x, y = rect.y, w = rect.width, h = rect.height;
  gp::GdipAddPathArc(path, x + w - arc, y, arc, arc, 270, 90);
  gp::GdipAddPathArc(path, x + w - arc, y + h - arc - 1, arc, arc, 0, 90);
  gp::GdipAddPathArc(path, x, y + h - arc - 0.5f, arc, arc, 90, 90);
  gp::GdipAddPathArc(path, x, y - 0.5f, arc, arc, 180, 90);
  gp::GdipClosePathFigure(path);
  return PathPtr(path);
}

void roundRect(GpGraphics* graphics, const RectF& rect, float arc, std::optional<Argb> fillColour,
               std::optional<Argb> borderColour, float borderWidth) {
  PathPtr path = roundRectPath(rect, arc);
  if (!graphics || !path) return;
  if (fillColour) {
    BrushPtr brush = makeBrush(*fillColour);
    if (brush) gp::GdipFillPath(graphics, brush.get(), path.get());
  }
  if (borderColour) {
    PenPtr pen = makePen(*borderColour, borderWidth);
    if (pen) gp::GdipDrawPath(graphics, pen.get(), path.get());
  }
}

void setClipRect(GpGraphics* graphics, const RectF& rect, int combineMode) {
  if (graphics)
    gp::GdipSetClipRect(graphics, rect.x, rect.y, rect.width, rect.height, static_cast<Gdiplus::CombineMode>(combineMode));
}

void setClipPath(GpGraphics* graphics, GpPath* path, int combineMode) {
  if (graphics && path) gp::GdipSetClipPath(graphics, path, static_cast<Gdiplus::CombineMode>(combineMode));
}

void resetClip(GpGraphics* graphics) {
  if (graphics) gp::GdipResetClip(graphics);
}

}  // namespace zelvo::toolkit
