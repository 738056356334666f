// The Earlier Versions dialog as the tray menu's command opens it, over a store on disk.
#include <windows.h>

#include <gtest/gtest.h>

#include "main_form_fixture.h"
#include "modal_script.h"

namespace vh::test {
namespace {

class VersionsDlgTest : public MainFormTest {};

// The first child of `parent` of the class `cls` whose text begins with `start`, and its text.
HWND Child(HWND parent, const wchar_t* cls, const std::string& start, std::string* text = nullptr) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t name[32] = L"", shown[256] = L"";
    GetClassNameW(c, name, 32);
    GetWindowTextW(c, shown, 256);
    if (lstrcmpiW(name, cls) != 0 || win32::Narrow(shown).rfind(start, 0) != 0) continue;
    if (text) *text = win32::Narrow(shown);
    return c;
  }
  return nullptr;
}

TEST_F(VersionsDlgTest, TheMenuCommandShowsTheStoresVersionsAndOkStoresTheDaysTyped) {
  PrepareStore();
  Write(MirrorPath(backupFolder, "") + "\\$VH_VER$\\2026-12-08 2315\\C\\docs\\a.txt", "older alpha");
  ui::TMainForm& f = Form();
  std::string summary, shownDays;
  bool owned = false;
  Soon([&] {
    HWND dialog = FindWindowW(L"VesperhollowVersions", nullptr);
    ASSERT_NE(dialog, nullptr);
    owned = GetWindow(dialog, GW_OWNER) == f.Handle();
    Child(dialog, L"Static", "Versions kept", &summary);
    HWND days = Child(dialog, L"Edit", "", &shownDays);
    EXPECT_EQ(GetFocus(), days);
    // A number out of range is refused with a box, and the dialog stays to have it put right.
    SetWindowTextW(days, L"99999");
    boxes.Answer(IDOK);
    SendMessageW(Child(dialog, L"Button", "OK"), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowVisible(dialog));
    SetWindowTextW(days, L"7");
    PostMessageW(days, WM_KEYDOWN, VK_RETURN, 0);  // Enter means OK
    Soon([] {  // should Enter not close it, the test ends rather than waits
      if (HWND still = FindWindowW(L"VesperhollowVersions", nullptr)) PostMessageW(still, WM_CLOSE, 0, 0);
    });
  });
  f.EarlierVersionsClick();

  EXPECT_TRUE(owned);
  EXPECT_EQ(shownDays, "30");
  EXPECT_EQ(summary.rfind("Versions kept: 1 file\n", 0), 0u) << summary;
  EXPECT_NE(summary.find("11 bytes"), std::string::npos) << summary;  // "older alpha"
  EXPECT_EQ(boxes.asked.size(), 1u);
  uint32_t stored = 0;
  EXPECT_TRUE(settings.ReadDword(kVersionsKey, "KeepDays", stored));
  EXPECT_EQ(stored, 7u);
}

}  // namespace
}  // namespace vh::test
