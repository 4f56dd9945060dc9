// The text button on a real host, and the skinned message box driven from
// a thread timer while its modal loop runs: size and text placement, fitting
// to wide texts, button sets and focus, the ways to answer, the owner's
// disabled state, the icon tile, the sound, the owner's look, and boxes
// opened while another is open.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "pictures.h"
#include "toolkit/controls/control_paint.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/text_button.h"
#include "toolkit/core/host_window.h"
#include "toolkit/core/image_object.h"
#include "toolkit/core/message_box.h"

using namespace zelvo::toolkit;

namespace {

using Clock = std::chrono::steady_clock;

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) {
  const auto end = Clock::now() + timeout;
  while (true) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (Clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

HWND makeHostWindow(const wchar_t* title, int x, int y, int width, int height) {
  startToolkit();
  HWND hwnd = CreateWindowExW(0, kHostWindowClass, title, WS_POPUP, x, y, width, height, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  return hwnd;
}

HostWindow* hostOf(HWND hwnd) {
  const WindowRecord* record = windowRecord(windowNumberOf(hwnd));
  return record ? record->host : nullptr;
}

// ---------------------------------------------------------------------------
// Canvas pixels

int luminance(std::uint32_t bgra) { return static_cast<int>(((bgra >> 16) & 0xFF) + ((bgra >> 8) & 0xFF) + (bgra & 0xFF)) / 3; }

struct Box2 {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool empty() const { return right < 0; }
  int width() const { return right - left + 1; }
};

// Bounding box of the dark (caption) pixels inside a control, its borders
// left out.
Box2 darkPixels(const Surface& surface, const RectF& rect, int threshold = 110) {
  Box2 box;
  for (int y = static_cast<int>(rect.y) + 2; y < static_cast<int>(rect.y + rect.height) - 2; ++y)
    for (int x = static_cast<int>(rect.x) + 2; x < static_cast<int>(rect.x + rect.width) - 2; ++x)
      if (luminance(surface.pixel(x, y)) < threshold) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
      }
  return box;
}

// Where a caption covers its face: each pixel's darkening against the same
// pixel of a blank button, and the centre of that coverage.
struct Coverage {
  double x = 0, y = 0, total = 0;
};

std::vector<std::uint32_t> snapshot(const Surface& surface, const RectF& rect) {
  std::vector<std::uint32_t> pixels;
  for (int y = static_cast<int>(rect.y); y < static_cast<int>(rect.y + rect.height); ++y)
    for (int x = static_cast<int>(rect.x); x < static_cast<int>(rect.x + rect.width); ++x)
      pixels.push_back(surface.pixel(x, y));
  return pixels;
}

Coverage coverageOf(const std::vector<std::uint32_t>& pixels, const Surface& surface, const RectF& rect,
                    const RectF& blank) {
  Coverage c;
  const int w = static_cast<int>(rect.width), h = static_cast<int>(rect.height);
  for (int y = 2; y < h - 2; ++y)
    for (int x = 2; x < w - 2; ++x) {
      const int face = luminance(surface.pixel(static_cast<int>(blank.x) + x, static_cast<int>(blank.y) + y));
      const int shown = luminance(pixels[static_cast<size_t>(y * w + x)]);
      if (face <= 0 || shown >= face) continue;
      const double weight = static_cast<double>(face - shown) / face;
      c.x += weight * x;
      c.y += weight * y;
      c.total += weight;
    }
  if (c.total > 0) {
    c.x /= c.total;
    c.y /= c.total;
  }
  return c;
}

Coverage coverageOf(const Surface& surface, const RectF& rect, const RectF& blank) {
  return coverageOf(snapshot(surface, rect), surface, rect, blank);
}

int darkest(const Surface& surface, const RectF& rect) {
  int low = 255;
  for (int y = static_cast<int>(rect.y) + 2; y < static_cast<int>(rect.y + rect.height) - 2; ++y)
    for (int x = static_cast<int>(rect.x) + 2; x < static_cast<int>(rect.x + rect.width) - 2; ++x)
      low = std::min(low, luminance(surface.pixel(x, y)));
  return low;
}

// ---------------------------------------------------------------------------
// TextButton

class TextButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = makeHostWindow(L"Buttons", 40, 40, 400, 200);
    ASSERT_NE(hwnd, nullptr);
    host = std::make_unique<HostWindow>();
    host->attach(hwnd, {.colour = 0xFFFFFF, .style = 0, .fade = 0, .fixedSize = 1});
    ASSERT_TRUE(host->attached());
    host->setClickHandler([this](HWND, int id, Control*, int) { clicks.push_back(id); });
    // The host would start the system's move loop on a press that is not
    // on a button; the tests never want it.
    host->setMessageHook([](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
      return message == WM_NCLBUTTONDOWN ? 0 : -1;
    });
  }
  void TearDown() override {
    if (hwnd) DestroyWindow(hwnd);
    host.reset();
  }
  const Surface& canvas() { return host->windowRecord()->canvas; }
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(hwnd, message, wParam, lParam); }
  static LPARAM centreOf(const Control& c) {
    const RectF r = c.bounds();
    return MAKELPARAM(static_cast<int>(r.x + r.width / 2), static_cast<int>(r.y + r.height / 2));
  }
  int altKey(char letter) {
    const size_t before = clicks.size();
    send(WM_SYSKEYDOWN, static_cast<WPARAM>(letter), 0);
    return clicks.size() > before ? clicks.back() : 0;
  }

  HWND hwnd = nullptr;
  std::unique_ptr<HostWindow> host;
  std::vector<int> clicks;
};

TEST_F(TextButtons, AmpersandIsHiddenAndItsLetterBecomesTheAccessKey) {
  TextButton marked, plain, literal;
  const int id = marked.create(hwnd, "&Yes", 20, 20, 90, 24);
  plain.create(hwnd, "Yes", 20, 60, 90, 24);
  literal.create(hwnd, "&&Yes", 20, 100, 90, 24);
  ASSERT_GT(id, 0);

  const Box2 shown = darkPixels(canvas(), marked.bounds());
  const Box2 bare = darkPixels(canvas(), plain.bounds());
  const Box2 withAmpersand = darkPixels(canvas(), literal.bounds());
  ASSERT_FALSE(shown.empty());
  ASSERT_FALSE(bare.empty());
  EXPECT_NEAR(shown.width(), bare.width(), 2) << "the & is not drawn";
  EXPECT_GE(withAmpersand.width(), bare.width() + 4) << "&& shows one ampersand";
  EXPECT_GT(shown.bottom - 20, bare.bottom - 60) << "the access letter is underlined";

  EXPECT_EQ(altKey('Y'), id);
  EXPECT_EQ(altKey('y'), id);
  EXPECT_EQ(altKey('N'), 0) << "a caption without & registers nothing";
  EXPECT_EQ(accessKeyOf("&&Yes"), 0);
  EXPECT_EQ(accessKeyOf("Save &As"), 'A');
  EXPECT_EQ(accessKeyOf("End&"), 0);
}

TEST_F(TextButtons, TextReRegistersTheAccessKey) {
  TextButton button;
  const int id = button.create(hwnd, "&Yes", 20, 20, 90, 24);
  EXPECT_EQ(button.text("&Keep"), "&Keep");
  EXPECT_EQ(altKey('K'), id);
  EXPECT_EQ(altKey('Y'), 0);
  // A caption that no longer names a key must not keep the old one alive.
  button.text("Plain");
  EXPECT_EQ(altKey('K'), 0);
  EXPECT_EQ(button.text(), "Plain");
}

TEST_F(TextButtons, DisabledPaintsTheDisabledFaceAndIgnoresTheMouse) {
  TextButton enabled, off;
  enabled.create(hwnd, "Go", 20, 20, 90, 24);
  off.create(hwnd, "Go", 20, 60, 90, 24);
  off.disabled(1);
  EXPECT_EQ(off.face(), TextButtonFace::kDisabled);
  EXPECT_LT(darkest(canvas(), enabled.bounds()), 90) << "caption black at alpha 210";
  // Caption black at alpha 90 over the grey face: about 218 * 165 / 255 at its darkest.
  EXPECT_GT(darkest(canvas(), off.bounds()), 120);
  // The disabled face fill, grey (96, 96, 96) at alpha 60 over white.
  const std::uint32_t face = canvas().pixel(static_cast<int>(off.bounds().x) + 4, static_cast<int>(off.bounds().y) + 4);
  EXPECT_NEAR(luminance(face), 255 - (255 - 96) * 60 / 255, 6);

  const std::uint32_t before = canvas().pixel(60, 72);
  send(WM_MOUSEMOVE, 0, centreOf(off));
  send(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(off));
  send(WM_LBUTTONUP, 0, centreOf(off));
  EXPECT_EQ(off.face(), TextButtonFace::kDisabled);
  EXPECT_EQ(canvas().pixel(60, 72), before);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(TextButtons, PressingShiftsTheCaptionOnePixelRightAndDown) {
  // A blank twin gives the face without a caption, so that what the caption
  // covers can be told apart from the different gradients of the two states.
  TextButton button, blank;
  const int id = button.create(hwnd, "Press", 20, 20, 90, 24);
  blank.create(hwnd, "", 20, 60, 90, 24);
  ASSERT_EQ(button.face(), TextButtonFace::kNormal);
  const Coverage normal = coverageOf(canvas(), button.bounds(), blank.bounds());

  send(WM_MOUSEMOVE, 0, centreOf(button));
  EXPECT_EQ(button.face(), TextButtonFace::kHover);
  send(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(button));
  EXPECT_EQ(button.face(), TextButtonFace::kPressed);
  const std::vector<std::uint32_t> pressedPixels = snapshot(canvas(), button.bounds());
  send(WM_LBUTTONUP, 0, centreOf(button));
  EXPECT_EQ(clicks, std::vector<int>{id});
  // Pressed buttons take the focus; the next plain paint shows it.
  button.redraw();
  EXPECT_EQ(button.face(), TextButtonFace::kFocused);

  send(WM_MOUSEMOVE, 0, centreOf(blank));
  send(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(blank));
  ASSERT_EQ(blank.face(), TextButtonFace::kPressed);
  const Coverage pressed = coverageOf(pressedPixels, canvas(), button.bounds(), blank.bounds());
  send(WM_LBUTTONUP, 0, centreOf(blank));

  ASSERT_GT(normal.total, 0);
  EXPECT_NEAR(pressed.x - normal.x, 1.0, 0.15);
  EXPECT_NEAR(pressed.y - normal.y, 1.0, 0.15);
  EXPECT_NEAR(pressed.total, normal.total, normal.total * 0.1) << "the same caption, moved";
}

TEST_F(TextButtons, FadesStartFromTheirStateAndRoundingFollowsTheHost) {
  host->fadeSetting(1);
  TextButton button;
  button.create(hwnd, "Fade", 20, 20, 90, 24);
  EXPECT_EQ(button.rounded(), 1);
  send(WM_MOUSEMOVE, 0, centreOf(button));
  EXPECT_EQ(button.fadeAlpha(), 153);
  send(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(button));
  EXPECT_EQ(button.fadeAlpha(), 204);
  send(WM_LBUTTONUP, 0, centreOf(button));
  // The button's own timer runs the fade out to the end.
  EXPECT_TRUE(pumpUntil([&] { return button.fadeAlpha() == 0; }));

  host->cornerSize(0);
  TextButton square;
  square.create(hwnd, "Square", 20, 60, 90, 24);
  EXPECT_EQ(square.rounded(), 0);
}

// ---------------------------------------------------------------------------
// Message box

// Runs steps from a thread timer while a modal box pumps messages. A step
// returns true when it is done and the next may run; steps may open boxes
// of their own (the timer then fires inside their loops). Past the deadline
// every box is destroyed, so that a failing test ends instead of hanging.
class BoxDriver {
 public:
  using Step = std::function<bool()>;

  explicit BoxDriver(std::vector<Step> steps) : steps_(std::move(steps)), running_(steps_.size(), false) {
    current_ = this;
    deadline_ = Clock::now() + std::chrono::seconds(20);
    timer_ = SetTimer(nullptr, 0, 20, &BoxDriver::tick);
  }
  ~BoxDriver() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  BoxDriver(const BoxDriver&) = delete;
  BoxDriver& operator=(const BoxDriver&) = delete;

  bool finished() const { return next_ >= steps_.size(); }
  bool timedOut() const { return timedOut_; }
  // For a step that opens a box: lets the following steps run inside it.
  void advancePast(size_t step) { next_ = std::max(next_, step + 1); }
  size_t currentStep() const { return next_; }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->run();
  }
  void run() {
    if (finished()) return;
    if (Clock::now() > deadline_) {
      timedOut_ = true;
      std::vector<HWND> boxes;
      EnumThreadWindows(
          GetCurrentThreadId(),
          [](HWND hwnd, LPARAM list) {
            if (isBox(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&boxes));
      for (HWND box : boxes) DestroyWindow(box);
      next_ = steps_.size();
      return;
    }
    const size_t i = next_;
    if (running_[i]) return;
    running_[i] = true;
    const bool done = steps_[i]();
    running_[i] = false;
    if (done && next_ == i) next_ = i + 1;
  }
  static bool isBox(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return std::wstring(name) == kHostWindowClass && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  }

  static inline BoxDriver* current_ = nullptr;
  std::vector<Step> steps_;
  std::vector<bool> running_;
  size_t next_ = 0;
  UINT_PTR timer_ = 0;
  Clock::time_point deadline_;
  bool timedOut_ = false;
};

HWND findBox(const std::string& title) { return FindWindowW(kHostWindowClass, toWide(title).c_str()); }

struct BoxView {
  RECT window{};
  HostWindow* host = nullptr;
  std::vector<std::pair<RectF, TextButton*>> buttons;  // left to right
  std::optional<RectF> label;
  std::optional<RectF> closeButton;
};

BoxView inspect(HWND box) {
  BoxView view;
  GetWindowRect(box, &view.window);
  const WindowRecord* record = windowRecord(windowNumberOf(box));
  if (!record) return view;
  view.host = record->host;
  for (const ControlRecord& c : record->controls) {
    if (c.kind == kKindTextButton) view.buttons.emplace_back(c.rect, dynamic_cast<TextButton*>(c.object));
    if (c.kind == kKindLabel) view.label = c.rect;
    if (c.kind == kKindCaptionButton) view.closeButton = c.rect;
  }
  std::sort(view.buttons.begin(), view.buttons.end(), [](const auto& a, const auto& b) { return a.first.x < b.first.x; });
  return view;
}

void post(HWND box, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { PostMessageW(box, message, wParam, lParam); }

LPARAM centreOf(const RectF& r) {
  return MAKELPARAM(static_cast<int>(r.x + r.width / 2), static_cast<int>(r.y + r.height / 2));
}

int beepCalls = 0;
UINT lastBeep = 0;
BOOL WINAPI countingBeep(UINT type) {
  ++beepCalls;
  lastBeep = type;
  return TRUE;
}

class MessageBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = makeHostWindow(L"Owner", 30, 30, 500, 300);
    ASSERT_NE(owner, nullptr);
    ownerHost = std::make_unique<HostWindow>();
    // No caption buttons and a fixed size: Wine's X driver waits two seconds
    // at destruction for a window with a system menu or a sizing frame when
    // no window manager runs, and only the box needs those.
    ownerHost->attach(owner, {.colour = 0x336699, .style = 0, .corner = 0, .fade = 0, .fixedSize = 1});
    previousBeep = replaceMessageBeep(&countingBeep);
    beepCalls = 0;
  }
  void TearDown() override {
    replaceMessageBeep(previousBeep);
    if (owner) DestroyWindow(owner);
    ownerHost.reset();
  }
  // Opens a box and runs the steps inside it; the last step must answer it.
  int run(const std::string& text, int buttons, const std::string& title, int icon, std::vector<BoxDriver::Step> steps,
          bool beep = true) {
    BoxDriver driver(std::move(steps));
    const int result = showMessageBox(owner, text, buttons, title, icon, {}, beep);
    EXPECT_FALSE(driver.timedOut()) << "the steps did not finish: stopped at " << driver.currentStep();
    EXPECT_TRUE(driver.finished());
    return result;
  }
  static BoxDriver::Step pressEscape(const std::string& title) {
    return [title] {
      if (HWND box = findBox(title)) post(box, WM_KEYDOWN, VK_ESCAPE, 0);
      return true;
    };
  }

  HWND owner = nullptr;
  std::unique_ptr<HostWindow> ownerHost;
  MessageBeepFunction previousBeep = nullptr;
};

TEST_F(MessageBoxes, OneLineTextGivesThe320By150BoxWithTheTextAt30_47) {
  BoxView view;
  bool ownerEnabledMeanwhile = true;
  const int result = run("确认退出吗？", 4, "one line", 0,
                         {[&] {
                            HWND box = findBox("one line");
                            if (!box || !IsWindowVisible(box)) return false;
                            view = inspect(box);
                            ownerEnabledMeanwhile = IsWindowEnabled(owner) != FALSE;
                            return true;
                          },
                          pressEscape("one line")});
  EXPECT_EQ(result, kResultCancel);
  EXPECT_EQ(view.window.right - view.window.left, 320);
  EXPECT_EQ(view.window.bottom - view.window.top, 150);
  EXPECT_EQ(view.window.left, (GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
  EXPECT_EQ(view.window.top, (GetSystemMetrics(SM_CYSCREEN) - 150) / 2);
  ASSERT_TRUE(view.label.has_value());
  EXPECT_EQ(view.label->x, 30);
  EXPECT_EQ(view.label->y, 47) << "a text lower than 30 px moves down by 4";
  EXPECT_EQ(view.label->width, 260);
  EXPECT_FALSE(ownerEnabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(findBox("one line"), nullptr);
}

TEST_F(MessageBoxes, WideTextWidensTheBoxByItsMarginsAndCentresIt) {
  struct Case {
    int icon;
    int labelX;
    int margin;
  };
  const std::string text = "这是一条很长的消息，它比文字区域宽得多，所以消息框必须变宽才能放下。";
  for (const Case& c : {Case{0, 30, 60}, Case{64, 85, 120}}) {
    SCOPED_TRACE(c.icon);
    BoxView view;
    run(text, 0, "wide", c.icon,
        {[&] {
           HWND box = findBox("wide");
           if (!box) return false;
           view = inspect(box);
           return true;
         },
         pressEscape("wide")});
    const int width = view.window.right - view.window.left;
    ASSERT_TRUE(view.label.has_value());
    EXPECT_GT(width, 320);
    // W = text width + margin, and the label is the text width + 10.
    EXPECT_NEAR(width - view.label->width, c.margin - 10, 1);
    EXPECT_EQ(view.label->x, c.labelX);
    EXPECT_EQ(view.window.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(view.window.bottom - view.window.top, 150);
    ASSERT_EQ(view.buttons.size(), 1u);
    EXPECT_EQ(view.buttons[0].first.x + view.buttons[0].first.width, width - 83 + 70);
  }
}

TEST_F(MessageBoxes, TextWiderThanTheScreenWrapsInsteadOfPushingTheButtonsAway) {
  std::string text;
  for (int i = 0; i < 600; ++i) text += "长";
  BoxView view;
  run(text, 3, "huge", 0,
      {[&] {
         HWND box = findBox("huge");
         if (!box) return false;
         view = inspect(box);
         return true;
       },
       pressEscape("huge")});
  const int width = view.window.right - view.window.left;
  EXPECT_LE(width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(view.window.left, 0);
  EXPECT_GT(view.window.bottom - view.window.top, 150) << "the wrapped lines make it taller " << width << " label "
      << view.label->x << "," << view.label->y << "," << view.label->width << "," << view.label->height << " screen "
      << GetSystemMetrics(SM_CXSCREEN);
  ASSERT_EQ(view.buttons.size(), 3u);
  for (const auto& [rect, button] : view.buttons) EXPECT_LE(rect.x + rect.width, width);
}

TEST_F(MessageBoxes, ButtonSetsShowTheirCaptionsLeftToRightAndEnterAnswersWithTheRightmost) {
  struct Case {
    int set;
    std::vector<std::string> captions;
    int enterResult;
  };
  const Case cases[] = {
      {0, {"确认"}, kResultOk},
      {1, {"确认", "取消"}, kResultCancel},
      {2, {"忽略", "重试", "放弃"}, kResultAbort},
      {3, {"是", "否", "取消"}, kResultCancel},
      {4, {"是", "否"}, kResultNo},
      {5, {"重试", "取消"}, kResultCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    std::vector<std::string> captions;
    std::string focused;
    const int result = run("按钮", c.set, "set", 0,
                           {[&] {
                              HWND box = findBox("set");
                              if (!box) return false;
                              const BoxView view = inspect(box);
                              for (const auto& [rect, button] : view.buttons) {
                                captions.push_back(button->text());
                                if (button->hasFocus()) focused = button->text();
                              }
                              post(box, WM_KEYDOWN, VK_RETURN, 0);
                              return true;
                            }});
    EXPECT_EQ(captions, c.captions);
    EXPECT_EQ(focused, c.captions.back());
    EXPECT_EQ(result, c.enterResult);
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
}

TEST_F(MessageBoxes, EscTheCloseButtonAndAClickAnswerAndGiveTheOwnerBack) {
  enum How { kEscape, kCloseButton, kClickYes };
  struct Case {
    How how;
    int expected;
  };
  for (const Case& c : {Case{kEscape, kResultCancel}, Case{kCloseButton, kResultCancel}, Case{kClickYes, kResultYes}}) {
    SCOPED_TRACE(c.how);
    const int result = run("退出？", 3, "answer", 32,
                           {[&] {
                              HWND box = findBox("answer");
                              if (!box || IsWindowEnabled(owner)) return false;
                              const BoxView view = inspect(box);
                              if (c.how == kEscape) {
                                post(box, WM_KEYDOWN, VK_ESCAPE, 0);
                              } else {
                                const RectF target = c.how == kCloseButton ? view.closeButton.value_or(RectF{})
                                                                           : view.buttons.front().first;
                                post(box, WM_MOUSEMOVE, 0, centreOf(target));
                                post(box, WM_LBUTTONDOWN, MK_LBUTTON, centreOf(target));
                                post(box, WM_LBUTTONUP, 0, centreOf(target));
                              }
                              return true;
                            }});
    EXPECT_EQ(result, c.expected);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(findBox("answer"), nullptr);
  }
}

// Share of the strip tile's opaque pixels that the box's background shows
// at (30, 40).
double tileMatch(const Surface& background, const ImageObject& strip, int tileLeft) {
  int opaque = 0, same = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const Argb want = strip.pixel(tileLeft + x, y);
      if ((want >> 24) < 250) continue;
      ++opaque;
      const std::uint32_t got = background.pixel(30 + x, 40 + y);
      bool close = true;
      for (int shift : {0, 8, 16}) close = close && std::abs(static_cast<int>((want >> shift) & 0xFF) - static_cast<int>((got >> shift) & 0xFF)) <= 24;
      same += close;
    }
  return opaque ? static_cast<double>(same) / opaque : 0;
}

TEST_F(MessageBoxes, IconDrawsItsTileOfTheStrip) {
  ImageObject strip;
  ASSERT_NE(strip.loadFromBytes(zelvo::pictures::kMessageIcons), nullptr);
  ASSERT_EQ(strip.width(), 200);
  struct Case {
    int icon;
    int tile;  // -1: none
  };
  for (const Case& c : {Case{32, 80}, Case{16, 0}, Case{64, 120}, Case{0, -1}}) {
    SCOPED_TRACE(c.icon);
    std::vector<double> matches;
    run("图标", 0, "icon", c.icon,
        {[&] {
           HWND box = findBox("icon");
           if (!box) return false;
           const Surface& background = windowRecord(windowNumberOf(box))->background;
           for (int tile = 0; tile < 200; tile += 40) matches.push_back(tileMatch(background, strip, tile));
           return true;
         },
         pressEscape("icon")});
    ASSERT_EQ(matches.size(), 5u);
    for (int tile = 0; tile < 5; ++tile) {
      if (c.tile < 0) EXPECT_LT(matches[tile], 0.5) << "tile at " << tile * 40;
      else if (tile * 40 == c.tile) EXPECT_GT(matches[tile], 0.9);
      else EXPECT_LT(matches[tile], matches[c.tile / 40] - 0.03) << "tile at " << tile * 40;
    }
  }
}

TEST_F(MessageBoxes, BeepsOnlyWithAnIconAndWhenAsked) {
  struct Case {
    int icon;
    bool beep;
    int calls;
  };
  for (const Case& c : {Case{32, true, 1}, Case{64, false, 0}, Case{0, true, 0}}) {
    SCOPED_TRACE(c.icon);
    beepCalls = 0;
    lastBeep = 0;
    run("声音", 4, "beep", c.icon, {pressEscape("beep")}, c.beep);
    EXPECT_EQ(beepCalls, c.calls);
    if (c.calls) {
      EXPECT_EQ(lastBeep, static_cast<UINT>(c.icon));
    }
  }
}

TEST_F(MessageBoxes, TakesOverTheOwnersColourAndCornerButNotANineGridSkin) {
  struct Look {
    ColorRef colour;
    int corner;
  };
  std::optional<Look> seen;
  BoxDriver::Step look = [&] {
    HWND box = findBox("look");
    if (!box) return false;
    HostWindow* host = hostOf(box);
    seen = Look{host->backgroundColour(), host->corner()};
    return true;
  };
  run("外观", 0, "look", 0, {look, pressEscape("look")});
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->colour, 0x336699u);
  EXPECT_EQ(seen->corner, 0);

  ownerHost->cornerSize(1);
  seen.reset();
  run("外观", 0, "look", 0, {look, pressEscape("look")});
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->colour, 0xFF8800u);
  EXPECT_EQ(seen->corner, 5);
}

TEST_F(MessageBoxes, ABoxOpenedWhileOneIsOpenLeavesTheFirstIntact) {
  std::optional<int> second;
  std::optional<int> otherThread;
  HWND first = nullptr;
  std::vector<std::string> firstCaptions;
  bool ownerDisabledAfterSecond = false;
  BoxDriver* driver = nullptr;
  std::vector<BoxDriver::Step> steps = {
      [&] {
        first = findBox("first");
        return first != nullptr;
      },
      [&] {
        // Another thread is refused at once: the toolkit's windows are ours.
        std::thread([&] { otherThread = showMessageBox(nullptr, "别的线程", 0, "other thread"); }).join();
        return true;
      },
      [&] {
        driver->advancePast(2);
        second = showMessageBox(owner, "第二个", 4, "second", 0);
        return true;
      },
      [&] {
        HWND box = findBox("second");
        if (!box) return false;
        post(box, WM_KEYDOWN, VK_RETURN, 0);  // "否"
        return true;
      },
      [&] {
        if (!second) return false;
        ownerDisabledAfterSecond = IsWindowEnabled(owner) == FALSE;
        for (const auto& [rect, button] : inspect(first).buttons) firstCaptions.push_back(button->text());
        post(first, WM_KEYDOWN, VK_RETURN, 0);  // "取消"
        return true;
      },
  };
  BoxDriver running(std::move(steps));
  driver = &running;
  const int result = showMessageBox(owner, "第一个", 3, "first", 0);
  EXPECT_FALSE(running.timedOut()) << "stopped at " << running.currentStep();
  EXPECT_EQ(otherThread, kResultCancel);
  EXPECT_EQ(second, kResultNo);
  EXPECT_TRUE(ownerDisabledAfterSecond) << "the first box still holds the owner";
  EXPECT_EQ(firstCaptions, (std::vector<std::string>{"是", "否", "取消"}));
  EXPECT_EQ(result, kResultCancel);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(findBox("first"), nullptr);
  EXPECT_EQ(findBox("other thread"), nullptr);
}

TEST_F(MessageBoxes, CustomiseSeesTheBuiltBox) {
  HWND customised = nullptr;
  int width = 0, height = 0;
  BoxDriver driver({pressEscape("custom")});
  showMessageBox(owner, "定制", 0, "custom", 0, [&](HWND box, int w, int h) {
    customised = box;
    width = w;
    height = h;
  });
  EXPECT_NE(customised, nullptr);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 150);
}

TEST_F(MessageBoxes, QuitWhileOpenEndsTheBoxAndReachesTheOuterLoop) {
  const int result = run("退出", 0, "quit", 0, {[] {
                           if (!findBox("quit")) return false;
                           PostQuitMessage(7);
                           return true;
                         }});
  EXPECT_EQ(result, kResultCancel);
  EXPECT_EQ(findBox("quit"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessageBoxes, AWindowThatCannotBeCreatedAnswers1AtOnce) {
  // An owner that is no window makes the creation fail.
  const HWND bogus = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF1234));
  ASSERT_FALSE(IsWindow(bogus));
  EXPECT_EQ(showMessageBox(bogus, "无", 4, "never", 32), kResultCancel);
  EXPECT_EQ(findBox("never"), nullptr);
  EXPECT_EQ(beepCalls, 0);
}

}  // namespace
