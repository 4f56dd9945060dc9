// Toolkit start-up and the small routines the whole toolkit shares: GDI+,
// the system version, the default font, the caption sprite, the window class
// "Zelvo_UIHost", fonts, text conversion, string measuring and window icons.
// startToolkit runs once on the UI thread before the first window; the
// globals are read-only afterwards.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/core/colour.h"
#include "toolkit/core/gdiplus_handles.h"
#include "toolkit/core/geometry.h"
#include "toolkit/core/image_object.h"

namespace zelvo::toolkit {

inline constexpr wchar_t kHostWindowClass[] = L"Zelvo_UIHost";

struct ToolkitGlobals {
  ULONG_PTR gdiplusToken = 0;  // GDI+ is never shut down: it ends with the process
  int systemMajorVersion = 0;  // 5 = 2000/XP family; the title glow depends on it
  FontPtr defaultFont;         // null when no font could be made
  int defaultTimerInterval = 80;  // ms, control fades and the window fade-in
  ImageObject captionSprite;      // 729 x 20, the caption buttons' pictures
  bool started = false;
};

ToolkitGlobals& globals();

// GDI+ start-up, system version, default font, timer interval, caption
// sprite and the window class, in this order. A second call does nothing.
void startToolkit(int gdiplusVersion = 1);

// Registers a window class; the icon defaults to the program's icon
// resource 129 (the system application icon when there is none), the style
// to CS_DBLCLKS, the cursor to the arrow. Returns the atom, 0 on failure.
ATOM registerWindowClass(WNDPROC windowProc, const wchar_t* className = kHostWindowClass,
                         std::optional<HICON> icon = std::nullopt, std::optional<UINT> style = std::nullopt,
                         std::optional<HCURSOR> cursor = std::nullopt);

// "宋体", else the system caption font; null when neither exists.
FontPtr makeDefaultFont();
// Face of the system's menu (1), caption (2) or message (3) font; "宋体"
// when it cannot be read, is "Tahoma" or cannot be made.
std::string systemFontName(int which = 2);
// Size in pixels, style = GDI+ font style bits. Falls back to the default
// font's family when the face does not exist; null when nothing works.
FontPtr makeFont(const std::string& faceName, float size, int style);
std::string fontFamilyName(GpFont* font);

// Text inside the program is UTF-8; these convert at the GDI+/Win32 edge.
std::wstring toWide(std::string_view text, UINT codePage = CP_UTF8);
std::string fromWide(std::wstring_view text, UINT codePage = CP_UTF8);

// Bounding box of the text laid out in `layout`; false when GDI+ fails.
bool measureString(GpGraphics* graphics, const std::string& text, GpFont* font, const RectF& layout,
                   GpStringFormat* format, RectF& bounds);

// The window's small icon, else its big icon, else its class icon; null
// when it has none.
HICON windowIcon(HWND hwnd);

// The caption sprite's PNG bytes, embedded at build time.
std::string_view captionSpritePng();

}  // namespace zelvo::toolkit
