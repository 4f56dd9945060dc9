// HostWindow: attaching and detaching, caption buttons, properties and the
// callback setters. Painting is in host_paint.cpp, input in host_input.cpp.
#include "toolkit/core/host_window.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "toolkit/controls/caption_button.h"
#include "toolkit/controls/picture_box.h"

namespace zelvo::toolkit {

namespace {
constexpr wchar_t kHostProperty[] = L"addr_wnd";
}

HostWindow::HostWindow() = default;

HostWindow::~HostWindow() {
  if (attached()) detach();
}

WindowRecord* HostWindow::windowRecord() const { return toolkit::windowRecord(windowNumber_); }

int HostWindow::margin() const { return frameMargin(hwnd_ && IsZoomed(hwnd_)); }

HWND HostWindow::attach(HWND hwnd, const AttachOptions& options) {
  if (!hwnd || !IsWindow(hwnd) || attached()) return nullptr;
  if (options.skinBytes) skin_.loadFromBytes(*options.skinBytes);
  const int alpha = options.alpha.value_or(-1);
  const int stretch = options.stretch.value_or(0);
  const int fade = options.fade.value_or(1);
  const int corner = options.corner.value_or(5);
  const int blendEdges = options.blendEdges.value_or(1);
  const int dragFlags = options.dragFlags.value_or(0);
  const int fixedSize = options.fixedSize.value_or(0);

  ColorRef colour = 0;
  if (options.colour) {
    colour = *options.colour;
  } else {
    colour = argbToColorref(skin_.pixel(static_cast<int>(skin_.width() * 0.85), static_cast<int>(skin_.height() * 0.85)))
                 .colour;
  }

  LONG_PTR windowStyle = GetWindowLongPtrW(hwnd, GWL_STYLE);
  const bool styleGiven = options.style.has_value();
  const int requested = options.style.value_or(0);
  if (!(styleGiven && requested == 0)) windowStyle |= WS_SYSMENU;
  const int style = effectiveStyle(styleGiven, requested, windowStyle & WS_MAXIMIZEBOX, windowStyle & WS_MINIMIZEBOX);
  if (fixedSize) windowStyle &= ~static_cast<LONG_PTR>(WS_THICKFRAME);
  else windowStyle |= WS_THICKFRAME;
  SetWindowLongPtrW(hwnd, GWL_STYLE, windowStyle);

  style_ = style;
  backgroundColour_ = colour;
  fixedSize_ = fixedSize;
  dragFlags_ = dragFlags;
  blendEdges_ = blendEdges;
  corner_ = corner;
  if (corner == 1 && options.nineGridCentre) nineGridCentre_ = *options.nineGridCentre;

  initSurfaces(hwnd, stretch, fade, alpha);

  tooltipWindow_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return tooltipWindow_;
}

void HostWindow::initSurfaces(HWND hwnd, int stretch, int fade, int alpha) {
  WindowTable& table = windowTable();
  table.push_back(std::make_unique<WindowRecord>());
  windowNumber_ = static_cast<int>(table.size());
  hwnd_ = hwnd;
  WindowRecord& record = *table.back();
  record.hwnd = hwnd;
  record.stretchSkin = stretch;
  record.fadeSetting = fade;
  record.alpha = alpha;
  const WNDPROC proc = bindWindow(hwnd);
  GetWindowRect(hwnd, &record.windowRect);
  clientWidth_ = record.windowRect.right - record.windowRect.left;
  clientHeight_ = record.windowRect.bottom - record.windowRect.top;

  record.windowDc = GetDC(hwnd);
  record.canvas.make(record.windowDc, GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK));
  record.background.make(record.windowDc, clientWidth_, clientHeight_);
  if (alpha != -1) {
    record.layer.make(record.windowDc, clientWidth_, clientHeight_);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  }

  previousProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));

  const int m = margin();
  for (const CaptionButtonPlace& place : captionButtonPlaces(style_, clientWidth_, m)) {
    auto button = std::make_unique<CaptionButton>();
    button->create(hwnd, place.x, place.y, place.width, place.height, place.flag);
    captionButtons_.push_back(std::move(button));
  }
  if (style_ & kStyleIcon) {
    iconControl_ = std::make_unique<PictureBox>();
    iconControl_->create(hwnd, m + 6, m + 6, 16, 16, {}, false, false);
  }
  systemMenu_ = GetSystemMenu(hwnd, FALSE);
  setBackground();
}

WNDPROC HostWindow::bindWindow(HWND hwnd) {
  SetPropW(hwnd, kHostProperty, this);
  if (WindowRecord* record = windowRecord()) record->host = this;
  return &HostWindow::windowProc;
}

void HostWindow::detach() {
  if (hwnd_) onDestroy(hwnd_);
}

void HostWindow::onDestroy(HWND hwnd) {
  if (!previousProc_) return;
  // Nothing may paint while the controls leave and the surfaces go.
  fullRepaint_ = 1;
  KillTimer(hwnd, kFadeInTimer);
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
  keyboardFocus_ = 0;
  RemovePropW(hwnd, kHostProperty);
  accessKeys_.clear();

  hoveredPosition_ = focusedPosition_ = 0;
  if (pressedFlag_) {
    pressedFlag_ = pressedPosition_ = 0;
    ReleaseCapture();
  }

  if (WindowRecord* record = windowRecord()) {
    while (!record->controls.empty()) {
      const int id = record->controls.back().id;
      if (!removeControl(windowNumber_, id)) record->controls.pop_back();
      record = windowRecord();
      if (!record) break;
    }
  }

  WindowTable& table = windowTable();
  if (WindowRecord* record = windowRecord(); record && record->hwnd == hwnd) {
    record->background.release();
    record->canvas.release();
    record->layer.release();
    if (record->windowDc) ReleaseDC(hwnd, record->windowDc);
    table.erase(table.begin() + (windowNumber_ - 1));
    for (int n = static_cast<int>(table.size()); n >= 1; --n) {
      WindowRecord& later = *table[n - 1];
      for (ControlRecord& control : later.controls)
        if (control.object) control.object->setIdentity(n, control.id);
      if (later.host) later.host->setWindowNumber(n);
    }
  }
  if (tooltipWindow_) DestroyWindow(tooltipWindow_);
  tooltipWindow_ = nullptr;
  skin_.clear();
  captionButtons_.clear();
  iconControl_.reset();

  previousProc_ = nullptr;
  windowNumber_ = 0;
  hwnd_ = nullptr;
  fullRepaint_ = 0;
  fadeProgress_ = 0;
}

void HostWindow::controlRemoved(int position, int controlId) {
  if (pressedFlag_) {
    pressedFlag_ = 0;
    pressedPosition_ = 0;
    ReleaseCapture();
  }
  focusedPosition_ = positionAfterRemoval(focusedPosition_, position);
  hoveredPosition_ = positionAfterRemoval(hoveredPosition_, position);
  pressedPosition_ = positionAfterRemoval(pressedPosition_, position);
  if (tooltipWindow_ && hwnd_) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = hwnd_;
    info.uId = static_cast<UINT_PTR>(controlId);
    SendMessageW(tooltipWindow_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  if (ControlRecord* record = controlRecord(windowNumber_, position); record && record->object)
    record->object->forgetTooltip();
}

void HostWindow::controlMoved(int from, int to) {
  auto follow = [from, to](int p) {
    if (p == 0) return 0;
    if (p == from) return to;
    if (from < to && p > from && p <= to) return p - 1;
    if (to < from && p >= to && p < from) return p + 1;
    return p;
  };
  focusedPosition_ = follow(focusedPosition_);
  hoveredPosition_ = follow(hoveredPosition_);
  pressedPosition_ = follow(pressedPosition_);
}

void HostWindow::layoutCaptionButtons(int m) {
  if (style_ == 0) return;
  int x = clientWidth_ - m - 3 - ((style_ & kStyleClose) ? 11 : 0);
  for (const auto& button : captionButtons_) {
    x -= 28;
    button->setBounds(static_cast<float>(x), static_cast<float>(m + 1), std::nullopt, std::nullopt, false);
  }
}

GpImage* HostWindow::skinImageHandle(std::optional<GpImage*> image) {
  if (image) skin_.setImageHandle(*image);
  return skin_.imageHandle();
}

int HostWindow::opacity(std::optional<int> alpha) {
  WindowRecord* record = windowRecord();
  if (!record) return -1;
  if (alpha && record->alpha != -1) {
    record->alpha = *alpha;
    setBackground();
  }
  return record->alpha;
}

int HostWindow::stretchSkin(std::optional<int> value) {
  WindowRecord* record = windowRecord();
  if (!record) return 0;
  if (value && *value != record->stretchSkin) {
    record->stretchSkin = *value;
    setBackground();
  }
  return record->stretchSkin;
}

int HostWindow::cornerSize(std::optional<int> value, bool rerender) {
  if (value) {
    corner_ = *value;
    if (rerender) setBackground();
  }
  return corner_;
}

int HostWindow::configureCaptionButton(int flag, int what, const std::variant<int, std::string, RectF>& value) {
  auto it = std::find_if(captionButtons_.begin(), captionButtons_.end(),
                         [flag](const auto& button) { return button->buttonKind() == flag; });
  if (it == captionButtons_.end()) return 0;
  CaptionButton& button = **it;
  if (what == 1 && std::holds_alternative<int>(value)) {
    button.disabled(std::get<int>(value) != 0 ? 1 : 0);
  } else if (what == 2 && std::holds_alternative<std::string>(value)) {
    button.tooltip(std::get<std::string>(value));
  } else if (what == 3 && std::holds_alternative<RectF>(value)) {
    const RectF& r = std::get<RectF>(value);
    button.setBounds(static_cast<float>(static_cast<int>(r.x)), static_cast<float>(static_cast<int>(r.y)),
                     static_cast<float>(static_cast<int>(r.width)), static_cast<float>(static_cast<int>(r.height)), true);
  }
  return 0;
}

int HostWindow::captionButtonFlag(int controlId) const {
  for (const auto& button : captionButtons_)
    if (button->isCreated() && button->controlId() == controlId) return button->buttonKind();
  return 0;
}

int HostWindow::fixedSize(std::optional<int> value) {
  if (value) {
    fixedSize_ = *value & 1;
    if (hwnd_) {
      LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
      style = fixedSize_ ? (style & ~static_cast<LONG_PTR>(WS_THICKFRAME)) : (style | WS_THICKFRAME);
      SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    }
  }
  return fixedSize_;
}

int HostWindow::backgroundDrag(std::optional<int> value) {
  if (value) dragFlags_ = (*value & 1) ? (dragFlags_ & ~1) : (dragFlags_ | 1);
  return (dragFlags_ & 1) ? 0 : 1;
}

void HostWindow::setCloseAnimation(int kind) { closeAnimation_ = kind; }

void HostWindow::animateShow(int) {
  // The show animations build on the full render; until they exist the
  // window simply appears.
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}

int HostWindow::fadeSetting(std::optional<int> value) {
  WindowRecord* record = windowRecord();
  if (!record) return 0;
  if (value) record->fadeSetting = *value;
  return record->fadeSetting;
}

void HostWindow::setMessageHook(MessageHook hook) { callbacks_.messageHook = std::move(hook); }
void HostWindow::setBackgroundPaintHandler(BackgroundCallback h) { callbacks_.backgroundPaint = std::move(h); }
void HostWindow::setBackgroundRepaintedHandler(BackgroundCallback h) { callbacks_.backgroundRepainted = std::move(h); }
void HostWindow::setSizeHandler(SizeCallback h) { callbacks_.sizeChanged = std::move(h); }
void HostWindow::setMouseLeaveHandler(ControlCallback h) { callbacks_.mouseLeave = std::move(h); }
void HostWindow::setMouseEnterHandler(ControlCallback h) { callbacks_.mouseEnter = std::move(h); }
void HostWindow::setMouseDownHandler(ControlCallback h) { callbacks_.mouseDown = std::move(h); }
void HostWindow::setMouseUpHandler(ControlCallback h) { callbacks_.mouseUp = std::move(h); }
void HostWindow::setClickHandler(ControlCallback h) { callbacks_.click = std::move(h); }
void HostWindow::setDoubleClickHandler(ControlCallback h) { callbacks_.doubleClick = std::move(h); }
void HostWindow::setRightDownHandler(ControlCallback h) { callbacks_.rightDown = std::move(h); }
void HostWindow::setRightUpHandler(ControlCallback h) { callbacks_.rightUp = std::move(h); }
void HostWindow::setKeyDownHook(KeyHook h) { callbacks_.keyDown = std::move(h); }
void HostWindow::setKeyUpHook(KeyHook h) { callbacks_.keyUp = std::move(h); }
void HostWindow::setCharHook(KeyHook h) { callbacks_.character = std::move(h); }
void HostWindow::setFocusGainedHandler(ControlCallback h) { callbacks_.focusGained = std::move(h); }
void HostWindow::setFocusLostHandler(ControlCallback h) { callbacks_.focusLost = std::move(h); }

}  // namespace zelvo::toolkit
