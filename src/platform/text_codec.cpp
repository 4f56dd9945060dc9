#include "platform/text_codec.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace zelvo::text {
namespace {

constexpr bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes one code point at `pos`, advancing it; malformed input yields
// U+FFFD and advances by exactly one byte so nothing after it is lost.
char32_t decodeUtf8(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return kReplacement;
  }
  if (pos + length > s.size()) {
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(s[pos + i]);
    if (!isContinuation(c)) {
      ++pos;
      return kReplacement;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += length;
  return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The same text with every malformed sequence replaced, so that the
// platform converters below only ever see valid UTF-8.
[[maybe_unused]] std::string sanitizedUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t pos = 0; pos < s.size();) appendUtf8(out, decodeUtf8(s, pos));
  return out;
}

[[maybe_unused]] std::size_t utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  return 4;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = decodeUtf8(utf8, pos);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      appendUtf8(out, kReplacement);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

#ifdef _WIN32

std::wstring widen(std::string_view utf8) {
  const std::u16string u16 = utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::string narrow(std::wstring_view wide) {
  return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

namespace {
constexpr UINT kGbk = 936;

bool decodesAsGbk(const char* bytes, int count, wchar_t* out, int& produced) {
  produced = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, count, out, 2);
  return produced > 0;
}
}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
  if (gbk.empty()) return {};
  // Fast path: the whole text is valid.
  const int whole = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), int(gbk.size()), nullptr, 0);
  if (whole > 0) {
    std::wstring wide(whole, L'\0');
    MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), int(gbk.size()), wide.data(), whole);
    return narrow(wide);
  }
  // Slow path: character by character, replacing what does not decode.
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  for (std::size_t pos = 0; pos < gbk.size();) {
    const auto lead = static_cast<unsigned char>(gbk[pos]);
    if (lead < 0x80) {
      out += char(lead);
      ++pos;
      continue;
    }
    wchar_t w[2];
    int produced = 0;
    if (pos + 1 < gbk.size() && decodesAsGbk(gbk.data() + pos, 2, w, produced) && produced == 1) {
      out += narrow(std::wstring_view(w, 1));
      pos += 2;
    } else if (decodesAsGbk(gbk.data() + pos, 1, w, produced) && produced == 1 && w[0] != 0xFFFD) {
      out += narrow(std::wstring_view(w, 1));  // the single-byte 0x80 (euro sign)
      ++pos;
    } else {
      appendUtf8(out, kReplacement);
      ++pos;
    }
  }
  return out;
}

std::string utf8ToGbk(std::string_view utf8) {
  if (utf8.empty()) return {};
  // Characters beyond the BMP have no GBK code; one '?' each, not one per
  // surrogate.
  std::wstring wide;
  wide.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t cp = decodeUtf8(utf8, pos);
    wide += cp >= 0x10000 ? L'?' : static_cast<wchar_t>(cp);
  }
  const int size = WideCharToMultiByte(kGbk, 0, wide.data(), int(wide.size()), nullptr, 0, "?", nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(kGbk, 0, wide.data(), int(wide.size()), out.data(), size, "?", nullptr);
  return out;
}

#else  // iconv in the host tree

namespace {
class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (valid()) iconv_close(handle_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

// Runs iconv over `in`; at every position it cannot convert, `onError`
// appends a replacement and says how many input bytes to skip.
template <typename OnError>
std::string convert(const char* to, const char* from, std::string_view in, OnError onError) {
  Iconv cd(to, from);
  std::string out;
  if (!cd.valid()) return out;
  out.reserve(in.size() * 2);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char buffer[4096];
  while (srcLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t rc = iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      const std::size_t skip = std::min(srcLeft, onError(out, static_cast<unsigned char>(*src)));
      src += skip;
      srcLeft -= skip;
      iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}
}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
  return convert("UTF-8", "GBK", gbk, [](std::string& out, unsigned char) {
    appendUtf8(out, kReplacement);
    return std::size_t{1};
  });
}

std::string utf8ToGbk(std::string_view utf8) {
  const std::string clean = sanitizedUtf8(utf8);
  return convert("GBK", "UTF-8", clean, [](std::string& out, unsigned char lead) {
    out += '?';
    return utf8SequenceLength(lead);
  });
}

#endif

std::size_t gbkLength(std::string_view utf8) { return utf8ToGbk(utf8).size(); }

}  // namespace zelvo::text
