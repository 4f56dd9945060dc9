#include "editor/editor_layout.h"

#include <algorithm>

namespace zelvo::editor {

Box movedEditor(const Box& main, const Box& editor) {
  return {main.left + kEditorOffsetX, main.top + kEditorOffsetY, editor.width, editor.height};
}

EditorPlacement relaidEditor(const Box& main) {
  const int width = std::max(0, main.width - 20);
  const int height = std::max(0, main.height - 130);
  return {{main.left + kEditorOffsetX, main.top + kEditorOffsetY, width, height}, std::max(0, width - 10),
          std::max(0, height - 10)};
}

std::vector<Box> collapseFrames(const Box& editor) {
  std::vector<Box> frames;
  Box box = editor;
  const int bottom = editor.top + std::max(0, editor.height);
  while (box.width > 40) {
    box.width -= 32;
    // The bottom edge stays put; the height stops at 0.
    box.top = std::min(box.top + 16, bottom);
    box.height = bottom - box.top;
    frames.push_back(box);
  }
  box.width = 0;
  box.height = 0;
  frames.push_back(box);
  return frames;
}

}  // namespace zelvo::editor
