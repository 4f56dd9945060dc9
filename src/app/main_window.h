// The main window: a plain top-level window of 680 x 440 at (50, 50) that the
// toolkit host draws on, and the start-up and shutdown sequence around it.
#pragma once

#include <windows.h>

namespace zelvo {

inline constexpr wchar_t kMainWindowClass[] = L"Zelvo_MainWindow";
inline constexpr char kMainCaption[] = "Zelvo录音整理工具6.1";
inline constexpr int kMainLeft = 50, kMainTop = 50, kMainWidth = 680, kMainHeight = 440;

// The entry point's work; returns the process exit code.
int runProgram();

void onMainWindowCreated(HWND hwnd);
void onMainWindowMoved(HWND hwnd);
void onMainWindowActivated(HWND hwnd);
void onMainWindowDeactivated(HWND hwnd);
// True when the main window may close.
bool onMainWindowCloseRequested(HWND hwnd);
void releaseHotkeys();
void exitCleanup();

}  // namespace zelvo
