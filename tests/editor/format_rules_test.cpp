// CharFormat conversions and the formatting rules, natively.
#include <gtest/gtest.h>

#include "editor/char_format.h"
#include "editor/format_rules.h"

using namespace zelvo::editor;

TEST(CharFormatFromControl, ConvertsTwipsEffectBitsAndAutomaticColour) {
  struct Case {
    long height, offset;
    std::uint32_t effects, colour;
    int size, offsetPoints, effectsOut;
    std::uint32_t colourOut;
  } cases[] = {
      {300, 0, 0, 0x0000FF, 15, 0, 0, 0x0000FF},
      {319, 59, 1 | 2, 0, 15, 2, 3, 0},          // integer division of twips
      {180, -70, 0x1F, 0xFF, 9, -3, 31, 0xFF},   // negative offsets truncate toward zero
      {240, 0, 0x40000000 | 8, 0x123456, 12, 0, 8, kAutomaticColour},
      {0, 0, 0x00FF0000 | 4, 0, 0, 0, 4, 0},      // bits above protected are not effects
  };
  for (const Case& c : cases) {
    RawCharFormat raw;
    raw.faceName = u"宋体";
    raw.height = c.height;
    raw.offset = c.offset;
    raw.effects = c.effects;
    raw.textColour = c.colour;
    const CharFormat format = fromRaw(raw);
    EXPECT_EQ(format.faceName, "宋体");
    EXPECT_EQ(format.size, c.size) << c.height;
    EXPECT_EQ(format.offset, c.offsetPoints) << c.offset;
    EXPECT_EQ(format.effects, c.effectsOut) << c.effects;
    EXPECT_EQ(format.colour, c.colourOut) << c.effects;
  }
}

TEST(CharFormatToControl, WritesEveryFieldAndTheAutomaticColourFlag) {
  const RawCharFormat automatic = toRaw({"黑体", 15, -2, kBold | kProtected, kAutomaticColour});
  EXPECT_EQ(automatic.faceName, u"黑体");
  EXPECT_EQ(automatic.height, 300);
  EXPECT_EQ(automatic.offset, -40);
  EXPECT_EQ(automatic.effects, RawCharFormat::kAutoColourEffect | 1u | 16u);

  const RawCharFormat blue = toRaw({"Arial", 9, 0, 0xFF, 16711680});
  EXPECT_EQ(blue.effects, 0x1Fu) << "only the five effect bits, and no automatic colour";
  EXPECT_EQ(blue.textColour, 16711680u);
  EXPECT_EQ(toRaw({"A", 9, 0, 0, 0x01000010}).textColour, 0x10u) << "a palette-index byte is dropped";
}

TEST(CharFormatToControl, FaceNamesAreCutToTheControlsFieldAtACharacterBoundary) {
  const std::string longName(100, 'x');
  EXPECT_EQ(toRaw({longName, 9}).faceName.size(), RawCharFormat::kFaceCapacity - 1);
  // 30 ASCII letters and an emoji (two UTF-16 units): the pair does not fit whole.
  const RawCharFormat cut = toRaw({std::string(30, 'a') + "😀", 9});
  EXPECT_EQ(cut.faceName, std::u16string(30, u'a'));
}

TEST(CharFormatToControl, HugeSizesStayWithinTheControlsRange) {
  EXPECT_EQ(toRaw({"A", 2000000000}).height, 1638 * 20);
  EXPECT_EQ(toRaw({"A", -5}).height, 0);
  EXPECT_EQ(toRaw({"A", 12, -2000000000}).offset, -1638 * 20);
}

TEST(ToggledEffects, FlipsOneBitAndDropsStrikeOutAndProtected) {
  struct Case {
    int effects, bit, expected;
  } cases[] = {
      {kItalic | kStrikeOut, kBold, kBold | kItalic},
      {kBold | kItalic | kUnderline, kBold, kItalic | kUnderline},
      {0, kUnderline, kUnderline},
      {kProtected | kUnderline, kUnderline, 0},
      {kBold, kItalic, kBold | kItalic},
  };
  for (const Case& c : cases) EXPECT_EQ(toggledEffects(c.effects, c.bit), c.expected) << c.effects << " ^ " << c.bit;
}

TEST(SteppedSize, StaysWithinNineToSeventyTwoThroughTheKeys) {
  struct Case {
    int size;
    bool up;
    int expected;
  } cases[] = {{15, true, 16}, {15, false, 14}, {72, true, 72}, {71, true, 72}, {9, false, 9},
               {10, false, 9},  {8, false, 8},   {8, true, 9},   {100, true, 100}, {100, false, 99}};
  for (const Case& c : cases) EXPECT_EQ(steppedSize(c.size, c.up), c.expected) << c.size << (c.up ? " up" : " down");
}

TEST(ShortcutColourValue, EmptyDoesNothingAndNumbersAreTruncated) {
  EXPECT_EQ(shortcutColourValue(""), std::nullopt);
  EXPECT_EQ(shortcutColourValue("16711680"), 16711680u);
  EXPECT_EQ(shortcutColourValue(" 255.9"), 255u);
  EXPECT_EQ(shortcutColourValue("4278190080"), kAutomaticColour);
  EXPECT_EQ(shortcutColourValue("red"), 0u);
  EXPECT_EQ(shortcutColourValue("-1"), std::nullopt);
  EXPECT_EQ(shortcutColourValue("99999999999"), std::nullopt);
}

TEST(SizeFromText, ListEntriesAndNonsense) {
  EXPECT_EQ(sizeFromText("8"), 8);
  EXPECT_EQ(sizeFromText("72"), 72);
  EXPECT_EQ(sizeFromText(""), 0);
  EXPECT_EQ(sizeFromText("1e9"), 0);
}

TEST(FormatPanelCorner, FlipsLeftAndUpWhereThePanelWouldCrossTheEdges) {
  // Editor 644 x 293, panel 237 x 98: the panel fits below y 195 and left of x 407.
  struct Case {
    double x, y;
    int left, top;
  } cases[] = {
      {100, 50, 100, 50},       // fits: corner at the point
      {600, 50, 363, 50},       // right edge only: flipped left
      {100, 280, 100, 182},     // bottom edge only: flipped up
      {600, 280, 363, 182},     // lower right corner: both
      {407, 195, 407, 195},     // exactly at the limits is not past them
      {407.0000002, 195, 170, 195},
  };
  for (const Case& c : cases) {
    const PanelCorner corner = formatPanelCorner(c.x, c.y, 644, 293, 237, 98);
    EXPECT_EQ(corner.left, c.left) << c.x << "," << c.y;
    EXPECT_EQ(corner.top, c.top) << c.x << "," << c.y;
  }
}

TEST(ColourTable, EighthSquareIsCyanAndNinthBlue) {
  EXPECT_EQ(kColourTable.size(), 13u);
  EXPECT_EQ(kColourTable[7].value, 16776960u);
  EXPECT_STREQ(kColourTable[7].name, "艳青");
  EXPECT_EQ(kColourTable[8].value, 16711680u);
  EXPECT_EQ(kColourTable[12].value, 0u);
}
