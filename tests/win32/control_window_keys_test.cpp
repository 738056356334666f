// The control window driven by the keyboard alone, and its pages when the window is widened.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "main_form_fixture.h"
#include "modal_script.h"
#include "ui/about_box.h"

namespace vh::test {
namespace {

class ControlWindowKeysTest : public MainFormTest {
 protected:
  ui::TMainForm& Shown() {
    ui::TMainForm& f = Form();
    f.control_.OKBackupChk.SetChecked(false);  // OK only hides the window
    f.ConfigureClick();
    ui::ProcessPendingMessages();
    return f;
  }
  // A key pressed on the control that has the focus, with Ctrl and Shift held or not.
  static void Press(WPARAM key, bool ctrl = false, bool shift = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
    ui::ProcessPendingMessages();
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  }
};

TEST_F(ControlWindowKeysTest, EnterEscAndCtrlTabDriveTheWindowAndTabFollowsTheControlsInTheirOrder) {
  PrepareStore();
  ui::TMainForm& f = Shown();
  EXPECT_EQ(GetFocus(), f.control_.OKBtn2.Handle());

  // Tab goes round the Control page as it reads, stops at the unit chosen (the arrows choose the
  // other) and passes over the boxes that only show numbers.
  std::vector<HWND> order;
  for (int i = 0; i < 16; ++i) {
    Press(VK_TAB);
    order.push_back(GetFocus());
  }
  const std::vector<HWND> expected{f.Pages.Handle(),
                                   f.control_.PeriodUpBtn.Handle(),
                                   f.control_.PeriodDownBtn.Handle(),
                                   f.control_.HoursRBtn.Handle(),
                                   f.control_.EnableTimedBackupsChk.Handle(),
                                   f.control_.StartupChk.Handle(),
                                   f.control_.ShutdownChk.Handle(),
                                   f.control_.OKBackupChk.Handle(),
                                   f.control_.SuppressBackupChk.Handle(),
                                   f.control_.BackupNowBtn.Handle(),
                                   f.control_.PurgeBtn.Handle(),
                                   f.control_.RestoreNowBtn.Handle(),
                                   f.control_.ShowProgressChk.Handle(),
                                   f.control_.AboutBtn.Handle(),
                                   f.control_.HelpBtn2.Handle(),
                                   f.control_.OKBtn2.Handle()};
  EXPECT_EQ(order, expected);

  // Ctrl and Shift reach the page keys (which page each leads to is the logic's).
  Press(VK_TAB, true);
  EXPECT_EQ(f.Pages.ActivePage(), 1);
  Press(VK_TAB, true, true);
  EXPECT_EQ(f.Pages.ActivePage(), 0);

  // Mnemonics reach the boxes of the page in view only.
  auto alt = [](wchar_t letter) {
    PostMessageW(GetFocus(), WM_SYSCHAR, letter, 1 << 29);
    ui::ProcessPendingMessages();
  };
  f.Pages.SetActivePage(2);
  alt(L'l');
  EXPECT_FALSE(f.log_.EnableLogChk.Checked());
  EXPECT_FALSE(f.select_.ShowFilesChk.Checked());
  f.Pages.SetActivePage(0);
  alt(L't');
  EXPECT_TRUE(f.control_.EnableTimedBackupsChk.Checked());
  alt(L'm');
  EXPECT_TRUE(f.control_.MinutesRBtn.Checked());

  f.Pages.SetActivePage(1);
  SetFocus(f.select_.AddBtn.Handle());
  Press(VK_ESCAPE);
  EXPECT_FALSE(f.Visible());
  f.ConfigureClick();
  f.Pages.SetActivePage(2);  // the log, which takes every key sent to it, has the focus
  ASSERT_EQ(GetFocus(), f.log_.RichEdit.Handle());
  Press(VK_ESCAPE);
  EXPECT_FALSE(f.Visible());
  f.ConfigureClick();
  ui::ProcessPendingMessages();
  EXPECT_EQ(f.Pages.ActivePage(), 0);
  EXPECT_EQ(GetFocus(), f.control_.OKBtn2.Handle());
  SetFocus(f.control_.ShowProgressChk.Handle());
  Press(VK_RETURN);  // the OK button, wherever the focus is
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(ended, -1);
}

TEST_F(ControlWindowKeysTest, TheAboutBoxBelongsToTheWindowWhichGetsItsFocusBack) {
  PrepareStore();
  ui::TMainForm& f = Shown();
  ui::TAboutBox about;
  about.SetOwner(f.Handle());
  EXPECT_EQ(GetWindow(about.Handle(), GW_OWNER), f.Handle());
  SetFocus(f.control_.HelpBtn2.Handle());
  EXPECT_EQ(ShowWith(about, [&] { about.OKButton.Click(); }), IDOK);
  ui::ProcessPendingMessages();
  EXPECT_EQ(GetActiveWindow(), f.Handle());
  EXPECT_EQ(GetFocus(), f.control_.HelpBtn2.Handle());
}

TEST_F(ControlWindowKeysTest, WideningAndNarrowingKeepsTheRightHandButtonsAlignedAtThePagesRightEdge) {
  PrepareStore();
  ui::TMainForm& f = Shown();
  RECT design;
  GetWindowRect(f.Handle(), &design);
  const std::vector<const ui::Control*> shown{&f.control_.AboutBtn, &f.control_.HelpBtn2, &f.control_.OKBtn2};
  const std::vector<const ui::Control*> others{&f.select_.SubDirBtn, &f.select_.HelpBtn, &f.select_.OKBtn,
                                               &f.log_.HelpBtn4, &f.log_.OKBtn4};
  std::optional<LONG> gap;  // from each button's right edge to its page's, the same at every width
  for (int width : {700, static_cast<int>(design.right - design.left)}) {
    SetWindowPos(f.Handle(), nullptr, 0, 0, width, design.bottom - design.top, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(f.Handle());
    ui::ProcessPendingMessages();
    RECT client;
    GetClientRect(f.Handle(), &client);
    EXPECT_EQ(client.bottom, f.Scale(389)) << "the height is fixed";
    for (const auto* list : {&shown, &others}) {
      for (const ui::Control* c : *list) {
        RECT r, page;
        GetWindowRect(c->Handle(), &r);
        MapWindowPoints(nullptr, GetParent(c->Handle()), reinterpret_cast<POINT*>(&r), 2);
        GetClientRect(GetParent(c->Handle()), &page);
        EXPECT_GE(page.right - r.right, 0) << c->Text() << " inside its page at " << width;
        if (!gap) gap = page.right - r.right;
        EXPECT_NEAR(page.right - r.right, *gap, f.Scale(1)) << c->Text() << " at " << width;
        if (list != &shown) continue;
        EXPECT_TRUE(IsWindowVisible(c->Handle()));
        RECT stale;
        EXPECT_FALSE(GetUpdateRect(c->Handle(), &stale, FALSE)) << "painted after the resize";
      }
    }
  }
}

}  // namespace
}  // namespace vh::test
