#include "editor/clipboard.h"

#include <cstring>

#include "platform/text_codec.h"

namespace zelvo::editor {
namespace {

// Open for the lifetime of the object; closes on every path.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(10);
    }
  }
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

// A movable memory block that is freed unless the clipboard took it.
class GlobalBlock {
 public:
  explicit GlobalBlock(std::size_t bytes) : memory_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~GlobalBlock() {
    if (memory_) GlobalFree(memory_);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  HGLOBAL get() const { return memory_; }
  void handOver() { memory_ = nullptr; }

 private:
  HGLOBAL memory_;
};

}  // namespace

bool setClipboardText(HWND owner, const std::string& utf8) {
  const std::wstring wide = text::widen(utf8);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  GlobalBlock block(bytes);
  if (!block.get()) return false;
  void* target = GlobalLock(block.get());
  if (!target) return false;
  std::memcpy(target, wide.c_str(), bytes);
  GlobalUnlock(block.get());

  OpenClipboardScope clipboard(owner);
  if (!clipboard || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, block.get())) return false;
  block.handOver();
  return true;
}

std::optional<std::string> clipboardText(HWND owner) {
  OpenClipboardScope clipboard(owner);
  if (!clipboard) return std::nullopt;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* wide = static_cast<const wchar_t*>(GlobalLock(data));
  if (!wide) return std::nullopt;
  const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
  const std::size_t length = wcsnlen(wide, limit);
  std::string utf8 = text::narrow(std::wstring_view(wide, length));
  GlobalUnlock(data);
  return utf8;
}

bool clipboardHasText() {
  return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
}

}  // namespace zelvo::editor
