// Where the editor window sits over the main window: after a move, after a
// resize, and the steps of the collapse animation. Screen pixels.
#pragma once

#include <vector>

namespace zelvo::editor {

struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Box&) const = default;
};

inline constexpr int kEditorOffsetX = 10, kEditorOffsetY = 120;
inline constexpr int kEditorCreatedWidth = 660, kEditorCreatedHeight = 308;

struct EditorPlacement {
  Box window;         // the editor window, screen coordinates
  int richEditWidth;  // the transcript control's size inside it
  int richEditHeight;
};

// The editor window's corner for a main window at `main` (its size unchanged).
Box movedEditor(const Box& main, const Box& editor);

// Place and size after the main window got the outer size of `main`. Sizes
// never go below 0, however small the main window gets.
EditorPlacement relaidEditor(const Box& main);

// Each frame of the collapse animation, the last one of size 0 x 0: the
// window narrows by 32 and loses 16 from its top while wider than 40, so it
// shrinks towards its lower left corner.
std::vector<Box> collapseFrames(const Box& editor);

}  // namespace zelvo::editor
