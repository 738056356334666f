// The control window's messages, tray icon and single copy, on the real file system, with
// the settings in memory and every box answered from a script.
#include <windows.h>
#include <shellapi.h>

#include "ui/main_form.h"
#include "ui/single_copy.h"

#include "main_form_fixture.h"

namespace vh::test {
namespace {

TEST_F(MainFormTest, TheTrayClickOpensTheCloseButtonHidesAndOnlyACloseEnds) {
  PrepareStore();
  ui::TMainForm& f = Form();
  SendMessageW(f.Handle(), ui::kTrayCallbackMessage, 0, WM_LBUTTONUP);
  EXPECT_TRUE(f.Visible());
  SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close button only hides
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(ended, -1);
  SendMessageW(f.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(ended, 0);
}

TEST_F(MainFormTest, TheBalloonIsShownAndItsClickOpensTheLogPage) {
  PrepareStore();
  ui::TMainForm& f = Form();
  EXPECT_TRUE(f.TrayIcon->ShowBalloon("Vesperhollow", "2 items could not be backed up. Click here to see the log."));
  SendMessageW(f.Handle(), ui::kTrayCallbackMessage, 0, NIN_BALLOONUSERCLICK);
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.Pages.ActivePage(), 2);
}

TEST_F(MainFormTest, EachBackupAnimatesTheTrayIconOnce) {
  PrepareStore();
  ui::TMainForm& f = Form();
  for (int run = 0; run < 2; ++run) {
    f.TrayIcon->StartAnimation();
    f.TrayIcon->StartAnimation();  // one thread a backup
    EXPECT_TRUE(f.TrayIcon->Animating());
    Sleep(120);
    f.TrayIcon->StopAnimation();
    EXPECT_FALSE(f.TrayIcon->Animating());
  }
}

// The log-off comes inside a running backup, which the end of the process stops where it is.
TEST_F(MainFormTest, LogOffDuringAnOperationIsToldInTheLogFileBeforeTheEnd) {
  PrepareStore();
  Write(MirrorPath(backupFolder, "") + "\\Log.txt", "");
  ui::TMainForm& f = Form();
  const BusyScope busy(f.Logic, kManualBackup);
  SendMessageW(f.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  EXPECT_EQ(ended, 0);
  const std::string saved = Read(MirrorPath(backupFolder, "") + "\\Log.txt");
  EXPECT_TRUE(Ends(saved, "\t\tWARNING: Backup cut short by log-off.\r\n"
                          "\t\tWARNING: Backup on shutdown prevented by current operation.\r\n"))
      << saved;
}

TEST(SingleCopyTest, ASecondCopyIsRefused) {
  const std::wstring name = L"VesperhollowTest" + std::to_wstring(GetCurrentProcessId());
  EXPECT_TRUE(ui::ClaimSingleCopy(name.c_str()));
  EXPECT_FALSE(ui::ClaimSingleCopy(name.c_str()));
}

}  // namespace
}  // namespace vh::test
