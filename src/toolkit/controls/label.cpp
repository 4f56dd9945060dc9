#include "toolkit/controls/label.h"

#include "toolkit/controls/control_paint.h"
#include "toolkit/core/drawing.h"
#include "toolkit/core/toolkit.h"

namespace zelvo::toolkit {
namespace {
Argb orTransparent(Argb colour) { return colour == Label::kNoColour ? 0 : colour; }
}  // namespace

Label::~Label() = default;

int Label::create(HWND hostWindow, const std::string& text, int x, int y, int width, int height,
                  const LabelOptions& options) {
  text_ = text;
  textColour_ = options.textColour.value_or(argb(230, 0, 0, 0));
  gradientMode_ = options.gradientMode.value_or(-1);
  gradientColour1_ = options.gradientColour1.value_or(kNoColour);
  gradientColour2_ = options.gradientColour2.value_or(kNoColour);
  alignment_ = options.alignment.value_or(3);
  formatFlags_ = options.formatFlags.value_or(4096);
  trimming_ = options.trimming.value_or(0);
  hotkeyPrefix_ = options.hotkeyPrefix.value_or(0);
  textEffect_ = options.textEffect.value_or(0);
  border_ = options.border.value_or(0);
  if (options.fontName || options.fontSize || options.fontStyle) {
    const std::string family =
        options.fontName.value_or(globals().defaultFont ? fontFamilyName(globals().defaultFont.get()) : "宋体");
    ownFont_ = makeFont(family, options.fontSize.value_or(12.0f), options.fontStyle.value_or(0));
  }
  const int visible = options.visible.value_or(1);
  Control::create(hostWindow, makeRectF(float(x), float(y), float(width), float(height)), kKindLabel, visible, 0);
  if (visible && isCreated()) redraw();
  return controlId();
}

GpFont* Label::font() const { return ownFont_ ? ownFont_.get() : globals().defaultFont.get(); }

std::string Label::text(std::optional<std::string> newText) {
  if (newText) {
    text_ = std::move(*newText);
    redraw();
  }
  return text_;
}

void Label::setTextColour(Argb colour) {
  textColour_ = colour;
  redraw();
}

int Label::automaticContrast(std::optional<int> on) {
  if (on) automaticContrast_ = *on;
  return automaticContrast_;
}

Argb Label::gradientColour1(std::optional<Argb> colour) {
  if (colour) {
    gradientColour1_ = *colour;
    redraw();
  }
  return gradientColour1_;
}

Argb Label::gradientColour2(std::optional<Argb> colour) {
  if (colour) {
    gradientColour2_ = *colour;
    redraw();
  }
  return gradientColour2_;
}

int Label::gradientMode(std::optional<int> mode) {
  if (mode) {
    gradientMode_ = *mode;
    redraw();
  }
  return gradientMode_;
}

void Label::paint(int windowNumber, int position, int direct) {
  const RectF rect = bounds();
  beginControlPaint(windowNumber, position, rect, 0, direct);
  GpGraphics* graphics = canvasGraphics(windowNumber);
  if (border_ != 0) drawBorder(graphics, rect, border_);
  if (gradientMode_ != -1)
    fillGradient(graphics, rect, orTransparent(gradientColour1_), orTransparent(gradientColour2_), gradientMode_);
  if (!text_.empty()) {
    const RectF inner = makeRectF(rect.x + 2, rect.y + 2, rect.width - 4, rect.height - 4);
    if (automaticContrast_) {
      const int alpha = static_cast<int>(textColour_ >> 24);
      textColour_ = isDarkBackground(windowNumber, inner) ? argb(alpha, 255, 255, 255) : argb(alpha, 0, 0, 0);
    }
    drawControlText(inner, graphics, text_, font(), textColour_, alignment_, trimming_, hotkeyPrefix_, formatFlags_,
                    textEffect_);
  }
  endControlPaint(windowNumber, position, rect, 0, direct, direct == 1 ? 1 : 0, 0);
}

int Label::handleMessage(Control*, HWND, UINT message, WPARAM, LPARAM, int windowNumber, int position, int direct) {
  if (message == kMsgDestroy) {
    ownFont_.reset();  // the shared default font stays for the other controls
  } else if (message == kMsgPaint) {
    paint(windowNumber, position, direct);
  }
  return 0;
}

}  // namespace zelvo::toolkit
