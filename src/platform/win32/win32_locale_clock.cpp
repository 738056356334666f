#include "platform/win32/win32_locale_clock.h"

#include <windows.h>

#include <climits>

#include "platform/win32/wide.h"

namespace vh::win32 {
namespace {

SYSTEMTIME ToSystemTime(const LocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  st.wMilliseconds = static_cast<WORD>(t.millisecond);
  return st;
}

// Runs a "size first, then fill" formatting call; empty text when it fails.
template <typename Format>
std::string Formatted(Format format) {
  const int n = format(nullptr, 0);
  if (n <= 0) return {};
  std::wstring buffer(static_cast<size_t>(n), L'\0');
  const int written = format(buffer.data(), n);
  if (written <= 0) return {};
  buffer.resize(static_cast<size_t>(written - 1));  // the count includes the terminating null
  return Narrow(buffer);
}

std::string LocaleText(LCTYPE type) {
  return Formatted([type](wchar_t* out, int size) {
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, out, size);
  });
}

}  // namespace

LocalTime Win32LocaleClock::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::string Win32LocaleClock::ShortDate(const LocalTime& t) {
  const SYSTEMTIME st = ToSystemTime(t);
  return Formatted([&st](wchar_t* out, int size) {
    return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, out, size,
                           nullptr);
  });
}

std::string Win32LocaleClock::LongTime(const LocalTime& t) {
  const SYSTEMTIME st = ToSystemTime(t);
  return Formatted([&st](wchar_t* out, int size) {
    return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, out, size);
  });
}

std::string Win32LocaleClock::DecimalSeparator() { return LocaleText(LOCALE_SDECIMAL); }

std::string Win32LocaleClock::ThousandsSeparator() { return LocaleText(LOCALE_STHOUSAND); }

std::string Win32LocaleClock::AnsiToUtf8(const std::string& text) { return Narrow(Widen(text, CP_ACP)); }

}  // namespace vh::win32
