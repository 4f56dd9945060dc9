// Where the editor window goes over the main window.
#include <gtest/gtest.h>

#include "editor/editor_layout.h"

using namespace zelvo::editor;

TEST(EditorLayout, FollowsTheMainWindowKeepingItsSize) {
  EXPECT_EQ(movedEditor({50, 50, 680, 440}, {0, 0, 660, 308}), (Box{60, 170, 660, 308}));
  EXPECT_EQ(movedEditor({-300, 900, 680, 440}, {1, 2, 0, 0}), (Box{-290, 1020, 0, 0}));
}

TEST(EditorLayout, RelayoutSizesWindowAndTranscript) {
  const EditorPlacement start = relaidEditor({50, 50, 680, 440});
  EXPECT_EQ(start.window, (Box{60, 170, 660, 310}));
  EXPECT_EQ(start.richEditWidth, 650);
  EXPECT_EQ(start.richEditHeight, 300);
  const EditorPlacement wider = relaidEditor({50, 50, 780, 440});
  EXPECT_EQ(wider.window.width, 760) << "100 pixels wider";
  const EditorPlacement tiny = relaidEditor({0, 0, 15, 100});
  EXPECT_EQ(tiny.window, (Box{10, 120, 0, 0}));
  EXPECT_EQ(tiny.richEditWidth, 0);
  EXPECT_EQ(tiny.richEditHeight, 0);
}

TEST(EditorLayout, CollapseShrinksTowardsTheLowerLeftCorner) {
  const Box start{60, 170, 660, 310};
  const std::vector<Box> frames = collapseFrames(start);
  ASSERT_EQ(frames.size(), 21u);  // 20 steps while wider than 40, then 0 x 0
  EXPECT_EQ(frames[0], (Box{60, 186, 628, 294}));
  for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
    EXPECT_EQ(frames[i].left, 60);
    EXPECT_GE(frames[i].height, 0) << i;
    EXPECT_EQ(frames[i].top + frames[i].height, 480) << "the bottom edge stays";
  }
  EXPECT_EQ(frames[19].width, 20);
  EXPECT_EQ(frames.back().width, 0);
  EXPECT_EQ(frames.back().height, 0);
  EXPECT_EQ(collapseFrames({0, 0, 30, 30}).size(), 1u) << "already narrow: straight to 0 x 0";
}
