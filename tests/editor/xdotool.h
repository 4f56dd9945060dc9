// Typing and pointing as a person would, through xdotool on the X server
// that Wine draws on (Wine runs Unix programs named by their path).
#pragma once

#include <windows.h>

#include <string>

namespace zelvo::test {

// Starts `xdotool <arguments>`; false when it could not be started. It runs
// on its own: wait for what the keys do, not for the program.
bool xdotool(const std::string& arguments);
// Moves the pointer over the middle of `window` and clicks there: with no
// window manager the keyboard focus follows the pointer.
bool pointAndClick(HWND window);

}  // namespace zelvo::test
