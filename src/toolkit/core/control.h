// Control: the base of every windowless control. A control has no window of
// its own; `create` appends a record to the control list of the host that
// owns the target window, and from then on the host paints it, hit-tests it,
// routes mouse and keyboard messages to it, shows its tooltip and calls the
// program's callbacks with its id.
//
// Writing a control class:
//  - derive from Control, give the class its own `create(...)` that stores
//    the class's fields and calls the base `create` with its kind;
//  - implement `handleMessage`: paint (15, lParam kPaintRepaint etc.) draws
//    through beginControlPaint / endControlPaint (controls/control_paint.h);
//    `direct` is 1 when the message comes from the host, 0 when the control
//    is repainted as part of a neighbour's repaint (draw only, no present);
//  - mouse, key, character and wheel messages keep their Windows numbers;
//    the toolkit's own are in window_table.h (ToolkitMessage).
// The operations below are in the fixed table order; a class adds its own
// after them, `handleMessage` first, and never replaces a base operation.
//
// Identities: the control handle given to callbacks is the object's address;
// the id is the smallest number free in its host at creation, stable for the
// control's life; the position is its place in the z-order and may change.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "toolkit/core/geometry.h"
#include "toolkit/core/window_table.h"

namespace zelvo::toolkit {

// A program routine bound to one message of one control:
// (window number, control position, wParam, lParam, direct).
using ControlEventHandler = std::function<void(int, int, WPARAM, LPARAM, int)>;

class Control {
 public:
  using HandleMessageEntry = int (Control::*)(Control*, HWND, UINT, WPARAM, LPARAM, int, int, int);
  using ShowTooltipEntry = void (Control::*)(const std::string&);
  using MethodEntry = std::variant<std::monostate, HandleMessageEntry, ShowTooltipEntry>;

  Control() = default;
  // Takes the control off its host without sending it destroy (the derived
  // part is gone by now); classes that need the destroy message call
  // destroy() in their own destructor.
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

 protected:
  // 1. Places the control on the host of `hostWindow`; nothing when it
  //    already has an id. Without a host the control stays not created.
  void create(HWND hostWindow, const RectF& rect, int kind, std::optional<int> visible = std::nullopt,
              std::optional<int> focusable = std::nullopt, std::optional<int> cursor = std::nullopt);

 public:
  int windowNumber() const { return windowNumber_; }  // 2.
  RectF bounds() const { return bounds_; }            // 3.
  int controlId() const { return controlId_; }        // 4.
  int disabled(std::optional<int> value = std::nullopt);  // 5. setting redraws
  int left(std::optional<float> value = std::nullopt);    // 6.
  int top(std::optional<float> value = std::nullopt);     // 7.
  int width(std::optional<float> value = std::nullopt);   // 8.
  int height(std::optional<float> value = std::nullopt);  // 9.
  int visible(std::optional<int> value = std::nullopt);   // 10.
  void setBounds(std::optional<float> x, std::optional<float> y, std::optional<float> width,
                 std::optional<float> height, std::optional<bool> redraw = std::nullopt);  // 11.
  void redraw();                                                   // 12.
  void setZOrder(int where = 1, bool redraw = true);               // 13. 1 = just above the caption buttons
  std::string tooltip(std::optional<std::string> text = std::nullopt, bool showNow = false);  // 14.
  bool hasFocus() const;                                           // 15.
  int focusable(std::optional<int> value = std::nullopt);         // 16.
  int destroy();                                                   // 17.
  int cursor(std::optional<int> value = std::nullopt);            // 18.
  std::string tag(std::optional<std::string> text = std::nullopt);  // 19.
  bool isCreated() const { return windowNumber_ > 0 && controlId_ > 0; }  // 20.
  std::int32_t readAddress(const void* address) const;            // 21.
  int active(std::optional<int> value = std::nullopt);            // 22.
  // 23. n = 1 handleMessage, n = 0 showTooltip; the host calls both
  //     virtually, this only names them.
  MethodEntry methodAddress(int n) const;
  void deactivate() { active_ = 0; }  // 24.
  void activate() { active_ = 1; }    // 25.
  void bindEvent(UINT message, ControlEventHandler handler);  // 26. same message again replaces
  void showTooltip(const std::string& text);                  // 27.

  // First operation of every class.
  virtual int handleMessage(Control* handle, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int windowNumber,
                            int position, int direct) = 0;

  // --- toolkit side -----------------------------------------------------------
  // The first handler bound to `message`, or null.
  const ControlEventHandler* eventHandler(UINT message) const;
  bool tooltipRegistered() const { return toolId_ != 0; }
  // Written by the host when the control leaves it or windows renumber.
  void setIdentity(int windowNumber, int controlId) {
    windowNumber_ = windowNumber;
    controlId_ = controlId;
  }
  void setBoundsField(const RectF& rect) { bounds_ = rect; }
  void forgetTooltip() { toolId_ = 0; }

 protected:
  // The record of this control in its host, or null (with its position).
  ControlRecord* record(int* position = nullptr) const;
  HWND hostWindowHandle() const;

 private:
  int disabled_ = 0;
  int windowNumber_ = 0;
  int controlId_ = 0;
  std::string tooltipText_;
  int cursor_ = 32512;  // the arrow: the host leaves the cursor alone
  std::string tag_;
  RectF bounds_;
  std::vector<std::pair<UINT, ControlEventHandler>> events_;
  int active_ = 0;
  int toolId_ = 0;  // 0 until the tooltip tool is registered, then the id
};

}  // namespace zelvo::toolkit
