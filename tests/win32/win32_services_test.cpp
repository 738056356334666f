// Path and text conversion, identity, locale and message boxes against the real system.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "platform/win32/wide.h"
#include "platform/win32/win32_identity.h"
#include "platform/win32/win32_locale_clock.h"
#include "platform/win32/win32_message_boxes.h"

namespace vh::win32 {
namespace {

TEST(WideTest, TextRoundTripsThroughUtf16) {
  // ASCII, Greek, CJK and a character outside the basic plane (a surrogate pair in UTF-16).
  const std::string text = "a \xCE\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80";
  const std::wstring wide = Widen(text);
  EXPECT_EQ(wide, L"a \x03A9 \x65E5 \xD83D\xDE00");
  EXPECT_EQ(Narrow(wide), text);
  EXPECT_EQ(Widen(""), L"");
  EXPECT_EQ(Narrow(L""), "");
  // Text that is not UTF-8 does not vanish: each bad byte becomes a replacement character.
  EXPECT_EQ(Widen("caf\xE9"), L"caf\xFFFD");
}

TEST(WideTest, LongPathPrefixesAbsolutePathsOnly) {
  struct Case {
    const char* in;
    const wchar_t* out;
  } cases[] = {
      {"C:\\Data\\file.txt", L"\\\\?\\C:\\Data\\file.txt"},
      {"d:\\", L"\\\\?\\d:\\"},
      {"X:", L"\\\\?\\X:\\"},
      {"C:\\Data\\", L"\\\\?\\C:\\Data\\"},
      // The prefix switches off the system's clean-up, so the path is cleaned first.
      {"C:/Data//sub\\.\\x\\..\\file.txt", L"\\\\?\\C:\\Data\\sub\\file.txt"},
      {"C:\\..\\file.txt", L"\\\\?\\C:\\file.txt"},
      {"\\\\server\\share", L"\\\\?\\UNC\\server\\share"},
      {"\\\\server\\share\\dir\\f.txt", L"\\\\?\\UNC\\server\\share\\dir\\f.txt"},
      {"\\\\?\\C:\\already", L"\\\\?\\C:\\already"},
      {"\\\\?\\UNC\\server\\share", L"\\\\?\\UNC\\server\\share"},
      {"relative\\file.txt", L"relative\\file.txt"},
      {"C:file.txt", L"C:file.txt"},
      {"\\\\server", L"\\\\server"},  // no share: not a usable UNC path, left alone
      {"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(LongPath(c.in), c.out) << c.in;
  EXPECT_EQ(LongPath("C:\\\xCE\xA9.txt"), L"\\\\?\\C:\\\x03A9.txt");
}

TEST(IdentityTest, NamesAreKnownAndWhole) {
  Win32Identity identity;
  const std::string computer = identity.ComputerName();
  const std::string user = identity.UserName();
  EXPECT_FALSE(computer.empty());
  EXPECT_FALSE(user.empty());
  // No terminating null or buffer garbage carried into the text.
  EXPECT_EQ(std::strlen(computer.c_str()), computer.size());
  EXPECT_EQ(std::strlen(user.c_str()), user.size());
}

std::string SystemDate(const SYSTEMTIME& st) {
  wchar_t buffer[128];
  const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128,
                                nullptr);
  return n > 0 ? Narrow(std::wstring_view(buffer, n - 1)) : "";
}

std::string SystemTime(const SYSTEMTIME& st) {
  wchar_t buffer[128];
  const int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
  return n > 0 ? Narrow(std::wstring_view(buffer, n - 1)) : "";
}

TEST(LocaleClockTest, FormatsAsTheUserSettingsSay) {
  Win32LocaleClock clock;
  const LocalTime t{2021, 3, 4, 17, 5, 9, 0};
  SYSTEMTIME st{};
  st.wYear = 2021;
  st.wMonth = 3;
  st.wDay = 4;
  st.wDayOfWeek = 4;
  st.wHour = 17;
  st.wMinute = 5;
  st.wSecond = 9;
  const std::string date = clock.ShortDate(t);
  const std::string time = clock.LongTime(t);
  EXPECT_EQ(date, SystemDate(st));
  EXPECT_EQ(time, SystemTime(st));
  EXPECT_NE(date.find("21"), std::string::npos) << date;
  EXPECT_NE(time.find("05"), std::string::npos) << time;
  EXPECT_NE(time.find("09"), std::string::npos) << time;
  EXPECT_EQ(date.find('\0'), std::string::npos);

  // A date that does not exist gets no text rather than a made-up one.
  EXPECT_EQ(clock.ShortDate(LocalTime{2021, 13, 40, 0, 0, 0, 0}), "");

  EXPECT_FALSE(clock.DecimalSeparator().empty());
  EXPECT_FALSE(clock.ThousandsSeparator().empty());
  EXPECT_NE(clock.DecimalSeparator(), clock.ThousandsSeparator());
}

TEST(LocaleClockTest, AnsiTextBecomesUtf8) {
  Win32LocaleClock clock;
  ASSERT_EQ(GetACP(), 1252u) << "the test run is expected to use the Western European code page";
  EXPECT_EQ(clock.AnsiToUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(clock.AnsiToUtf8("\x80 5"), "\xE2\x82\xAC 5");  // the euro sign sits at 0x80 in 1252
  EXPECT_EQ(clock.AnsiToUtf8("plain"), "plain");
  EXPECT_EQ(clock.AnsiToUtf8(""), "");
}

// What a watcher saw of the box before pressing a button on it.
struct SeenBox {
  std::wstring caption, text;
  bool hasYes = false, hasNo = false, hasOk = false;
};

BOOL CALLBACK FindStatic(HWND child, LPARAM out) {
  wchar_t cls[32];
  if (GetClassNameW(child, cls, 32) && lstrcmpiW(cls, L"Static") == 0) {
    wchar_t text[256];
    if (GetWindowTextW(child, text, 256) > 0) {
      *reinterpret_cast<std::wstring*>(out) = text;
      return FALSE;
    }
  }
  return TRUE;
}

TEST(MessageBoxesTest, ShowsTextCaptionAndButtonsAndReturnsTheAnswer) {
  const std::string caption = "Vesperhollow \xCE\xA9";
  const std::string text = "Copy \xE6\x97\xA5.txt?";
  SeenBox seen;
  std::atomic<bool> found{false};
  const DWORD owner = GetCurrentThreadId();
  std::thread watcher([&] {
    // Polls for the box, bounded so a box that never shows cannot hang the run.
    for (int i = 0; i < 1000 && !found; ++i) {
      HWND box = FindWindowW(L"#32770", Widen(caption).c_str());
      if (box && GetWindowThreadProcessId(box, nullptr) == owner) {
        wchar_t title[128] = L"";
        GetWindowTextW(box, title, 128);
        seen.caption = title;
        EnumChildWindows(box, FindStatic, reinterpret_cast<LPARAM>(&seen.text));
        seen.hasYes = GetDlgItem(box, IDYES) != nullptr;
        seen.hasNo = GetDlgItem(box, IDNO) != nullptr;
        seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
        found = true;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        return;
      }
      Sleep(20);
    }
    // Never found by its caption: answer whatever box the thread has, so the test fails, not hangs.
    EnumThreadWindows(
        owner,
        [](HWND w, LPARAM) -> BOOL {
          PostMessageW(w, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
          return TRUE;
        },
        0);
  });
  Win32MessageBoxes boxes;
  const int answer = boxes.Show(text, caption, kMbYesNo | kMbIconQuestion);
  watcher.join();
  ASSERT_TRUE(found);
  EXPECT_EQ(answer, kIdNo);
  EXPECT_EQ(Narrow(seen.caption), caption);
  EXPECT_EQ(Narrow(seen.text), text);
  EXPECT_TRUE(seen.hasYes);
  EXPECT_TRUE(seen.hasNo);
  EXPECT_FALSE(seen.hasOk);
}

}  // namespace
}  // namespace vh::win32
