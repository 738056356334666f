// The control window driven through its handlers and messages, on the real file system, with
// the settings in memory and every box answered from a script.
#include <windows.h>
#include <shellapi.h>

#include "ui/main_form.h"
#include "ui/single_copy.h"

#include "main_form_fixture.h"

namespace vh::test {
namespace {

TEST_F(MainFormTest, FirstStartAsksForABackupFolderAndShowsTheDefaults) {
  chosen = backupFolder;
  ui::TMainForm& f = Form();
  EXPECT_EQ(asked, std::vector<std::string>{""});
  EXPECT_EQ(f.BackupFolder(), backupFolder);
  EXPECT_EQ(f.control_.LastBackupLbl.Text(), "No backups found");
  EXPECT_EQ(f.control_.BackupPeriodEdt.Text(), "1");
  EXPECT_TRUE(f.control_.HoursRBtn.Checked());
  EXPECT_FALSE(f.control_.MinutesRBtn.Checked());
  EXPECT_EQ(f.control_.BackupStatusLbl.Text(), "Automatic backups enabled");
  EXPECT_FALSE(f.BackupTimer.Enabled());
  EXPECT_FALSE(f.control_.NextHoursEdt.Enabled());
  EXPECT_TRUE(f.control_.ShutdownChk.Checked());
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(settings.Names(kSettingsKey).size(), 0u);  // nothing saved before the end
  // The new store keeps the log from its first line on.
  f.Log->AddLine("Backup initiated.", true);
  EXPECT_NE(Read(JoinPath(MirrorPath(backupFolder, ""), kLogFileName)).find("Backup initiated."), std::string::npos);
}

TEST_F(MainFormTest, StartUpLoadsTheListAndRunsTheStartUpBackup) {
  PrepareStore(90, true, true);
  ui::TMainForm& f = Form();
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(f.BackupList.Count(), 1);
  EXPECT_EQ(Read(MirrorPath(backupFolder, source + "\\a.txt")), "alpha");
  EXPECT_NE(f.control_.LastBackupLbl.Text(), "No backups found");
  // A stored 90 minutes shows as 1 hour and becomes 60 at the first refresh.
  EXPECT_EQ(f.Scheduler.BackupPeriod, 60);
  EXPECT_EQ(f.Scheduler.MinutesToBackup, 60);
  EXPECT_TRUE(f.BackupTimer.Enabled());
  EXPECT_EQ(f.control_.NextMinutesEdt.Text(), "59");
}

TEST_F(MainFormTest, TimedBackupRunsAndATickDuringAnOperationIsSkipped) {
  PrepareStore(1, true);
  ui::TMainForm& f = Form();
  EXPECT_EQ(f.Scheduler.MinutesToBackup, 1);
  f.BackupTimerTimer();
  EXPECT_EQ(Read(MirrorPath(backupFolder, source + "\\a.txt")), "alpha");
  EXPECT_EQ(f.BusyState, 0);
  EXPECT_EQ(f.Scheduler.MinutesToBackup, 1);

  f.BusyState = kRestoring;
  f.BackupTimerTimer();
  EXPECT_EQ(LastLogLine(), "\t\tWARNING: Timed backup prevented by current operation.");
  f.BusyState = kIdle;
}

TEST_F(MainFormTest, RestoreAndPurgeAskFirst) {
  PrepareStore();
  ui::TMainForm& f = Form();
  boxes.Answer(kIdNo);
  f.RestoreNowBtnClick();
  EXPECT_EQ(boxes.asked.at(0).text,
            "Last backup was performed No backups found. Any changes made to files and folders selected for backup "
            "since then will be lost. \nDo you wish to continue?");
  EXPECT_EQ(boxes.asked.at(0).style, 0x124u);
  EXPECT_EQ(LastLogLine(), "");

  boxes.Answer(kIdYes);
  f.PurgeBtnClick();
  EXPECT_EQ(boxes.asked.at(1).text,
            "Purging will delete backups of files and folders that no longer exist.\nDo you wish to continue?");
  EXPECT_TRUE(Ends(LastLogLine(), "  Purge initiated."));
  EXPECT_EQ(f.BusyState, 0);
  EXPECT_TRUE(IsWindowEnabled(f.Handle()));
}

TEST_F(MainFormTest, SuppressingStopsTheTimerButNotBackupNow) {
  PrepareStore(60, true);
  ui::TMainForm& f = Form();
  EXPECT_TRUE(f.BackupTimer.Enabled());
  f.SuppressBackupClick();  // as the popup menu's item does
  f.RefreshControls();
  EXPECT_FALSE(f.BackupTimer.Enabled());
  for (ui::Control* c : std::initializer_list<ui::Control*>{&f.control_.EnableTimedBackupsChk, &f.control_.StartupChk,
                                                            &f.control_.ShutdownChk, &f.control_.OKBackupChk,
                                                            &f.control_.NextHoursEdt, &f.control_.NextMinutesEdt}) {
    EXPECT_FALSE(c->Enabled());
  }
  EXPECT_TRUE(f.control_.EnableTimedBackupsChk.Checked());  // the options keep their states
  EXPECT_EQ(f.control_.BackupStatusLbl.Text(), "Automatic backups disabled");
  f.BackupNowBtnClick();
  EXPECT_EQ(Read(MirrorPath(backupFolder, source + "\\a.txt")), "alpha");
}

TEST_F(MainFormTest, BackupNowAndOKPressed) {
  PrepareStore();
  ui::TMainForm& f = Form();
  f.BackupNowBtnClick();
  EXPECT_EQ(Read(MirrorPath(backupFolder, source + "\\a.txt")), "alpha");
  ShowWindow(f.Handle(), SW_SHOW);
  f.OKBtnClick();
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(LastLogLine(), "\t\t" + source + "  (incl. sub-folders)");
}

TEST_F(MainFormTest, TrayClicksAreIgnoredWhileBusy) {
  PrepareStore();
  ui::TMainForm& f = Form();
  f.BusyState = kTimedBackup;
  SendMessageW(f.Handle(), ui::kTrayCallbackMessage, 0, WM_LBUTTONUP);
  EXPECT_FALSE(f.Visible());
  f.BusyState = kIdle;
  SendMessageW(f.Handle(), ui::kTrayCallbackMessage, 0, WM_LBUTTONUP);
  EXPECT_TRUE(f.Visible());
  SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close button only hides
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(ended, -1);
}

TEST_F(MainFormTest, TheBalloonIsShownAndItsClickOpensTheLogPage) {
  PrepareStore();
  ui::TMainForm& f = Form();
  EXPECT_TRUE(f.TrayIcon->ShowBalloon("Vesperhollow", "2 items could not be backed up. Click here to see the log."));
  SendMessageW(f.Handle(), ui::kTrayCallbackMessage, 0, NIN_BALLOONUSERCLICK);
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.Pages.ActivePage(), 2);
}

// The time of the shut-down backup is what the next start shows.
TEST_F(MainFormTest, TheShutDownBackupsTimeIsSaved) {
  PrepareStore();
  ui::TMainForm& f = Form();
  SendMessageW(f.Handle(), WM_QUERYENDSESSION, 0, 0);
  EXPECT_EQ(ended, 0);
  EXPECT_NE(settings.ReadString(kSettingsKey, "LastBackup"), "No backups found");
  EXPECT_EQ(settings.ReadString(kSettingsKey, "LastBackup"), f.control_.LastBackupLbl.Text());
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

TEST_F(MainFormTest, ExitAsksThenSavesAndEnds) {
  PrepareStore(60, true);
  ui::TMainForm& f = Form();
  boxes.Answer(kIdNo);
  f.ExitClick();
  EXPECT_EQ(boxes.asked.at(0).text,
            "Exiting Vesperhollow will prevent further timed backups.\nDo you want to exit Vesperhollow?");
  EXPECT_EQ(ended, -1);

  f.control_.EnableTimedBackupsChk.SetChecked(false);
  f.control_.SuppressBackupChk.SetChecked(true);  // no shut-down backup
  boxes.Answer(kIdYes);
  f.ExitClick();
  EXPECT_EQ(boxes.asked.at(1).text, "\nDo you want to exit Vesperhollow?");
  EXPECT_EQ(ended, 0);
  EXPECT_EQ(settings.Names(kSettingsKey).size(), 15u);
  EXPECT_EQ(settings.Kind(kSettingsKey, "Height"), ValueKind::Missing);
}

// The log-off comes inside a running backup, which the end of the process stops where it is.
TEST_F(MainFormTest, LogOffDuringAnOperationSavesSaysItWasCutShortAndStartsNoBackup) {
  PrepareStore();
  Write(MirrorPath(backupFolder, "") + "\\Log.txt", "");
  ui::TMainForm& f = Form();
  f.BusyState = kManualBackup;
  SendMessageW(f.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  EXPECT_EQ(ended, 0);
  const std::string saved = Read(MirrorPath(backupFolder, "") + "\\Log.txt");
  EXPECT_TRUE(Ends(saved, "\t\tWARNING: Backup cut short by log-off.\r\n"
                          "\t\tWARNING: Backup on shutdown prevented by current operation.\r\n"))
      << saved;
  EXPECT_FALSE(FileExists(MirrorPath(backupFolder, source + "\\a.txt")));
  EXPECT_EQ(settings.Names(kSettingsKey).size(), 15u);
  f.BusyState = kIdle;
}

TEST_F(MainFormTest, ChangeRemovesTheOldStoreAndMovesTheLog) {
  PrepareStore();
  ui::TMainForm& f = Form();
  f.BackupNowBtnClick();
  const std::string newFolder = folder + "\\new";
  files.CreateFolder(newFolder);
  chosen = newFolder;
  boxes.Answer(kIdYes);
  f.ChangeBtnClick();
  EXPECT_EQ(boxes.asked.at(0).text,
            "Changing the backup folder will delete any previous backups.\nDo you want to change the backup folder?");
  EXPECT_EQ(f.BackupFolder(), newFolder);
  EXPECT_FALSE(FolderExists(backupFolder + "\\$VH_BKS$"));
  EXPECT_TRUE(FolderExists(backupFolder));
  EXPECT_TRUE(Ends(LastLogLine(), "  Backup folder selected as " + newFolder));
  EXPECT_TRUE(FileExists(MirrorPath(newFolder, "") + "\\Log.txt"));
  EXPECT_EQ(Read(MirrorPath(newFolder, "") + "\\Config.txt"), "3.0\r\n" + source + "\r\n1\r\n1\r\n");
  EXPECT_EQ(settings.ReadString(kSettingsKey, "BackupFolder"), newFolder);

  f.ChangeBtnClick();  // the same folder again: nothing is asked
  EXPECT_EQ(boxes.asked.size(), 1u);
}

TEST(SingleCopyTest, ASecondCopyIsRefused) {
  const std::wstring name = L"VesperhollowTest" + std::to_wstring(GetCurrentProcessId());
  EXPECT_TRUE(ui::ClaimSingleCopy(name.c_str()));
  EXPECT_FALSE(ui::ClaimSingleCopy(name.c_str()));
}

}  // namespace
}  // namespace vh::test
