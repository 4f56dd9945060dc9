// The repaint protocol shared by every control class, and its text and
// image primitives.
//
// A control's paint handler looks like this:
//
//   case kMsgPaint: {
//     beginControlPaint(windowNumber, position, rect, fadeAlpha_, direct);
//     ... draw on canvasGraphics(windowNumber) inside rect ...
//     fadeAlpha_ = 102;   // when the control fades in (optional)
//     endControlPaint(windowNumber, position, rect, 0, direct, 0, 0);
//   }
//
// begin restores the background under the rectangle and repaints the
// controls below it (direct repaints only); end repaints the controls above,
// touches up frame and shadow, and presents: at once, or through a short
// fade-in driven by the control's own timer (MAKELONG(window, position),
// 80 ms): on each WM_TIMER add 51 to the fade alpha and presentRect at it,
// stop at 255. Controls addressed by (window number, position) throughout.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "toolkit/core/colour.h"
#include "toolkit/core/gdiplus_handles.h"
#include "toolkit/core/geometry.h"

namespace zelvo::toolkit {

// The canvas graphics and DC of a host window; null when it does not exist.
GpGraphics* canvasGraphics(int windowNumber);
HDC canvasDc(int windowNumber);

// 1 when the background was restored (or, not direct, no fade is running).
int beginControlPaint(int windowNumber, int position, const RectF& rect, int fadeAlpha, int direct);
// noFade 1 forbids the fade-in; presentNow bit 0 presents at full alpha;
// noPresent leaves presenting to the caller.
void endControlPaint(int windowNumber, int position, const RectF& rect, int noFade, int direct, int presentNow,
                     int noPresent);
// Copies the rectangle of the canvas to the screen with constant alpha.
void presentRect(int windowNumber, const RectF& rect, int alpha);
// True when three samples across the middle of the rectangle in the
// background cache are all dark.
bool isDarkBackground(int windowNumber, const RectF& rect);

// alignment 0..2 near/centre/far at the top, 3..5 the same vertically
// centred; effect 0 none, 1 shadow up-left, 2 shadow down-right, 3 glow.
void drawControlText(const RectF& rect, GpGraphics* graphics, const std::string& text, GpFont* font, Argb colour,
                     int alignment, int trimming, int hotkeyPrefix, int formatFlags, int effect,
                     std::optional<Argb> effectColour = std::nullopt);
// The blurred halo behind glowing text.
void drawGlowText(const RectF& rect, GpGraphics* graphics, const std::string& text, GpFont* font,
                  GpStringFormat* format, Argb colour);

// In natural size at (x, y); centred in (x, y, width, height) when asked,
// else a given width or height replaces the natural one.
void drawImageAt(GpGraphics* graphics, GpImage* image, float x, float y, std::optional<float> width,
                 std::optional<float> height, bool centred);
// srcRect of the image into destRect in pixel units (the whole image when
// srcGiven is false). 1 on success.
int drawImageStretched(GpGraphics* graphics, GpImage* image, const RectF& destRect, const RectF& srcRect, bool srcGiven);
// True while the control at `position` holds the host's mouse capture after
// a press: dragging off it must not change its look.
bool holdsMouseCapture(int windowNumber, int position);
// One step of a control's fade-in on its WM_TIMER: present the rectangle 51
// alpha stronger, and stop the timer once full strength is reached.
void fadeInStep(HWND hwnd, UINT_PTR timerId, int windowNumber, const RectF& rect, int& fadeAlpha);
// A window timer on the host window; 80 ms unless given.
void startControlTimer(HWND hwnd, UINT_PTR id, std::optional<UINT> interval = std::nullopt);

}  // namespace zelvo::toolkit
