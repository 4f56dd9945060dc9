#include "editor/panel.h"

namespace zelvo::editor {
namespace {

constexpr wchar_t kPanelClass[] = L"Zelvo_EditorPanel";
constexpr WPARAM kMoveByCaption = 0xF012;  // SC_MOVE with the caption hit code

}  // namespace

bool Panel::registerClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPanelClass;
    return RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

bool Panel::createPanel(HWND parent, int x, int y, int width, int height) {
  if (!registerClass()) return false;
  font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
  // Hidden at start; the border gives the pop-up its edge over the text.
  handle_ = CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
                            width, height, parent, nullptr, GetModuleHandleW(nullptr), this);
  return handle_ != nullptr;
}

HWND Panel::addChild(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width,
                     int height, int id) {
  HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, handle_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                               nullptr);
  if (child && font_) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return child;
}

void Panel::hide() {
  if (handle_) ShowWindow(handle_, SW_HIDE);
}

void Panel::show() {
  if (handle_)
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Panel::moveTo(int left, int top) {
  if (handle_) SetWindowPos(handle_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Panel::rect() const {
  RECT r{};
  if (!handle_) return r;
  GetWindowRect(handle_, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LRESULT Panel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) {
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    for (const RECT& area : dragAreas_) {
      if (PtInRect(&area, at)) {
        ReleaseCapture();
        SendMessageW(handle_, WM_SYSCOMMAND, kMoveByCaption, 0);
        return 0;
      }
    }
  }
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK Panel::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* panel = static_cast<Panel*>(create->lpCreateParams);
    panel->handle_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(panel));
  }
  auto* panel = reinterpret_cast<Panel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!panel) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    panel->handle_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return panel->handleMessage(message, wParam, lParam);
}

}  // namespace zelvo::editor
