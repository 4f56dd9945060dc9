// The hotkeys end to end: keys typed on the X server with xdotool while the
// caret is in the transcript, with fake playback and document hooks.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "editor_fixture.h"
#include "xdotool.h"

using namespace zelvo;
using namespace zelvo::editor;

namespace {

class TypedHotkeys : public ::testing::Test {
 protected:
  TypedHotkeys() : fixture(hooks(), {}, test::EditorFixture::Owner::Managed) {}
  void SetUp() override {
    ASSERT_NE(fixture.window().handle(), nullptr);
    fixture.setText("");
    ASSERT_TRUE(test::pointAndClick(fixture.text().handle()));
    ASSERT_TRUE(test::pumpUntil([&] { return GetFocus() == fixture.text().handle(); }))
        << "the transcript never got the keyboard focus";
  }
  EditorCommands hooks() {
    EditorCommands c;
    c.togglePlayPause = [this] { calls.push_back("togglePlayPause"); };
    c.seekBackward = [this] { calls.push_back("seekBackward"); };
    c.seekForward = [this] { calls.push_back("seekForward"); };
    c.stepSpeed = [this](int d) { calls.push_back(d > 0 ? "stepSpeed up" : "stepSpeed down"); };
    c.openAudioFile = [this] { calls.push_back("openAudioFile"); };
    c.positionText = [] { return std::string("03:21"); };
    return c;
  }
  // Types `keys` and waits until the hooks have seen `expected` more calls.
  bool typeAndWait(const std::string& keys, std::size_t expected) {
    const std::size_t before = calls.size();
    if (!test::xdotool("key --clearmodifiers " + keys)) return false;
    return test::pumpUntil([&] { return calls.size() >= before + expected; });
  }

  std::vector<std::string> calls;
  test::EditorFixture fixture;
};

}  // namespace

TEST_F(TypedHotkeys, PlaybackKeysReachTheirHooks) {
  ASSERT_TRUE(typeAndWait("F4", 1));
  ASSERT_TRUE(typeAndWait("F5", 1));
  ASSERT_TRUE(typeAndWait("F6", 1));
  ASSERT_TRUE(typeAndWait("alt+Right", 1));
  ASSERT_TRUE(typeAndWait("alt+Left", 1));
  ASSERT_TRUE(typeAndWait("alt+o", 1));
  EXPECT_EQ(calls, (std::vector<std::string>{"togglePlayPause", "seekBackward", "seekForward", "stepSpeed up",
                                             "stepSpeed down", "openAudioFile"}));
  EXPECT_EQ(fixture.text().text(), "") << "no key reached the transcript as text";
}

TEST_F(TypedHotkeys, CtrlMInsertsTheMarkerOfThePositionText) {
  ASSERT_TRUE(test::xdotool("type --delay 20 ab"));
  ASSERT_TRUE(test::pumpUntil([&] { return fixture.text().text() == "ab"; }));
  ASSERT_TRUE(test::xdotool("key --clearmodifiers ctrl+m"));
  EXPECT_TRUE(test::pumpUntil([&] { return fixture.text().text() == "ab【03:21】"; })) << fixture.text().text();
}

TEST_F(TypedHotkeys, TabWithTheOptionOffInsertsNoTab) {
  fixture.state().tabHotkeyEnabled = false;
  ASSERT_TRUE(test::xdotool("type --delay 20 x"));
  ASSERT_TRUE(test::pumpUntil([&] { return fixture.text().text() == "x"; }));
  // F4 after Tab: once its hook ran, Tab has been handled too.
  ASSERT_TRUE(typeAndWait("Tab F4", 1));
  EXPECT_EQ(calls, std::vector<std::string>{"togglePlayPause"});
  EXPECT_EQ(fixture.text().text(), "x");

  fixture.state().tabHotkeyEnabled = true;
  ASSERT_TRUE(typeAndWait("Tab", 1));
  EXPECT_EQ(calls.back(), "togglePlayPause");
  EXPECT_EQ(fixture.text().text(), "x");
}

TEST_F(TypedHotkeys, FormattingKeysChangeTheTextAtTheCaret) {
  fixture.state().shortcutColours[0] = "255";
  ASSERT_TRUE(test::xdotool("key --clearmodifiers ctrl+b alt+1 alt+Up"));
  ASSERT_TRUE(test::pumpUntil([&] {
    const CharFormat f = fixture.text().selectionFormat();
    return (f.effects & kBold) && f.colour == 255 && f.size == 16;
  }));
}

TEST_F(TypedHotkeys, KeysRegisteredAgainHaveNewIdentifiersAndStillWork) {
  const auto before = fixture.state().hotkeyIds;
  fixture.window().releaseHotkeys();
  fixture.window().registerHotkeys();
  const auto after = fixture.state().hotkeyIds;
  for (int n = 0; n < kHotkeyTotal; ++n) EXPECT_EQ(std::count(before.begin(), before.end(), after[n]), 0) << n;
  ASSERT_TRUE(typeAndWait("F4", 1));
  ASSERT_TRUE(typeAndWait("F6", 1));
  EXPECT_EQ(calls, (std::vector<std::string>{"togglePlayPause", "seekForward"}));
}

TEST_F(TypedHotkeys, CtrlTOpensTheDatePickerAndEnterInsertsTheChosenEntry) {
  DatePicker& picker = fixture.window().datePicker();
  ASSERT_TRUE(test::xdotool("key --clearmodifiers ctrl+t"));
  ASSERT_TRUE(test::pumpUntil([&] { return picker.visible() && GetFocus() == picker.list(); }));
  const std::string second = picker.entry(1);
  ASSERT_TRUE(test::xdotool("key --clearmodifiers Down Return"));
  ASSERT_TRUE(test::pumpUntil([&] { return !picker.visible(); }));
  EXPECT_EQ(fixture.text().text(), second);
  EXPECT_EQ(GetFocus(), fixture.text().handle());
}

TEST_F(TypedHotkeys, DraggingTheTitleMovesTheDatePicker) {
  DatePicker& picker = fixture.window().datePicker();
  fixture.window().openDatePicker();
  RECT title{};
  GetWindowRect(picker.handle(), &title);
  const int x = title.left + 60, y = title.top + 10;
  const RECT before = picker.rect();
  ASSERT_TRUE(test::xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1 mousemove " +
                            std::to_string(x - 100) + " " + std::to_string(y + 20) + " mousemove " +
                            std::to_string(x - 200) + " " + std::to_string(y + 40) + " mouseup 1"));
  EXPECT_TRUE(test::pumpUntil([&] { return picker.rect().left < before.left - 150; }))
      << picker.rect().left << " from " << before.left;
  const RECT after = picker.rect();
  EXPECT_EQ(after.right - after.left, kDatePickerWidth) << "moved, not resized";
}

TEST_F(TypedHotkeys, SizeChosenWithThePointerFromTheDroppedList) {
  fixture.setText("abcdef");
  fixture.text().select(0, 3);
  FormatPanel& panel = fixture.window().formatPanel();
  fixture.window().placeFormatPanel(20, 20);
  RECT combo{};
  GetWindowRect(panel.sizeList(), &combo);
  // The arrow at the right end, then the entry "16" (the seventh) in the list below.
  const int x = combo.right - 6, y = (combo.top + combo.bottom) / 2;
  ASSERT_TRUE(test::xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1"));
  ASSERT_TRUE(test::pumpUntil([&] { return SendMessageW(panel.sizeList(), CB_GETDROPPEDSTATE, 0, 0) != 0; }))
      << "the list did not open";
  COMBOBOXINFO info{sizeof info};
  GetComboBoxInfo(panel.sizeList(), &info);
  RECT item{};
  SendMessageW(info.hwndList, LB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&item));
  MapWindowPoints(info.hwndList, HWND_DESKTOP, reinterpret_cast<POINT*>(&item), 2);
  ASSERT_TRUE(test::xdotool("mousemove " + std::to_string(item.left + 5) + " " +
                            std::to_string((item.top + item.bottom) / 2) + " click 1"));
  EXPECT_TRUE(test::pumpUntil([&] { return fixture.text().selectionFormat().size == 16; }));
  EXPECT_EQ(GetFocus(), fixture.text().handle());
}
