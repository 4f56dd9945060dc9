// Formatting through the real rich-edit control: CharFormat read and write,
// the effect toggles, sizes, shortcut colours and fonts, the colour squares
// and the lists of the format panel.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "platform/text_codec.h"

using namespace zelvo;
using namespace zelvo::editor;

namespace {

class Formatting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(fixture.window().handle(), nullptr);
    fixture.setText("第一行 first line\r\nsecond line");
    text().select(0, 10);
  }
  RichEdit& text() { return fixture.text(); }
  CharFormat selected() { return text().selectionFormat(); }
  void choose(HWND combo, const char* entry) {
    const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text::widen(entry).c_str()));
    ASSERT_NE(index, CB_ERR) << entry;
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }

  test::EditorFixture fixture;
};

}  // namespace

TEST_F(Formatting, DefaultFormatIsSongTi15WithAutomaticColour) {
  const CharFormat format = selected();
  EXPECT_EQ(format.faceName, "宋体");
  EXPECT_EQ(format.size, 15);
  EXPECT_EQ(format.offset, 0);
  EXPECT_EQ(format.effects, 0);
  EXPECT_EQ(format.colour, kAutomaticColour);
}

TEST_F(Formatting, WrittenRecordReadsBackFromTheControl) {
  const CharFormat cases[] = {
      {"Arial", 12, 0, kBold | kUnderline, 255},
      {"宋体", 9, 3, kItalic | kStrikeOut, 16711680},
      {"Tahoma", 72, -2, kBold | kItalic | kUnderline | kStrikeOut | kProtected, kAutomaticColour},
  };
  for (const CharFormat& format : cases) {
    text().setSelectionFormat(format);
    EXPECT_EQ(selected(), format) << format.faceName;
  }
}

TEST_F(Formatting, CtrlBOnItalicStruckOutTextGivesBoldItalicWithoutStrikeOut) {
  text().setSelectionFormat({"宋体", 15, 0, kItalic | kStrikeOut, kAutomaticColour});
  fixture.window().toggleEffect(kBold);
  EXPECT_EQ(selected().effects, kBold | kItalic);
  EXPECT_TRUE(fixture.window().formatPanel().buttonPressed(kButtonBold));
  EXPECT_TRUE(fixture.window().formatPanel().buttonPressed(kButtonItalic));
  fixture.window().toggleEffect(kBold);
  EXPECT_EQ(selected().effects, kItalic);
}

TEST_F(Formatting, ToggleOnMixedFormatsMakesTheSelectionUniformInTheReportedFormat) {
  text().select(0, 3);
  text().setSelectionFormat({"Arial", 20, 0, 0, 255});
  text().select(3, 10);
  text().setSelectionFormat({"Tahoma", 11, 0, kUnderline, 32768});
  text().select(0, 10);
  const CharFormat reported = selected();
  fixture.window().toggleEffect(kItalic);
  for (long at = 0; at < 10; ++at) {
    text().select(at, at + 1);
    const CharFormat one = selected();
    EXPECT_EQ(one.faceName, reported.faceName) << at;
    EXPECT_EQ(one.size, reported.size) << at;
    EXPECT_EQ(one.colour, reported.colour) << at;
    EXPECT_TRUE(one.effects & kItalic) << at;
  }
}

TEST_F(Formatting, SizeKeysStopAt72And9AndLeaveASizeOf8FromTheList) {
  struct Case {
    int start;
    bool up;
    int expected;
  } cases[] = {{72, true, 72}, {9, false, 9}, {15, true, 16}, {15, false, 14}};
  for (const Case& c : cases) {
    CharFormat format = selected();
    format.size = c.start;
    text().setSelectionFormat(format);
    fixture.window().changeSize(c.up);
    EXPECT_EQ(selected().size, c.expected) << c.start;
  }
  choose(fixture.window().formatPanel().sizeList(), "8");
  EXPECT_EQ(selected().size, 8);
  fixture.window().changeSize(false);
  EXPECT_EQ(selected().size, 8);
  EXPECT_EQ(GetFocus(), text().handle()) << "choosing a size gives the focus back to the transcript";
}

TEST_F(Formatting, EmptyShortcutsDoNothingAndAlt3WithBlueMakesTheSelectionBlue) {
  fixture.state().shortcutColours = {"255", "", "", "", "", ""};
  fixture.state().shortcutFonts = {"", "", "", "", ""};
  const CharFormat before = selected();
  fixture.window().applyShortcutColour(3);
  for (int n = 1; n <= 5; ++n) fixture.window().applyShortcutFont(n);
  EXPECT_EQ(selected(), before);

  fixture.state().shortcutColours[2] = "16711680";
  fixture.window().applyShortcutColour(3);
  EXPECT_EQ(selected().colour, 16711680u);
  fixture.state().shortcutFonts[4] = "Arial";
  fixture.window().applyShortcutFont(5);
  EXPECT_EQ(selected().faceName, "Arial");
  EXPECT_EQ(selected().colour, 16711680u) << "a font shortcut keeps the colour";
}

TEST_F(Formatting, EighthColourSquareGivesCyanAndHidesThePanel) {
  FormatPanel& panel = fixture.window().formatPanel();
  fixture.window().placeFormatPanel(20, 20);
  ASSERT_TRUE(panel.visible());
  for (int n = 1; n <= kColourSquareCount; ++n) ASSERT_NE(panel.colourSquare(n), nullptr) << n;
  SendMessageW(panel.colourSquare(8), BM_CLICK, 0, 0);
  test::pumpMessages();
  EXPECT_EQ(selected().colour, 16776960u);
  EXPECT_FALSE(panel.visible());
  EXPECT_EQ(GetFocus(), text().handle());
}

TEST_F(Formatting, ColourSquaresSitInARowOf18PixelSteps) {
  FormatPanel& panel = fixture.window().formatPanel();
  for (int n = 1; n <= kColourSquareCount; ++n) {
    RECT r{};
    GetWindowRect(panel.colourSquare(n), &r);
    MapWindowPoints(HWND_DESKTOP, panel.handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 1 + 18 * (n - 1)) << n;
    EXPECT_EQ(r.top, 78) << n;
    EXPECT_EQ(r.right - r.left, 17) << n;
  }
}

TEST_F(Formatting, FontListHoldsTheInstalledFamiliesAndAppliesTheChosenOne) {
  HWND fonts = fixture.window().formatPanel().fontList();
  const LRESULT count = SendMessageW(fonts, CB_GETCOUNT, 0, 0);
  ASSERT_GT(count, 1);
  wchar_t face[LF_FACESIZE]{};
  SendMessageW(fonts, CB_GETLBTEXT, count - 1, reinterpret_cast<LPARAM>(face));
  const std::string last = text::narrow(face);
  choose(fonts, last.c_str());
  EXPECT_EQ(selected().faceName, last);
}

TEST_F(Formatting, WithNoSelectionTheFormatGoesToTheNextTypedCharacters) {
  text().select(4, 4);
  fixture.window().toggleEffect(kUnderline);
  SendMessageW(text().handle(), WM_CHAR, L'Z', 0);
  text().select(4, 5);
  EXPECT_EQ(text().text().substr(0, 11), "第一行 Z");
  EXPECT_TRUE(selected().effects & kUnderline);
}

TEST_F(Formatting, SelectionHandlerShowsTheFormatInTheToolbarAndLists) {
  text().setSelectionFormat({"Arial", 24, 0, kUnderline, 255});
  text().select(1, 6);  // a selection change runs the handler
  test::pumpMessages();
  FormatPanel& panel = fixture.window().formatPanel();
  EXPECT_EQ(panel.fontText(), "Arial");
  EXPECT_EQ(panel.sizeText(), "24");
  EXPECT_FALSE(panel.buttonPressed(kButtonBold));
  EXPECT_TRUE(panel.buttonPressed(kButtonUnderline));
  EXPECT_TRUE(panel.buttonEnabled(kButtonCut));
  EXPECT_TRUE(panel.buttonEnabled(kButtonCopy));
  text().select(2, 2);
  test::pumpMessages();
  EXPECT_FALSE(panel.buttonEnabled(kButtonCut));
  EXPECT_FALSE(panel.buttonEnabled(kButtonCopy));
}
