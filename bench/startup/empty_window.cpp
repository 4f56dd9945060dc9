// The baseline of the start-up benchmark: the least a Win32 program does to
// show a window and reach its message loop.
#include <windows.h>

namespace {
LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"Zelvo_MainWindow";  // so the driver finds it the same way
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(wc.lpszClassName, L"empty", WS_POPUP | WS_VISIBLE, 50, 50, 680, 440, nullptr, nullptr,
                            instance, nullptr);
  if (!hwnd) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
