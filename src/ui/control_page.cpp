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

void TMainForm::AutomaticBackup(const std::string& heading) {
  const BusyScope busy(*this, kAutomaticBackup);
  Log->AddLine(heading, true);
  PerformBackup(false);
}

void TMainForm::BackupTimerTimer() {
  if (!Scheduler.Tick()) {
    ShowNextBackup();
    return;
  }
  ShowNextBackup();
  if (BusyState != kIdle) {
    // Skipped, not postponed: the next attempt comes a full period later.
    Log->AddLine("WARNING: Timed backup prevented by current operation.", false);
    return;
  }
  Log->AddLine("Timed backup initiated for the following files and folders:", true);
  const BusyScope busy(*this, kTimedBackup);
  PerformBackup(false);
}

void TMainForm::PeriodBtnClick(bool up) {
  BackupTimer.SetEnabled(false);
  up ? Scheduler.PeriodUp() : Scheduler.PeriodDown();
  BackupTimer.SetEnabled(true);  // the next refresh turns it off again when timed backups are off
}

void TMainForm::ChooseUnit(bool hours) {
  (hours ? MinutesRBtn : HoursRBtn).SetChecked(false);
  BackupTimer.SetEnabled(false);
  Scheduler.UnitChosen(hours, std::atoi(BackupPeriodEdt.Text().c_str()));
  BackupTimer.SetEnabled(true);
}

void TMainForm::RefreshControls() {
  RefreshSelectPage();
  const bool suppressed = SuppressBackupChk.Checked();
  BackupTimer.SetEnabled(EnableTimedBackupsChk.Checked() && !suppressed);
  for (Button* option : {&EnableTimedBackupsChk, &StartupChk, &ShutdownChk, &OKBackupChk}) {
    option->SetEnabled(!suppressed);
  }
  for (Control* c : std::initializer_list<Control*>{&NextBackupInLbl, &HoursLbl, &MinutesLbl, &NextHoursEdt,
                                                    &NextMinutesEdt}) {
    c->SetEnabled(BackupTimer.Enabled());
  }
  // Showing the unit runs its handler when it was not checked yet, which re-derives the period.
  BackupPeriodEdt.SetText(std::to_string(Scheduler.PeriodNumber()));
  Button& unit = Scheduler.PeriodInHours() ? HoursRBtn : MinutesRBtn;
  if (!unit.Checked()) {
    unit.SetChecked(true);
    Scheduler.PeriodInHours() ? HoursRBtnClick() : MinutesRBtnClick();
    // The handler restarts the timer; with nothing queued the next refresh could be a minute
    // away, so the timer's rule is applied again now rather than let it tick when it should not.
    BackupTimer.SetEnabled(EnableTimedBackupsChk.Checked() && !suppressed);
  }
  ShowNextBackup();
  if (BusyState == kIdle) {
    BackupStatusLbl.SetText(IdleModeText(EnableTimedBackupsChk.Checked(), StartupChk.Checked(),
                                         ShutdownChk.Checked(), OKBackupChk.Checked(), suppressed));
  }
}

void TMainForm::ShowNextBackup() {
  // Painted at once, also while an operation keeps the queue busy; unchanged texts are left be,
  // or every idle refresh would paint and so wake the next one.
  if (NextHoursEdt.SetText(std::to_string(Scheduler.NextHours()))) NextHoursEdt.Repaint();
  if (NextMinutesEdt.SetText(std::to_string(Scheduler.NextMinutes()))) NextMinutesEdt.Repaint();
}

void TMainForm::SetBusyState(BusyCode code) {
  BusyState = code;
  if (code != kIdle) BackupStatusLbl.SetText(BusyModeText(code));
  // Enabled or not before the messages run: a throw among them cannot leave an idle window disabled.
  EnableWindow(Handle(), code == kIdle);
  ProcessPendingMessages();  // the new text is painted before the operation starts
}

void TMainForm::PerformBackup(bool ask) {
  CatchUpWithStore();
  TBackupOutcome outcome;
  {
    const TrayAnimation animation(*TrayIcon);
    TBackup& backup = *operations_.Backup;
    outcome.result = backup.RunBackup(BackupList, BackupFolder(), !ShowProgressChk.Checked(), ask, *Log);
    outcome.failures = backup.LastRunFailures;
    outcome.halted = backup.LastRunHalted;
    outcome.massChange = backup.LastRunMassChange;
    if (MovesLastBackup(outcome)) {
      LastBackupLbl.SetText(DateTimeStamp());
      LastBackupLbl.Repaint();
    }
  }
  ShowOutcome(outcome);  // the still icon is back: the tip can change
}

void TMainForm::ShowOutcome(const TBackupOutcome& outcome) {
  if (outcome.result == RunResult::Cancelled) return;  // the user stopped it and knows
  TrayIcon->SetTip(TrayTip(DateTimeStamp(), Complete(outcome)));
  const std::string balloon = BalloonText(outcome);
  if (!balloon.empty() && !Visible()) TrayIcon->ShowBalloon(kAppCaption, balloon);
}

void TMainForm::BackupNowBtnClick() {
  Log->AddLine("Manual backup initiated for the following files and folders:", true);
  const BusyScope busy(*this, kManualBackup);
  PerformBackup(true);
}

void TMainForm::OKBtnClick() {
  ShowWindow(Handle(), SW_HIDE);
  if (OKBackupChk.Checked() && !SuppressBackupChk.Checked()) {
    AutomaticBackup("User pressed Ok - Backup initiated for the following files and folders:");
  }
}

void TMainForm::RestoreNowBtnClick() {
  const std::string question = "Last backup was performed " + LastBackupLbl.Text() +
                               ". Any changes made to files and folders selected for backup since then will be "
                               "lost. \nDo you wish to continue?";
  if (Boxes().Show(question, kAppCaption, kQuestion) != kIdYes) return;
  Log->AddLine("Restore initiated.", true);
  {
    const BusyScope busy(*this, kRestoring);
    operations_.Restore->RunRestore(BackupFolder(), !ShowProgressChk.Checked(), *Log);
  }
  SetForegroundWindow(Handle());
}

void TMainForm::PurgeBtnClick() {
  if (Boxes().Show("Purging will delete backups of files and folders that no longer exist.\nDo you wish to continue?",
                   kAppCaption, kQuestion) != kIdYes) {
    return;
  }
  Log->AddLine("Purge initiated.", true);
  {
    const BusyScope busy(*this, kPurging);
    operations_.Purge->RunPurge(BackupFolder(), !ShowProgressChk.Checked(), *Log);
  }
  SetForegroundWindow(Handle());
}

}  // namespace vh::ui
