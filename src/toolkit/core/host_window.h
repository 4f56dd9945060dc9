// HostWindow: turns an ordinary top-level window into a skinned surface of
// windowless controls. Attaching replaces the window's procedure and gives
// the window a skin picture or a solid colour, an optional whole-window
// opacity (a layered window), a soft frame, a drop shadow, caption buttons,
// icon and title, and a control list (control.h).
//
// Sections of the implementation:
//   host_window.cpp  attach / detach, caption buttons, properties, callbacks
//   host_paint.cpp   surfaces, full render, partial repaint, composeRect,
//                    fade-in, WM_PAINT, WM_SIZE, title
//   host_input.cpp   window procedure, mouse, keyboard, wheel, timers, focus
//
// Everything runs on the thread that owns the window.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "toolkit/core/colour.h"
#include "toolkit/core/control.h"
#include "toolkit/core/gdiplus_handles.h"
#include "toolkit/core/geometry.h"
#include "toolkit/core/image_object.h"
#include "toolkit/core/toolkit.h"
#include "toolkit/core/window_table.h"

namespace zelvo::toolkit {

class CaptionButton;
class PictureBox;

// Program callbacks. Those taking (hwnd, control id, control handle, kind)
// are told about controls; hooks return -1 when they leave the event alone.
using ControlCallback = std::function<void(HWND, int, Control*, int)>;
using MessageHook = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
using BackgroundCallback = std::function<void(HWND, GpGraphics*, HDC, int, int)>;
using SizeCallback = std::function<void(HWND, int, int)>;
using KeyHook = std::function<int(HWND, int, WPARAM, LPARAM)>;

// Options of attach; an absent value takes its default.
struct AttachOptions {
  std::optional<std::string> skinBytes = std::nullopt;
  std::optional<ColorRef> colour = std::nullopt;  // default: the skin's pixel at 85 % of its size
  std::optional<int> style = std::nullopt;        // default: 1024 (icon, title, close, boxes the window has)
  std::optional<int> alpha = std::nullopt;        // default -1 = not layered; 0..255 = layered with this opacity
  std::optional<int> stretch = std::nullopt;      // default 0 = skin in its own size
  std::optional<int> corner = std::nullopt;       // default 5; 0 square; 1 nine-grid skin
  std::optional<int> fade = std::nullopt;         // default 1 = control repaints fade in
  std::optional<int> fixedSize = std::nullopt;    // default 0 = resizable from the edges
  std::optional<int> dragFlags = std::nullopt;    // default 0; bit 0 = the background does not move the window
  std::optional<int> blendEdges = std::nullopt;   // default 1
  std::optional<RECT> nineGridCentre = std::nullopt;
};

class HostWindow {
 public:
  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // Operations in table order.
  HWND attach(HWND hwnd, const AttachOptions& options = {});             // 1. → tooltip window
  void initSurfaces(HWND hwnd, int stretch, int fade, int alpha);         // 2.
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);  // 3.
  void routeMouse(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int* hit = nullptr);  // 4.
  void onDestroy(HWND hwnd);                                              // 5.
  void onSize(HWND hwnd, int width, int height);                          // 6.
  void onTimer(HWND hwnd, UINT_PTR timerId, LPARAM lParam);               // 7.
  void onKeyDown(HWND hwnd, WPARAM key, LPARAM lParam);                   // 8.
  void onKeyUp(HWND hwnd, WPARAM key, LPARAM lParam);                     // 9.
  void onChar(HWND hwnd, WPARAM code, LPARAM lParam);                     // 10.
  void onSysKeyDown(HWND hwnd, WPARAM key, LPARAM lParam);                // 11.
  int setAccessKey(int controlId, int character);                        // 12.
  void onMouseWheel(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);  // 13.
  int trackResizeEdge(HWND hwnd, UINT message, LPARAM lParam);            // 14.
  void setBackground(std::optional<std::string> skinBytes = std::nullopt, std::optional<ColorRef> colour = std::nullopt,
                     bool fadeIn = false);                                // 15. colour -1 = not given
  GpImage* skinImageHandle(std::optional<GpImage*> image = std::nullopt); // 16. takes ownership when set
  void drawTitle(const std::string& text, bool restoreBackground = false, bool present = false);  // 17.
  void layoutCaptionButtons(int margin);                                  // 18.
  void detach();                                                          // 19.
  void repaintControls(std::optional<int> controlId = std::nullopt, int direct = 0);  // 20.
  int opacity(std::optional<int> alpha = std::nullopt);                   // 21.
  int stretchSkin(std::optional<int> value = std::nullopt);               // 22.
  int cornerSize(std::optional<int> value = std::nullopt, bool rerender = true);  // 23.
  // 24. what 1 = disabled (int value != 0), 2 = tooltip (text), 3 = bounds
  //     (RectF, each truncated); anything else does nothing. Returns 0.
  int configureCaptionButton(int flag, int what, const std::variant<int, std::string, RectF>& value);
  int captionButtonFlag(int controlId) const;                             // 25.
  int fixedSize(std::optional<int> value = std::nullopt);                 // 26. 1 = not resizable
  int backgroundDrag(std::optional<int> value = std::nullopt);            // 27. 1 = the background moves the window
  int setFocusTo(int controlId);                                          // 28.
  void setCloseAnimation(int kind);                                       // 29.
  void animateShow(int mode);                                             // 30.
  int fadeSetting(std::optional<int> value = std::nullopt);               // 31.
  // 32. Callback setters; an empty function removes the callback.
  void setMessageHook(MessageHook hook = {});
  void setBackgroundPaintHandler(BackgroundCallback handler);
  void setBackgroundRepaintedHandler(BackgroundCallback handler);
  void setSizeHandler(SizeCallback handler);
  void setMouseLeaveHandler(ControlCallback handler);
  void setMouseEnterHandler(ControlCallback handler);
  void setMouseDownHandler(ControlCallback handler);
  void setMouseUpHandler(ControlCallback handler);
  void setClickHandler(ControlCallback handler);
  void setDoubleClickHandler(ControlCallback handler);
  void setRightDownHandler(ControlCallback handler);
  void setRightUpHandler(ControlCallback handler);
  void setKeyDownHook(KeyHook hook);
  void setKeyUpHook(KeyHook hook);
  void setCharHook(KeyHook hook);
  void setFocusGainedHandler(ControlCallback handler);
  void setFocusLostHandler(ControlCallback handler);
  WNDPROC bindWindow(HWND hwnd);                                          // 33.

  // --- state read by the controls' painting helpers and by tests ---------------
  int windowNumber() const { return windowNumber_; }
  HWND hwnd() const { return hwnd_; }
  bool attached() const { return previousProc_ != nullptr; }
  int focusedPosition() const { return focusedPosition_; }
  int hoveredPosition() const { return hoveredPosition_; }
  int pressedPosition() const { return pressedPosition_; }
  bool pressed() const { return pressedFlag_ != 0; }
  bool fullRepaint() const { return fullRepaint_ != 0; }
  bool keyboardFocus() const { return keyboardFocus_ != 0; }
  ColorRef backgroundColour() const { return backgroundColour_; }
  int style() const { return style_; }
  int corner() const { return corner_; }
  int clientWidth() const { return clientWidth_; }
  int clientHeight() const { return clientHeight_; }
  int fadeProgress() const { return fadeProgress_; }
  HWND tooltipWindow() const { return tooltipWindow_; }
  const ImageObject& skin() const { return skin_; }
  const std::vector<std::unique_ptr<CaptionButton>>& captionButtons() const { return captionButtons_; }
  PictureBox* iconControl() const { return iconControl_.get(); }
  WindowRecord* windowRecord() const;
  // Margin m for the current maximised state.
  int margin() const;

  // --- called by the window table -----------------------------------------------
  void setWindowNumber(int number) { windowNumber_ = number; }
  // Host state after the control at `position` left the list.
  void controlRemoved(int position, int controlId);
  // Host positions after setZOrder moved the control at `from` to `to`.
  void controlMoved(int from, int to);

  // Host painting routines shared with the controls (host_paint.cpp).
  static void redrawRect(int windowNumber, const RectF& rect, bool present, bool restoreBackground = true);
  static void composeRect(int windowNumber, const RectF& rect, bool drawFrame);
  static void updateLayered(HWND hwnd, HDC sourceDc, int width, int height);

 private:
  struct Callbacks {
    MessageHook messageHook;
    BackgroundCallback backgroundPaint, backgroundRepainted;
    SizeCallback sizeChanged;
    ControlCallback mouseLeave, mouseEnter, mouseDown, mouseUp, click, doubleClick, rightDown, rightUp;
    KeyHook keyDown, keyUp, character;
    ControlCallback focusGained, focusLost;
  };

  // host_input.cpp
  LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT defaultProcessing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT zeroAfterHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  int hitTest(LPARAM lParam) const;
  void showSystemMenu(HWND hwnd, LPARAM lParam);
  void takeKeyboardFocus(HWND hwnd);
  void callFor(const ControlCallback& callback, int position);
  void deliver(int position, UINT message, WPARAM wParam, LPARAM lParam, int direct = 1, bool force = false);
  bool positionVisible(int position) const;
  bool positionDisabled(int position) const;
  void onMinMaxInfo(MINMAXINFO* info);
  void refreshWindowRect(HWND hwnd);

  // host_paint.cpp
  void renderBackground(int width, int height, int margin, ColorRef colour);
  void drawSkinClipped(const RectF& frame, float arc, GpImageAttributes* attributes, int bandWidth, int bandHeight);
  void drawNineGrid(GpGraphics* graphics, const RectF& dest);
  void drawIcon(int margin);
  void present();
  void onFadeTick(HWND hwnd);
  void onPaint(HWND hwnd);
  bool drawGlowCaption(HDC dc, const std::string& text, const RectF& titleRect, int glow);
  static void drawFrame(GpGraphics* graphics, int width, int height, int margin, int corner);
  static void drawShadow(GpGraphics* graphics, const RectF& frame, int corner);

  WNDPROC previousProc_ = nullptr;
  int windowNumber_ = 0;
  int focusedPosition_ = 0;
  int hoveredPosition_ = 0;
  int pressedPosition_ = 0;
  int fullRepaint_ = 0;
  ColorRef backgroundColour_ = 0;
  int pressedFlag_ = 0;
  int corner_ = 5;
  int keyboardFocus_ = 0;
  HWND tooltipWindow_ = nullptr;
  int fadeProgress_ = 0;
  int style_ = 0;
  ImageObject skin_;
  int clientWidth_ = 0, clientHeight_ = 0;
  HMENU systemMenu_ = nullptr;
  std::vector<std::unique_ptr<CaptionButton>> captionButtons_;
  std::unique_ptr<PictureBox> iconControl_;
  std::vector<std::pair<int, int>> accessKeys_;  // (character, control id)
  RECT nineGridCentre_{};
  int closeAnimation_ = 0;
  int fixedSize_ = 0;
  int dragFlags_ = 0;
  int blendEdges_ = 1;
  Callbacks callbacks_;
  int leaveTracking_ = 0;
  HWND hwnd_ = nullptr;
};

}  // namespace zelvo::toolkit
