// The insert commands with the real control and the real clipboard: time
// markers, the separator line and the date picker.
#include <windows.h>

#include <gtest/gtest.h>

#include "editor/clipboard.h"
#include "editor_fixture.h"

using namespace zelvo;
using namespace zelvo::editor;

namespace {

class Inserting : public ::testing::Test {
 protected:
  Inserting() : fixture(commands(), [] { return LocalDateTime{2024, 3, 5, 2, 14, 7, 9}; }) {}
  EditorCommands commands() {
    EditorCommands hooks;
    hooks.positionText = [this] { return position; };
    return hooks;
  }
  RichEdit& text() { return fixture.text(); }

  std::string position;
  test::EditorFixture fixture;
};

}  // namespace

TEST_F(Inserting, MarkerTakesThePositionLabelsTextAtTheMoment) {
  struct Case {
    const char* position;
    const char* marker;
  } cases[] = {{"00:07", "【00:07】"}, {"100:00", "【100:00】"}, {"", "【】"}};
  std::string expected;
  for (const Case& c : cases) {
    position = c.position;
    fixture.window().insertTimeMarker();
    expected += c.marker;
    EXPECT_EQ(text().text(), expected);
  }
}

TEST_F(Inserting, MarkerReplacesTheSelectionAndOverwritesTheClipboard) {
  ASSERT_TRUE(setClipboardText(fixture.window().handle(), "the user's clipboard"));
  fixture.setText("before SELECTED after");
  text().select(7, 15);
  position = "12:45";
  fixture.window().insertTimeMarker();
  EXPECT_EQ(text().text(), "before 【12:45】 after");
  EXPECT_EQ(clipboardText(fixture.window().handle()), "【12:45】");
  // A later Ctrl+V pastes the marker again, at the caret after the first.
  fixture.window().paste();
  EXPECT_EQ(text().text(), "before 【12:45】【12:45】 after");
}

TEST_F(Inserting, SeparatorGoesThroughTheClipboardToo) {
  fixture.setText("a");
  fixture.window().insertSeparator();
  EXPECT_EQ(text().text(), "a\r\n━━━━━━━━━━━━━━━━━━━━━━━━━━━━\r\n\r\n");
  EXPECT_EQ(clipboardText(fixture.window().handle()), std::string(kSeparatorLine));
}

TEST_F(Inserting, DatePickerOffersTheTenTextsOfCreationWithTheFirstSelected) {
  DatePicker& picker = fixture.window().datePicker();
  ASSERT_EQ(picker.entryCount(), kDateEntryCount);
  const auto expected = dateEntries({2024, 3, 5, 2, 14, 7, 9});
  for (int i = 0; i < kDateEntryCount; ++i) EXPECT_EQ(picker.entry(i), expected[i]) << i;
  EXPECT_EQ(picker.selectedText(), "2024-3-5");
  EXPECT_FALSE(picker.visible());
}

TEST_F(Inserting, OpenShowsThePickerWithTheFocusOnItsList) {
  fixture.window().openDatePicker();
  EXPECT_TRUE(fixture.window().datePicker().visible());
  EXPECT_EQ(GetFocus(), fixture.window().datePicker().list());
}

TEST_F(Inserting, EnterDoubleClickAndConfirmInsertTheSelectedEntry) {
  DatePicker& picker = fixture.window().datePicker();
  fixture.setText("x");
  text().setContentFormat(ContentFormat::PlainText);

  fixture.window().openDatePicker();
  SendMessageW(picker.list(), LB_SETCURSEL, 5, 0);
  SendMessageW(picker.list(), WM_KEYDOWN, VK_RETURN, 0);
  test::pumpMessages();
  EXPECT_EQ(text().text(), "x2024年3月5日 星期二");
  EXPECT_FALSE(picker.visible());
  EXPECT_EQ(GetFocus(), text().handle());
  EXPECT_EQ(text().contentFormat(), ContentFormat::Rtf) << "RTF after a date, even for a plain-text document";

  fixture.window().openDatePicker();
  SendMessageW(picker.list(), LB_SETCURSEL, 9, 0);
  SendMessageW(picker.handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(picker.list()), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(picker.list()));
  EXPECT_EQ(text().text(), "x2024年3月5日 星期二下午 02:7:9");

  fixture.window().openDatePicker();
  SendMessageW(picker.list(), LB_SETCURSEL, 6, 0);
  SendMessageW(picker.confirmButton(), BM_CLICK, 0, 0);
  test::pumpMessages();
  EXPECT_EQ(text().text(), "x2024年3月5日 星期二下午 02:7:914:7");
}

TEST_F(Inserting, CancelInsertsNothing) {
  fixture.setText("x");
  fixture.window().openDatePicker();
  SendMessageW(fixture.window().datePicker().cancelButton(), BM_CLICK, 0, 0);
  test::pumpMessages();
  EXPECT_EQ(text().text(), "x");
  EXPECT_FALSE(fixture.window().datePicker().visible());
}

TEST_F(Inserting, ConfirmedDateReplacesTheSelection) {
  fixture.setText("date: TODAY.");
  text().select(6, 11);
  fixture.window().openDatePicker();
  fixture.window().confirmDate();
  EXPECT_EQ(text().text(), "date: 2024-3-5.");
}
