// What a transcript file is and how its bytes become text and back; the
// parts of opening and saving that need no window.
#pragma once

#include <string>
#include <string_view>

namespace zelvo::editor {

// A path's kind comes from its last three characters, in any case.
enum class DocumentKind { None, Text, Rtf };
DocumentKind documentKind(std::string_view path);

// The bytes of a plain-text transcript as UTF-8. A UTF-8 or UTF-16
// byte-order mark, or text that is valid UTF-8 with non-ASCII characters,
// is read as such; anything else is GBK.
std::string decodeTextDocument(std::string_view bytes);

// A plain-text transcript for the disk: GBK with CR LF line ends. Text that
// GBK cannot hold (characters outside the code page) is written as UTF-8
// with a byte-order mark instead, so that no character is lost.
std::string encodeTextDocument(std::string_view utf8);

// Every line end (CR, LF or CR LF) as CR LF.
std::string withCrLf(std::string_view text);

// The user-facing texts of the document commands.
std::string saveFailedBoxText(std::string_view path);
std::string savedNotice(std::string_view path);
std::string saveFailedNotice(std::string_view path);
std::string openedNotice(std::string_view path);

}  // namespace zelvo::editor
