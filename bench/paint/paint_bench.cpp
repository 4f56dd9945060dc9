// Times the host's painting on a real window: full renders of a 680 x 440
// window (solid colour, skin, layered with skin, maximised) and the partial
// repaint of a 45 x 45 control; each against a plain BitBlt of the same
// size onto the same window, with the ratio.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "toolkit/controls/control_paint.h"
#include "toolkit/core/drawing.h"
#include "toolkit/core/host_window.h"

using namespace zelvo::toolkit;

namespace {

class SolidControl : public Control {
 public:
  void place(HWND host, const RectF& rect) { Control::create(host, rect, kKindTextButton, 1, 1); }
  int handleMessage(Control*, HWND, UINT message, WPARAM, LPARAM, int windowNumber, int position, int direct) override {
    if (message != kMsgPaint) return 0;
    const RectF rect = bounds();
    beginControlPaint(windowNumber, position, rect, 0, direct);
    roundRect(canvasGraphics(windowNumber), rect, 6, argb(230, 40, 120, 220), argb(255, 255, 255, 255));
    endControlPaint(windowNumber, position, rect, 1, direct, 0, 0);
    return 0;
  }
};

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_TIMER) continue;
    DispatchMessageW(&msg);
  }
}

// Microseconds per call of `op`, over `count` calls after a short warm-up.
double perOp(int count, const std::function<void()>& op) {
  for (int i = 0; i < count / 10 + 1; ++i) op();
  GdiFlush();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) op();
  GdiFlush();
  const auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::micro>(end - start).count() / count;
}

std::string skinPicture(int width, int height) {
  GpBitmap* bitmap = nullptr;
  gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
  ImagePtr owned(bitmap);
  GpGraphics* raw = nullptr;
  gp::GdipGetImageGraphicsContext(bitmap, &raw);
  {
    GraphicsPtr g(raw);
    fillGradient(g.get(), makeRectF(0, 0, static_cast<float>(width + 1), static_cast<float>(height + 1)),
                 argb(255, 30, 60, 120), argb(255, 200, 120, 60), 2);
  }
  const CLSID jpeg = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  IStream* stream = nullptr;
  CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  std::string bytes;
  if (gp::GdipSaveImageToStream(bitmap, stream, &jpeg, nullptr) == kOk) {
    HGLOBAL block = nullptr;
    GetHGlobalFromStream(stream, &block);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    bytes.assign(static_cast<const char*>(GlobalLock(block)), static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(block);
  }
  stream->Release();
  return bytes;
}

struct Window {
  HWND hwnd = nullptr;
  HostWindow host;
  SolidControl control;
  Window(const AttachOptions& options, bool maximised = false) {
    hwnd = CreateWindowExW(0, kHostWindowClass, L"Zelvo录音整理工具6.1", WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 50,
                           50, 680, 440, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    host.attach(hwnd, options);
    if (maximised) {
      // Wine leaves maximising to a window manager; the bench's X server has
      // none, so the state and the size are set directly.
      RECT work{};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_MAXIMIZE);
      SetWindowPos(hwnd, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    control.place(hwnd, makeRectF(300, 200, 45, 45));
    pump();
  }
  ~Window() {
    DestroyWindow(hwnd);
    pump();
  }
  double blit(int width, int height, int count) {
    WindowRecord* record = host.windowRecord();
    return perOp(count, [&] { BitBlt(record->windowDc, 0, 0, width, height, record->canvas.dc(), 0, 0, SRCCOPY); });
  }
};

void report(const char* what, double us, double baseline) {
  std::printf("%-44s %9.1f us/op   BitBlt %8.1f us   ratio %6.1f\n", what, us, baseline, us / baseline);
}

}  // namespace

int wmain() {
  startToolkit();
  const std::string skin = skinPicture(500, 350);
  const int renders = 200, repaints = 2000;
  std::printf("full render: %d per case, partial repaint: %d\n", renders, repaints);
  {
    Window w({.colour = 0x604830, .style = 479});
    report("full render 680x440, colour", perOp(renders, [&] { w.host.setBackground(); }), w.blit(680, 440, renders));
    report("partial repaint 45x45, colour window", perOp(repaints, [&] { w.control.redraw(); }), w.blit(45, 45, repaints));
  }
  {
    Window w({.skinBytes = skin, .style = 479});
    report("full render 680x440, skin 500x350 blended", perOp(renders, [&] { w.host.setBackground(); }),
           w.blit(680, 440, renders));
  }
  {
    Window w({.skinBytes = skin, .style = 479, .stretch = 1});
    report("full render 680x440, skin stretched", perOp(renders, [&] { w.host.setBackground(); }), w.blit(680, 440, renders));
  }
  {
    Window w({.skinBytes = skin, .style = 479, .alpha = 230});
    report("full render 680x440, layered skin a=230", perOp(renders, [&] { w.host.setBackground(); }),
           w.blit(680, 440, renders));
    report("partial repaint 45x45, layered window", perOp(repaints, [&] { w.control.redraw(); }), w.blit(45, 45, repaints));
    WindowRecord* record = w.host.windowRecord();
    const double ulw = perOp(renders, [&] { HostWindow::updateLayered(w.hwnd, record->layer.dc(), 680, 440); });
    std::printf("%-44s %9.1f us/op\n", "  (UpdateLayeredWindow 680x440 alone)", ulw);
  }
  {
    Window w({.colour = 0x604830, .style = 479}, true);
    char what[64];
    std::snprintf(what, sizeof what, "full render %dx%d, maximised", w.host.clientWidth(), w.host.clientHeight());
    report(what, perOp(renders, [&] { w.host.setBackground(); }), w.blit(w.host.clientWidth(), w.host.clientHeight(), renders));
  }
  return 0;
}
