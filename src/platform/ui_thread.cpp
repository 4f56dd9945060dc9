#include "platform/ui_thread.h"

#include <windows.h>

#include <atomic>
#include <memory>

namespace zelvo::platform {
namespace {

constexpr UINT kRunTask = WM_APP + 0x3A1;
constexpr wchar_t kClassName[] = L"Zelvo_UiTasks";
std::atomic<HWND> queueWindow{nullptr};

LRESULT CALLBACK taskWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunTask) {
    std::unique_ptr<UiTask> task(reinterpret_cast<UiTask*>(lParam));
    if (task && *task && queueWindow.load() == hwnd) (*task)();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool startUiTaskQueue() {
  if (queueWindow.load()) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = taskWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  HWND hwnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  queueWindow.store(hwnd);
  return hwnd != nullptr;
}

void stopUiTaskQueue() {
  if (HWND hwnd = queueWindow.exchange(nullptr)) {
    // Free what is still queued without running it.
    MSG msg;
    while (PeekMessageW(&msg, hwnd, kRunTask, kRunTask, PM_REMOVE))
      std::unique_ptr<UiTask>(reinterpret_cast<UiTask*>(msg.lParam));
    DestroyWindow(hwnd);
  }
}

bool postToUiThread(UiTask task) {
  HWND hwnd = queueWindow.load();
  if (!hwnd) return false;
  auto owned = std::make_unique<UiTask>(std::move(task));
  if (!PostMessageW(hwnd, kRunTask, 0, reinterpret_cast<LPARAM>(owned.get()))) return false;
  owned.release();  // the UI thread owns it now
  return true;
}

}  // namespace zelvo::platform
