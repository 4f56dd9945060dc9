// How long a typed key takes to do its work in the editor, under Wine with
// keys typed by xdotool:
//   F4      typed -> togglePlayPause hook called
//   Ctrl+M  typed -> marker in the transcript
//   a       typed -> letter in the transcript (the baseline: the same path
//                    from xdotool to the window, without the hotkey service)
// and, for F4, the part from the hotkey message being queued to the hook.
// Each figure is the median of many presses; the start of xdotool is in all
// three, so the differences to the baseline are what the hotkeys cost.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "xdotool.h"

using namespace zelvo;
using Clock = std::chrono::steady_clock;

namespace {

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Dispatches messages until `done`, checking after every message so the
// moment is taken as soon as the effect exists.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!done()) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    if (Clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

struct Figures {
  std::vector<double> total;
  int failed = 0;
  void print(const char* what) const {
    std::printf("%-34s median %7.2f ms   min %7.2f   max %7.2f   (%zu presses, %d lost)\n", what, median(total),
                total.empty() ? 0 : *std::min_element(total.begin(), total.end()),
                total.empty() ? 0 : *std::max_element(total.begin(), total.end()), total.size(), failed);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
  Clock::time_point hookAt{};
  int hookCalls = 0;
  std::vector<double> queueToHook;
  editor::EditorCommands hooks;
  hooks.togglePlayPause = [&] {
    hookAt = Clock::now();
    ++hookCalls;
    queueToHook.push_back(static_cast<double>(GetTickCount() - static_cast<DWORD>(GetMessageTime())));
  };
  hooks.positionText = [] { return std::string("12:34"); };
  test::EditorFixture fixture(hooks, {}, test::EditorFixture::Owner::Managed);
  editor::RichEdit& text = fixture.text();
  if (!test::pointAndClick(text.handle()) ||
      !runUntil([&] { return GetFocus() == text.handle(); }, std::chrono::seconds(10))) {
    std::fprintf(stderr, "the transcript did not get the keyboard focus\n");
    return 1;
  }
  auto textLength = [&] { return GetWindowTextLengthW(text.handle()); };

  Figures f4, marker, letter;
  for (int i = 0; i < presses; ++i) {
    const int before = hookCalls;
    const auto start = Clock::now();
    test::xdotool("key --clearmodifiers F4");
    if (runUntil([&] { return hookCalls > before; }, std::chrono::seconds(5)))
      f4.total.push_back(ms(hookAt - start));
    else
      ++f4.failed;

    int length = textLength();
    auto typed = Clock::now();
    test::xdotool("key --clearmodifiers ctrl+m");
    if (runUntil([&] { return textLength() >= length + 7; }, std::chrono::seconds(5)))
      marker.total.push_back(ms(Clock::now() - typed));
    else
      ++marker.failed;

    length = textLength();
    typed = Clock::now();
    test::xdotool("key --clearmodifiers a");
    if (runUntil([&] { return textLength() > length; }, std::chrono::seconds(5)))
      letter.total.push_back(ms(Clock::now() - typed));
    else
      ++letter.failed;
  }
  std::printf("Editor key latency under Wine, %d presses each (xdotool start included)\n", presses);
  f4.print("F4 typed -> togglePlayPause hook");
  marker.print("Ctrl+M typed -> marker in the text");
  letter.print("letter typed -> in the text");
  std::printf("%-34s median %7.2f ms   (GetTickCount resolution)\n", "F4 hotkey queued -> hook", median(queueToHook));
  const bool ok = f4.failed == 0 && marker.failed == 0 && letter.failed == 0;
  return ok ? 0 : 1;
}
