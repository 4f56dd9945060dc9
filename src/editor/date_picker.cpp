#include "editor/date_picker.h"

#include "platform/text_codec.h"

namespace zelvo::editor {
namespace {

enum : int { kListId = 1201, kConfirmId = 1202, kCancelId = 1203 };

}  // namespace

bool DatePicker::create(HWND parent, DatePickerEvents events) {
  events_ = std::move(events);
  if (!createPanel(parent, kDatePickerLeft, kDatePickerTop, kDatePickerWidth, kDatePickerHeight)) return false;
  // The title bar: a press on it drags the panel.
  addChild(L"STATIC", text::widen("  插入日期(Ctrl+T):").c_str(), SS_CENTERIMAGE | WS_BORDER, -1, -1, 176, 25, -1);
  addDragArea({-1, -1, -1 + 176, -1 + 25});
  // LBS_WANTKEYBOARDINPUT hands every key to the panel (WM_VKEYTOITEM), so
  // Enter can confirm without subclassing the list.
  list_ = addChild(L"LISTBOX", L"", LBS_NOTIFY | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                                        WS_BORDER | WS_TABSTOP,
                   8, 32, 160, 136, kListId);
  confirm_ = addChild(L"BUTTON", text::widen("确定").c_str(), BS_PUSHBUTTON | WS_TABSTOP, 8, 179, 72, 24, kConfirmId);
  cancel_ = addChild(L"BUTTON", text::widen("取消").c_str(), BS_PUSHBUTTON | WS_TABSTOP, 93, 179, 72, 24, kCancelId);
  return list_ && confirm_ && cancel_;
}

void DatePicker::fill(const std::array<std::string, kDateEntryCount>& entries) {
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries)
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text::widen(entry).c_str()));
  SendMessageW(list_, LB_SETCURSEL, 0, 0);
}

void DatePicker::open() {
  show();
  SetFocus(list_);
}

int DatePicker::entryCount() const { return static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0)); }

std::string DatePicker::entry(int index) const {
  const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR || length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text::narrow(text);
}

std::string DatePicker::selectedText() const {
  const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return {};
  return entry(static_cast<int>(index));
}

LRESULT DatePicker::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if ((id == kConfirmId && code == BN_CLICKED) || (id == kListId && code == LBN_DBLCLK)) {
        if (events_.confirmed) events_.confirmed();
      } else if (id == kCancelId && code == BN_CLICKED) {
        if (events_.cancelled) events_.cancelled();
      }
      return 0;
    }
    case WM_VKEYTOITEM:
      if (reinterpret_cast<HWND>(lParam) == list_ && LOWORD(wParam) == VK_RETURN) {
        if (events_.confirmed) events_.confirmed();
        return -2;  // handled: the list does nothing more with the key
      }
      return -1;  // the list's own handling (arrows, letters)
  }
  return Panel::handleMessage(message, wParam, lParam);
}

}  // namespace zelvo::editor
