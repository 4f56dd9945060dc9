#include "toolkit/core/toolkit.h"

#include <cwchar>

extern "C" const unsigned char zelvo_caption_sprite_png[];
extern "C" const unsigned long zelvo_caption_sprite_png_size;

namespace zelvo::toolkit {

namespace {

constexpr char kSongTi[] = "宋体";

LRESULT CALLBACK passThroughProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

int readSystemMajorVersion() {
  // GetVersionEx lies to programs without a manifest; ntdll does not.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto getVersion = ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                          : nullptr;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (getVersion && getVersion(&info) == 0) return static_cast<int>(info.dwMajorVersion);
  return 0;
}

FontFamilyPtr familyByName(const std::wstring& face) {
  GpFontFamily* family = nullptr;
  if (face.empty() || gp::GdipCreateFontFamilyFromName(face.c_str(), nullptr, &family) != kOk) return nullptr;
  return FontFamilyPtr(family);
}

FontPtr fontOf(GpFontFamily* family, float size, int style) {
  GpFont* font = nullptr;
  if (gp::GdipCreateFont(family, size, style, Gdiplus::UnitPixel, &font) != kOk) return nullptr;
  return FontPtr(font);
}

}  // namespace

ToolkitGlobals& globals() {
  static ToolkitGlobals state;
  return state;
}

std::string_view captionSpritePng() {
  return {reinterpret_cast<const char*>(zelvo_caption_sprite_png), zelvo_caption_sprite_png_size};
}

void startToolkit(int gdiplusVersion) {
  ToolkitGlobals& g = globals();
  if (g.started) return;
  g.started = true;
  Gdiplus::GdiplusStartupInput input{};
  input.GdiplusVersion = static_cast<UINT32>(gdiplusVersion);
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  Gdiplus::GdiplusStartup(&g.gdiplusToken, &input, nullptr);
  g.systemMajorVersion = readSystemMajorVersion();
  g.defaultFont = makeDefaultFont();
  g.defaultTimerInterval = 80;
  g.captionSprite.loadFromBytes(captionSpritePng());
  registerWindowClass(passThroughProc);
}

ATOM registerWindowClass(WNDPROC windowProc, const wchar_t* className, std::optional<HICON> icon,
                         std::optional<UINT> style, std::optional<HCURSOR> cursor) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style.value_or(CS_DBLCLKS);
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  if (icon) {
    wc.hIcon = *icon;
  } else {
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(129));
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  }
  wc.hCursor = cursor ? *cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = className ? className : kHostWindowClass;
  return RegisterClassExW(&wc);
}

FontPtr makeDefaultFont() {
  for (const std::string& face : {std::string(kSongTi), systemFontName()}) {
    FontFamilyPtr family = familyByName(toWide(face));
    if (!family) continue;
    if (FontPtr font = fontOf(family.get(), 12.0f, Gdiplus::FontStyleRegular)) return font;
  }
  return nullptr;
}

std::string systemFontName(int which) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return kSongTi;
  const LOGFONTW& chosen = which == 1 ? metrics.lfMenuFont : which == 3 ? metrics.lfMessageFont : metrics.lfCaptionFont;
  std::wstring face(chosen.lfFaceName, wcsnlen(chosen.lfFaceName, LF_FACESIZE));
  std::string name = face == L"Tahoma" ? std::string(kSongTi) : fromWide(face);
  if (makeFont(name, 12.0f, Gdiplus::FontStyleRegular)) return name;
  return kSongTi;
}

FontPtr makeFont(const std::string& faceName, float size, int style) {
  FontFamilyPtr family = familyByName(toWide(faceName));
  if (!family && globals().defaultFont) family = familyByName(toWide(fontFamilyName(globals().defaultFont.get())));
  if (!family) return nullptr;
  return fontOf(family.get(), size, style);
}

std::string fontFamilyName(GpFont* font) {
  if (!font) return {};
  GpFontFamily* family = nullptr;
  if (gp::GdipGetFamily(font, &family) != kOk || !family) return {};
  FontFamilyPtr owned(family);
  WCHAR name[LF_FACESIZE] = {};
  if (gp::GdipGetFamilyName(family, name, LANG_NEUTRAL) != kOk) return {};
  return fromWide(std::wstring_view(name, wcsnlen(name, LF_FACESIZE)));
}

std::wstring toWide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string fromWide(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n, nullptr, nullptr);
  return narrow;
}

bool measureString(GpGraphics* graphics, const std::string& text, GpFont* font, const RectF& layout,
                   GpStringFormat* format, RectF& bounds) {
  if (!graphics || !font) return false;
  const std::wstring wide = toWide(text);
  Gdiplus::RectF in(layout.x, layout.y, layout.width, layout.height), out;
  if (gp::GdipMeasureString(graphics, wide.c_str(), static_cast<INT>(wide.size()), font, &in, format, &out, nullptr,
                            nullptr) != kOk)
    return false;
  bounds = {out.X, out.Y, out.Width, out.Height};
  return true;
}

HICON windowIcon(HWND hwnd) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICON));
  return icon;
}

}  // namespace zelvo::toolkit
