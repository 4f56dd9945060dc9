// The process-wide state of one run: created before the first window,
// destroyed by exitCleanup. Only the UI thread reads or writes it; workers
// post their changes (platform/ui_thread.h).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <thread>

#include "app/settings_store.h"
#include "app/tips.h"
#include "audio/audio_player.h"
#include "toolkit/core/host_window.h"

namespace zelvo {

inline constexpr int kHotkeyCount = 31;

struct AppState : AppSettings {
  HWND mainWindowHandle = nullptr;
  toolkit::HostWindow mainHost;  // the toolkit host of the main window
  audio::AudioPlayer audioPlayer;  // the one wrapper around the audio library

  // Playback.
  std::uint32_t currentStream = 0;
  float baseFrequency = 0;
  int speedStep = 0;  // tenths of normal speed, 6..15; 0 reads as 10
  bool historySuppressed = false;
  std::string selectedHistoryText;
  bool seekDragging = false;

  // Lecture mode.
  bool lectureModeOn = false;
  std::jthread followerThread;
  int backgroundRepaintCount = 0;

  // Main window.
  int tipIndex = 1;
  Tips tips;
  bool editorCollapsed = false;
  bool closing = false;

  // Editor and hotkeys.
  bool editorActive = false;
  bool hotkeysRegistered = false;
  std::array<int, kHotkeyCount> hotkeyIds{};
  bool formatPanelAutoPopup = false;

  // Settings (the values themselves are the AppSettings base).
  SettingsStore settings;

  // The transcript document.
  bool documentModified = false;
  std::string documentPath;
};

// The one AppState of the process; valid between start-up step 2 and exit.
AppState& appState();

}  // namespace zelvo
