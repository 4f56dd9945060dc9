// showMessageBox: builds the box on a HostWindow, fits it to the text,
// takes over the owner's look, runs the modal loop and reports the button.
//
// Every call owns its host, label, buttons and result (one Box on its own
// stack frame), so a box opened while another is open cannot touch the
// first one's objects; only the owner's disabled state is shared, and it is
// counted per owner.
#include "toolkit/core/message_box.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "pictures.h"
#include "toolkit/controls/control_paint.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/text_button.h"
#include "toolkit/core/drawing.h"
#include "toolkit/core/host_window.h"
#include "toolkit/core/image_object.h"
#include "toolkit/core/toolkit.h"

namespace zelvo::toolkit {

namespace {

constexpr wchar_t kIconProperty[] = L"msg_wnd";
constexpr char kDefaultTitle[] = "提示：";
constexpr int kStartWidth = 320, kStartHeight = 150;
constexpr int kButtonWidth = 70, kButtonHeight = 24;
constexpr ColorRef kBoxColour = 0xFF8800;  // RGB 0, 136, 255
constexpr int kBoxStyle = kStyleTitle | kStyleClose;
constexpr int kBoxAlpha = 170;

struct ButtonSpec {
  const char* caption;  // null: no such button
  int result;
};
// Buttons A (rightmost), B, C per set.
constexpr std::array<std::array<ButtonSpec, 3>, 6> kButtonSets{{
    {{{"确认", kResultOk}, {nullptr, 0}, {nullptr, 0}}},
    {{{"取消", kResultCancel}, {"确认", kResultOk}, {nullptr, 0}}},
    {{{"放弃", kResultAbort}, {"重试", kResultRetry}, {"忽略", kResultIgnore}}},
    {{{"取消", kResultCancel}, {"否", kResultNo}, {"是", kResultYes}}},
    {{{"否", kResultNo}, {"是", kResultYes}, {nullptr, 0}}},
    {{{"取消", kResultCancel}, {"重试", kResultRetry}, {nullptr, 0}}},
}};
// Right edge offsets of A, B, C as built, and after a size change.
constexpr std::array<int, 3> kBuiltOffsets{83, 158, 233};
constexpr std::array<int, 3> kResizedOffsets{85, 165, 245};

std::atomic<MessageBeepFunction> beepFunction{&MessageBeep};

// Which thread has boxes open, and how many boxes hold each owner disabled.
struct OpenBoxes {
  std::mutex mutex;
  DWORD thread = 0;
  int depth = 0;
  std::vector<std::pair<HWND, int>> holds;
};
OpenBoxes& openBoxes() {
  static OpenBoxes boxes;
  return boxes;
}

class BoxEntry {
 public:
  BoxEntry() {
    OpenBoxes& boxes = openBoxes();
    std::lock_guard lock(boxes.mutex);
    const DWORD me = GetCurrentThreadId();
    // The toolkit's window table belongs to one thread; a box from another
    // thread would edit it under the first box's feet.
    if (boxes.depth > 0 && boxes.thread != me) return;
    boxes.thread = me;
    ++boxes.depth;
    entered_ = true;
  }
  ~BoxEntry() {
    if (!entered_) return;
    OpenBoxes& boxes = openBoxes();
    std::lock_guard lock(boxes.mutex);
    if (--boxes.depth == 0) boxes.thread = 0;
  }
  BoxEntry(const BoxEntry&) = delete;
  BoxEntry& operator=(const BoxEntry&) = delete;
  bool entered() const { return entered_; }

 private:
  bool entered_ = false;
};

void holdOwner(HWND owner) {
  OpenBoxes& boxes = openBoxes();
  {
    std::lock_guard lock(boxes.mutex);
    auto it = std::find_if(boxes.holds.begin(), boxes.holds.end(), [owner](const auto& h) { return h.first == owner; });
    if (it == boxes.holds.end()) boxes.holds.emplace_back(owner, 1);
    else ++it->second;
  }
  EnableWindow(owner, FALSE);
}

void releaseHold(HWND owner) {
  OpenBoxes& boxes = openBoxes();
  bool last = false;
  {
    std::lock_guard lock(boxes.mutex);
    auto it = std::find_if(boxes.holds.begin(), boxes.holds.end(), [owner](const auto& h) { return h.first == owner; });
    if (it == boxes.holds.end()) return;
    if (--it->second == 0) {
      boxes.holds.erase(it);
      last = true;
    }
  }
  if (last) EnableWindow(owner, TRUE);
}

// One open box. The host is declared first so that it goes last: the
// controls leave it before it detaches.
struct Box {
  HostWindow host;
  ImageObject icons;
  std::array<TextButton, 3> buttons;  // A, B, C
  Label label;
  HWND window = nullptr;
  HWND owner = nullptr;
  bool holdsOwner = false;
  bool destroyed = false;
  int result = kResultCancel;

  void takeOwner() {
    if (!owner || holdsOwner) return;
    holdsOwner = true;
    holdOwner(owner);
  }
  // The owner comes back as soon as the box is answered, not only when the
  // window is finally gone; every path ends here at least once.
  void releaseOwner() {
    if (!holdsOwner) return;
    holdsOwner = false;
    releaseHold(owner);
  }
};

void paintBackground(const Box& box, HWND hwnd, GpGraphics* graphics, int width, int height) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const auto white = [](int alpha) { return argb(alpha, 255, 255, 255); };
  fillGradient(graphics, makeRectF(5, 5, w - 10, 40.1f), white(1), white(190), 1);
  fillGradient(graphics, makeRectF(5, 44, w - 10, h - 84), white(188), white(240), 1);
  fillGradient(graphics, makeRectF(5, h - 40, w - 10, 35), white(190), white(1), 1);
  drawLine(graphics, white(210), 6, h - 40, w - 6, h - 40, 1);
  const int icon = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, kIconProperty)));
  const int left = messageIconTileLeft(icon);
  if (left >= 0 && box.icons.imageHandle())
    drawImageStretched(graphics, box.icons.imageHandle(), makeRectF(30, 40, 40, 40),
                       makeRectF(static_cast<float>(left), 0, 40, 40), true);
}

void moveButtons(Box& box, int width, int height) {
  for (size_t i = 0; i < box.buttons.size(); ++i) {
    TextButton& button = box.buttons[i];
    if (!button.isCreated()) continue;
    button.setBounds(static_cast<float>(width - kResizedOffsets[i]), static_cast<float>(height - 36), std::nullopt,
                     std::nullopt, false);
  }
}

void onClick(Box& box, HWND hwnd, Control* control, int kind) {
  if (kind == kKindCaptionButton) {
    box.releaseOwner();  // the close button closes the window itself
    return;
  }
  if (kind != kKindTextButton || !control) return;
  const std::string tag = control->tag();
  int value = 0;
  if (!tag.empty() && std::from_chars(tag.data(), tag.data() + tag.size(), value).ec == std::errc{})
    box.result = value;
  RemovePropW(hwnd, kIconProperty);
  box.releaseOwner();
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

void centre(HWND hwnd, int width, int height) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

struct TextRect {
  int x, y, width, height;
};

// Grows the box to the text. A text wider than the screen would push the
// buttons out of reach; there the box stops at the screen and the text wraps.
void fitText(Box& box, const std::string& text, int& width, int& height, TextRect& t) {
  GpGraphics* graphics = canvasGraphics(box.host.windowNumber());
  GpFont* font = globals().defaultFont.get();
  const int marginX = width - t.width, marginY = height - t.height;
  RectF measured{};
  if (!measureString(graphics, text, font, makeRectF(0, 0, 0, 0), nullptr, measured)) return;
  const int maxWidth = std::max(width, GetSystemMetrics(SM_CXSCREEN) - 40);
  const int maxHeight = std::max(height, GetSystemMetrics(SM_CYSCREEN) - 40);
  if (measured.width > static_cast<float>(t.width)) {
    const int wanted = static_cast<int>(measured.width + static_cast<float>(marginX));
    if (wanted > maxWidth) {
      width = maxWidth;
      t.width = width - marginX;
      // The label draws 2 px in from each side; measure a little narrower
      // so that it wraps no later than the measure did.
      RectF wrapped{};
      if (measureString(graphics, text, font, makeRectF(0, 0, static_cast<float>(t.width - 10), 0), nullptr, wrapped))
        measured = wrapped;
    } else {
      width = wanted;
      t.width = static_cast<int>(measured.width + 10);
    }
    centre(box.window, width, height);
  }
  if (measured.height > static_cast<float>(t.height)) {
    const int wanted = static_cast<int>(measured.height + static_cast<float>(marginY));
    if (wanted > maxHeight) {
      height = maxHeight;
      t.height = height - marginY;
    } else {
      height = wanted;
      t.height = static_cast<int>(measured.height + 5);
    }
    centre(box.window, width, height);
  }
  if (measured.height < 30) t.y += 4;
}

// The owner's skin, colour and corner, when the owner is one of our hosts
// (only then is its answer to the skin message a picture of this process).
void takeOwnerLook(Box& box) {
  const int number = windowNumberOf(box.owner);
  const WindowRecord* record = number > 0 ? windowRecord(number) : nullptr;
  if (!record || !record->host) return;
  const int corner = record->host->corner();
  auto* skin = reinterpret_cast<GpImage*>(SendMessageW(box.owner, kMsgSkinImage, 0, 0));
  const auto colour = static_cast<ColorRef>(SendMessageW(box.owner, kMsgBackgroundColour, 0, 0));
  if ((!skin && colour == 0) || corner == 1) return;
  GpImage* copy = nullptr;
  if (skin && gp::GdipCloneImage(skin, &copy) != kOk) copy = nullptr;
  box.host.skinImageHandle(copy);
  box.host.cornerSize(corner, false);
  box.host.setBackground(std::nullopt, colour, false);
}

void createButtons(Box& box, int buttons, int width, int height) {
  const auto& set = kButtonSets[(buttons >= 0 && buttons < static_cast<int>(kButtonSets.size())) ? buttons : 0];
  for (size_t i = 0; i < set.size(); ++i) {
    if (!set[i].caption) continue;
    TextButton& button = box.buttons[i];
    button.create(box.window, set[i].caption, width - kBuiltOffsets[i], height - 36, kButtonWidth, kButtonHeight);
    button.tag(std::to_string(set[i].result));
  }
}

int runModalLoop(Box& box) {
  MSG msg{};
  while (!box.destroyed) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: the box goes, and the quit goes on to the
      // loop that waits for it.
      if (!box.destroyed) DestroyWindow(box.window);
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) {
      if (!box.destroyed) DestroyWindow(box.window);
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return box.result;
}

}  // namespace

int messageIconTileLeft(int icon) {
  switch (icon) {
    case 0: return -1;
    case kIconError: return 0;
    case kIconWarning: return 40;
    case kIconQuestion: return 80;
    case kIconInformation: return 120;
    case kIconDone: return 160;
    default: return 0;
  }
}

MessageBeepFunction replaceMessageBeep(MessageBeepFunction beep) {
  return beepFunction.exchange(beep ? beep : &MessageBeep);
}

int showMessageBox(HWND owner, const std::string& text, int buttons, const std::optional<std::string>& title, int icon,
                   const MessageBoxCustomise& customise, bool beep) {
  BoxEntry entry;
  if (!entry.entered()) return kResultCancel;

  Box box;
  box.owner = owner;
  int width = kStartWidth, height = kStartHeight;
  TextRect t = icon == 0 ? TextRect{30, 43, width - 60, height - 100} : TextRect{85, 43, width - 120, height - 100};

  const std::wstring caption = toWide(title.value_or(kDefaultTitle));
  box.window = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_TOPMOST, kHostWindowClass, caption.c_str(),
                               WS_POPUP | WS_BORDER | WS_SYSMENU, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  if (!box.window) return kResultCancel;
  if (owner) {
    if (HICON small = windowIcon(owner)) SendMessageW(box.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
  SetPropW(box.window, kIconProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(icon)));
  if (icon != 0) box.icons.loadFromBytes(pictures::kMessageIcons);

  box.host.setBackgroundPaintHandler(
      [&box](HWND hwnd, GpGraphics* graphics, HDC, int w, int h) { paintBackground(box, hwnd, graphics, w, h); });
  box.host.setSizeHandler([&box](HWND, int w, int h) { moveButtons(box, w, h); });
  box.host.setMessageHook([&box](HWND hwnd, UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_DESTROY) {
      RemovePropW(hwnd, kIconProperty);
      box.destroyed = true;
    }
    return -1;
  });
  box.host.attach(box.window, {.colour = kBoxColour, .style = kBoxStyle, .alpha = kBoxAlpha, .fade = 0, .fixedSize = 1});
  box.host.setClickHandler([&box](HWND hwnd, int, Control* control, int kind) { onClick(box, hwnd, control, kind); });
  box.host.setKeyDownHook([&box](HWND hwnd, int, WPARAM key, LPARAM) {
    if (key != VK_ESCAPE) return -1;  // Enter and Space press the focused button
    box.releaseOwner();
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return 0;
  });

  fitText(box, text, width, height, t);
  if (owner) takeOwnerLook(box);
  createButtons(box, buttons, width, height);
  LabelOptions message;
  message.textColour = argb(210, 0, 0, 0);
  message.alignment = 0;
  message.formatFlags = 2048;  // not "no wrapping": long messages wrap
  box.label.create(box.window, text, t.x, t.y, t.width, t.height, message);
  box.label.tag(std::to_string(reinterpret_cast<std::uintptr_t>(owner)));

  if (customise) customise(box.window, width, height);
  if (icon != 0 && beep) beepFunction.load()(static_cast<UINT>(icon));

  box.host.setFocusTo(box.buttons[0].controlId());
  ShowWindow(box.window, SW_SHOWNORMAL);
  box.takeOwner();

  const int result = runModalLoop(box);
  box.releaseOwner();
  return result;
}

}  // namespace zelvo::toolkit
