// Rectangle arithmetic and the fixed placement rules of a host window:
// caption buttons, resize zones, the frame, the skin's blend bands, control
// ids and positions. Portable (no <windows.h>), so it is tested natively.
#pragma once

#include <functional>
#include <vector>

namespace zelvo::toolkit {

// Client pixels; control bounds are RectF.
struct RectF {
  float x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const RectF&, const RectF&) = default;
};

// Whole pixels, truncated toward zero.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

inline constexpr float kRectTolerance = 1e-7f;

constexpr RectF makeRectF(float x, float y, float width, float height) { return {x, y, width, height}; }
PixelRect truncate(const RectF& rect);
// True when the rectangles overlap; rectangles that only touch do not.
bool rectsIntersect(const RectF& a, const RectF& b);
bool pointInRect(const RectF& rect, float x, float y);
// Adds the deltas in place and returns the new height.
float offsetRect(float dx, float dy, float dWidth, float dHeight, RectF& rect);

// --- host window rules ------------------------------------------------------

// Style bits of a host.
enum StyleFlag : int {
  kStyleIcon = 1,
  kStyleTitle = 2,
  kStyleClose = 4,
  kStyleMaximize = 8,
  kStyleMinimize = 16,
  kStyleFree1 = 32,
  kStyleFree2 = 64,
  kStyleFree3 = 128,
  kStyleFree4 = 256,
  kStyleDefaults = 1024,
};

// The style word after the default-buttons rule: not given, or holding 1024,
// adds icon, title and close, plus maximise/minimise when the window has the
// matching system box.
int effectiveStyle(bool styleGiven, int style, bool hasMaximizeBox, bool hasMinimizeBox);

// 5 normally, 0 while maximised: the shadow band and region inset.
constexpr int frameMargin(bool maximized) { return maximized ? 0 : 5; }
RectF frameRect(int width, int height, int margin);
// True when the rectangle stays clear of the frame and shadow (3 + m from
// every edge), so a partial repaint need not touch them up.
bool insideInnerZone(const RectF& rect, int width, int height, int margin);

struct CaptionButtonPlace {
  int flag;
  int x, y, width, height;
};
// Caption buttons from the right edge: close (39 x 19) first, then 8, 16, 32,
// 64, 128, 256 (28 x 19 each) as set in the style.
std::vector<CaptionButtonPlace> captionButtonPlaces(int style, int width, int margin);
// Number of caption-button flags set in the style (close included).
int captionButtonCount(int style);
// Right reserve of the title: caption buttons plus their margins.
int titleRightReserve(int style, int margin);

// Width of the band over which a skin drawn in its own size fades into the
// background colour: half the picture up to 100 pixels, else 100.
constexpr int skinBandSize(int pictureSize) { return pictureSize <= 100 ? pictureSize / 2 : 100; }

// Resize edge under a client point: 0 inside, else the WMSZ code (1 left,
// 2 right, 3 top, 4 top-left, 5 top-right, 6 bottom, 7 bottom-left,
// 8 bottom-right).
int resizeZone(int x, int y, int width, int height);
// The system cursor id for an edge code (0 for 0).
int resizeCursor(int edge);

// --- control ids and positions ----------------------------------------------

// Smallest n >= 1 for which taken(n) is false.
int smallestFreeId(const std::function<bool(int)>& taken);
// A focused, hovered or pressed position after the control at `removed`
// left the list: equal -> 0, above -> one lower, below -> unchanged.
constexpr int positionAfterRemoval(int position, int removed) {
  if (position == removed) return 0;
  return position > removed ? position - 1 : position;
}
// Next Tab stop after `current` among positions 1..count, wrapping; tries
// each position once and returns 0 when none qualifies.
int nextTabStop(int current, int count, const std::function<bool(int)>& qualifies);

}  // namespace zelvo::toolkit
