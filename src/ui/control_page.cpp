// The Control page: schedule, status, the backup triggers, restore and purge.
#include "ui/control_page.h"

#include "ui/main_form.h"

#include "platform/system.h"
#include "store/drive_checks.h"
#include "ui/main_form_constants.h"

namespace vh::ui {

void ControlPage::Create(TMainForm& form, HWND page) {
  using K = ControlKind;
  Control* box = &BackupControlBox;
  table_.Create(form, page, {
    {&BackupControlBox, K::GroupBox, "Backup control", {7, 0, 241, 265}},
    {&BackupEveryLbl, K::Label, "Backup every ", {8, 32, 80, 13}, 5, {}, box},
    {&BackupPeriodEdt, K::ReadOnlyEdit, "1", {98, 32, 25, 21}, 5, {}, box},
    {&PeriodUpBtn, K::Push, "+", {127, 28, 17, 15}, 5, [&form] { form.PeriodBtnClick(true); }, box},
    {&PeriodDownBtn, K::Push, "-", {127, 44, 17, 15}, 5, [&form] { form.PeriodBtnClick(false); }, box},
    {&MinutesRBtn, K::Radio, "&minutes", {151, 27, 73, 17}, 5, [&form] { form.MinutesRBtnClick(); }, box},
    {&HoursRBtn, K::Radio, "h&ours", {151, 46, 65, 17}, 5, [&form] { form.HoursRBtnClick(); }, box},
    {&EnableTimedBackupsChk, K::CheckBox, "Enable &timed backups", {8, 72, 185, 17}, 10, {}, box},
    {&ControlLine, K::Separator, "", {0, 104, 241, 2}, 0, {}, box},
    {&StartupChk, K::CheckBox, "Backup on &Startup", {8, 112, 185, 17}, 11, {}, box},
    {&ShutdownChk, K::CheckBox, "Backup on Shut&down", {8, 140, 209, 17}, 25, {}, box},
    {&OKBackupChk, K::CheckBox, "Backup &when OK pressed", {8, 168, 201, 17}, 26, {}, box},
    {&SuppressBackupChk, K::CheckBox, "Suppress a&utomatic backups", {8, 208, 217, 17}, 9, {}, box},
    {&BackupNowBtn, K::Push, "&Backup Now", {136, 230, 89, 25}, 7, [&form] { form.BackupNowBtnClick(); }, box},

    {&BackupStatusBox, K::GroupBox, "Backup status", {256, 0, 249, 105}, 6},
    {&LastBackupTitleLbl, K::Label, "Last backup:", {8, 32, 75, 13}, 0, {}, &BackupStatusBox},
    {&LastBackupLbl, K::Label, kNoBackupsFound, {88, 32, 155, 13}, 0, {}, &BackupStatusBox},
    {&NextBackupInLbl, K::Label, "Next backup: ", {8, 64, 80, 13}, 0, {}, &BackupStatusBox},
    {&NextHoursEdt, K::ReadOnlyEdit, "", {91, 60, 25, 21}, 0, {}, &BackupStatusBox},
    {&HoursLbl, K::Label, "hours", {120, 64, 36, 13}, 0, {}, &BackupStatusBox},
    {&NextMinutesEdt, K::ReadOnlyEdit, "", {160, 60, 25, 21}, 0, {}, &BackupStatusBox},
    {&MinutesLbl, K::Label, "minutes", {191, 64, 50, 13}, 0, {}, &BackupStatusBox},

    {&ModeBox, K::GroupBox, "Mode", {256, 112, 249, 57}, 32},
    {&BackupStatusLbl, K::Label, "", {8, 28, 233, 13}, 0, {}, &ModeBox},

    {&RestoreControlBox, K::GroupBox, "Restore control", {256, 176, 249, 89}, 13},
    {&PurgeBtn, K::Push, "&Purge Now", {145, 24, 89, 25}, 24, [&form] { form.PurgeBtnClick(); }, &RestoreControlBox},
    {&RestoreNowBtn, K::Push, "&Restore Now", {145, 55, 89, 25}, 13, [&form] { form.RestoreNowBtnClick(); },
     &RestoreControlBox},

    {&ShowProgressChk, K::CheckBox, "Show pro&gress", {7, 280, 114, 17}, 12},
    {&AboutBtn, K::Push, "&About", {430, 274, 75, 25}, 16, [&form] { form.AboutBtnClick(); }, nullptr, Anchor::Right},
    {&HelpBtn2, K::Push, "&Help", {430, 302, 75, 25}, 0, [&form] { form.HelpBtnClick(); }, nullptr, Anchor::Right},
    {&OKBtn2, K::DefaultPush, "OK", {430, 330, 75, 25}, 0, [&form] { form.OKBtnClick(); }, nullptr, Anchor::Right},
  });
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
  (hours ? control_.MinutesRBtn : control_.HoursRBtn).SetChecked(false);
  BackupTimer.SetEnabled(false);
  Scheduler.UnitChosen(hours, std::atoi(control_.BackupPeriodEdt.Text().c_str()));
  BackupTimer.SetEnabled(true);
}

void TMainForm::RefreshControls() {
  RefreshSelectPage();
  const bool suppressed = control_.SuppressBackupChk.Checked();
  BackupTimer.SetEnabled(control_.EnableTimedBackupsChk.Checked() && !suppressed);
  for (Button* option :
       {&control_.EnableTimedBackupsChk, &control_.StartupChk, &control_.ShutdownChk, &control_.OKBackupChk}) {
    option->SetEnabled(!suppressed);
  }
  for (Control* c : std::initializer_list<Control*>{&control_.NextBackupInLbl, &control_.HoursLbl, &control_.MinutesLbl,
                                                    &control_.NextHoursEdt, &control_.NextMinutesEdt}) {
    c->SetEnabled(BackupTimer.Enabled());
  }
  // Showing the unit runs its handler when it was not checked yet, which re-derives the period.
  control_.BackupPeriodEdt.SetText(std::to_string(Scheduler.PeriodNumber()));
  Button& unit = Scheduler.PeriodInHours() ? control_.HoursRBtn : control_.MinutesRBtn;
  if (!unit.Checked()) {
    unit.SetChecked(true);
    Scheduler.PeriodInHours() ? HoursRBtnClick() : MinutesRBtnClick();
    // The handler restarts the timer; with nothing queued the next refresh could be a minute
    // away, so the timer's rule is applied again now rather than let it tick when it should not.
    BackupTimer.SetEnabled(control_.EnableTimedBackupsChk.Checked() && !suppressed);
  }
  ShowNextBackup();
  if (BusyState == kIdle) {
    control_.BackupStatusLbl.SetText(IdleModeText(control_.EnableTimedBackupsChk.Checked(),
                                                  control_.StartupChk.Checked(), control_.ShutdownChk.Checked(),
                                                  control_.OKBackupChk.Checked(), suppressed));
  }
}

void TMainForm::ShowNextBackup() {
  // Painted at once, also while an operation keeps the queue busy; unchanged texts are left be,
  // or every idle refresh would paint and so wake the next one.
  if (control_.NextHoursEdt.SetText(std::to_string(Scheduler.NextHours()))) control_.NextHoursEdt.Repaint();
  if (control_.NextMinutesEdt.SetText(std::to_string(Scheduler.NextMinutes()))) control_.NextMinutesEdt.Repaint();
}

void TMainForm::SetBusyState(BusyCode code) {
  BusyState = code;
  if (code != kIdle) control_.BackupStatusLbl.SetText(BusyModeText(code));
  // Enabled or not before the messages run: a throw among them cannot leave an idle window disabled.
  SetEnabled(code == kIdle);
  ProcessPendingMessages();  // the new text is painted before the operation starts
}

void TMainForm::PerformBackup(bool ask) {
  CatchUpWithStore();
  TBackupOutcome outcome;
  {
    const TrayAnimation animation(*TrayIcon);
    TBackup& backup = *operations_.Backup;
    outcome.result = backup.RunBackup(BackupList, BackupFolder(), !control_.ShowProgressChk.Checked(), ask, *Log);
    outcome.failures = backup.LastRunFailures;
    outcome.halted = backup.LastRunHalted;
    if (MovesLastBackup(outcome)) {
      control_.LastBackupLbl.SetText(DateTimeStamp());
      control_.LastBackupLbl.Repaint();
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
  Hide();
  if (control_.OKBackupChk.Checked() && !control_.SuppressBackupChk.Checked()) {
    AutomaticBackup("User pressed Ok - Backup initiated for the following files and folders:");
  }
}

void TMainForm::RestoreNowBtnClick() {
  const std::string question = "Last backup was performed " + control_.LastBackupLbl.Text() +
                               ". Any changes made to files and folders selected for backup since then will be "
                               "lost. \nDo you wish to continue?";
  if (Boxes().Show(question, kAppCaption, kQuestion) != kIdYes) return;
  Log->AddLine("Restore initiated.", true);
  {
    const BusyScope busy(*this, kRestoring);
    operations_.Restore->RunRestore(BackupFolder(), !control_.ShowProgressChk.Checked(), *Log);
  }
  BringToFront();
}

void TMainForm::PurgeBtnClick() {
  if (Boxes().Show("Purging will delete backups of files and folders that no longer exist.\nDo you wish to continue?",
                   kAppCaption, kQuestion) != kIdYes) {
    return;
  }
  Log->AddLine("Purge initiated.", true);
  {
    const BusyScope busy(*this, kPurging);
    operations_.Purge->RunPurge(BackupFolder(), !control_.ShowProgressChk.Checked(), *Log);
  }
  BringToFront();
}

}  // namespace vh::ui
