// The ready-made texts the editor inserts: the time marker that lecture mode
// later searches for, the separator line and the date picker's entries.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zelvo::editor {

// "【" + the position label's text + "】"; "【】" before anything has played.
std::string timeMarker(std::string_view positionText);

// CR LF, 28 heavy horizontal lines (U+2501), CR LF twice.
inline constexpr std::string_view kSeparatorLine =
    "\r\n━━━━━━━━━━━━━━━━━━━━━━━━━━━━\r\n\r\n";

struct LocalDateTime {
  int year = 0;
  int month = 0;    // 1..12
  int day = 0;      // 1..31
  int weekday = 0;  // 0 Sunday .. 6 Saturday
  int hour = 0;     // 0..23
  int minute = 0;
  int second = 0;
};

inline constexpr int kDateEntryCount = 10;

// "星期日" .. "星期六".
std::string weekdayText(int weekday);

// The date picker's ten texts for one moment, in list order.
std::array<std::string, kDateEntryCount> dateEntries(const LocalDateTime& moment);

}  // namespace zelvo::editor
