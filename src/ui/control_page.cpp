// The Control page: schedule, status, the backup triggers, restore and purge.
#include "ui/control_page.h"

#include "ui/main_form.h"

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

void TMainForm::RefreshControls() {
  RefreshSelectPage();
  Logic.RefreshControls();
}

void TMainForm::SetText(Text text, const std::string& value) {
  // Painted at once, also while an operation keeps the queue busy; unchanged texts are left be,
  // or every idle refresh would paint and so wake the next one.
  Control& control = *texts_[static_cast<size_t>(text)];
  if (control.SetText(value)) control.Repaint();
}

void TMainForm::EnableOptions(bool enabled) {
  for (Check option : {Check::TimedBackups, Check::StartUp, Check::ShutDown, Check::OKBackup}) {
    CheckBox(option).SetEnabled(enabled);
  }
}

void TMainForm::EnableCountdown(bool enabled) {
  for (Control* c : {&control_.NextBackupInLbl, &control_.HoursLbl, &control_.MinutesLbl}) c->SetEnabled(enabled);
  for (Control* c : {&control_.NextHoursEdt, &control_.NextMinutesEdt}) c->SetEnabled(enabled);
}

TBackupOutcome TMainForm::RunBackup(const TSourceList& list, const std::string& backupFolder, bool quiet,
                                    int keepDays, const ScanScope& scope, bool ask, MessageBoxes& boxes,
                                    TMessageLog& log) {
  TBackup& backup = *operations_.Backup;
  backup.KeepDays = keepDays;
  // The scope is the caller's, for this run only, however the run ends.
  struct ScopeForRun {
    TBackup& backup;
    ~ScopeForRun() { backup.Scope = nullptr; }
  } forRun{backup};
  backup.Scope = &scope;
  TBackupOutcome outcome;
  outcome.result = backup.RunBackup(list, backupFolder, quiet, ask, boxes, log);
  outcome.failures = backup.LastRunFailures;
  outcome.halted = backup.LastRunHalted;
  outcome.massChange = backup.LastRunMassChange;
  return outcome;
}

}  // namespace vh::ui
