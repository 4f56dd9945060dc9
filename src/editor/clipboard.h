// The system clipboard as plain text, for the insert commands and the
// toolbar's paste state.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zelvo::editor {

// Replaces the clipboard's contents with `utf8` as Unicode text. Another
// program may hold the clipboard for a moment: a few short retries, then
// false.
bool setClipboardText(HWND owner, const std::string& utf8);
// Nothing when the clipboard holds no text or cannot be opened.
std::optional<std::string> clipboardText(HWND owner);
bool clipboardHasText();

}  // namespace zelvo::editor
