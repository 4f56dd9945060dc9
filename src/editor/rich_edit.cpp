#include "editor/rich_edit.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/text_codec.h"

namespace zelvo::editor {
namespace {

// Loaded once for the whole run; the control's class lives as long as the
// library does.
struct RichEditLibrary {
  const wchar_t* className = nullptr;
  RichEditLibrary() {
    if (LoadLibraryW(L"msftedit.dll")) {
      className = MSFTEDIT_CLASS;
    } else if (LoadLibraryW(L"riched20.dll")) {
      className = RICHEDIT_CLASSW;
    }
  }
};

CHARFORMAT2W toControl(const CharFormat& format) {
  const RawCharFormat raw = toRaw(format);
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_OFFSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
              CFM_STRIKEOUT | CFM_PROTECTED;
  std::memcpy(cf.szFaceName, raw.faceName.data(), raw.faceName.size() * sizeof(wchar_t));
  cf.szFaceName[raw.faceName.size()] = 0;
  cf.yHeight = raw.height;
  cf.yOffset = raw.offset;
  cf.dwEffects = raw.effects;
  cf.crTextColor = raw.textColour;
  return cf;
}

struct StreamBuffer {
  std::string bytes;
  std::size_t readAt = 0;
};

DWORD CALLBACK collect(DWORD_PTR cookie, LPBYTE data, LONG size, LONG* done) {
  auto* buffer = reinterpret_cast<StreamBuffer*>(cookie);
  buffer->bytes.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
  *done = size;
  return 0;
}

DWORD CALLBACK supply(DWORD_PTR cookie, LPBYTE data, LONG size, LONG* done) {
  auto* buffer = reinterpret_cast<StreamBuffer*>(cookie);
  const std::size_t left = buffer->bytes.size() - buffer->readAt;
  const std::size_t count = std::min(left, static_cast<std::size_t>(size));
  std::memcpy(data, buffer->bytes.data() + buffer->readAt, count);
  buffer->readAt += count;
  *done = static_cast<LONG>(count);
  return 0;
}

std::string fromWideBytes(const std::string& bytes) {
  std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
  return text::narrow(wide);
}

}  // namespace

const wchar_t* RichEdit::windowClass() {
  static const RichEditLibrary library;
  return library.className;
}

bool RichEdit::create(HWND parent, int id, int x, int y, int width, int height) {
  const wchar_t* className = windowClass();
  if (!className) return false;
  // ES_NOHIDESEL keeps the selection visible while the format panel's lists
  // have the focus; WS_CLIPSIBLINGS keeps the pop-up panels on top.
  constexpr DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL |
                          ES_WANTRETURN | ES_NOHIDESEL | ES_SAVESEL;
  handle_ = CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", style, x, y, width, height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!handle_) return false;
  // The default limit is 32767 characters; a long transcript must never be
  // cut short when it is loaded or typed.
  SendMessageW(handle_, EM_EXLIMITTEXT, 0, std::numeric_limits<LONG>::max());
  SendMessageW(handle_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_MOUSEEVENTS);
  return true;
}

CharFormat RichEdit::selectionFormat() const {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_ALL2;
  SendMessageW(handle_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  RawCharFormat raw;
  cf.szFaceName[LF_FACESIZE - 1] = 0;
  raw.faceName = reinterpret_cast<const char16_t*>(cf.szFaceName);
  raw.height = cf.yHeight;
  raw.offset = cf.yOffset;
  raw.effects = cf.dwEffects;
  raw.textColour = cf.crTextColor;
  return fromRaw(raw);
}

void RichEdit::setSelectionFormat(const CharFormat& format) {
  CHARFORMAT2W cf = toControl(format);
  SendMessageW(handle_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

void RichEdit::setDefaultFormat(const CharFormat& format) {
  CHARFORMAT2W cf = toControl(format);
  SendMessageW(handle_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
}

long RichEdit::selectedCount() const {
  CHARRANGE range{};
  SendMessageW(handle_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range.cpMax - range.cpMin;
}

void RichEdit::select(long start, long end) {
  CHARRANGE range{start, end};
  SendMessageW(handle_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void RichEdit::replaceSelection(const std::string& utf8) {
  const std::wstring wide = text::widen(utf8);
  SendMessageW(handle_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string RichEdit::content() const {
  StreamBuffer buffer;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&buffer), 0, collect};
  if (contentFormat_ == ContentFormat::Rtf) {
    SendMessageW(handle_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return buffer.bytes;  // RTF is 7-bit text with its own escapes
  }
  SendMessageW(handle_, EM_STREAMOUT, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
  return fromWideBytes(buffer.bytes);
}

void RichEdit::setContent(const std::string& utf8OrRtf) {
  StreamBuffer buffer;
  if (contentFormat_ == ContentFormat::Rtf) {
    buffer.bytes = utf8OrRtf;
  } else {
    const std::wstring wide = text::widen(utf8OrRtf);
    buffer.bytes.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
  }
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&buffer), 0, supply};
  const WPARAM kind = contentFormat_ == ContentFormat::Rtf ? SF_RTF : (SF_TEXT | SF_UNICODE);
  SendMessageW(handle_, EM_STREAMIN, kind, reinterpret_cast<LPARAM>(&stream));
}

bool RichEdit::contentEmpty() const {
  if (contentFormat_ == ContentFormat::Rtf) return false;
  GETTEXTLENGTHEX length{GTL_DEFAULT, 1200};
  return SendMessageW(handle_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0) <= 0;
}

std::string RichEdit::text() const {
  GETTEXTLENGTHEX length{GTL_USECRLF | GTL_NUMCHARS, 1200};
  const LRESULT count = SendMessageW(handle_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  if (count <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(count) + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
  get.flags = GT_USECRLF;
  get.codepage = 1200;
  const LRESULT copied = SendMessageW(handle_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                      reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(static_cast<std::size_t>(std::max<LRESULT>(0, copied)));
  return text::narrow(wide);
}

void RichEdit::undo() { SendMessageW(handle_, EM_UNDO, 0, 0); }
void RichEdit::cut() { SendMessageW(handle_, WM_CUT, 0, 0); }
void RichEdit::copy() { SendMessageW(handle_, WM_COPY, 0, 0); }
void RichEdit::paste() { SendMessageW(handle_, WM_PASTE, 0, 0); }

}  // namespace zelvo::editor
