#include "editor/format_panel.h"

#include <commctrl.h>

#include <set>

#include "platform/text_codec.h"

namespace zelvo::editor {
namespace {

enum : int {
  kToolbarId = 1001,
  kAutoPopupId = 1002,
  kFontListId = 1003,
  kSizeListId = 1004,
  kFirstSquareId = 1100,
  kFirstButtonCommand = 2000,
};

constexpr const char* kButtonTips[kToolbarButtonCount] = {
    "粗体", "斜体", "下划线", "全选", "插入日期时间", "【时间标记】插入当前秒", "插入分隔线", "剪切", "复制", "粘贴",
};

constexpr int kSquareSize = 17, kSquarePitch = 18, kSquareTop = 78, kSquareLeft = 1;

// Font families in the order the system lists them, each once (the system
// names a family again for every character set it supports).
int CALLBACK collectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context) {
  auto* names = reinterpret_cast<std::vector<std::wstring>*>(context);
  names->emplace_back(font->lfFaceName);
  return 1;
}

std::wstring comboText(HWND combo) {
  const int length = GetWindowTextLengthW(combo);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(combo, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

int FormatPanel::toolbarCommand(int button) { return kFirstButtonCommand + button; }

bool FormatPanel::create(HWND parent, FormatPanelEvents events) {
  events_ = std::move(events);
  if (!createPanel(parent, kFormatPanelLeft, kFormatPanelTop, kFormatPanelWidth, kFormatPanelHeight)) return false;

  toolbar_ = addChild(TOOLBARCLASSNAMEW, L"",
                      TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN, 1, 1, 233,
                      24, kToolbarId);
  SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  pictures_ = loadToolbarPictures();
  SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures_.get()));
  std::array<TBBUTTON, kToolbarButtonCount> buttons{};
  for (int n = 0; n < kToolbarButtonCount; ++n) {
    buttons[n].iBitmap = n;
    buttons[n].idCommand = toolbarCommand(n);
    buttons[n].fsState = TBSTATE_ENABLED;
    buttons[n].fsStyle = n <= kButtonUnderline ? BTNS_CHECK : BTNS_BUTTON;
    buttons[n].iString = -1;
  }
  SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));

  autoPopupBox_ = addChild(L"BUTTON", text::widen("智能弹出格式栏 [去掉勾只能右键弹出]").c_str(),
                           BS_AUTOCHECKBOX, 1, 25, 233, 20, kAutoPopupId);
  addChild(L"STATIC", text::widen(" 字体：").c_str(), SS_CENTERIMAGE, 2, 48, 39, 28, -1);
  addDragArea({2, 48, 2 + 39, 48 + 28});
  // The heights include the dropped list.
  fontList_ = addChild(L"COMBOBOX", L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 44, 52, 100,
                       260, kFontListId);
  addChild(L"STATIC", text::widen(" 字号：").c_str(), SS_CENTERIMAGE, 146, 48, 40, 28, -1);
  addDragArea({146, 48, 146 + 40, 48 + 28});
  sizeList_ = addChild(L"COMBOBOX", L"", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 188, 52, 40, 260, kSizeListId);
  for (const char* size : kSizeList)
    SendMessageW(sizeList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text::widen(size).c_str()));

  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  squares_[0] = createSquare(1);
  return toolbar_ && autoPopupBox_ && fontList_ && sizeList_ && squares_[0];
}

HWND FormatPanel::createSquare(int n) {
  const NamedColour& colour = kColourTable[static_cast<std::size_t>(n - 1)];
  HWND square = addChild(L"BUTTON", L"", BS_OWNERDRAW, kSquareLeft + kSquarePitch * (n - 1), kSquareTop,
                         kSquareSize, kSquareSize, kFirstSquareId + n);
  if (square && tooltips_) {
    squareTips_[static_cast<std::size_t>(n - 1)] = text::widen(colour.name);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = handle();
    tool.uId = reinterpret_cast<UINT_PTR>(square);
    tool.lpszText = squareTips_[static_cast<std::size_t>(n - 1)].data();
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return square;
}

void FormatPanel::createColourSquares() {
  for (int n = 2; n <= kColourSquareCount; ++n) {
    if (!squares_[static_cast<std::size_t>(n - 1)]) squares_[static_cast<std::size_t>(n - 1)] = createSquare(n);
  }
}

void FormatPanel::addFontFamilies() {
  std::vector<std::wstring> names;
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  platform::ScopedWindowDc dc(handle());
  EnumFontFamiliesExW(dc.get(), &wanted, collectFamily, reinterpret_cast<LPARAM>(&names), 0);
  std::set<std::wstring> seen;
  for (const std::wstring& name : names) {
    if (!seen.insert(name).second) continue;
    SendMessageW(fontList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void FormatPanel::setAutoPopup(bool ticked) {
  SendMessageW(autoPopupBox_, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool FormatPanel::autoPopup() const { return SendMessageW(autoPopupBox_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void FormatPanel::setFontText(const std::string& face) { SetWindowTextW(fontList_, text::widen(face).c_str()); }
void FormatPanel::setSizeText(const std::string& size) { SetWindowTextW(sizeList_, text::widen(size).c_str()); }
std::string FormatPanel::fontText() const { return text::narrow(comboText(fontList_)); }
std::string FormatPanel::sizeText() const { return text::narrow(comboText(sizeList_)); }

void FormatPanel::setButtonPressed(int button, bool pressed) {
  SendMessageW(toolbar_, TB_CHECKBUTTON, toolbarCommand(button), MAKELPARAM(pressed ? TRUE : FALSE, 0));
}

void FormatPanel::setButtonEnabled(int button, bool enabled) {
  SendMessageW(toolbar_, TB_ENABLEBUTTON, toolbarCommand(button), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool FormatPanel::buttonPressed(int button) const {
  return SendMessageW(toolbar_, TB_ISBUTTONCHECKED, toolbarCommand(button), 0) != 0;
}

bool FormatPanel::buttonEnabled(int button) const {
  return SendMessageW(toolbar_, TB_ISBUTTONENABLED, toolbarCommand(button), 0) != 0;
}

HWND FormatPanel::colourSquare(int n) const {
  if (n < 1 || n > kColourSquareCount) return nullptr;
  return squares_[static_cast<std::size_t>(n - 1)];
}

std::uint32_t FormatPanel::colourSquareValue(int n) const {
  if (n < 1 || n > kColourSquareCount) return 0;
  return kColourTable[static_cast<std::size_t>(n - 1)].value;
}

std::string FormatPanel::chosenEntry(HWND list) const {
  const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return text::narrow(comboText(list));
  const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR || length <= 0) return {};
  std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry.data()));
  entry.resize(static_cast<std::size_t>(length));
  return text::narrow(entry);
}

void FormatPanel::onCommand(int id, int code, HWND control) {
  if (id >= kFirstButtonCommand && id < kFirstButtonCommand + static_cast<int>(kToolbarButtonCount)) {
    if (events_.toolbarClicked) events_.toolbarClicked(id - kFirstButtonCommand);
    return;
  }
  if (id > kFirstSquareId && id <= kFirstSquareId + kColourSquareCount && code == BN_CLICKED) {
    if (events_.colourSquareClicked) events_.colourSquareClicked(colourSquareValue(id - kFirstSquareId));
    return;
  }
  switch (id) {
    case kAutoPopupId:
      if (code == BN_CLICKED && events_.autoPopupClicked) events_.autoPopupClicked(autoPopup());
      break;
    case kFontListId:
    case kSizeListId:
      if (code == CBN_SELCHANGE) {
        const std::string entry = chosenEntry(control);
        if (id == kFontListId && events_.fontChosen) events_.fontChosen(entry);
        if (id == kSizeListId && events_.sizeChosen) events_.sizeChosen(entry);
      } else if (code == CBN_DROPDOWN && events_.listDroppingDown) {
        events_.listDroppingDown();
      }
      break;
  }
}

void FormatPanel::drawSquare(const DRAWITEMSTRUCT& item) const {
  const int n = static_cast<int>(item.CtlID) - kFirstSquareId;
  const COLORREF colour = colourSquareValue(n) & 0x00FFFFFF;
  // Flat: the colour fills the square in every state.
  platform::ScopedBrush brush(CreateSolidBrush(colour));
  FillRect(item.hDC, &item.rcItem, brush.get());
}

LRESULT FormatPanel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType == ODT_BUTTON) {
        drawSquare(*item);
        return TRUE;
      }
      break;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const int button = static_cast<int>(header->idFrom) - kFirstButtonCommand;
        if (button >= 0 && button < kToolbarButtonCount) {
          static std::array<std::wstring, kToolbarButtonCount> tips;
          if (tips[button].empty()) tips[button] = text::widen(kButtonTips[button]);
          info->lpszText = tips[button].data();
        }
        return 0;
      }
      break;
    }
  }
  return Panel::handleMessage(message, wParam, lParam);
}

}  // namespace zelvo::editor
