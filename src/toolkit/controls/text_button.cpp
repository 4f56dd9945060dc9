#include "toolkit/controls/text_button.h"

#include "toolkit/controls/control_paint.h"
#include "toolkit/core/drawing.h"
#include "toolkit/core/host_window.h"
#include "toolkit/core/toolkit.h"

namespace zelvo::toolkit {

namespace {

constexpr Argb kWhite170 = argb(170, 255, 255, 255);
constexpr int kHoverFadeStart = 153;
constexpr int kFadeStart = 204;

// Per state: face fill, gradient top, gradient bottom, outer border, inner border.
constexpr TextButtonColours kFaces[] = {
    {argb(60, 96, 96, 96), argb(0, 0, 0, 0), argb(0, 0, 0, 0), argb(50, 0, 0, 0), argb(40, 255, 255, 255)},
    {kWhite170, argb(180, 255, 255, 255), argb(60, 0, 0, 0), argb(80, 0, 0, 0), argb(60, 255, 255, 255)},
    {kWhite170, argb(180, 255, 255, 255), argb(110, 0, 136, 255), argb(110, 0, 96, 192), argb(30, 255, 255, 255)},
    {kWhite170, argb(60, 0, 0, 0), argb(0, 255, 255, 255), argb(80, 0, 0, 0), argb(60, 255, 255, 255)},
    {kWhite170, argb(180, 255, 255, 255), argb(90, 0, 136, 255), argb(110, 0, 96, 192), argb(60, 255, 255, 255)},
};

bool isMouseMessage(UINT message) {
  return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
}

}  // namespace

const TextButtonColours& textButtonColours(TextButtonFace face) { return kFaces[static_cast<int>(face)]; }

int accessKeyOf(const std::string& caption) {
  const std::wstring wide = toWide(caption);
  for (size_t i = 0; i + 1 < wide.size(); ++i) {
    if (wide[i] != L'&') continue;
    // "&&" is how a caption shows a plain ampersand; registering "&" itself
    // would make Alt with an arrow key (the same code) click the button.
    if (wide[i + 1] == L'&') {
      ++i;
      continue;
    }
    return static_cast<int>(wide[i + 1]);
  }
  return 0;
}

TextButton::~TextButton() = default;

int TextButton::create(HWND hostWindow, const std::string& caption, int x, int y, int width, int height,
                       const TextButtonOptions& options) {
  caption_ = caption;
  textColour_ = options.textColour.value_or(argb(210, 0, 0, 0));
  textEffect_ = options.textEffect.value_or(0);
  if (options.fontName || options.fontSize || options.fontStyle) {
    const std::string family =
        options.fontName.value_or(globals().defaultFont ? fontFamilyName(globals().defaultFont.get()) : "宋体");
    ownFont_ = makeFont(family, options.fontSize.value_or(12.0f), options.fontStyle.value_or(0));
  }
  if (options.rounded) {
    rounded_ = *options.rounded != 0 ? 1 : 0;
  } else {
    const WindowRecord* window = toolkit::windowRecord(windowNumberOf(hostWindow));
    rounded_ = (window && window->host && window->host->corner() == 0) ? 0 : 1;
  }
  const int visible = options.visible.value_or(1);
  Control::create(hostWindow, makeRectF(float(x), float(y), float(width), float(height)), kKindTextButton, visible, 1);
  registerAccessKey(false);
  if (visible && isCreated()) redraw();
  return controlId();
}

std::string TextButton::text(std::optional<std::string> caption) {
  if (caption) {
    caption_ = std::move(*caption);
    // A new caption without "&" must not leave the old letter clicking it.
    registerAccessKey(true);
    redraw();
  }
  return caption_;
}

void TextButton::registerAccessKey(bool clearWhenNone) {
  const HWND hwnd = hostWindowHandle();
  if (!hwnd || controlId() == 0) return;
  const int key = accessKeyOf(caption_);
  if (key == 0 && !clearWhenNone) return;
  SendMessageW(hwnd, kMsgSetAccessKey, static_cast<WPARAM>(controlId()), static_cast<LPARAM>(key));
}

GpFont* TextButton::font() const { return ownFont_ ? ownFont_.get() : globals().defaultFont.get(); }

void TextButton::paint(TextButtonFace face, int windowNumber, int position, int direct) {
  const RectF rect = bounds();
  face_ = face;
  const TextButtonColours& colours = textButtonColours(face);
  beginControlPaint(windowNumber, position, rect, fadeAlpha_, direct);
  if (GpGraphics* graphics = canvasGraphics(windowNumber)) {
    const RectF inner = makeRectF(rect.x + 1, rect.y + 1, rect.width - 2, rect.height - 2);
    RectF caption = inner;
    if (face == TextButtonFace::kPressed) {
      caption.x += 1;
      caption.y += 1;
    }
    if (rounded_) {
      PathPtr clip = roundedClipPath(inner, 3);
      setClipPath(graphics, clip.get());
    }
    fillRectangle(graphics, rect, colours.faceFill);
    fillGradient(graphics, rect, colours.gradientTop, colours.gradientBottom, 1);
    if (rounded_) {
      // Back to the button's own rectangle: the borders lie outside the
      // inner clip, and the controls above still paint through endControlPaint.
      setClipRect(graphics, rect);
      roundRect(graphics, rect, 7, std::nullopt, colours.outerBorder);
      roundRect(graphics, inner, 6, std::nullopt, colours.innerBorder);
    } else {
      drawBorder(graphics, rect, colours.outerBorder);
      drawBorder(graphics, inner, colours.innerBorder);
    }
    const Argb colour = face == TextButtonFace::kDisabled ? argb(90, 0, 0, 0) : textColour_;
    drawControlText(caption, graphics, caption_, font(), colour, 4, 3, 1, 4096, textEffect_);
  }
  endControlPaint(windowNumber, position, rect, fadeAlpha_, direct, 0, 0);
}

int TextButton::handleMessage(Control*, HWND hwnd, UINT message, WPARAM wParam, LPARAM, int windowNumber,
                              int position, int direct) {
  switch (message) {
    case kMsgDestroy:
      ownFont_.reset();  // the shared default font stays for the other controls
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
  if (isMouseMessage(message)) {
    if ((disabled() && direct == 1) || static_cast<int>(message) == lastMessage_) return 0;
    // While held, the button stays pressed even when dragged off it.
    if (message == WM_MOUSEMOVE && holdsMouseCapture(windowNumber, position)) return 0;
  }
  TextButtonFace face = TextButtonFace::kNormal;
  fadeAlpha_ = kFadeStart;
  if (disabled()) {
    face = TextButtonFace::kDisabled;
  } else if (message == kMsgPaint) {
    const WindowRecord* window = toolkit::windowRecord(windowNumber);
    const bool focused = window && window->host && window->host->focusedPosition() == position;
    face = focused ? TextButtonFace::kFocused : TextButtonFace::kNormal;
  } else if (message == WM_MOUSEMOVE) {
    face = TextButtonFace::kHover;
    fadeAlpha_ = kHoverFadeStart;
  } else {
    face = TextButtonFace::kPressed;
  }
  paint(face, windowNumber, position, direct);
  lastMessage_ = static_cast<int>(message);
  return 0;
}

}  // namespace zelvo::toolkit
