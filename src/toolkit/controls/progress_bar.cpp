#include "toolkit/controls/progress_bar.h"

#include <algorithm>

#include "pictures.h"
#include "toolkit/controls/control_paint.h"
#include "toolkit/core/drawing.h"
#include "toolkit/core/host_window.h"

namespace zelvo::toolkit {
namespace {

float clampPercent(float value) {
  if (value > 100 + kRectTolerance) return 100;
  if (value < -kRectTolerance) return 0;
  return value;
}

}  // namespace

std::string_view builtInKnob() { return pictures::kKnob; }
std::string_view builtInHoverKnob() { return pictures::kKnobHover; }

ProgressBar::~ProgressBar() = default;

int ProgressBar::create(HWND hostWindow, int x, int y, int width, int height, const ProgressBarOptions& options) {
  trackHeight_ = options.trackHeight.value_or(10);
  value_ = clampPercent(options.value.value_or(0));
  secondaryValue_ = clampPercent(options.secondaryValue.value_or(0));
  playedColour1_ = options.playedColour1.value_or(argb(230, 0, 136, 255));
  playedColour2_ = options.playedColour2.value_or(argb(230, 0, 224, 128));
  secondaryColour_ = options.secondaryColour.value_or(argb(70, 255, 255, 255));
  trackColour_ = options.trackColour.value_or(0);
  borderColour_ = options.borderColour.value_or(argb(70, 0, 0, 0));
  thumb_ = options.thumb.value_or(0);
  thumbImage_.loadFromBytes(options.thumbImage.value_or(builtInKnob()));
  thumbHoverImage_.loadFromBytes(options.thumbHoverImage.value_or(builtInHoverKnob()));
  if (options.rounded) {
    rounded_ = *options.rounded;
  } else {
    const WindowRecord* window = windowRecord(windowNumberOf(hostWindow));
    rounded_ = window && window->host && window->host->corner() != 0 ? 1 : 0;
  }
  const int visible = options.visible.value_or(1);
  Control::create(hostWindow, makeRectF(float(x), float(y), float(width), float(std::max(height, kMinimumHeight))),
                  kKindProgressBar, visible, 1);  // a press captures: the drag
  if (visible && isCreated()) redraw();
  return controlId();
}

float ProgressBar::value(std::optional<float> newValue) {
  if (newValue && *newValue != value_) {
    value_ = clampPercent(*newValue);
    redraw();
  }
  return value_;
}

float ProgressBar::secondaryValue(std::optional<float> newValue) {
  if (newValue && *newValue != secondaryValue_) {
    secondaryValue_ = clampPercent(*newValue);
    redraw();
  }
  return secondaryValue_;
}

void ProgressBar::setChangeCallback(ChangeCallback callback) { changeCallback_ = std::move(callback); }

void ProgressBar::valueFromCursor(int windowNumber) {
  const WindowRecord* window = windowRecord(windowNumber);
  if (!window) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const RectF rect = bounds();
  const float x = static_cast<float>(cursor.x - window->windowRect.left) - rect.x;
  // A bar no wider than its two margins has no range: the left end.
  const float range = rect.width - 2 * kCursorMargin;
  value_ = range > 0 ? clampPercent((x - kCursorMargin) / range * 100) : 0;
}

RectF ProgressBar::trackRect() const {
  const RectF rect = bounds();
  const float thumbWidth = static_cast<float>(thumbImage_.width());
  RectF track = thumb_ ? makeRectF(rect.x + thumbWidth / 2, rect.y, rect.width - thumbWidth, rect.height)
                       : makeRectF(rect.x + 2, rect.y, rect.width - 4, rect.height);
  track.y += 2;
  track.height -= 4;
  if (track.height - static_cast<float>(trackHeight_) > kRectTolerance) {
    track.y += (track.height - static_cast<float>(trackHeight_)) / 2;
    track.height = static_cast<float>(trackHeight_);
  }
  return track;
}

RectF ProgressBar::thumbRect() const {
  const RectF rect = bounds();
  const RectF track = trackRect();
  const float width = static_cast<float>(thumbImage_.width()), height = static_cast<float>(thumbImage_.height());
  return makeRectF(track.x + track.width * value_ / 100 - width / 2, rect.y + (rect.height - height) / 2, width,
                   height);
}

void ProgressBar::paint(int windowNumber, int position, UINT, const RectF& rect, int direct) {
  beginControlPaint(windowNumber, position, rect, 0, direct);
  GpGraphics* graphics = canvasGraphics(windowNumber);
  const RectF track = trackRect();
  RectF inner = makeRectF(track.x + 1, track.y + 1, track.width - 2, track.height - 2);
  const Argb innerBorder = argb(90, 255, 255, 255);
  if (rounded_) {
    roundRect(graphics, track, 7, trackColour_, borderColour_);
    roundRect(graphics, inner, 6, std::nullopt, innerBorder);
  } else {
    fillRectangle(graphics, track, trackColour_);
    drawBorder(graphics, track, borderColour_);
    drawBorder(graphics, inner, innerBorder);
  }
  inner = makeRectF(inner.x + 1, inner.y + 1, inner.width - 2, inner.height - 2);
  const float full = static_cast<float>(static_cast<int>(inner.width));

  if (secondaryValue_ > kRectTolerance) {
    RectF loaded = inner;
    loaded.width = secondaryValue_ * full / 100;
    if (rounded_)
      roundRect(graphics, loaded, 5, secondaryColour_);
    else
      fillRectangle(graphics, loaded, secondaryColour_);
  }

  RectF played = inner;
  played.width = value_ * full / 100;
  if (played.width > kRectTolerance) {
    PathPtr clip;
    if (rounded_) {
      clip = roundedClipPath(played, 3);
      setClipPath(graphics, clip.get());
    } else {
      setClipRect(graphics, played);
    }
    // The gradient spans the whole track; the clip shows the played part.
    played = rounded_ ? makeRectF(track.x + 1, played.y, track.width - 2, played.height)
                      : makeRectF(track.x + 2, played.y, track.width - 4, played.height);
    fillGradient(graphics, played, playedColour1_, playedColour2_, 0);
    fillGradient(graphics, played, argb(0, 255, 255, 255), argb(60, 0, 0, 0), 1);
    resetClip(graphics);
  }

  if (thumb_) {
    const RectF knob = thumbRect();
    bool hot = holdsMouseCapture(windowNumber, position);
    if (!hot) {
      if (const WindowRecord* window = windowRecord(windowNumber)) {
        POINT cursor{};
        GetCursorPos(&cursor);
        hot = pointInRect(knob, static_cast<float>(cursor.x - window->windowRect.left),
                          static_cast<float>(cursor.y - window->windowRect.top));
      }
    }
    if (hot) SetCursor(LoadCursorW(nullptr, IDC_HAND));
    if (GpImage* image = (hot ? thumbHoverImage_ : thumbImage_).imageHandle())
      drawImageStretched(graphics, image, knob, {}, false);
  }
  endControlPaint(windowNumber, position, rect, 0, direct, 1, 0);
}

void ProgressBar::notifyChange() {
  if (changeCallback_) changeCallback_(static_cast<int>(value_), 0);
}

int ProgressBar::handleMessage(Control*, HWND hwnd, UINT message, WPARAM wParam, LPARAM, int windowNumber,
                               int position, int direct) {
  switch (message) {
    case kMsgDestroy:
      thumbImage_.clear();
      thumbHoverImage_.clear();
      return 0;
    case kMsgTimer:
      // The bar never starts a fade; a stray timer is simply stopped.
      KillTimer(hwnd, wParam);
      fadeAlpha_ = 0;
      return 0;
    case kMsgClick:
      // A bar without a thumb only shows values: clicks leave it alone.
      if (!thumb_) return 0;
      valueFromCursor(windowNumber);
      if (!disabled()) {
        paint(windowNumber, position, kMsgPaint, bounds(), direct);
        notifyChange();
      }
      return 0;
    case kMsgPaint:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      break;
    default:
      return 0;
  }
  if (message != kMsgPaint) {
    if (disabled() && direct == 1) return 0;
    if (!thumb_ && static_cast<int>(message) == lastMessage_) return 0;
    if (message == WM_MOUSEMOVE && holdsMouseCapture(windowNumber, position)) {
      // A drag: the value follows the cursor on every move.
      if (!thumb_) return 0;
      valueFromCursor(windowNumber);
      if (!disabled()) {
        paint(windowNumber, position, kMsgPaint, bounds(), direct);
        notifyChange();
      }
      return 0;
    }
  }
  paint(windowNumber, position, message, bounds(), direct);
  lastMessage_ = static_cast<int>(message);
  return 0;
}

}  // namespace zelvo::toolkit
