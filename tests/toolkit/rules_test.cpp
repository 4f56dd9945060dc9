// The toolkit's portable rules: colour forms, rectangle maths, caption-button
// placement, resize zones, ids and positions.
#include <gtest/gtest.h>

#include "toolkit/core/colour.h"
#include "toolkit/core/geometry.h"

using namespace zelvo::toolkit;

TEST(Colour, ToArgbNeverGivesFullOpacity) {
  const ColorRef red = 0x0000FF;
  EXPECT_EQ(toArgb(red), 0xFEFF0000u);
  EXPECT_EQ(toArgb(red, 255), 0xFEFF0000u);
  EXPECT_EQ(toArgb(red, 0), 0x00FF0000u);
  EXPECT_EQ(toArgb(0x332211, 128), 0x80112233u);
}

TEST(Colour, ArgbToColorrefGivesTheAlphaSeparately) {
  const auto [colour, alpha] = argbToColorref(argb(128, 17, 34, 51));
  EXPECT_EQ(colour, ColorRef{17 | (34 << 8) | (51 << 16)});
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(withAlpha(0xFE123456, 255), 0xFF123456u);
}

TEST(Colour, DarkUnlessTwoComponentsAreBright) {
  EXPECT_TRUE(isDarkColour(argb(255, 0, 0, 0)));
  EXPECT_TRUE(isDarkColour(argb(255, 255, 125, 125)));
  EXPECT_FALSE(isDarkColour(argb(255, 126, 126, 0)));
  EXPECT_FALSE(isDarkColour(argb(255, 255, 255, 255)));
}

TEST(Geometry, TouchingRectanglesDoNotIntersect) {
  EXPECT_FALSE(rectsIntersect({0, 0, 10, 10}, {10, 0, 5, 5}));
  EXPECT_TRUE(rectsIntersect({0, 0, 10, 10}, {9.5f, 0, 5, 5}));
  EXPECT_FALSE(rectsIntersect({0, 0, 10, 10}, {0, 10, 5, 5}));
  EXPECT_TRUE(pointInRect({10, 10, 5, 5}, 10, 10));
  EXPECT_FALSE(pointInRect({10, 10, 5, 5}, 15, 12));
  RectF r{1, 2, 3, 4};
  EXPECT_EQ(offsetRect(1, 1, -2, -2, r), 2.0f);
  EXPECT_EQ(r, (RectF{2, 3, 1, 2}));
  EXPECT_EQ(truncate({12.7f, -0.5f, 3.9f, 4.0f}), (PixelRect{12, 0, 3, 4}));
}

TEST(CaptionButtons, Style479OnA680PixelWindow) {
  const auto places = captionButtonPlaces(479, 680, 5);
  const int expectedFlags[] = {4, 8, 16, 64, 128, 256};
  const int expectedX[] = {633, 605, 577, 549, 521, 493};
  ASSERT_EQ(places.size(), 6u);
  for (size_t i = 0; i < places.size(); ++i) {
    EXPECT_EQ(places[i].flag, expectedFlags[i]);
    EXPECT_EQ(places[i].x, expectedX[i]);
    EXPECT_EQ(places[i].y, 6);
    EXPECT_EQ(places[i].width, i == 0 ? 39 : 28);
    EXPECT_EQ(places[i].height, 19);
  }
  // Maximised: the margin is 0 and everything moves 5 right and 5 up.
  const auto maximised = captionButtonPlaces(479, 680, 0);
  EXPECT_EQ(maximised[0].x, 638);
  EXPECT_EQ(maximised[0].y, 1);
}

TEST(CaptionButtons, StyleCases) {
  struct Case {
    bool given;
    int style;
    bool maxBox, minBox;
    int expected;
  };
  const Case cases[] = {
      {false, 0, false, true, 1 | 2 | 4 | 16},  // not given, minimise box only
      {false, 0, true, true, 1 | 2 | 4 | 8 | 16},
      {true, 0, true, true, 0},                 // given as 0: nothing at all
      {true, 1024, false, false, 1 | 2 | 4 | 1024},
      {true, 1024 | 64, true, false, 1 | 2 | 4 | 8 | 64 | 1024},
      {true, 479, false, false, 479},           // explicit styles are kept
  };
  for (const Case& c : cases)
    EXPECT_EQ(effectiveStyle(c.given, c.style, c.maxBox, c.minBox), c.expected) << c.style;
  EXPECT_TRUE(captionButtonPlaces(0, 680, 5).empty());
  EXPECT_EQ(captionButtonCount(479), 6);
  EXPECT_EQ(titleRightReserve(479, 5), 5 + 5 + 28 * 6 + 11);
  const auto minOnly = captionButtonPlaces(1 | 2 | 4 | 16, 300, 5);
  ASSERT_EQ(minOnly.size(), 2u);
  EXPECT_EQ(minOnly[1].flag, 16);
  EXPECT_EQ(minOnly[1].x, 300 - 8 - 39 - 28);
}

TEST(Skin, BlendBandWidth) {
  EXPECT_EQ(skinBandSize(80), 40);
  EXPECT_EQ(skinBandSize(100), 50);
  EXPECT_EQ(skinBandSize(101), 100);
  EXPECT_EQ(skinBandSize(300), 100);
  EXPECT_EQ(skinBandSize(0), 0);
}

TEST(Frame, InnerZoneKeepsClearOfFrameAndShadow) {
  EXPECT_TRUE(insideInnerZone({300, 200, 45, 45}, 680, 440, 5));
  EXPECT_FALSE(insideInnerZone({7, 200, 45, 45}, 680, 440, 5));
  EXPECT_TRUE(insideInnerZone({8, 8, 664, 424}, 680, 440, 5));
  EXPECT_FALSE(insideInnerZone({8, 8, 665, 424}, 680, 440, 5));
  EXPECT_EQ(frameRect(680, 440, 5), (RectF{5, 5, 670, 430}));
}

TEST(ResizeZone, BandsCornersAndCursors) {
  struct Case {
    int x, y, edge, cursor;
  };
  const int w = 680, h = 440;
  const Case cases[] = {
      {5, 100, 1, 32644},   {7, 100, 1, 32644},   {8, 100, 0, 0},       {671, 100, 2, 32644},
      {670, 100, 0, 0},     {300, 7, 3, 32645},   {300, 8, 0, 0},       {9, 3, 4, 32642},
      {671, 3, 5, 32643},   {300, 431, 6, 32645}, {300, 430, 0, 0},     {9, 435, 7, 32643},
      {675, 435, 8, 32642}, {9, 9, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(resizeZone(c.x, c.y, w, h), c.edge) << c.x << "," << c.y;
    EXPECT_EQ(resizeCursor(c.edge), c.cursor) << c.x << "," << c.y;
  }
}

TEST(Ids, SmallestFreeFirst) {
  std::vector<int> taken = {1, 3};
  auto isTaken = [&](int n) { return std::find(taken.begin(), taken.end(), n) != taken.end(); };
  EXPECT_EQ(smallestFreeId(isTaken), 2);
  taken = {1, 2, 3};
  EXPECT_EQ(smallestFreeId(isTaken), 4);
}

TEST(Positions, AfterRemoval) {
  EXPECT_EQ(positionAfterRemoval(4, 2), 3);
  EXPECT_EQ(positionAfterRemoval(2, 2), 0);
  EXPECT_EQ(positionAfterRemoval(1, 2), 1);
  EXPECT_EQ(positionAfterRemoval(0, 1), 0);
}

TEST(Positions, TabWrapsAndGivesUpAfterOneRound) {
  auto only = [](std::vector<int> ok) {
    return [ok](int p) { return std::find(ok.begin(), ok.end(), p) != ok.end(); };
  };
  EXPECT_EQ(nextTabStop(5, 5, only({2, 4})), 2);  // wraps past the end
  EXPECT_EQ(nextTabStop(2, 5, only({2, 4})), 4);
  EXPECT_EQ(nextTabStop(0, 5, only({3})), 3);
  EXPECT_EQ(nextTabStop(3, 5, only({3})), 3);     // a single stop comes back to itself
  EXPECT_EQ(nextTabStop(1, 5, only({})), 0);      // none qualifies: no endless loop
  EXPECT_EQ(nextTabStop(0, 0, only({})), 0);
}
