// The host's window procedure and input routing: the frameless window
// messages, mouse routing (hit test, capture, hover, click, dragging the
// window, edge resizing), keyboard routing to the focused control, Tab
// navigation, access keys, the wheel and control timers.
//
// Press state machine:
//   idle --left press on a focusable, enabled control--> pressed (captured)
//   pressed --left release--> idle; click (444660 + click callback) only
//                             when the release is over the pressed control
// A press on anything else (a non-focusable or disabled control, or the
// bare background) starts moving the window unless drag flags bit 0 is set.
#include <windowsx.h>

#include "toolkit/controls/caption_button.h"
#include "toolkit/controls/picture_box.h"
#include "toolkit/core/host_window.h"

namespace zelvo::toolkit {

namespace {

constexpr WPARAM kResentDoubleClick = 10086;
constexpr LPARAM kEditKey = 10086;
constexpr wchar_t kHostProperty[] = L"addr_wnd";

bool ctrlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

}  // namespace

LRESULT CALLBACK HostWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = static_cast<HostWindow*>(GetPropW(hwnd, kHostProperty));
  if (!host || !host->previousProc_) return DefWindowProcW(hwnd, message, wParam, lParam);
  return host->handle(hwnd, message, wParam, lParam);
}

LRESULT HostWindow::defaultProcessing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (callbacks_.messageHook) {
    const LRESULT r = callbacks_.messageHook(hwnd, message, wParam, lParam);
    if (r != -1) return r;
  }
  // WM_DESTROY has already put the previous procedure back.
  WNDPROC previous = previousProc_ ? previousProc_ : reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (previous == &HostWindow::windowProc) return DefWindowProcW(hwnd, message, wParam, lParam);
  return CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

LRESULT HostWindow::zeroAfterHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (callbacks_.messageHook) {
    const LRESULT r = callbacks_.messageHook(hwnd, message, wParam, lParam);
    if (r != -1) return r;
  }
  return 0;
}

void HostWindow::refreshWindowRect(HWND hwnd) {
  if (WindowRecord* record = windowRecord()) GetWindowRect(hwnd, &record->windowRect);
}

LRESULT HostWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY: {
      leaveTracking_ = 0;
      WNDPROC previous = previousProc_;
      onDestroy(hwnd);
      // The window's own procedure still hears of its end.
      if (callbacks_.messageHook) {
        const LRESULT r = callbacks_.messageHook(hwnd, message, wParam, lParam);
        if (r != -1) return r;
      }
      return CallWindowProcW(previous, hwnd, message, wParam, lParam);
    }
    case WM_MOVE:
    case WM_EXITSIZEMOVE:
      refreshWindowRect(hwnd);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_SIZE:
      refreshWindowRect(hwnd);
      onSize(hwnd, LOWORD(lParam), HIWORD(lParam));
      return zeroAfterHook(hwnd, message, wParam, lParam);
    case WM_ACTIVATE:
      if (focusedPosition_ > 0) {
        deliver(focusedPosition_, kMsgPaint, 0, wParam ? kPaintRepaint : kPaintFocusLost);
        callFor(wParam ? callbacks_.focusGained : callbacks_.focusLost, focusedPosition_);
      }
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_KILLFOCUS:
      if (focusedPosition_ > 0 && GetActiveWindow() == hwnd && !positionDisabled(focusedPosition_)) {
        const int old = focusedPosition_;
        focusedPosition_ = 0;
        deliver(old, kMsgPaint, 0, kPaintFocusLost);
      }
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_SETTEXT:
      if (lParam) drawTitle(fromWide(reinterpret_cast<const wchar_t*>(lParam)), true, true);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_PAINT:
      if (callbacks_.messageHook) {
        const LRESULT r = callbacks_.messageHook(hwnd, message, wParam, lParam);
        if (r != -1) return r;
      }
      onPaint(hwnd);
      return 0;
    case WM_CLOSE:
      // The close animations join here; the window then closes as usual.
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_GETMINMAXINFO:
      refreshWindowRect(hwnd);
      onMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return zeroAfterHook(hwnd, message, wParam, lParam);
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      // A window being minimised is parked off screen instead of at the
      // system's spot; a maximise carries the same flags but must not move.
      if (pos && (pos->flags & 0x8000) && !(pos->flags & SWP_NOMOVE) && (pos->flags & SWP_SHOWWINDOW) && IsIconic(hwnd)) {
        pos->x = GetSystemMetrics(SM_CXSCREEN) - pos->cx;
        pos->y = GetSystemMetrics(SM_CYSCREEN);
        return zeroAfterHook(hwnd, message, wParam, lParam);
      }
      return defaultProcessing(hwnd, message, wParam, lParam);
    }
    case WM_NCCALCSIZE:
      if (wParam == 1) return 1;  // no non-client area
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_NCACTIVATE:
      if (wParam == 0) return 1;
      if (IsIconic(hwnd)) return defaultProcessing(hwnd, message, wParam, lParam);
      return 0;
    case WM_KEYDOWN:
      onKeyDown(hwnd, wParam, lParam);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_KEYUP:
      onKeyUp(hwnd, wParam, lParam);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_CHAR:
      onChar(hwnd, wParam, lParam);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_SYSKEYDOWN:
      onSysKeyDown(hwnd, wParam, lParam);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_COMMAND:
      SendMessageW(hwnd, WM_SYSCOMMAND, wParam, 0);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_TIMER:
      onTimer(hwnd, wParam, lParam);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_MOUSEMOVE:
      if (!(leaveTracking_ & 1)) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        leaveTracking_ = TrackMouseEvent(&track) ? 1 : 0;
      }
      routeMouse(hwnd, message, wParam, lParam);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: {
      int hit = 0;
      routeMouse(hwnd, message, wParam, lParam, &hit);
      if (!attached()) return 0;
      if (hit == 0) {
        if (wParam == kResentDoubleClick && HIWORD(lParam) < 25 && (style_ & kStyleMaximize)) {
          SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
          PostMessageW(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
          SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
      } else if (wParam == kResentDoubleClick) {
        deliver(hit, WM_LBUTTONDBLCLK, wParam, lParam);
        callFor(callbacks_.doubleClick, hit);
      } else {
        callFor(callbacks_.mouseDown, hit);
      }
      return defaultProcessing(hwnd, message, wParam, lParam);
    }
    case WM_LBUTTONUP: {
      int hit = 0;
      routeMouse(hwnd, message, wParam, lParam, &hit);
      if (hit > 0) callFor(callbacks_.mouseUp, hit);
      return defaultProcessing(hwnd, message, wParam, lParam);
    }
    case WM_LBUTTONDBLCLK:
      SendMessageW(hwnd, WM_LBUTTONDOWN, kResentDoubleClick, lParam);
      return 0;
    case WM_RBUTTONDOWN: {
      int hit = 0;
      routeMouse(hwnd, message, wParam, lParam, &hit);
      if (hit > 0) {
        const ControlRecord* c = controlRecord(windowNumber_, hit);
        if (c && iconControl_ && c->object == iconControl_.get()) showSystemMenu(hwnd, lParam);
        callFor(callbacks_.rightDown, hit);
      }
      return defaultProcessing(hwnd, message, wParam, lParam);
    }
    case WM_RBUTTONUP: {
      int hit = 0;
      routeMouse(hwnd, message, wParam, lParam, &hit);
      if (hit > 0) callFor(callbacks_.rightUp, hit);
      return defaultProcessing(hwnd, message, wParam, lParam);
    }
    case WM_MOUSEWHEEL:
      onMouseWheel(hwnd, message, wParam, lParam);
      return defaultProcessing(hwnd, message, wParam, lParam);
    case WM_MOUSELEAVE:
      leaveTracking_ = 0;
      if (hoveredPosition_ > 0) {
        deliver(hoveredPosition_, kMsgPaint, 0, kPaintHoverEnded);
        hoveredPosition_ = 0;
      }
      ReleaseCapture();
      return defaultProcessing(hwnd, message, wParam, lParam);
    case kMsgSetAccessKey:
      return setAccessKey(static_cast<int>(wParam), static_cast<int>(lParam));
    case kMsgSkinImage:
      return reinterpret_cast<LRESULT>(skin_.imageHandle());
    case kMsgBackgroundColour:
      return static_cast<LRESULT>(backgroundColour_);
    default:
      return defaultProcessing(hwnd, message, wParam, lParam);
  }
}

void HostWindow::onMinMaxInfo(MINMAXINFO* info) {
  if (!info) return;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int workWidth = work.right - work.left + 1, workHeight = work.bottom - work.top + 1;
  info->ptMaxSize = {workWidth, workHeight - 1};
  info->ptMaxPosition = {work.left, work.top};
  info->ptMinTrackSize = {28 * captionButtonCount(style_) + ((style_ & kStyleClose) ? 11 : 0) + 40, 40};
}

// ---------------------------------------------------------------------------
// Mouse

bool HostWindow::positionVisible(int position) const {
  const ControlRecord* c = controlRecord(windowNumber_, position);
  return c && (c->visible & 1);
}

bool HostWindow::positionDisabled(int position) const {
  const ControlRecord* c = controlRecord(windowNumber_, position);
  return c && c->object && c->object->disabled() != 0;
}

void HostWindow::deliver(int position, UINT message, WPARAM wParam, LPARAM lParam, int direct, bool force) {
  deliverMessage(windowNumber_, position, hwnd_, message, wParam, lParam, direct, force);
}

void HostWindow::callFor(const ControlCallback& callback, int position) {
  if (!callback) return;
  const ControlRecord* c = controlRecord(windowNumber_, position);
  if (!c) return;
  ControlCallback copy = callback;  // the program may replace it meanwhile
  copy(hwnd_, c->id, c->object, c->kind);
}

int HostWindow::hitTest(LPARAM lParam) const {
  const WindowRecord* record = windowRecord();
  if (!record) return 0;
  const float x = static_cast<float>(GET_X_LPARAM(lParam)), y = static_cast<float>(HIWORD(lParam));
  for (int p = record->controlCount(); p >= 1; --p) {
    const ControlRecord& c = record->controls[p - 1];
    if ((c.visible & 1) && pointInRect(c.rect, x, y)) return p;
  }
  return 0;
}

void HostWindow::takeKeyboardFocus(HWND hwnd) {
  HWND focused = GetFocus();
  if (focused == hwnd) return;
  if (focused) SendMessageW(focused, WM_KILLFOCUS, 0, 0);
  SetFocus(hwnd);
}

void HostWindow::showSystemMenu(HWND hwnd, LPARAM lParam) {
  WindowRecord* record = windowRecord();
  if (!record || !systemMenu_) return;
  SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  TrackPopupMenu(systemMenu_, TPM_LEFTBUTTON, record->windowRect.left + GET_X_LPARAM(lParam) + 5,
                 record->windowRect.top + GET_Y_LPARAM(lParam) + 10, 0, hwnd, nullptr);
  SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void HostWindow::routeMouse(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int* hit) {
  if (fullRepaint_) return;
  if (trackResizeEdge(hwnd, message, lParam) == 1) return;

  if (pressedFlag_) {
    deliver(pressedPosition_, message, wParam, lParam);
    if (message != WM_LBUTTONUP) return;
    ReleaseCapture();
    const int h = hitTest(lParam);
    if (hit) *hit = h;
    if (h == pressedPosition_) {
      deliver(h, kMsgClick, 0, 0);
      const ControlRecord* c = controlRecord(windowNumber_, h);
      if (c && iconControl_ && c->object == iconControl_.get()) showSystemMenu(hwnd, lParam);
      callFor(callbacks_.click, h);
    }
    pressedPosition_ = 0;
    pressedFlag_ = 0;
    return;
  }

  const int h = hitTest(lParam);
  if (hit) *hit = h;
  if (h != hoveredPosition_ && hoveredPosition_ > 0 && positionVisible(hoveredPosition_)) {
    deliver(hoveredPosition_, kMsgPaint, 0, kPaintHoverEnded);
    callFor(callbacks_.mouseLeave, hoveredPosition_);
  }

  if (h > 0) {
    const ControlRecord* c = controlRecord(windowNumber_, h);
    if (message == WM_LBUTTONDOWN && c) {
      if (c->focusable && !positionDisabled(h)) {
        keyboardFocus_ = 0;
        pressedFlag_ = 1;
        pressedPosition_ = h;
        SetCapture(hwnd);
        const int old = focusedPosition_;
        focusedPosition_ = h;
        if (old != h && old != 0) {
          if (positionVisible(old)) {
            deliver(old, kMsgPaint, 0, kPaintFocusLost);
            callFor(callbacks_.focusLost, old);
          }
        }
        callFor(callbacks_.focusGained, h);
        takeKeyboardFocus(hwnd);
      } else if (!(dragFlags_ & 1)) {
        SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      }
    }
    deliver(h, message, wParam, lParam);
    c = controlRecord(windowNumber_, h);
    if (c && c->object) {
      const int cursor = c->object->cursor();
      if (cursor != 0 && cursor != 32512) SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(cursor)));
      if (message == WM_MOUSEMOVE && h != hoveredPosition_) {
        callFor(callbacks_.mouseEnter, h);
        c = controlRecord(windowNumber_, h);
        if (c && c->object && !c->object->tooltip().empty()) {
          Control* target = c->object;
          if (c->kind == kKindCaptionButton) {
            for (const auto& button : captionButtons_)
              if (button->controlId() == c->id) target = button.get();
          }
          target->showTooltip(target->tooltip());
        }
      }
    }
  }

  if (h == 0 && message == WM_LBUTTONDOWN) {
    takeKeyboardFocus(hwnd);
    if (focusedPosition_ > 0) {
      const ControlRecord* focused = controlRecord(windowNumber_, focusedPosition_);
      if (focused && focused->kind == 15) {
        deliver(focusedPosition_, kMsgPaint, 0, kPaintFocusLost);
        callFor(callbacks_.focusLost, focusedPosition_);
        focusedPosition_ = 0;
      }
    }
    if (!(dragFlags_ & 1)) SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
  hoveredPosition_ = h;
}

int HostWindow::trackResizeEdge(HWND hwnd, UINT message, LPARAM lParam) {
  if (fixedSize_ || pressedFlag_) return 0;
  if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN) return 0;
  if (IsZoomed(hwnd)) return 0;
  const int edge = resizeZone(GET_X_LPARAM(lParam), HIWORD(lParam), clientWidth_, clientHeight_);
  if (edge == 0) return 0;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(resizeCursor(edge))));
  if (hoveredPosition_ > 0) deliver(hoveredPosition_, kMsgPaint, 0, kPaintResizeEdge);
  if (message == WM_LBUTTONDOWN) SendMessageW(hwnd, WM_SYSCOMMAND, SC_SIZE + edge, 0);
  return 1;
}

void HostWindow::onMouseWheel(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = windowRecord();
  if (!record) return;
  const int x = GET_X_LPARAM(lParam) - record->windowRect.left, y = GET_Y_LPARAM(lParam) - record->windowRect.top;
  const int h = hitTest(MAKELPARAM(x, y));
  if (h > 0) deliver(h, message, wParam, lParam, 0);
}

// ---------------------------------------------------------------------------
// Keyboard and focus

void HostWindow::onKeyDown(HWND hwnd, WPARAM key, LPARAM lParam) {
  if (focusedPosition_ <= 0) return;
  const ControlRecord* c = controlRecord(windowNumber_, focusedPosition_);
  if (!c) return;
  if (callbacks_.keyDown && callbacks_.keyDown(hwnd, c->id, key, lParam) != -1) return;
  if (!(c = controlRecord(windowNumber_, focusedPosition_))) return;
  const int focused = focusedPosition_;
  if (c->kind == kKindEditBox) {
    const bool ctrlLetter = ctrlDown() && (key == 'A' || key == 'C' || key == 'V' || key == 'X');
    const bool editing = key == VK_END || key == VK_HOME || key == VK_LEFT || key == VK_RIGHT || key == VK_DELETE;
    if (ctrlLetter || editing) deliver(focused, WM_CHAR, key, kEditKey);
  } else if (key == VK_TAB) {
    if (ctrlDown() && c->kind == kKindScrollBarOrTabStrip) deliver(focused, kMsgCtrlTab, 0, 0);
    deliver(focusedPosition_, WM_KEYDOWN, key, lParam);
    return;
  } else if (key == VK_RETURN || key == VK_SPACE) {
    if (positionVisible(focused) && !positionDisabled(focused)) {
      deliver(focused, kMsgClick, 0, 0);
      callFor(callbacks_.click, focused);
      deliver(focused, kMsgPaint, 0, kPaintRepaint);
    }
  }
  if (focusedPosition_ > 0) deliver(focusedPosition_, WM_KEYDOWN, key, lParam);
}

void HostWindow::onKeyUp(HWND hwnd, WPARAM key, LPARAM lParam) {
  if (key != VK_TAB) {
    if (focusedPosition_ <= 0) return;
    const ControlRecord* c = controlRecord(windowNumber_, focusedPosition_);
    if (!c) return;
    if (callbacks_.keyUp && callbacks_.keyUp(hwnd, c->id, key, lParam) != -1) return;
    deliver(focusedPosition_, WM_KEYUP, key, lParam);
    return;
  }
  if (ctrlDown()) return;
  WindowRecord* record = windowRecord();
  if (!record) return;
  const int old = focusedPosition_;
  const int next = nextTabStop(old, record->controlCount(), [this](int p) {
    const ControlRecord* c = controlRecord(windowNumber_, p);
    return c && (c->visible & 1) && c->focusable && !positionDisabled(p) && c->kind != kKindCaptionButton &&
           !(iconControl_ && c->object == iconControl_.get());
  });
  if (next == 0) return;  // nothing qualifies: the focus stays where it is
  focusedPosition_ = next;
  if (old > 0 && positionVisible(old)) {
    deliver(old, kMsgPaint, 0, kPaintFocusLost);
    callFor(callbacks_.focusLost, old);
  }
  if (controlRecord(windowNumber_, focusedPosition_)) {
    keyboardFocus_ = 1;
    deliver(focusedPosition_, kMsgPaint, 0, kPaintRepaint);
    callFor(callbacks_.focusGained, focusedPosition_);
    takeKeyboardFocus(hwnd);
  } else {
    focusedPosition_ = 0;
  }
}

void HostWindow::onChar(HWND hwnd, WPARAM code, LPARAM lParam) {
  if (focusedPosition_ <= 0) return;
  const ControlRecord* c = controlRecord(windowNumber_, focusedPosition_);
  if (!c) return;
  if (callbacks_.character && callbacks_.character(hwnd, c->id, code, lParam) != -1) return;
  deliver(focusedPosition_, WM_CHAR, code, lParam);
}

void HostWindow::onSysKeyDown(HWND, WPARAM key, LPARAM) {
  const auto upper = [](unsigned c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; };
  for (const auto& [character, id] : accessKeys_) {
    if (upper(static_cast<unsigned>(character) & 0xFF) != upper(static_cast<unsigned>(key) & 0xFF)) continue;
    const int p = positionOfId(windowNumber_, id);
    if (p <= 0 || !positionVisible(p) || positionDisabled(p)) continue;
    deliver(p, kMsgClick, 0, 0);
    callFor(callbacks_.click, p);
    deliver(p, kMsgPaint, 0, kPaintRepaint);
    return;
  }
}

int HostWindow::setAccessKey(int controlId, int character) {
  for (auto it = accessKeys_.begin(); it != accessKeys_.end(); ++it) {
    if (it->second != controlId) continue;
    if (character == 0) {
      accessKeys_.erase(it);
      return 1;
    }
    it->first = character;
    return 1;
  }
  if (character == 0) return 0;
  accessKeys_.emplace_back(character, controlId);
  return 1;
}

int HostWindow::setFocusTo(int controlId) {
  const int p = positionOfId(windowNumber_, controlId);
  if (p <= 0) return p;
  if (positionDisabled(p)) return 1;
  const ControlRecord* c = controlRecord(windowNumber_, p);
  if (!c->focusable) return 0;
  const int old = focusedPosition_;
  focusedPosition_ = p;
  if (old != p && old != 0 && positionVisible(old)) deliver(old, kMsgPaint, 0, kPaintFocusLost);
  deliver(p, kMsgPaint, 0, kPaintRepaint);
  hoveredPosition_ = p;
  return p;
}

// ---------------------------------------------------------------------------
// Timers

void HostWindow::onTimer(HWND hwnd, UINT_PTR timerId, LPARAM lParam) {
  if (timerId == kFadeInTimer) {
    onFadeTick(hwnd);
    return;
  }
  if (fullRepaint_) return;
  const int number = static_cast<short>(LOWORD(timerId));
  const int position = HIWORD(timerId);
  if (!controlRecord(number, position)) return;
  deliverMessage(number, position, hwnd, WM_TIMER, timerId, lParam, 1);
}

}  // namespace zelvo::toolkit
