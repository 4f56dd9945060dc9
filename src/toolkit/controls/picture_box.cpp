#include "toolkit/controls/picture_box.h"

#include "toolkit/controls/control_paint.h"
#include "toolkit/core/drawing.h"

namespace zelvo::toolkit {

PictureBox::~PictureBox() = default;

void PictureBox::readFrames(bool zeroDelayFix) {
  frameCount_ = image_.frameCount();
  frameDelays_.clear();
  image_.frameDelays(frameDelays_);
  if (zeroDelayFix)
    for (int& delay : frameDelays_)
      if (delay == 0) delay = 10;
}

int PictureBox::create(HWND hostWindow, int x, int y, int width, int height, std::string_view imageBytes,
                       std::optional<bool> animate, bool zeroDelayFix, std::optional<int> border,
                       std::optional<int> visible) {
  image_.loadFromBytes(imageBytes);
  animate_ = animate.value_or(false) ? 1 : 0;
  border_ = border.value_or(0);
  // Focusable, so that a left click on a host's caption icon is a click.
  Control::create(hostWindow, makeRectF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                        static_cast<float>(height)),
                  kKindPicture, visible.value_or(1), 1);
  readFrames(zeroDelayFix);
  if (visible.value_or(1) && isCreated()) redraw();
  return controlId();
}

int PictureBox::createFromIcon(HWND hostWindow, int x, int y, int width, int height, HICON icon,
                               std::optional<int> border, std::optional<int> visible) {
  image_.loadFromIcon(icon);
  animate_ = 0;
  border_ = border.value_or(0);
  Control::create(hostWindow, makeRectF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                        static_cast<float>(height)),
                  kKindPicture, visible.value_or(1), 1);
  readFrames(false);
  if (visible.value_or(1) && isCreated()) redraw();
  return controlId();
}

int PictureBox::animate(std::optional<bool> on, bool set) {
  if (set) {
    currentFrame_ = 0;
    animate_ = on.value_or(false) ? 1 : 0;
    if (!animate_) started_ = 0;
    redraw();
  }
  return animate_;
}

void PictureBox::setImage(std::string_view imageBytes, std::optional<bool> redrawNow) {
  image_.loadFromBytes(imageBytes);
  currentFrame_ = 0;
  readFrames(false);
  if (redrawNow.value_or(true)) redraw();
}

void PictureBox::drawFrame(int windowNumber, int position, const RectF& rect, int direct) {
  const ControlRecord* entry = controlRecord(windowNumber, position);
  if (!entry || !(entry->visible & 1)) return;
  if (currentFrame_ >= frameCount_) currentFrame_ = 0;
  beginControlPaint(windowNumber, position, rect, 0, direct);
  GpGraphics* graphics = canvasGraphics(windowNumber);
  if (image_.imageHandle()) {
    image_.selectFrame(currentFrame_);
    drawImageStretched(graphics, image_.imageHandle(), rect, {}, false);
  }
  if (border_ != 0) drawBorder(graphics, rect, static_cast<Argb>(border_));
  // A single frame is a still picture: nothing to schedule.
  if (frameCount_ > 1) {
    endControlPaint(windowNumber, position, rect, 0, direct, 0, 1);
    const HWND hwnd = entry->hostWindow;
    const UINT_PTR id = controlTimerId(windowNumber, position);
    KillTimer(hwnd, id);
    const int delay = currentFrame_ < static_cast<int>(frameDelays_.size()) ? frameDelays_[currentFrame_] : 10;
    startControlTimer(hwnd, id, static_cast<UINT>(delay > 0 ? delay : 0) * 10);
    if (direct) presentRect(windowNumber, rect, 255);
  } else {
    endControlPaint(windowNumber, position, rect, 0, direct, 1, 0);
  }
  ++currentFrame_;
}

int PictureBox::handleMessage(Control*, HWND hwnd, UINT message, WPARAM, LPARAM, int windowNumber, int position,
                              int direct) {
  switch (message) {
    case kMsgDestroy:
      if (animate_) {
        KillTimer(hwnd, controlTimerId(windowNumber, position));
        currentFrame_ = frameCount_ = animate_ = started_ = 0;
      }
      image_.clear();
      return 0;
    case WM_TIMER:
      if (animate_ && frameCount_ > 0) {
        if (const ControlRecord* entry = controlRecord(windowNumber, position))
          drawFrame(windowNumber, position, entry->rect, direct);
      } else {
        KillTimer(hwnd, controlTimerId(windowNumber, position));
      }
      return 0;
    case kMsgPaint: {
      const ControlRecord* entry = controlRecord(windowNumber, position);
      if (!entry) return 0;
      if (!animate_) {
        currentFrame_ = 0;
        drawFrame(windowNumber, position, entry->rect, direct);
      } else if (!started_) {
        drawFrame(windowNumber, position, entry->rect, direct);
        started_ = 1;
      }
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace zelvo::toolkit
