// The formatting commands of EditorWindow. Each reads the selection's
// CharFormat, changes one thing and writes the whole record back, so the
// selection comes out uniform in face, size, offset, colour and effects.
#include "editor/editor_window.h"

namespace zelvo::editor {

void EditorWindow::writeSelectionFormat(const CharFormat& format) {
  richEdit_.setSelectionFormat(format);
  // The control reports no selection change for a format change; keep the
  // toolbar's pressed buttons and the lists in step anyway.
  refreshFormatControls();
}

void EditorWindow::toggleEffect(int bit) {
  CharFormat format = richEdit_.selectionFormat();
  format.effects = toggledEffects(format.effects, bit);
  writeSelectionFormat(format);
}

void EditorWindow::changeSize(bool up) {
  CharFormat format = richEdit_.selectionFormat();
  format.size = steppedSize(format.size, up);
  writeSelectionFormat(format);
}

void EditorWindow::applyShortcutColour(int n) {
  if (n < 1 || n > static_cast<int>(state_->shortcutColours.size())) return;
  const auto colour = shortcutColourValue(state_->shortcutColours[static_cast<std::size_t>(n - 1)]);
  if (!colour) return;
  CharFormat format = richEdit_.selectionFormat();
  format.colour = *colour;
  writeSelectionFormat(format);
}

void EditorWindow::applyShortcutFont(int n) {
  if (n < 1 || n > static_cast<int>(state_->shortcutFonts.size())) return;
  const std::string& face = state_->shortcutFonts[static_cast<std::size_t>(n - 1)];
  if (face.empty()) return;
  CharFormat format = richEdit_.selectionFormat();
  format.faceName = face;
  writeSelectionFormat(format);
}

void EditorWindow::applyColourSquare(std::uint32_t colour) {
  CharFormat format = richEdit_.selectionFormat();
  format.colour = colour;
  writeSelectionFormat(format);
  formatPanel_.hide();
  focusTranscript();
}

void EditorWindow::applyFont(const std::string& face) {
  if (!face.empty()) {
    CharFormat format = richEdit_.selectionFormat();
    format.faceName = face;
    writeSelectionFormat(format);
  }
  focusTranscript();
}

void EditorWindow::applySize(const std::string& sizeText) {
  const int size = sizeFromText(sizeText);
  if (size > 0) {
    CharFormat format = richEdit_.selectionFormat();
    format.size = size;
    writeSelectionFormat(format);
  }
  focusTranscript();
}

}  // namespace zelvo::editor
