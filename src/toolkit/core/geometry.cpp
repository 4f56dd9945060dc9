#include "toolkit/core/geometry.h"

namespace zelvo::toolkit {

PixelRect truncate(const RectF& rect) {
  return {static_cast<int>(rect.x), static_cast<int>(rect.y), static_cast<int>(rect.width),
          static_cast<int>(rect.height)};
}

bool rectsIntersect(const RectF& a, const RectF& b) {
  const float e = kRectTolerance;
  if (a.x >= b.x + b.width - e || a.x + a.width <= b.x + e) return false;
  if (a.y + a.height <= b.y + e || a.y >= b.y + b.height - e) return false;
  return true;
}

bool pointInRect(const RectF& rect, float x, float y) {
  const float e = kRectTolerance;
  return x >= rect.x - e && y >= rect.y - e && x < rect.x + rect.width - e && y < rect.y + rect.height - e;
}

float offsetRect(float dx, float dy, float dWidth, float dHeight, RectF& rect) {
  rect.x += dx;
  rect.y += dy;
  rect.width += dWidth;
  rect.height += dHeight;
  return rect.height;
}

int effectiveStyle(bool styleGiven, int style, bool hasMaximizeBox, bool hasMinimizeBox) {
  if (styleGiven && !(style & kStyleDefaults)) return style;
  if (!styleGiven) style = 0;
  style |= kStyleIcon | kStyleTitle | kStyleClose;
  if (hasMaximizeBox) style |= kStyleMaximize;
  if (hasMinimizeBox) style |= kStyleMinimize;
  return style;
}

RectF frameRect(int width, int height, int margin) {
  return {static_cast<float>(margin), static_cast<float>(margin), static_cast<float>(width - 2 * margin),
          static_cast<float>(height - 2 * margin)};
}

bool insideInnerZone(const RectF& rect, int width, int height, int margin) {
  const float inset = static_cast<float>(margin + 3);
  return rect.x >= inset && rect.y >= inset && rect.x + rect.width <= width - inset &&
         rect.y + rect.height <= height - inset;
}

namespace {
constexpr int kNarrowFlags[] = {kStyleMaximize, kStyleMinimize, kStyleFree1, kStyleFree2, kStyleFree3, kStyleFree4};
}

std::vector<CaptionButtonPlace> captionButtonPlaces(int style, int width, int margin) {
  std::vector<CaptionButtonPlace> places;
  if (style == 0) return places;
  int x = width - margin - 3;
  if (style & kStyleClose) {
    x -= 39;
    places.push_back({kStyleClose, x, margin + 1, 39, 19});
  }
  for (int flag : kNarrowFlags) {
    if (!(style & flag)) continue;
    x -= 28;
    places.push_back({flag, x, margin + 1, 28, 19});
  }
  return places;
}

int captionButtonCount(int style) {
  int count = (style & kStyleClose) ? 1 : 0;
  for (int flag : kNarrowFlags) count += (style & flag) ? 1 : 0;
  return count;
}

int titleRightReserve(int style, int margin) {
  return margin + 5 + 28 * captionButtonCount(style) + ((style & kStyleClose) ? 11 : 0);
}

int resizeZone(int x, int y, int width, int height) {
  if (y < 8) {
    if (x < 10) return 4;
    if (width - x < 10) return 5;
    return 3;
  }
  if (height - y < 10) {
    if (x < 10) return 7;
    if (width - x < 10) return 8;
    return 6;
  }
  if (x < 8) return 1;
  if (width - x < 10) return 2;
  return 0;
}

int resizeCursor(int edge) {
  constexpr int kNwse = 32642, kNesw = 32643, kWe = 32644, kNs = 32645;
  switch (edge) {
    case 1: case 2: return kWe;
    case 3: case 6: return kNs;
    case 4: case 8: return kNwse;
    case 5: case 7: return kNesw;
    default: return 0;
  }
}

int smallestFreeId(const std::function<bool(int)>& taken) {
  int n = 1;
  while (taken(n)) ++n;
  return n;
}

int nextTabStop(int current, int count, const std::function<bool(int)>& qualifies) {
  if (count <= 0) return 0;
  int p = current;
  for (int tries = 0; tries < count; ++tries) {
    p = p + 1 > count ? 1 : p + 1;
    if (qualifies(p)) return p;
  }
  return 0;
}

}  // namespace zelvo::toolkit
