// Conversions between the program's internal UTF-8 and the two encodings it
// meets at its boundaries: UTF-16 (Win32 calls) and GBK, code page 936 (files,
// network bodies, byte-counting rules).
//
// Bad input has a fixed result and never cuts the rest of the text short:
// - invalid UTF-8 bytes and lone UTF-16 surrogates decode as U+FFFD, one per
//   offending byte or unit;
// - bytes that are not GBK decode as U+FFFD, one per offending byte;
// - characters that GBK cannot represent encode as '?'.
#pragma once

#include <string>
#include <string_view>

namespace zelvo::text {

inline constexpr char32_t kReplacement = U'\uFFFD';

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

std::string utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);

// Length in bytes of the text once encoded as GBK, the unit in which the
// program's length rules count (a Chinese character counts 2).
std::size_t gbkLength(std::string_view utf8);

#ifdef _WIN32
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);
#endif

}  // namespace zelvo::text
