// The time marker, the separator line and the date picker's entries.
#include <gtest/gtest.h>

#include "editor/insert_texts.h"
#include "platform/text_codec.h"

using namespace zelvo::editor;

TEST(TimeMarker, PositionTextBetweenFullWidthBrackets) {
  EXPECT_EQ(timeMarker("00:07"), "【00:07】");
  EXPECT_EQ(timeMarker("100:00"), "【100:00】");
  EXPECT_EQ(timeMarker(""), "【】");
  EXPECT_EQ(zelvo::text::utf8ToGbk(timeMarker("")), "\xA1\xBE\xA1\xBF");
}

TEST(SeparatorLine, TwentyEightHeavyLinesBetweenLineEnds) {
  const std::string gbk = zelvo::text::utf8ToGbk(kSeparatorLine);
  ASSERT_EQ(gbk.size(), 2u + 28u * 2u + 4u);
  EXPECT_EQ(gbk.substr(0, 2), "\r\n");
  for (int i = 0; i < 28; ++i) EXPECT_EQ(gbk.substr(2 + 2 * i, 2), "\xA9\xA5") << i;
  EXPECT_EQ(gbk.substr(58), "\r\n\r\n");
}

TEST(DateEntries, TuesdayAfternoon) {
  const auto entries = dateEntries({2024, 3, 5, 2, 14, 7, 9});
  const std::array<std::string, kDateEntryCount> expected{
      "2024-3-5", "24-3-5", "2024年3月5日", "2024 3 5", "2024 3 5 星期二", "2024年3月5日 星期二",
      "14:7",     "14:7:9", "下午 2:7:9",   "下午 02:7:9",
  };
  EXPECT_EQ(entries, expected);
}

TEST(DateEntries, NoonMidnightAndTheHalfDayHour) {
  struct Case {
    int hour, minute, second;
    const char *nine, *ten;
  } cases[] = {
      {12, 30, 5, "下午 12:30:5", "下午 12:30:5"},
      {0, 5, 0, "上午 0:5:0", "上午 00:5:0"},
      {11, 59, 59, "上午 11:59:59", "上午 11:59:59"},
      {23, 0, 1, "下午 11:0:1", "下午 11:0:1"},
      {13, 1, 1, "下午 1:1:1", "下午 01:1:1"},
  };
  for (const Case& c : cases) {
    const auto entries = dateEntries({2024, 3, 5, 2, c.hour, c.minute, c.second});
    EXPECT_EQ(entries[8], c.nine) << c.hour;
    EXPECT_EQ(entries[9], c.ten) << c.hour;
  }
}

TEST(DateEntries, WeekdaysAndShortYears) {
  const char* expected[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
  for (int day = 0; day < 7; ++day) EXPECT_EQ(weekdayText(day), expected[day]);
  EXPECT_EQ(dateEntries({2009, 12, 31, 4, 0, 0, 0})[1], "09-12-31");
  EXPECT_EQ(dateEntries({7, 1, 1, 0, 0, 0, 0})[1], "7-1-1") << "a one-digit year has only one character";
}
