#pragma once
#include <string>

namespace vh {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The clock and the user's regional settings.
class LocaleClock {
 public:
  virtual ~LocaleClock() = default;
  virtual LocalTime Now() = 0;
  virtual std::string ShortDate(const LocalTime& t) = 0;
  virtual std::string LongTime(const LocalTime& t) = 0;
  virtual std::string DecimalSeparator() = 0;
  virtual std::string ThousandsSeparator() = 0;
  // Text in the system's ANSI code page, as UTF-8 (for files written by earlier versions).
  virtual std::string AnsiToUtf8(const std::string& text) = 0;
};

}  // namespace vh
