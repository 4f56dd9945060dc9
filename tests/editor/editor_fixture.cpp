#include "editor_fixture.h"

#include <commctrl.h>
#include <ole2.h>

namespace zelvo::test {
namespace {

constexpr wchar_t kOwnerClass[] = L"Zelvo_TestMainWindow";

// Once per process: COM (clipboard, rich edit) and the common controls.
void startWindowSystem() {
  static const bool started = [] {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return true;
  }();
  (void)started;
}

}  // namespace

void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    pumpMessages();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

LRESULT CALLBACK EditorFixture::ownerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* fixture = reinterpret_cast<EditorFixture*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_ACTIVATE && fixture && fixture->editor_ && fixture->editor_->handle()) {
    AppState& state = *fixture->state_;
    if (LOWORD(wParam) != WA_INACTIVE) {
      if (!state.hotkeysRegistered) fixture->editor_->registerHotkeys();
    } else if (!state.closing && !state.editorActive) {
      fixture->editor_->releaseHotkeys();
    }
    return 0;
  }
  if (message == WM_MOVE && fixture && fixture->editor_ && fixture->editor_->handle()) {
    RECT main{};
    GetWindowRect(hwnd, &main);
    fixture->editor_->followMainWindow(main);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

EditorFixture::EditorFixture(editor::EditorCommands commands, editor::LocalClock clock, Owner kind)
    : state_(std::make_unique<AppState>()), editor_(std::make_unique<editor::EditorWindow>()) {
  startWindowSystem();
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    wc.lpszClassName = kOwnerClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  const DWORD exStyle = kind == Owner::Managed ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  owner_.reset(CreateWindowExW(exStyle, kOwnerClass, L"stand-in main window", WS_POPUP, 50, 50, 680, 440,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  SetWindowLongPtrW(owner_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ShowWindow(owner_.get(), SW_SHOWNOACTIVATE);
  state_->mainWindowHandle = owner_.get();
  editor_->create(owner_.get(), *state_, std::move(commands),
                  clock ? std::move(clock) : editor::LocalClock(editor::systemLocalTime));
  pumpMessages();
}

EditorFixture::~EditorFixture() {
  // The editor window goes first, while the AppState it writes still exists.
  editor_.reset();
  SetWindowLongPtrW(owner_.get(), GWLP_USERDATA, 0);
  owner_.reset();
  pumpMessages();
}

void EditorFixture::setText(const std::string& utf8) {
  editor::RichEdit& edit = editor_->richEdit();
  const editor::ContentFormat previous = edit.contentFormat();
  edit.setContentFormat(editor::ContentFormat::PlainText);
  edit.setContent(utf8);
  edit.setContentFormat(previous);
  edit.select(-1, -1);
}

}  // namespace zelvo::test
