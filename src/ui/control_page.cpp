// The Control page: schedule, status, the backup triggers, restore and purge.
#include "ui/main_form.h"

#include "platform/system.h"
#include "store/drive_checks.h"
#include "ui/main_form_constants.h"

namespace vh::ui {

void TMainForm::CreateControlPage() {
  SetContainer(Pages.Panel(kControlPage));

  POINT b{7, 0};
  BackupControlBox.Create(*this, "Backup control", b.x, b.y, 241, 265);
  BackupEveryLbl.Create(*this, "Backup every ", b.x + 8, b.y + 32, 80, 13);
  BackupPeriodEdt.Create(*this, "1", b.x + 98, b.y + 32, 25, 21, true);
  PeriodUpBtn.Create(*this, Button::Push, "+", b.x + 127, b.y + 28, 17, 15);
  PeriodDownBtn.Create(*this, Button::Push, "-", b.x + 127, b.y + 44, 17, 15);
  MinutesRBtn.Create(*this, Button::Radio, "&minutes", b.x + 151, b.y + 27, 73, 17);
  HoursRBtn.Create(*this, Button::Radio, "h&ours", b.x + 151, b.y + 46, 65, 17);
  EnableTimedBackupsChk.Create(*this, Button::CheckBox, "Enable &timed backups", b.x + 8, b.y + 72, 185, 17);
  ControlLine.Create(*this, b.x, b.y + 104, 241);
  StartupChk.Create(*this, Button::CheckBox, "Backup on &Startup", b.x + 8, b.y + 112, 185, 17);
  ShutdownChk.Create(*this, Button::CheckBox, "Backup on Shut&down", b.x + 8, b.y + 140, 209, 17);
  OKBackupChk.Create(*this, Button::CheckBox, "Backup &when OK pressed", b.x + 8, b.y + 168, 201, 17);
  SuppressBackupChk.Create(*this, Button::CheckBox, "Suppress a&utomatic backups", b.x + 8, b.y + 208, 217, 17);
  BackupNowBtn.Create(*this, Button::Push, "&Backup Now", b.x + 136, b.y + 230, 89, 25);

  b = {256, 0};
  BackupStatusBox.Create(*this, "Backup status", b.x, b.y, 249, 105);
  LastBackupTitleLbl.Create(*this, "Last backup:", b.x + 8, b.y + 32, 75, 13);
  LastBackupLbl.Create(*this, kNoBackupsFound, b.x + 88, b.y + 32, 155, 13);
  NextBackupInLbl.Create(*this, "Next backup: ", b.x + 8, b.y + 64, 80, 13);
  NextHoursEdt.Create(*this, "", b.x + 91, b.y + 60, 25, 21, true);
  HoursLbl.Create(*this, "hours", b.x + 120, b.y + 64, 36, 13);
  NextMinutesEdt.Create(*this, "", b.x + 160, b.y + 60, 25, 21, true);
  MinutesLbl.Create(*this, "minutes", b.x + 191, b.y + 64, 50, 13);

  b = {256, 112};
  ModeBox.Create(*this, "Mode", b.x, b.y, 249, 57);
  BackupStatusLbl.Create(*this, "", b.x + 8, b.y + 28, 233, 13);

  b = {256, 176};
  RestoreControlBox.Create(*this, "Restore control", b.x, b.y, 249, 89);
  PurgeBtn.Create(*this, Button::Push, "&Purge Now", b.x + 145, b.y + 24, 89, 25);
  RestoreNowBtn.Create(*this, Button::Push, "&Restore Now", b.x + 145, b.y + 55, 89, 25);

  b = {0, 0};
  ShowProgressChk.Create(*this, Button::CheckBox, "Show pro&gress", b.x + 7, b.y + 280, 114, 17);
  AboutBtn.Create(*this, Button::Push, "&About", b.x + 430, b.y + 274, 75, 25);
  HelpBtn2.Create(*this, Button::Push, "&Help", b.x + 430, b.y + 302, 75, 25);
  OKBtn2.Create(*this, Button::DefaultPush, "OK", b.x + 430, b.y + 330, 75, 25);

  SetHelpContext({&BackupEveryLbl, &BackupPeriodEdt, &PeriodUpBtn, &PeriodDownBtn, &MinutesRBtn, &HoursRBtn}, 5);
  BackupStatusBox.SetHelpContext(6);
  BackupNowBtn.SetHelpContext(7);
  SuppressBackupChk.SetHelpContext(9);
  EnableTimedBackupsChk.SetHelpContext(10);
  StartupChk.SetHelpContext(11);
  ShowProgressChk.SetHelpContext(12);
  RestoreControlBox.SetHelpContext(13);
  RestoreNowBtn.SetHelpContext(13);
  AboutBtn.SetHelpContext(16);
  PurgeBtn.SetHelpContext(24);
  ShutdownChk.SetHelpContext(25);
  OKBackupChk.SetHelpContext(26);
  ModeBox.SetHelpContext(32);

  PeriodUpBtn.onClick = [this] { PeriodBtnClick(true); };
  PeriodDownBtn.onClick = [this] { PeriodBtnClick(false); };
  MinutesRBtn.onClick = [this] { MinutesRBtnClick(); };
  HoursRBtn.onClick = [this] { HoursRBtnClick(); };
  BackupNowBtn.onClick = [this] { BackupNowBtnClick(); };
  PurgeBtn.onClick = [this] { PurgeBtnClick(); };
  RestoreNowBtn.onClick = [this] { RestoreNowBtnClick(); };
  AboutBtn.onClick = [this] { AboutBtnClick(); };
  HelpBtn2.onClick = [this] { HelpBtnClick(); };
  OKBtn2.onClick = [this] { OKBtnClick(); };
}

void TMainForm::RefreshControls() {
  RefreshSelectPage();
  Logic.RefreshControls();
}

const Button& TMainForm::CheckBox(Check box) const {
  switch (box) {
    case Check::TimedBackups: return EnableTimedBackupsChk;
    case Check::StartUp: return StartupChk;
    case Check::ShutDown: return ShutdownChk;
    case Check::OKBackup: return OKBackupChk;
    case Check::Suppress: return SuppressBackupChk;
    case Check::ShowProgress: return ShowProgressChk;
    case Check::ShowFiles: return ShowFilesChk;
    case Check::SystemFiles: return SystemFilesChk;
    case Check::EnableLog: return EnableLogChk;
    case Check::Minutes: return MinutesRBtn;
    case Check::Hours: break;
  }
  return HoursRBtn;
}

// The text controls behind each of the window's texts.
static const Control& TextControl(const TMainForm& f, Text text) {
  switch (text) {
    case Text::BackupFolder: return f.UserBackupFolderEdit;
    case Text::LastBackup: return f.LastBackupLbl;
    case Text::Period: return f.BackupPeriodEdt;
    case Text::NextHours: return f.NextHoursEdt;
    case Text::NextMinutes: return f.NextMinutesEdt;
    case Text::Mode: break;
  }
  return f.BackupStatusLbl;
}

std::string TMainForm::GetText(Text text) const { return TextControl(*this, text).Text(); }

void TMainForm::SetText(Text text, const std::string& value) {
  // Painted at once, also while an operation keeps the queue busy; unchanged texts are left be,
  // or every idle refresh would paint and so wake the next one.
  auto& control = const_cast<Control&>(TextControl(*this, text));
  if (control.SetText(value)) control.Repaint();
}

void TMainForm::EnableOptions(bool enabled) {
  for (Button* option : {&EnableTimedBackupsChk, &StartupChk, &ShutdownChk, &OKBackupChk}) {
    option->SetEnabled(enabled);
  }
}

void TMainForm::EnableCountdown(bool enabled) {
  for (Control* c : std::initializer_list<Control*>{&NextBackupInLbl, &HoursLbl, &MinutesLbl, &NextHoursEdt,
                                                    &NextMinutesEdt}) {
    c->SetEnabled(enabled);
  }
}

TBackupOutcome TMainForm::RunBackup(const TSourceList& list, const std::string& backupFolder, bool quiet, bool ask,
                                    MessageBoxes& boxes, TMessageLog& log) {
  TBackup& backup = *operations_.Backup;
  TBackupOutcome outcome;
  outcome.result = backup.RunBackup(list, backupFolder, quiet, ask, boxes, log);
  outcome.failures = backup.LastRunFailures;
  outcome.halted = backup.LastRunHalted;
  return outcome;
}

}  // namespace vh::ui
