// 超级编辑框1: a thin owner of the Windows rich-edit control. It reads and
// writes CharFormat, the selection, the content in the current content
// format, and runs the control's own clipboard commands.
#pragma once

#include <windows.h>

#include <string>

#include "editor/char_format.h"

namespace zelvo::editor {

enum class ContentFormat { PlainText, Rtf };

class RichEdit {
 public:
  // The rich-edit window class of the newest library this system has
  // (msftedit.dll, else riched20.dll); null when neither loads.
  static const wchar_t* windowClass();

  // Creates the control as child `id` of `parent`.
  bool create(HWND parent, int id, int x, int y, int width, int height);
  HWND handle() const { return handle_; }

  CharFormat selectionFormat() const;
  void setSelectionFormat(const CharFormat& format);
  void setDefaultFormat(const CharFormat& format);

  // Characters selected (end - start); 0 for a caret.
  long selectedCount() const;
  void select(long start, long end);  // end -1: to the end
  void selectAll() { select(0, -1); }
  // Replaces the selection with plain text (inserts at the caret when none).
  void replaceSelection(const std::string& utf8);

  ContentFormat contentFormat() const { return contentFormat_; }
  void setContentFormat(ContentFormat format) { contentFormat_ = format; }
  // The whole content as one text: RTF, or plain text with CR LF line ends.
  std::string content() const;
  void setContent(const std::string& utf8OrRtf);
  // True when the content read in the current format would be empty: RTF
  // never is, so this only looks at the text length.
  bool contentEmpty() const;
  // Plain text of the whole control (UTF-8, CR LF).
  std::string text() const;

  void undo();
  void cut();
  void copy();
  void paste();

 private:
  HWND handle_ = nullptr;
  ContentFormat contentFormat_ = ContentFormat::Rtf;
};

}  // namespace zelvo::editor
