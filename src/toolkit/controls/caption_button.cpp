#include "toolkit/controls/caption_button.h"

#include "toolkit/controls/control_paint.h"
#include "toolkit/core/host_window.h"
#include "toolkit/core/toolkit.h"

namespace zelvo::toolkit {

RectF captionSpriteSource(int kind, bool maximized, int variant) {
  struct Strip {
    int width, normalX;
  };
  Strip strip{0, 0};
  switch (kind) {
    case 4: strip = {39, 0}; break;
    case 8: strip = maximized ? Strip{28, 207} : Strip{28, 120}; break;
    case 16: strip = {28, 294}; break;
    case 32: strip = {28, 381}; break;
    case 64: strip = {28, 468}; break;
    case 128: strip = {28, 555}; break;
    case 256: strip = {28, 642}; break;
    default: return {};
  }
  // Pictures sit side by side with a one-pixel gap: close every 40, the
  // others every 29 pixels.
  const int x = strip.normalX + variant * (strip.width + 1);
  return makeRectF(static_cast<float>(x), 2, static_cast<float>(strip.width), 19);
}

CaptionButton::~CaptionButton() = default;

int CaptionButton::create(HWND hostWindow, int x, int y, int width, int height, int buttonKind,
                          std::optional<int> visible) {
  buttonKind_ = buttonKind;
  Control::create(hostWindow, makeRectF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                        static_cast<float>(height)),
                  kKindCaptionButton, visible.value_or(1), 1);
  if (visible.value_or(1) && isCreated()) redraw();
  return controlId();
}

void CaptionButton::drawPicture(int windowNumber, int position, int direct, int variant, int fadeStart) {
  const ControlRecord* entry = controlRecord(windowNumber, position);
  if (!entry) return;
  const RectF rect = entry->rect;
  beginControlPaint(windowNumber, position, rect, fadeAlpha_, direct);
  const RectF source = captionSpriteSource(buttonKind_, IsZoomed(entry->hostWindow) != 0, variant);
  drawImageStretched(canvasGraphics(windowNumber), globals().captionSprite.imageHandle(), rect, source, true);
  fadeAlpha_ = fadeStart;
  endControlPaint(windowNumber, position, rect, 0, direct, 0, 0);
}

int CaptionButton::handleMessage(Control*, HWND hwnd, UINT message, WPARAM, LPARAM, int windowNumber, int position,
                                 int direct) {
  switch (message) {
    case kMsgPaint:
      drawPicture(windowNumber, position, direct, 0, 102);
      lastMessage_ = static_cast<int>(message);
      return 0;
    case WM_TIMER:
      fadeInStep(hwnd, controlTimerId(windowNumber, position), windowNumber, bounds(), fadeAlpha_);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
      if (disabled()) return 0;
      if (!holdsMouseCapture(windowNumber, position) && static_cast<int>(message) != lastMessage_) drawPicture(windowNumber, position, direct, 1, 102);
      lastMessage_ = static_cast<int>(message);
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (disabled()) return 0;
      if (static_cast<int>(message) != lastMessage_) drawPicture(windowNumber, position, direct, 2, 153);
      lastMessage_ = static_cast<int>(message);
      return 0;
    case kMsgClick:
      if (disabled()) return 0;
      if (buttonKind_ == 4) PostMessageW(hwnd, WM_CLOSE, 0, 0);
      else if (buttonKind_ == 8) PostMessageW(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
      else if (buttonKind_ == 16 && !IsIconic(hwnd)) PostMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      return 0;
    default:
      lastMessage_ = static_cast<int>(message);
      return 0;
  }
}

}  // namespace zelvo::toolkit
