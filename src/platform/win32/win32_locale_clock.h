#pragma once
#include "platform/locale_clock.h"

namespace vh::win32 {

// The system clock and the user's regional settings.
class Win32LocaleClock : public vh::LocaleClock {
 public:
  LocalTime Now() override;
  std::string ShortDate(const LocalTime& t) override;
  std::string LongTime(const LocalTime& t) override;
  std::string DecimalSeparator() override;
  std::string ThousandsSeparator() override;
  std::string AnsiToUtf8(const std::string& text) override;
};

}  // namespace vh::win32
