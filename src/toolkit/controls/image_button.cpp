#include "toolkit/controls/image_button.h"

#include "toolkit/controls/control_paint.h"
#include "toolkit/core/host_window.h"

namespace zelvo::toolkit {

ImageButton::~ImageButton() = default;

int ImageButton::create(HWND hostWindow, int x, int y, int width, int height, std::string_view normal,
                        std::optional<std::string_view> hover, std::optional<std::string_view> pressed,
                        std::optional<int> stretch, std::optional<int> visible) {
  normal_.loadFromBytes(normal);
  hover_.loadFromBytes(hover.value_or(normal));
  pressed_.loadFromBytes(pressed.value_or(normal));
  stretch_ = stretch.value_or(0);
  // Focusable: a press captures the mouse instead of moving the window.
  Control::create(hostWindow, makeRectF(float(x), float(y), float(width), float(height)), kKindImageButton,
                  visible.value_or(1), 1);
  if (visible.value_or(1) && isCreated()) redraw();
  return controlId();
}

void ImageButton::setImages(std::optional<std::string_view> normal, std::optional<std::string_view> hover,
                            std::optional<std::string_view> pressed) {
  if (normal) normal_.loadFromBytes(*normal);
  if (hover) hover_.loadFromBytes(*hover);
  if (pressed) pressed_.loadFromBytes(*pressed);
  redraw();
}

void ImageButton::paint(UINT message, int windowNumber, int position, int direct) {
  const RectF rect = bounds();
  beginControlPaint(windowNumber, position, rect, fadeAlpha_, direct);
  const ImageObject* picture = &normal_;
  int fadeStart = 102;
  if (message == WM_MOUSEMOVE) {
    picture = &hover_;
  } else if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
    picture = &pressed_;
    fadeStart = 153;
  }
  fadeAlpha_ = fadeStart;
  if (GpImage* image = picture->imageHandle()) {
    GpGraphics* graphics = canvasGraphics(windowNumber);
    if (stretch_ == 0)
      drawImageAt(graphics, image, rect.x, rect.y, std::nullopt, std::nullopt, false);
    else
      drawImageStretched(graphics, image, rect, {}, false);
  }
  endControlPaint(windowNumber, position, rect, 0, direct, 0, 0);
}

int ImageButton::handleMessage(Control*, HWND hwnd, UINT message, WPARAM wParam, LPARAM, int windowNumber,
                               int position, int direct) {
  switch (message) {
    case kMsgDestroy:
      normal_.clear();
      hover_.clear();
      pressed_.clear();
      return 0;
    case kMsgTimer:
      fadeInStep(hwnd, wParam, windowNumber, bounds(), fadeAlpha_);
      return 0;
    case kMsgPaint:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      break;
    default:
      return 0;  // the click message among them: the host reports clicks
  }
  if (message != kMsgPaint) {
    // A run of mouse moves repaints once; a disabled button keeps its look.
    if ((disabled() && direct == 1) || static_cast<int>(message) == lastMessage_) return 0;
    // The pressed picture stays while the mouse is dragged off the button.
    if (message == WM_MOUSEMOVE && holdsMouseCapture(windowNumber, position)) return 0;
  }
  paint(message, windowNumber, position, direct);
  lastMessage_ = static_cast<int>(message);
  return 0;
}

}  // namespace zelvo::toolkit
