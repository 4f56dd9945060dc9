#include "toolkit/core/control.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "toolkit/core/host_window.h"
#include "toolkit/core/toolkit.h"

namespace zelvo::toolkit {

Control::~Control() {
  if (isCreated()) removeControl(windowNumber_, controlId_, /*notify=*/false);
}

ControlRecord* Control::record(int* position) const {
  const int p = isCreated() ? positionOfId(windowNumber_, controlId_) : 0;
  if (position) *position = p;
  return p > 0 ? controlRecord(windowNumber_, p) : nullptr;
}

HWND Control::hostWindowHandle() const {
  WindowRecord* window = toolkit::windowRecord(windowNumber_);
  return window ? window->hwnd : nullptr;
}

void Control::create(HWND hostWindow, const RectF& rect, int kind, std::optional<int> visible,
                     std::optional<int> focusable, std::optional<int> cursor) {
  if (controlId_ != 0) return;
  ControlRecord entry;
  entry.hostWindow = hostWindow;
  entry.rect = rect;
  entry.kind = kind;
  entry.visible = visible.value_or(0);
  entry.focusable = focusable.value_or(0);
  entry.object = this;
  bounds_ = rect;
  const int number = windowNumberOf(hostWindow);
  if (number > 0) {
    entry.id = smallestFreeId([number](int n) { return positionOfId(number, n) != 0; });
    windowTable()[number - 1]->controls.push_back(entry);
    windowNumber_ = number;
    controlId_ = entry.id;
  }
  active_ = 1;
  tooltipText_.clear();
  toolId_ = 0;
  cursor_ = cursor.value_or(32512);
}

int Control::disabled(std::optional<int> value) {
  if (value) {
    disabled_ = *value;
    redraw();
  }
  return disabled_;
}

int Control::left(std::optional<float> value) {
  if (value) setBounds(value, std::nullopt, std::nullopt, std::nullopt, true);
  return static_cast<int>(bounds_.x);
}

int Control::top(std::optional<float> value) {
  if (value) setBounds(std::nullopt, value, std::nullopt, std::nullopt, true);
  return static_cast<int>(bounds_.y);
}

int Control::width(std::optional<float> value) {
  if (value) setBounds(std::nullopt, std::nullopt, value, std::nullopt, true);
  return static_cast<int>(bounds_.width);
}

int Control::height(std::optional<float> value) {
  if (value) setBounds(std::nullopt, std::nullopt, std::nullopt, value, true);
  return static_cast<int>(bounds_.height);
}

int Control::visible(std::optional<int> value) {
  int position = 0;
  ControlRecord* entry = record(&position);
  if (!entry) return 0;
  if (!value) return entry->visible;
  if (!(*value & 1) && !(entry->visible & 1)) return 0;
  entry->visible = *value;
  const int number = windowNumber_;
  const HWND hwnd = entry->hostWindow;
  if (*value != 0) {
    deliverMessage(number, position, hwnd, kMsgShown, 0, 0, 1, true);
    deliverMessage(number, position, hwnd, kMsgPaint, 0, kPaintRepaint, 1);
  } else {
    deliverMessage(number, position, hwnd, kMsgHidden, 0, 0, 1, true);
    HostWindow::redrawRect(number, bounds_, true);
  }
  entry = record();
  return entry ? entry->visible : 0;
}

void Control::setBounds(std::optional<float> x, std::optional<float> y, std::optional<float> width,
                        std::optional<float> height, std::optional<bool> redraw) {
  const RectF oldArea = bounds_;
  int position = 0;
  ControlRecord* entry = record(&position);
  if (!entry) return;
  if (x) entry->rect.x = *x;
  if (y) entry->rect.y = *y;
  if (width) entry->rect.width = *width < 0 ? 0 : *width;
  if (height) entry->rect.height = *height < 0 ? 0 : *height;
  bounds_ = entry->rect;
  if (redraw && !*redraw) return;
  const int number = windowNumber_;
  if (entry->visible & 1) {
    const int shown = entry->visible;
    entry->visible &= ~1;
    HostWindow::redrawRect(number, oldArea, true);
    entry = record(&position);
    if (!entry) return;
    entry->visible = shown | 1;
    deliverMessage(number, position, entry->hostWindow, kMsgPaint, 0, kPaintRepaint, 1);
  } else {
    HostWindow::redrawRect(number, oldArea, true);
  }
}

void Control::redraw() {
  int position = 0;
  ControlRecord* entry = record(&position);
  if (!entry || !active_) return;
  deliverMessage(windowNumber_, position, entry->hostWindow, kMsgPaint, 0, kPaintRepaint, 1);
}

void Control::setZOrder(int where, bool redrawNow) {
  int position = 0;
  if (!record(&position)) return;
  WindowRecord* window = toolkit::windowRecord(windowNumber_);
  ControlRecord moved = window->controls[position - 1];
  window->controls.erase(window->controls.begin() + (position - 1));
  int to = 0;
  if (where == 1) {
    auto it = window->controls.begin();
    while (it != window->controls.end() && it->kind == kKindCaptionButton) ++it;
    to = static_cast<int>(it - window->controls.begin()) + 1;
    window->controls.insert(it, moved);
  } else {
    window->controls.push_back(moved);
    to = window->controlCount();
  }
  // Focus, hover and press follow the control, not the place it left.
  if (window->host) window->host->controlMoved(position, to);
  if (redrawNow) redraw();
}

std::string Control::tooltip(std::optional<std::string> text, bool showNow) {
  if (text) {
    tooltipText_ = *text;
    if (showNow) showTooltip(tooltipText_);
  }
  return tooltipText_;
}

bool Control::hasFocus() const {
  WindowRecord* window = toolkit::windowRecord(windowNumber_);
  if (!window || !window->host || !isCreated()) return false;
  const int focused = window->host->focusedPosition();
  const ControlRecord* entry = controlRecord(windowNumber_, focused);
  return focused > 0 && entry && entry->id == controlId_;
}

int Control::focusable(std::optional<int> value) {
  ControlRecord* entry = record();
  if (!entry) return 0;
  if (value) entry->focusable = *value;
  return entry->focusable;
}

int Control::destroy() {
  if (controlId_ == 0) return 1;
  bounds_ = {};
  return removeControl(windowNumber_, controlId_);
}

int Control::cursor(std::optional<int> value) {
  if (value) cursor_ = *value;
  return cursor_;
}

std::string Control::tag(std::optional<std::string> text) {
  if (text) tag_ = *text;
  return tag_;
}

std::int32_t Control::readAddress(const void* address) const {
  if (!address) return 0;
  std::int32_t value;
  std::memcpy(&value, address, sizeof value);
  return value;
}

int Control::active(std::optional<int> value) {
  if (value) active_ = *value;
  return active_;
}

Control::MethodEntry Control::methodAddress(int n) const {
  if (n == 1) return &Control::handleMessage;
  if (n == 0) return &Control::showTooltip;
  return std::monostate{};
}

void Control::bindEvent(UINT message, ControlEventHandler handler) {
  for (auto& [number, bound] : events_) {
    if (number == message) {
      bound = std::move(handler);
      return;
    }
  }
  events_.emplace_back(message, std::move(handler));
}

const ControlEventHandler* Control::eventHandler(UINT message) const {
  for (const auto& [number, bound] : events_)
    if (number == message) return bound ? &bound : nullptr;
  return nullptr;
}

void Control::showTooltip(const std::string& text) {
  WindowRecord* window = toolkit::windowRecord(windowNumber_);
  HWND tip = window && window->host ? window->host->tooltipWindow() : nullptr;
  if (!tip) return;
  SendMessageW(tip, TTM_POP, 0, 0);
  if (text.empty()) return;
  std::wstring wide = toWide(text);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = window->hwnd;
  if (toolId_ == 0) {
    const PixelRect r = truncate(bounds_);
    info.uId = static_cast<UINT_PTR>(controlId_);
    info.rect = {r.x, r.y, r.x + r.width, r.y + r.height};
    info.lpszText = wide.data();
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 500);
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 1024);
    toolId_ = controlId_;
  }
  info.uId = static_cast<UINT_PTR>(toolId_);
  info.lpszText = wide.data();
  SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace zelvo::toolkit
