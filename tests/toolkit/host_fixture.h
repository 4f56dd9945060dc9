// Shared pieces of the toolkit tests: a real top-level window of the class
// "Zelvo_UIHost" with a HostWindow attached, a recording control, and
// message pumping with a deadline.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/controls/control_paint.h"
#include "toolkit/core/drawing.h"
#include "toolkit/core/host_window.h"
#include "toolkit/core/image_list.h"

namespace zelvo::test {

using namespace toolkit;

// Pumps this thread's messages until `done` holds or the deadline passes.
inline bool pumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (true) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Handles what is pending but drops timers, so that no fade runs behind a
// test's back. (WM_PAINT must be dispatched: it stays until validated.)
inline void dropPending() {
  MSG msg;
  for (int n = 0; n < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
    if (msg.message == WM_TIMER) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline LPARAM point(int x, int y) { return MAKELPARAM(x, y); }

// One message as a control saw it.
struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  int position;
  int direct;
};

// A control that records what it receives and paints itself in one colour.
class TestControl : public Control {
 public:
  int create(HWND host, const RectF& rect, int visible = 1, int focusable = 1, int kind = kKindTextButton,
             Argb colour = argb(255, 200, 30, 30)) {
    colour_ = colour;
    Control::create(host, rect, kind, visible, focusable);
    return controlId();
  }
  int handleMessage(Control*, HWND, UINT message, WPARAM wParam, LPARAM lParam, int windowNumber, int position,
                    int direct) override {
    seen.push_back({message, wParam, lParam, position, direct});
    if (message == kMsgPaint) {
      const RectF rect = bounds();
      beginControlPaint(windowNumber, position, rect, 0, direct);
      RectF whole = rect;
      whole.width += 1;
      whole.height += 1;
      fillRectangle(canvasGraphics(windowNumber), whole, colour_);
      endControlPaint(windowNumber, position, rect, noFade, direct, 0, 0);
    }
    if (onMessage) onMessage(message);
    return 0;
  }
  int count(UINT message) const {
    int n = 0;
    for (const Seen& s : seen) n += s.message == message;
    return n;
  }
  int count(UINT message, LPARAM lParam) const {
    int n = 0;
    for (const Seen& s : seen) n += s.message == message && s.lParam == lParam;
    return n;
  }
  void setColour(Argb colour) { colour_ = colour; }

  std::vector<Seen> seen;
  int noFade = 1;
  std::function<void(UINT)> onMessage;

 private:
  Argb colour_ = 0;
};

inline HWND createHostClassWindow(int x, int y, int width, int height,
                                  DWORD style = WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, bool show = true) {
  startToolkit();
  HWND hwnd = CreateWindowExW(0, kHostWindowClass, L"Test window", style, x, y, width, height, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd && show) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  return hwnd;
}

// Puts the window into the maximised state at the work area. Wine hands
// maximising a resizable window to the window manager, and the X server of
// the tests runs none; the state bit and the size are what the host reads.
inline void maximise(HWND hwnd) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_MAXIMIZE);
  SetWindowPos(hwnd, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

inline void unmaximise(HWND hwnd, int x, int y, int width, int height) {
  SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_MAXIMIZE));
  SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A window with a host attached; the window goes with the fixture.
class HostFixture : public ::testing::Test {
 protected:
  void attachHost(AttachOptions options = {}, int width = 680, int height = 440,
                  DWORD style = WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) {
    hwnd = createHostClassWindow(60, 60, width, height, style);
    ASSERT_NE(hwnd, nullptr);
    host = std::make_unique<HostWindow>();
    host->attach(hwnd, options);
    ASSERT_TRUE(host->attached());
    SetActiveWindow(hwnd);
    SetFocus(hwnd);
    // The system's move and size loops would wait for a real mouse; tests
    // see the requests instead.
    host->setMessageHook([this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
      if (message == WM_NCLBUTTONDOWN || message == WM_SYSCOMMAND || message == WM_CLOSE) {
        requests.push_back({message, wParam});
        return 0;
      }
      return -1;
    });
    dropPending();
  }
  int requestCount(UINT message, WPARAM wParam) const {
    int n = 0;
    for (const auto& [m, w] : requests) n += m == message && w == wParam;
    return n;
  }
  std::vector<std::pair<UINT, WPARAM>> requests;
  void TearDown() override {
    if (hwnd) DestroyWindow(hwnd);
    host.reset();
    dropPending();
  }
  WindowRecord& record() { return *host->windowRecord(); }
  int position(const Control& c) { return positionOfId(host->windowNumber(), c.controlId()); }
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(hwnd, message, wParam, lParam); }

  HWND hwnd = nullptr;
  std::unique_ptr<HostWindow> host;
};

// Premultiplied BGRA of a surface pixel, split.
struct Bgra {
  int b, g, r, a;
};
inline Bgra split(std::uint32_t p) {
  return {static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>((p >> 16) & 0xFF),
          static_cast<int>(p >> 24)};
}
inline bool closeTo(int a, int b, int tolerance) { return a - b <= tolerance && b - a <= tolerance; }

// A picture encoded as PNG (or JPEG) bytes, each pixel from `colourAt`.
inline std::string encodePicture(int width, int height, const std::function<Argb(int, int)>& colourAt,
                                 bool jpeg = false) {
  GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) != kOk) return {};
  ImagePtr owned(bitmap);
  Gdiplus::GpRect all(0, 0, width, height);
  Gdiplus::BitmapData data{};
  if (gp::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) == kOk) {
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride);
      for (int x = 0; x < width; ++x) row[x] = colourAt(x, y);
    }
    gp::GdipBitmapUnlockBits(bitmap, &data);
  }
  // PNG and JPEG encoders of GDI+.
  const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  const CLSID jpg = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return {};
  std::string bytes;
  if (gp::GdipSaveImageToStream(bitmap, stream, jpeg ? &jpg : &png, nullptr) == kOk) {
    HGLOBAL block = nullptr;
    GetHGlobalFromStream(stream, &block);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    if (const void* p = GlobalLock(block)) {
      bytes.assign(static_cast<const char*>(p), static_cast<size_t>(stat.cbSize.QuadPart));
      GlobalUnlock(block);
    }
  }
  stream->Release();
  return bytes;
}

inline std::string solidPicture(int width, int height, Argb colour) {
  return encodePicture(width, height, [colour](int, int) { return colour; });
}

}  // namespace zelvo::test
