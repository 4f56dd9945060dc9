// The skinned message box: the program's own replacement for the system's,
// a small translucent window of the class "Zelvo_UIHost" with white
// gradients, an optional icon, the message and up to three text buttons,
// looking like its owner (skin picture, colour and corner size). Modal: it
// disables the owner, pumps the calling thread's messages until the box is
// gone and returns which button ended it.
//
// Button sets (captions from left to right) and results:
//   0 "确认"                    0
//   1 "确认" "取消"             0 1
//   2 "忽略" "重试" "放弃"      4 3 2
//   3 "是" "否" "取消"          5 6 1
//   4 "是" "否"                 5 6
//   5 "重试" "取消"             3 1
// Esc, the close button, a failed window and a refused call return 1.
// The rightmost button has the focus, so Enter answers with it.
//
// Threads: call it on the thread that owns the toolkit's windows (the UI
// thread). A call made there while a box is open opens a second box over the
// first, with objects of its own; the owner is enabled again only when the
// last box holding it ends. A call from another thread while a box is open
// returns 1 at once without showing anything.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace zelvo::toolkit {

enum MessageBoxResult : int {
  kResultOk = 0,
  kResultCancel = 1,
  kResultAbort = 2,
  kResultRetry = 3,
  kResultIgnore = 4,
  kResultYes = 5,
  kResultNo = 6,
};

// Icon values: 0 none, 16 error, 32 question, 48 warning, 64 information,
// 128 done; any other non-zero value shows the error picture.
enum MessageBoxIcon : int { kIconNone = 0, kIconError = 16, kIconQuestion = 32, kIconWarning = 48,
                            kIconInformation = 64, kIconDone = 128 };

// Called once after the box is built, before it shows: (box, width, height).
using MessageBoxCustomise = std::function<void(HWND, int, int)>;

// owner: the window to disable while the box is open (null: none).
// text, title: UTF-8; title defaults to "提示：". buttons: the set above
// (an unknown set shows set 0, so that the box always has a focused button
// and Esc and Enter work).
// beep: play the icon's system sound (only when an icon is given).
int showMessageBox(HWND owner, const std::string& text, int buttons = 0,
                   const std::optional<std::string>& title = std::nullopt, int icon = 0,
                   const MessageBoxCustomise& customise = {}, bool beep = true);

// Left edge of the icon's tile in the icon strip; -1 for no icon.
int messageIconTileLeft(int icon);

// The sound routine the box plays through (MessageBeep by default); tests
// put a counter in its place. Returns the routine it replaces; null restores
// MessageBeep.
using MessageBeepFunction = BOOL(WINAPI*)(UINT type);
MessageBeepFunction replaceMessageBeep(MessageBeepFunction beep);

}  // namespace zelvo::toolkit
