// The process-wide window table: one record per attached window, in order of
// attaching, each with its surfaces and its control list (list order is the
// z-order, first = bottom). A host's window number is the 1-based position
// of its record; a control position is the 1-based place in that list.
// UI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "toolkit/core/geometry.h"
#include "toolkit/core/surface.h"

namespace zelvo::toolkit {

class Control;
class HostWindow;

// Control kinds with a meaning to the host.
enum ControlKind : int {
  kKindCaptionButton = 1,
  kKindTextButton = 2,
  kKindLabel = 3,
  kKindPicture = 4,
  kKindImageButton = 6,
  kKindListBox = 8,
  kKindEditBox = 9,
  kKindProgressBar = 12,
  kKindScrollBarOrTabStrip = 13,
  kKindFrameAnimation = 444660,
};

// Toolkit messages to controls and to host windows.
enum ToolkitMessage : UINT {
  kMsgDestroy = 2,
  kMsgPaint = 15,
  kMsgTimer = 275,
  kMsgClick = 444660,
  kMsgHidden = 444662,
  kMsgShown = 444663,
  kMsgCtrlTab = 444664,
  kMsgSetAccessKey = 10240,
  kMsgSkinImage = 10241,
  kMsgBackgroundColour = 10242,
};

// lParam of a paint message.
enum PaintReason : LPARAM {
  kPaintRepaint = -1,
  kPaintResizeEdge = 0,
  kPaintHoverEnded = 1,
  kPaintFocusLost = 2,
};

// Timer 444660 on a host is the whole-window fade-in; every other timer id
// is MAKELONG(window number, control position).
inline constexpr UINT_PTR kFadeInTimer = 444660;
constexpr UINT_PTR controlTimerId(int windowNumber, int position) {
  return static_cast<UINT_PTR>(static_cast<DWORD>((windowNumber & 0xFFFF) | ((position & 0xFFFF) << 16)));
}

struct ControlRecord {
  HWND hostWindow = nullptr;
  RectF rect;
  int id = 0;
  Control* object = nullptr;  // also the control handle given to callbacks
  int kind = 0;
  int visible = 0;    // bit 0 = shown; hidden records are neither painted nor hit
  int focusable = 0;  // a press captures and focuses; Tab may land on it
};

struct WindowRecord {
  RECT windowRect{};
  HostWindow* host = nullptr;
  int fadeSetting = 1;  // control repaints present through a short fade-in
  int stretchSkin = 0;
  int alpha = -1;       // -1 = not layered
  HWND hwnd = nullptr;
  HDC windowDc = nullptr;  // GetDC for the life of the attachment
  Surface layer, background, canvas;
  std::vector<ControlRecord> controls;

  bool layered() const { return alpha != -1; }
  int controlCount() const { return static_cast<int>(controls.size()); }
};

using WindowTable = std::vector<std::unique_ptr<WindowRecord>>;
WindowTable& windowTable();

// Null when out of range.
WindowRecord* windowRecord(int windowNumber);
ControlRecord* controlRecord(int windowNumber, int position);
// Number of the first record for this window, 0 when none.
int windowNumberOf(HWND hwnd);
// Position of the first control with this id, 0 when the window or id does
// not exist.
int positionOfId(int windowNumber, int controlId);

// Hands a message to a control's handleMessage, then to the first handler
// bound to that message with bindEvent. Hidden or inactive controls get
// nothing unless `force`. Returns handleMessage's result, 0 when nothing ran.
int deliverMessage(int windowNumber, int position, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int direct,
                   bool force = false);
// Takes a control out of its host: host state follows, it receives destroy
// (unless `notify` is false: used while the object itself is going away),
// becomes not created, and its former rectangle is repainted. 1 removed,
// 0 no such control.
int removeControl(int windowNumber, int controlId, bool notify = true);

}  // namespace zelvo::toolkit
