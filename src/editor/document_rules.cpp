#include "editor/document_rules.h"

#include <cctype>

#include "platform/text_codec.h"

namespace zelvo::editor {
namespace {

bool isValidUtf8(std::string_view bytes, bool& hasNonAscii) {
  hasNonAscii = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    hasNonAscii = true;
    int length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || c == 0xC0 || c == 0xC1 || i + length > bytes.size()) return false;
    for (int k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

std::u16string utf16FromBytes(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    out += static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  return out;
}

}  // namespace

DocumentKind documentKind(std::string_view path) {
  if (path.size() < 3) return DocumentKind::None;
  std::string last(path.substr(path.size() - 3));
  for (char& c : last) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (last == "txt") return DocumentKind::Text;
  if (last == "rtf") return DocumentKind::Rtf;
  return DocumentKind::None;
}

std::string decodeTextDocument(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return text::utf16ToUtf8(utf16FromBytes(bytes.substr(2), false));
  if (bytes.starts_with("\xFE\xFF")) return text::utf16ToUtf8(utf16FromBytes(bytes.substr(2), true));
  bool hasNonAscii = false;
  if (isValidUtf8(bytes, hasNonAscii) && hasNonAscii) return std::string(bytes);
  return text::gbkToUtf8(bytes);
}

std::string withCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string encodeTextDocument(std::string_view utf8) {
  const std::string text = withCrLf(utf8);
  std::string gbk = text::utf8ToGbk(text);
  // A '?' that was not in the text marks a character GBK could not hold
  // (0x3F is never part of a two-byte GBK character, so the count is exact).
  std::size_t asked = 0, got = 0;
  for (char c : text) asked += c == '?';
  for (char c : gbk) got += c == '?';
  if (got == asked) return gbk;
  return "\xEF\xBB\xBF" + text;
}

std::string saveFailedBoxText(std::string_view path) {
  return "保存" + std::string(path) + "失败！\r\n可能该文件已被打开。";
}
std::string savedNotice(std::string_view path) { return "保存成功! " + std::string(path); }
std::string saveFailedNotice(std::string_view path) { return "保存失败! " + std::string(path); }
std::string openedNotice(std::string_view path) { return "打开成功! " + std::string(path); }

}  // namespace zelvo::editor
