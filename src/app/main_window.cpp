#include "app/main_window.h"

#include <commctrl.h>
#include <ole2.h>

#include <cstdlib>
#include <memory>

#include "app/app_state.h"
#include "app/main_window_controls.h"
#include "editor/editor_window.h"
#include "platform/files.h"
#include "platform/module_path.h"
#include "platform/text_codec.h"
#include "platform/ui_thread.h"
#include "toolkit/core/host_window.h"

namespace zelvo {
namespace {

std::unique_ptr<AppState> g_appState;
std::unique_ptr<MainWindowControls> g_mainControls;
const UINT g_inspectMessage = RegisterWindowMessageW(kInspectMessageName);

editor::EditorCommands playerCommands(MainWindowControls& controls) {
  audio::PlaybackController& player = controls.controller();
  editor::EditorCommands commands;
  commands.togglePlayPause = [&player] { player.togglePlayPause(); };
  commands.seekBackward = [&player] { player.seekBackward(); };
  commands.seekForward = [&player] { player.seekForward(); };
  commands.stepSpeed = [&player](int direction) { player.stepSpeed(direction > 0); };
  commands.openAudioFile = [&player] { player.openAudioFile(); };
  commands.positionText = [&controls] { return controls.positionLabel().text(); };
  // New, Open, Save and Save As join here with the document commands.
  return commands;
}

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onMainWindowCreated(hwnd);
      return 0;
    case WM_MOVE:
      onMainWindowMoved(hwnd);
      return 0;
    case WM_SIZE:
      if (g_mainControls) g_mainControls->relayoutMainWindow();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        onMainWindowDeactivated(hwnd);
      else
        onMainWindowActivated(hwnd);
      return 0;
    case WM_CLOSE:
      if (onMainWindowCloseRequested(hwnd)) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  if (message == g_inspectMessage && g_mainControls) return g_mainControls->inspect(wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool registerMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = mainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&wc) != 0;
}

HWND createMainWindow(HINSTANCE instance) {
  // No system frame: everything visible is drawn by the toolkit host.
  constexpr DWORD style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
  return CreateWindowExW(WS_EX_APPWINDOW, kMainWindowClass, L"", style, kMainLeft, kMainTop, kMainWidth,
                         kMainHeight, nullptr, nullptr, instance, nullptr);
}

int runMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

std::filesystem::path pluginsDirectory() { return platform::executableDirectory() / "plugins"; }

}  // namespace

AppState& appState() { return *g_appState; }

int runProgram() {
  // 1. The window system: COM for the dialogs, the clipboard and the rich
  //    edit control; the common controls for tooltips.
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  // 2. AppState and the global objects, all empty.
  g_appState = std::make_unique<AppState>();
  g_mainControls = std::make_unique<MainWindowControls>(*g_appState);
  // 3.
  std::atexit(exitCleanup);
  // 4. Toolkit start-up: GDI+, fonts, caption sprite, window class.
  toolkit::startToolkit();
  platform::startUiTaskQueue();

  // 5. The main window; its WM_CREATE runs onMainWindowCreated.
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!registerMainWindowClass(instance)) return 1;
  HWND hwnd = createMainWindow(instance);
  if (!hwnd) return 1;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);

  // 6.
  const int code = runMessageLoop();
  platform::stopUiTaskQueue();
  OleUninitialize();
  return code;
}

void onMainWindowCreated(HWND hwnd) {
  AppState& state = appState();
  const std::filesystem::path home = platform::executableDirectory();

  state.tipIndex = 1;
  state.tips = defaultTips();

  state.settings.setDirectory(home);
  state.settings.loadSettings();
  state.settings.applySettings(state);

  // 4. The editor window over the lower area; its created handler registers
  //    the hotkeys. Its playback and document hooks (setCommands) are filled
  //    in as those commands join.
  editor::theEditorWindow().create(hwnd, state);

  SetWindowTextW(hwnd, text::widen(kMainCaption).c_str());

  // The audio library and its plug-ins are loaded from plugins\ beside the
  // executable, whatever the current folder is.
  SetDllDirectoryW((pluginsDirectory().wstring() + L"\\").c_str());

  // 7-8. A library that does not start, or a plug-in that does not load,
  //      leaves start-up going: its streams then simply fail to open.
  state.audioPlayer.init();
  audio::loadDecoderPlugins(home);

  state.mainWindowHandle = hwnd;

  const std::string skinBytes = files::readAll(home / "skin.jpg").value_or(std::string{});
  // 11. The toolkit takes the window over: skin or colour, caption buttons
  //     (479: icon, title, close, maximise, minimise and the program's own
  //     64, 128, 256), opacity from the settings' percentage.
  state.mainHost.attach(hwnd, {.skinBytes = skinBytes,
                               .colour = static_cast<toolkit::ColorRef>(state.uiColor),
                               .style = 479,
                               .alpha = state.uiOpacityPercent * 255 / 100});

  MainWindowControls& controls = *g_mainControls;
  controls.createSeekBar(hwnd);     // 12.
  controls.createControls(hwnd);    // 13.
  controls.installCallbacks();      // 14.
  editor::theEditorWindow().setCommands(playerCommands(controls));
  // 15. Loading the play history joins here with the history list.
  controls.flashMessage(state.tips[0]);  // 16.
  // 17. The update check joins here with the online services.
}

void onMainWindowMoved(HWND hwnd) {
  RECT main{};
  GetWindowRect(hwnd, &main);
  editor::theEditorWindow().followMainWindow(main);
}

void onMainWindowActivated(HWND) {
  if (!appState().hotkeysRegistered) editor::theEditorWindow().registerHotkeys();
}

void onMainWindowDeactivated(HWND) {
  AppState& state = appState();
  if (state.closing) return;
  if (!state.editorActive) releaseHotkeys();
}

bool onMainWindowCloseRequested(HWND) {
  AppState& state = appState();
  // 1. The "确认退出吗？" question joins here with the skinned message box.
  releaseHotkeys();
  state.closing = true;
  // 4. Writing the play history and 5. the unsaved-document prompt join
  //    here with their parts.
  return true;
}

void releaseHotkeys() {
  AppState& state = appState();
  // Unregisters each of hotkeyIds from the editor window, which owns the
  // registrations.
  editor::theEditorWindow().releaseHotkeys();
  state.hotkeysRegistered = false;
}

void exitCleanup() {
  // Releases the settings document without writing it, and every global
  // object; no audio-library call is made here.
  g_mainControls.reset();
  g_appState.reset();
}

}  // namespace zelvo
