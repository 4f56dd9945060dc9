// The insert commands of EditorWindow: time marker, separator line, and the
// date picker's confirm and cancel.
#include "editor/clipboard.h"
#include "editor/editor_window.h"

namespace zelvo::editor {

void EditorWindow::insertThroughClipboard(const std::string& text) {
  // The control's own paste, so the text takes the format at the caret and
  // replaces any selection, as Ctrl+V would. When the clipboard cannot be
  // had (another program holds it), pasting would insert whatever it held
  // before: put the text in directly instead.
  if (setClipboardText(handle_, text)) {
    richEdit_.paste();
  } else {
    richEdit_.replaceSelection(text);
  }
}

void EditorWindow::insertTimeMarker() {
  const std::string position = commands_.positionText ? commands_.positionText() : std::string{};
  insertThroughClipboard(timeMarker(position));
}

void EditorWindow::insertSeparator() { insertThroughClipboard(std::string(kSeparatorLine)); }

void EditorWindow::openDatePicker() { datePicker_.open(); }

void EditorWindow::confirmDate() {
  const std::string entry = datePicker_.selectedText();
  richEdit_.setContentFormat(ContentFormat::PlainText);
  if (!entry.empty()) richEdit_.replaceSelection(entry);
  richEdit_.setContentFormat(ContentFormat::Rtf);
  datePicker_.hide();
  focusTranscript();
}

void EditorWindow::cancelDate() { datePicker_.hide(); }

}  // namespace zelvo::editor
