#include "xdotool.h"

#include "platform/handles.h"
#include "platform/text_codec.h"

namespace zelvo::test {

bool xdotool(const std::string& arguments) {
  std::wstring command = text::widen("/usr/bin/xdotool " + arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  // Wine hands back no waitable handle for a Unix program: callers poll for
  // the effect of the keys instead.
  platform::ScopedHandle processHandle(process.hProcess);
  platform::ScopedHandle threadHandle(process.hThread);
  return true;
}

bool pointAndClick(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  return xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

}  // namespace zelvo::test
