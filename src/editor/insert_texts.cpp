#include "editor/insert_texts.h"

namespace zelvo::editor {
namespace {

std::string number(int value) { return std::to_string(value); }

// 0 at midnight, 12 at noon, 1..11 in the afternoon.
int halfDayHour(int hour) {
  if (hour <= 12) return hour;
  return hour - 12;
}

std::string halfDayPrefix(int hour) { return hour < 12 ? "上午 " : "下午 "; }

}  // namespace

std::string timeMarker(std::string_view positionText) {
  std::string marker = "【";
  marker += positionText;
  marker += "】";
  return marker;
}

std::string weekdayText(int weekday) {
  static constexpr const char* kNumerals[] = {"日", "一", "二", "三", "四", "五", "六"};
  const int index = ((weekday % 7) + 7) % 7;
  return std::string("星期") + kNumerals[index];
}

std::array<std::string, kDateEntryCount> dateEntries(const LocalDateTime& t) {
  const std::string y = number(t.year), m = number(t.month), d = number(t.day);
  const std::string shortYear = y.size() > 2 ? y.substr(y.size() - 2) : y;
  const std::string w = weekdayText(t.weekday);
  const std::string minuteSecond = number(t.minute) + ":" + number(t.second);
  const std::string h12 = number(halfDayHour(t.hour));
  const std::string h12Padded = h12.size() == 1 ? "0" + h12 : h12;
  return {
      y + "-" + m + "-" + d,
      shortYear + "-" + m + "-" + d,
      y + "年" + m + "月" + d + "日",
      y + " " + m + " " + d,
      y + " " + m + " " + d + " " + w,
      y + "年" + m + "月" + d + "日" + " " + w,
      number(t.hour) + ":" + number(t.minute),
      number(t.hour) + ":" + minuteSecond,
      halfDayPrefix(t.hour) + h12 + ":" + minuteSecond,
      halfDayPrefix(t.hour) + h12Padded + ":" + minuteSecond,
  };
}

}  // namespace zelvo::editor
