// Input routing on a real host: presses and clicks, window dragging, resize
// zones, keyboard focus and Tab, access keys, control timers and the
// fade-in that pauses all of it. Input is sent as window messages (and once
// as real input from the X server).
#include "host_fixture.h"

#include "toolkit/controls/caption_button.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

struct Call {
  std::string what;
  int id;
  Control* handle;
  int kind;
};

class Input : public HostFixture {
 protected:
  void SetUp() override {
    attachHost({.colour = 0x808080, .style = 479});
    auto record = [this](const char* what) {
      return [this, what](HWND window, int id, Control* handle, int kind) {
        EXPECT_EQ(window, hwnd);
        calls.push_back({what, id, handle, kind});
      };
    };
    host->setClickHandler(record("click"));
    host->setMouseDownHandler(record("down"));
    host->setMouseUpHandler(record("up"));
    host->setDoubleClickHandler(record("double"));
    host->setFocusGainedHandler(record("gained"));
    host->setFocusLostHandler(record("lost"));
    host->setMouseEnterHandler(record("enter"));
    host->setMouseLeaveHandler(record("leave"));
    button.create(hwnd, {100, 100, 45, 45});
    other.create(hwnd, {200, 100, 45, 45});
    label.create(hwnd, {300, 100, 45, 45}, 1, /*focusable=*/0, kKindLabel);
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const Call& c : calls) out.push_back(c.what);
    return out;
  }
  int calledFor(const std::string& what, const Control& c) const {
    int n = 0;
    for (const Call& call : calls) n += call.what == what && call.handle == &c;
    return n;
  }
  void setCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }

  TestControl button, other, label;
  std::vector<Call> calls;
};

}  // namespace

TEST_F(Input, PressAndReleaseInsideClicks) {
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(110, 110));
  EXPECT_EQ(GetCapture(), hwnd);
  EXPECT_TRUE(button.hasFocus());
  send(WM_LBUTTONUP, 0, point(120, 120));
  EXPECT_EQ(button.count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(button.count(WM_LBUTTONUP), 1);
  EXPECT_EQ(button.count(kMsgClick), 1);
  EXPECT_NE(GetCapture(), hwnd);
  EXPECT_EQ(names(), (std::vector<std::string>{"gained", "down", "click", "up"}));
  const Call& click = calls[2];
  EXPECT_EQ(click.id, button.controlId());
  EXPECT_EQ(click.handle, &button);
  EXPECT_EQ(click.kind, kKindTextButton);
  EXPECT_FALSE(host->pressed());
}

TEST_F(Input, ReleaseOutsideGivesNoClick) {
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(110, 110));
  send(WM_MOUSEMOVE, MK_LBUTTON, point(210, 110));
  send(WM_LBUTTONUP, 0, point(210, 110));
  // The pressed control got the move and the release, the one under the
  // pointer only the mouse up callback.
  EXPECT_EQ(button.count(WM_MOUSEMOVE), 1);
  EXPECT_EQ(button.count(WM_LBUTTONUP), 1);
  EXPECT_EQ(button.count(kMsgClick), 0);
  EXPECT_EQ(other.count(WM_LBUTTONUP), 0);
  EXPECT_EQ(calledFor("click", button) + calledFor("click", other), 0);
  EXPECT_EQ(calledFor("up", other), 1);
  EXPECT_EQ(calledFor("up", button), 0);
  // Released over nothing: no mouse up callback at all. (A press on the
  // focused control reports the focus as gained again.)
  calls.clear();
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(110, 110));
  send(WM_LBUTTONUP, 0, point(400, 300));
  EXPECT_EQ(names(), (std::vector<std::string>{"gained", "down"}));
}

TEST_F(Input, PressOnANonFocusableControlOrTheBackgroundMovesTheWindow) {
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(310, 110));
  EXPECT_EQ(requestCount(WM_NCLBUTTONDOWN, HTCAPTION), 1);
  EXPECT_EQ(label.count(WM_LBUTTONDOWN), 1);
  EXPECT_FALSE(host->pressed());
  send(WM_LBUTTONUP, 0, point(310, 110));
  EXPECT_EQ(label.count(kMsgClick), 0);
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(400, 300));
  EXPECT_EQ(requestCount(WM_NCLBUTTONDOWN, HTCAPTION), 2);
  // A disabled button moves the window as well.
  button.disabled(1);
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(110, 110));
  EXPECT_EQ(requestCount(WM_NCLBUTTONDOWN, HTCAPTION), 3);
  EXPECT_FALSE(host->pressed());
  // Drag flag bit 0: neither moves it.
  host->backgroundDrag(0);
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(400, 300));
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(310, 110));
  EXPECT_EQ(requestCount(WM_NCLBUTTONDOWN, HTCAPTION), 3);
}

TEST_F(Input, ResizeZonesSetTheCursorAndStartTheSizeLoop) {
  struct Case {
    int x, y, edge;
    const wchar_t* cursor;
  };
  const Case cases[] = {{5, 100, 1, IDC_SIZEWE},   {675, 100, 2, IDC_SIZEWE},   {300, 3, 3, IDC_SIZENS},
                        {4, 4, 4, IDC_SIZENWSE},   {675, 4, 5, IDC_SIZENESW},   {300, 435, 6, IDC_SIZENS},
                        {4, 435, 7, IDC_SIZENESW}, {675, 435, 8, IDC_SIZENWSE}};
  for (const Case& c : cases) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    send(WM_MOUSEMOVE, 0, point(c.x, c.y));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.cursor)) << c.x << "," << c.y;
    send(WM_LBUTTONDOWN, MK_LBUTTON, point(c.x, c.y));
    EXPECT_EQ(requestCount(WM_SYSCOMMAND, SC_SIZE + c.edge), 1) << c.edge;
  }
  EXPECT_EQ(requestCount(WM_NCLBUTTONDOWN, HTCAPTION), 0);
  // Inside: no resize.
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(400, 300));
  EXPECT_EQ(requests.size(), std::size(cases) + 1);
  // Fixed size or maximised: the edges are ordinary background.
  requests.clear();
  host->fixedSize(1);
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(5, 100));
  EXPECT_EQ(requestCount(WM_SYSCOMMAND, SC_SIZE + 1), 0);
  host->fixedSize(0);
  maximise(hwnd);
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(5, 100));
  EXPECT_EQ(requestCount(WM_SYSCOMMAND, SC_SIZE + 1), 0);
  EXPECT_EQ(requestCount(WM_NCLBUTTONDOWN, HTCAPTION), 2);
}

TEST_F(Input, HoverEnterAndLeave) {
  send(WM_MOUSEMOVE, 0, point(110, 110));
  send(WM_MOUSEMOVE, 0, point(111, 111));
  EXPECT_EQ(calledFor("enter", button), 1);
  send(WM_MOUSEMOVE, 0, point(210, 110));
  EXPECT_EQ(calledFor("leave", button), 1);
  EXPECT_EQ(button.count(kMsgPaint, kPaintHoverEnded), 1);
  EXPECT_EQ(calledFor("enter", other), 1);
  send(WM_MOUSELEAVE);
  EXPECT_EQ(other.count(kMsgPaint, kPaintHoverEnded), 1);
  EXPECT_EQ(host->hoveredPosition(), 0);
}

TEST_F(Input, DoubleClicks) {
  send(WM_LBUTTONDBLCLK, MK_LBUTTON, point(110, 110));
  send(WM_LBUTTONUP, 0, point(110, 110));
  EXPECT_EQ(button.count(WM_LBUTTONDBLCLK), 1);
  EXPECT_EQ(calledFor("double", button), 1);
  // On the bare caption area it toggles maximise.
  send(WM_LBUTTONDBLCLK, MK_LBUTTON, point(300, 15));
  send(WM_LBUTTONUP, 0, point(300, 15));
  EXPECT_EQ(requestCount(WM_NCLBUTTONDOWN, HTCAPTION), 3);  // the press itself, then two around the toggle
  ASSERT_TRUE(pumpUntil([&] { return requestCount(WM_SYSCOMMAND, SC_MAXIMIZE) == 1; }));
  // Lower down it does not.
  send(WM_LBUTTONDBLCLK, MK_LBUTTON, point(300, 200));
  pumpUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_EQ(requestCount(WM_SYSCOMMAND, SC_MAXIMIZE), 1);
}

TEST_F(Input, CaptionButtonsCarryOutTheirCommands) {
  const auto& buttons = host->captionButtons();
  auto clickAt = [&](const RectF& r) {
    const LPARAM at = point(static_cast<int>(r.x) + 5, static_cast<int>(r.y) + 5);
    send(WM_LBUTTONDOWN, MK_LBUTTON, at);
    send(WM_LBUTTONUP, 0, at);
  };
  clickAt(buttons[0]->bounds());  // close
  clickAt(buttons[2]->bounds());  // minimise
  clickAt(buttons[3]->bounds());  // the program's own (64)
  ASSERT_TRUE(pumpUntil([&] { return requestCount(WM_CLOSE, 0) == 1 && requestCount(WM_SYSCOMMAND, SC_MINIMIZE) == 1; }));
  // The free button reaches the program only through the click callback.
  std::vector<int> clickedFlags;
  for (const Call& c : calls) {
    if (c.what != "click") continue;
    clickedFlags.push_back(host->captionButtonFlag(c.id));
    EXPECT_EQ(c.kind, kKindCaptionButton);
  }
  EXPECT_EQ(clickedFlags, (std::vector<int>{4, 16, 64}));
  // A disabled caption button does nothing.
  host->configureCaptionButton(4, 1, 1);
  clickAt(buttons[0]->bounds());
  pumpUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_EQ(requestCount(WM_CLOSE, 0), 1);
}

TEST_F(Input, TabMovesTheFocusAndWraps) {
  TestControl disabled, notFocusable, hidden, last;
  disabled.create(hwnd, {100, 200, 20, 20});
  disabled.disabled(1);
  notFocusable.create(hwnd, {130, 200, 20, 20}, 1, 0);
  hidden.create(hwnd, {160, 200, 20, 20}, 0, 1);
  last.create(hwnd, {190, 200, 20, 20});
  host->setFocusTo(button.controlId());
  send(WM_KEYUP, VK_TAB, 0);
  EXPECT_TRUE(other.hasFocus());
  EXPECT_TRUE(host->keyboardFocus());
  send(WM_KEYUP, VK_TAB, 0);
  EXPECT_TRUE(last.hasFocus());  // skips the disabled, the unfocusable and the hidden
  EXPECT_EQ(other.count(kMsgPaint, kPaintFocusLost), 1);
  calls.clear();
  send(WM_KEYUP, VK_TAB, 0);
  EXPECT_TRUE(button.hasFocus());  // wraps past caption buttons and the icon
  EXPECT_EQ(names(), (std::vector<std::string>{"lost", "gained"}));
  // Ctrl+Tab does not move the focus.
  setCtrl(true);
  send(WM_KEYUP, VK_TAB, 0);
  setCtrl(false);
  EXPECT_TRUE(button.hasFocus());
}

TEST_F(Input, TabWithNothingFocusableKeepsTheFocus) {
  button.destroy();
  other.destroy();
  send(WM_KEYUP, VK_TAB, 0);
  EXPECT_EQ(host->focusedPosition(), 0);
}

TEST_F(Input, CtrlTabReachesTabStripsAndEnterClicks) {
  TestControl strip;
  strip.create(hwnd, {400, 100, 40, 20}, 1, 1, kKindScrollBarOrTabStrip);
  host->setFocusTo(strip.controlId());
  setCtrl(true);
  send(WM_KEYDOWN, VK_TAB, 0);
  setCtrl(false);
  ASSERT_EQ(strip.count(kMsgCtrlTab), 1);
  EXPECT_EQ(strip.count(WM_KEYDOWN), 1);
  host->setFocusTo(button.controlId());
  send(WM_KEYDOWN, VK_RETURN, 0);
  send(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(button.count(kMsgClick), 2);
  EXPECT_EQ(calledFor("click", button), 2);
  EXPECT_EQ(button.count(WM_KEYDOWN), 2);
  // The key-down hook can take a key away from the control.
  host->setKeyDownHook([](HWND, int, WPARAM key, LPARAM) { return key == 'Q' ? 1 : -1; });
  send(WM_KEYDOWN, 'Q', 0);
  send(WM_KEYDOWN, 'W', 0);
  EXPECT_EQ(button.count(WM_KEYDOWN), 3);
  send(WM_CHAR, 'x', 0);
  EXPECT_EQ(button.count(WM_CHAR), 1);
}

TEST_F(Input, AccessKeysClickTheirControl) {
  EXPECT_EQ(send(kMsgSetAccessKey, other.controlId(), 'A'), 1);
  send(WM_SYSKEYDOWN, 'a', 0);
  EXPECT_EQ(other.count(kMsgClick), 1);
  EXPECT_EQ(calledFor("click", other), 1);
  send(WM_SYSKEYDOWN, 'B', 0);
  EXPECT_EQ(other.count(kMsgClick), 1);
  other.disabled(1);
  send(WM_SYSKEYDOWN, 'A', 0);
  EXPECT_EQ(other.count(kMsgClick), 1);
  EXPECT_EQ(host->setAccessKey(other.controlId(), 0), 1);
  EXPECT_EQ(host->setAccessKey(other.controlId(), 0), 0);
}

TEST_F(Input, ControlTimersGoToWindowAndPosition) {
  const UINT_PTR id = controlTimerId(host->windowNumber(), position(other));
  send(WM_TIMER, id, 0);
  ASSERT_EQ(other.count(WM_TIMER), 1);
  EXPECT_EQ(other.seen.back().wParam, id);
  EXPECT_EQ(button.count(WM_TIMER), 0);
  // A real timer arrives the same way.
  SetTimer(hwnd, controlTimerId(host->windowNumber(), position(button)), 20, nullptr);
  ASSERT_TRUE(pumpUntil([&] { return button.count(WM_TIMER) > 0; }));
  KillTimer(hwnd, controlTimerId(host->windowNumber(), position(button)));
}

TEST_F(Input, FadeInTakesSixTicksAndPausesInput) {
  KillTimer(hwnd, kFadeInTimer);
  host->setBackground(std::nullopt, 0x406080, true);
  KillTimer(hwnd, kFadeInTimer);  // the ticks are sent by hand below
  ASSERT_TRUE(host->fullRepaint());
  int ticks = 0;
  while (host->fullRepaint() && ticks < 20) {
    send(WM_LBUTTONDOWN, MK_LBUTTON, point(110, 110));
    send(WM_LBUTTONUP, 0, point(110, 110));
    send(WM_TIMER, controlTimerId(host->windowNumber(), position(other)), 0);
    send(WM_TIMER, kFadeInTimer, 0);
    ++ticks;
    if (host->fullRepaint()) EXPECT_EQ(host->fadeProgress(), 51 * ticks);
  }
  EXPECT_EQ(ticks, 6);
  EXPECT_EQ(button.count(kMsgClick), 0);
  EXPECT_EQ(button.count(WM_LBUTTONDOWN), 0);
  EXPECT_EQ(other.count(WM_TIMER), 0);
  EXPECT_TRUE(calls.empty());
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(110, 110));
  send(WM_LBUTTONUP, 0, point(110, 110));
  EXPECT_EQ(button.count(kMsgClick), 1);
}

TEST_F(Input, RealMouseClickFromTheXServer) {
  host->setMessageHook({});
  SetWindowPos(hwnd, HWND_TOP, 60, 60, 0, 0, SWP_NOSIZE);
  SetForegroundWindow(hwnd);
  pumpUntil([] { return false; }, std::chrono::milliseconds(200));
  SetCursorPos(60 + 120, 60 + 120);
  INPUT press[2] = {};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, press, sizeof(INPUT));
  ASSERT_TRUE(pumpUntil([&] { return button.count(kMsgClick) == 1; })) << names().size();
  EXPECT_EQ(calledFor("click", button), 1);
}
