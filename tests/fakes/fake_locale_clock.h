#pragma once
// A clock set by the test and US-style regional settings that the test may change.
#include <string>

#include "platform/locale_clock.h"

namespace vh::test {

class FakeLocaleClock : public LocaleClock {
 public:
  LocalTime now{1999, 12, 7, 10, 15, 32, 0};
  std::string decimal = ".", thousands = ",";

  LocalTime Now() override { return now; }
  // M/D/YYYY
  std::string ShortDate(const LocalTime& t) override;
  // h:mm:ss AM
  std::string LongTime(const LocalTime& t) override;
  std::string DecimalSeparator() override { return decimal; }
  std::string ThousandsSeparator() override { return thousands; }
  // Latin-1 to UTF-8.
  std::string AnsiToUtf8(const std::string& text) override;
};

}  // namespace vh::test
