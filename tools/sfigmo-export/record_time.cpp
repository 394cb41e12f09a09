#include "record_time.h"

#include <cstdio>
#include <string_view>

#include "record/short_string.h"

namespace sfigmo {
namespace {

// Two ASCII digits at `pos`, or -1.
int TwoDigits(std::string_view text, std::size_t pos) {
  if (pos + 2 > text.size()) return -1;
  const char a = text[pos], b = text[pos + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
  return (a - '0') * 10 + (b - '0');
}

// "dd_dd_dd" followed by `tail` ("_" for the date, nothing for the time).
bool ThreeParts(std::string_view text, std::string_view tail, int parts[3]) {
  if (text.size() != 8 + tail.size() || text.substr(8) != tail) return false;
  for (int i = 0; i < 3; ++i) {
    parts[i] = TwoDigits(text, static_cast<std::size_t>(i) * 3);
    if (parts[i] < 0 || (i < 2 && text[static_cast<std::size_t>(i) * 3 + 2] != '_')) return false;
  }
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string Format(const char* pattern, int a, int b, int c) {
  char text[32];
  std::snprintf(text, sizeof text, pattern, a, b, c);
  return text;
}

}  // namespace

std::optional<DateTimeParts> StoredDateTime(const PulsogramRecord& record) {
  int date[3], time[3];
  if (!ThreeParts(GetShortString(record.DateText), "_", date) ||
      !ThreeParts(GetShortString(record.TimeText), "", time)) {
    return std::nullopt;
  }
  DateTimeParts when{2000 + date[0], date[1], date[2], time[0], time[1], time[2]};
  if (when.Month < 1 || when.Month > 12 || when.Day < 1 ||
      when.Day > DaysInMonth(when.Year, when.Month) || when.Hour > 23 || when.Minute > 59 ||
      when.Second > 59) {
    return std::nullopt;
  }
  return when;
}

std::string IsoDate(const DateTimeParts& w) {
  return Format("%04d-%02d-%02d", w.Year, w.Month, w.Day);
}
std::string IsoTime(const DateTimeParts& w) {
  return Format("%02d:%02d:%02d", w.Hour, w.Minute, w.Second);
}

}  // namespace sfigmo
