#include "fake_locale_clock.h"

#include <cstdio>

namespace vh::test {

std::string FakeLocaleClock::ShortDate(const LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%d", t.month, t.day, t.year);
  return text;
}

std::string FakeLocaleClock::LongTime(const LocalTime& t) {
  char text[32];
  const int hour = t.hour % 12 == 0 ? 12 : t.hour % 12;
  std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour, t.minute, t.second, t.hour < 12 ? "AM" : "PM");
  return text;
}

std::string FakeLocaleClock::AnsiToUtf8(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace vh::test
