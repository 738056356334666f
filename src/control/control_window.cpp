#include "control/control_window.h"

#include <cstdlib>
#include <optional>

#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {
namespace {

constexpr unsigned kQuestion = kMbYesNo | kMbIconQuestion | kMbDefButton2;

// The tray icon animated for the life of the scope; the still icon is back however the scope ends.
class Animation {
 public:
  Animation(ControlWindowView& view, bool& animating) : view_(view), animating_(animating) {
    view_.StartAnimation();
    animating_ = true;
  }
  ~Animation() {
    view_.StopAnimation();
    animating_ = false;
  }
  Animation(const Animation&) = delete;
  Animation& operator=(const Animation&) = delete;

 private:
  ControlWindowView& view_;
  bool& animating_;
};

}  // namespace

bool ControlWindow::Ask(const std::string& question) {
  return boxes_.Show(question, kAppCaption, kQuestion) == kIdYes;
}

bool ControlWindow::Automatic(Check trigger) const {
  return view_.Checked(trigger) && !view_.Checked(Check::Suppress);
}

void ControlWindow::LogNotes(StringList& notes) {
  for (const std::string& note : notes) log_->AddLine(note, false);
  notes.clear();
}

void ControlWindow::Start() {
  view_.ShowTrayIcon();
  trayShown_ = true;
  BackupList.Clear();
  BackupList.ShowInGrid(view_.ListGrid());
  log_ = std::make_unique<TMessageLog>(view_.LogTextPage());
  SetBusyState(kIdle);
  view_.PrepareControls();
  LoadSettings();
  // Only a first start, with no backup folder yet, asks for one. A drive that is not there yet,
  // a list file that cannot be read or a stored folder that cannot be read is told in the log
  // (the list read later), with no window that would hold up an unattended start.
  const bool firstStart = BackupFolder().empty() && !settings_.BackupFolderUnreadable;
  if (firstStart) view_.SetText(Text::BackupFolder, view_.ChooseBackupFolder(""));
  LoadBackupList();
  // A folder chosen at a first start is a new store, as a changed one is: its "Log.txt" is made
  // with the next line, or the log would stay on the page only until the folder is changed.
  if (!LoadLog(*log_, BackupFolder()) && firstStart && !BackupFolder().empty()) {
    log_->SetFileName(JoinPath(MirrorPath(BackupFolder(), ""), kLogFileName));
  }
  LogSwitched();
  if (!startupNotes_.empty()) {
    log_->AddLine("WARNING: Start-up found these problems:", true);
    LogNotes(startupNotes_);
  }
  view_.SetTrayTip(TrayTip(view_.GetText(Text::LastBackup), std::nullopt));
  view_.LayOut();
  const std::string driveAbsent = DriveAbsentBalloon(BackupFolder());
  // Watching starts before the start-up backup, so that its whole scan leaves nothing unseen.
  marks_.Follow(BackupList);
  if (Automatic(Check::StartUp)) {
    AutomaticBackup("Backup on startup initiated for the following files and folders:", Scan::Whole);
  }
  // Last, so that it is not replaced by the start-up backup's own balloon, which says less.
  if (!driveAbsent.empty()) view_.ShowBalloon(driveAbsent);
}

void ControlWindow::LoadSettings() {
  StringList notes;
  settings_ = vh::LoadSettings(settingsStore_, notes);
  startupNotes_.insert(startupNotes_.end(), notes.begin(), notes.end());
  Scheduler.BackupPeriod = settings_.BackupPeriod;
  view_.SetChecked(Check::TimedBackups, settings_.EnableTimedBackups);
  view_.SetChecked(Check::StartUp, settings_.StartUp);
  view_.SetChecked(Check::ShutDown, settings_.ShutDown);
  view_.SetChecked(Check::OKBackup, settings_.OKBackup);
  view_.SetChecked(Check::ShowProgress, settings_.ShowProgress);
  if (!settings_.BackupFolder.empty()) view_.SetText(Text::BackupFolder, settings_.BackupFolder);
  // A tree box that changes reads the tree again, as a click would.
  if (view_.Checked(Check::ShowFiles) != settings_.ShowFiles ||
      view_.Checked(Check::SystemFiles) != settings_.SystemFiles) {
    view_.SetChecked(Check::ShowFiles, settings_.ShowFiles);
    view_.SetChecked(Check::SystemFiles, settings_.SystemFiles);
    view_.TreeOptionsChanged();
  }
  view_.SetChecked(Check::EnableLog, settings_.EnableLog);
  view_.SetText(Text::LastBackup, settings_.LastBackup);
  if (settings_.Top && settings_.Left && settings_.Width) {
    view_.PlaceStored({*settings_.Left, *settings_.Top, *settings_.Width});
  }
}

void ControlWindow::SaveSettings() {
  settings_.BackupPeriod = Scheduler.BackupPeriod;
  settings_.EnableTimedBackups = view_.Checked(Check::TimedBackups);
  settings_.StartUp = view_.Checked(Check::StartUp);
  settings_.ShutDown = view_.Checked(Check::ShutDown);
  settings_.OKBackup = view_.Checked(Check::OKBackup);
  settings_.ShowProgress = view_.Checked(Check::ShowProgress);
  settings_.BackupFolder = BackupFolder();
  settings_.ShowFiles = view_.Checked(Check::ShowFiles);
  settings_.SystemFiles = view_.Checked(Check::SystemFiles);
  settings_.EnableLog = view_.Checked(Check::EnableLog);
  settings_.LastBackup = view_.GetText(Text::LastBackup);
  const WindowPlace place = view_.CurrentPlace();
  settings_.Top = place.top;
  settings_.Left = place.left;
  settings_.Width = place.width;
  vh::SaveSettings(settingsStore_, settings_);
}

bool ControlWindow::LoadBackupList() {
  return listFile_.Load(BackupList, BackupFolder(), false, view_.ListGrid(), startupNotes_);
}

void ControlWindow::SaveBackupList(bool askForDrive) {
  StringList notes;
  listFile_.Save(BackupList, BackupFolder(), askForDrive, view_.ListGrid(), notes);
  LogNotes(notes);
  marks_.Follow(BackupList);  // every edit of the list saves it
}

void ControlWindow::CatchUpWithStore() {
  StringList notes;
  listFile_.CatchUp(BackupList, BackupFolder(), view_.ListGrid(), notes);
  if (log_->FileName().empty()) LoadLog(*log_, BackupFolder());
  LogNotes(notes);
}

void ControlWindow::CloseQuery(EndCause cause) {
  const BusyCode running = busy_;
  const bool shutdownBackup = Automatic(Check::ShutDown);
  if (!BackupFolder().empty()) {
    CatchUpWithStore();
    if (running != kIdle) {
      // The operation runs further down this very call stack and never gets control back: the
      // log, saved with every line, says so before anything that could keep the session waiting.
      log_->AddLine(CutShortLine(running, cause), false);
      if (shutdownBackup) log_->AddLine("WARNING: Backup on shutdown prevented by current operation.", false);
      log_->Flush();  // the run's own lines wait for its end, which never comes
    }
    SaveSettings();
    SaveBackupList();
    if (running == kIdle && shutdownBackup) {
      AutomaticBackup("Backup on shutdown initiated for the following files and folders:", Scan::Whole);
      SaveSettings();  // the time of this backup, for the next start to show
    }
  }
  view_.RemoveTrayIcon();  // the process ends here, so the icon must go now
  trayShown_ = false;
  view_.EndProcess(0);
}

void ControlWindow::Exit() {
  const std::string warning =
      view_.Checked(Check::TimedBackups) ? "Exiting Vesperhollow will prevent further timed backups." : "";
  if (boxes_.Show(warning + "\nDo you want to exit Vesperhollow?", kAppCaption, kQuestion) == kIdNo) return;
  SaveBackupList();
  view_.Close();
}

void ControlWindow::AutomaticBackup(const std::string& heading, Scan scan) {
  const BusyScope busy(*this, kAutomaticBackup);
  log_->AddLine(heading, true);
  PerformBackup(false, scan);
}

void ControlWindow::TimerTick() {
  const bool due = Scheduler.Tick();
  ShowNextBackup();
  if (!due) return;
  if (busy_ != kIdle) {
    // Skipped, not postponed: the next attempt comes a full period later.
    log_->AddLine("WARNING: Timed backup prevented by current operation.", false);
    return;
  }
  log_->AddLine("Timed backup initiated for the following files and folders:", true);
  const BusyScope busy(*this, kTimedBackup);
  PerformBackup(false, Scan::Changes);
}

void ControlWindow::PeriodStep(bool up) {
  view_.SetTimerEnabled(false);
  up ? Scheduler.PeriodUp() : Scheduler.PeriodDown();
  view_.SetTimerEnabled(true);  // the next refresh turns it off again when timed backups are off
}

void ControlWindow::ChooseUnit(bool hours) {
  view_.SetChecked(hours ? Check::Minutes : Check::Hours, false);
  view_.SetTimerEnabled(false);
  Scheduler.UnitChosen(hours, std::atoi(view_.GetText(Text::Period).c_str()));
  view_.SetTimerEnabled(true);
}

void ControlWindow::RefreshControls() {
  const bool suppressed = view_.Checked(Check::Suppress);
  const bool timed = view_.Checked(Check::TimedBackups) && !suppressed;
  view_.SetTimerEnabled(timed);
  view_.EnableOptions(!suppressed);
  view_.EnableCountdown(timed);
  // Showing the unit runs its handler when it was not checked yet, which re-derives the period.
  view_.SetText(Text::Period, std::to_string(Scheduler.PeriodNumber()));
  const bool hours = Scheduler.PeriodInHours();
  const Check unit = hours ? Check::Hours : Check::Minutes;
  if (!view_.Checked(unit)) {
    view_.SetChecked(unit, true);
    ChooseUnit(hours);
    // The handler restarts the timer; with nothing queued the next refresh could be a minute
    // away, so the timer's rule is applied again now rather than let it tick when it should not.
    view_.SetTimerEnabled(timed);
  }
  ShowNextBackup();
  if (busy_ == kIdle) {
    view_.SetText(Text::Mode,
                  IdleModeText(view_.Checked(Check::TimedBackups), view_.Checked(Check::StartUp),
                               view_.Checked(Check::ShutDown), view_.Checked(Check::OKBackup), suppressed));
  }
}

void ControlWindow::ShowNextBackup() {
  view_.SetText(Text::NextHours, std::to_string(Scheduler.NextHours()));
  view_.SetText(Text::NextMinutes, std::to_string(Scheduler.NextMinutes()));
}

void ControlWindow::SetBusyState(BusyCode code) {
  busy_ = code;
  // Backups removed from the store: what the marks say no longer covers what the mirrors lack.
  if (code == kRemovingBackups) marks_.Forget();
  if (code != kIdle) view_.SetText(Text::Mode, BusyModeText(code));
  // Enabled or not before the messages run: a throw among them cannot leave an idle window disabled.
  view_.SetWindowEnabled(code == kIdle);
  view_.LetMessagesRun();  // the new text is painted before the operation starts
}

void ControlWindow::PerformBackup(bool ask, Scan scan) {
  CatchUpWithStore();
  marks_.Follow(BackupList);  // entries the catch-up read
  const ScanScope scope = marks_.StartRun(scan == Scan::Whole);
  TBackupOutcome outcome;
  {
    const Animation animation(view_, animating_);
    outcome = view_.RunBackup(BackupList, BackupFolder(), Quiet(), KeepDays(), scope, ask, boxes_, *log_);
    marks_.EndRun(outcome.result);
    if (MovesLastBackup(outcome)) view_.SetText(Text::LastBackup, DateTimeStamp());
  }
  ShowOutcome(outcome);  // the still icon is back: the tip can change
}

void ControlWindow::ShowOutcome(const TBackupOutcome& outcome) {
  if (outcome.result == RunResult::Cancelled) return;  // the user stopped it and knows
  view_.SetTrayTip(TrayTip(DateTimeStamp(), Complete(outcome)));
  const std::string balloon = BalloonText(outcome);
  if (!balloon.empty() && !view_.WindowShown()) view_.ShowBalloon(balloon);
}

void ControlWindow::BackupNow() {
  log_->AddLine("Manual backup initiated for the following files and folders:", true);
  const BusyScope busy(*this, kManualBackup);
  PerformBackup(true, Scan::Whole);
}

void ControlWindow::OK() {
  view_.Hide();
  if (Automatic(Check::OKBackup)) {
    AutomaticBackup("User pressed Ok - Backup initiated for the following files and folders:", Scan::Changes);
  }
}

void ControlWindow::Restore() {
  if (!Ask("Last backup was performed " + view_.GetText(Text::LastBackup) +
           ". Any changes made to files and folders selected for backup since then will be lost. \nDo you wish to "
           "continue?")) {
    return;
  }
  log_->AddLine("Restore initiated.", true);
  {
    const BusyScope busy(*this, kRestoring);
    view_.RunRestore(BackupFolder(), Quiet(), KeepDays(), boxes_, *log_);
  }
  view_.BringToFront();
}

void ControlWindow::Purge() {
  if (!Ask("Purging will delete backups of files and folders that no longer exist.\nDo you wish to continue?")) return;
  log_->AddLine("Purge initiated.", true);
  {
    const BusyScope busy(*this, kPurging);
    view_.RunPurge(BackupFolder(), Quiet(), KeepDays(), boxes_, *log_);
  }
  view_.BringToFront();
}

void ControlWindow::EarlierVersions() {
  const std::optional<int> days = view_.ChooseKeepDays(BackupFolder(), settings_.KeepDays);
  if (!days) return;
  settings_.KeepDays = *days;
  // Stored at once: the other settings wait for the end of the program as before.
  SaveKeepDays(settingsStore_, *days);
}

void ControlWindow::ChangeBackupFolder() {
  CatchUpWithStore();
  const std::string old = BackupFolder();
  const bool listUnread = !old.empty() && !listFile_.Loaded();
  std::optional<BusyScope> busy;
  std::string message;
  const bool reachable = CheckBackupDrive(&boxes_, old, message, "");
  if (!reachable) view_.SetText(Text::BackupFolder, "");
  const std::string chosen = view_.ChooseBackupFolder(BackupFolder());
  if (chosen == BackupFolder()) return;
  if (reachable && listUnread && FileExists(BackupListFileName(old))) {
    // Deleting the old store would take with it a list that was never read.
    log_->AddLine("WARNING: The backup list of the previous backup folder could not be read; its backups are kept:",
                  true);
    log_->AddLine(BackupListFileName(old), false);
  } else if (reachable) {
    if (!Ask("Changing the backup folder will delete any previous backups.\nDo you want to change the backup "
             "folder?")) {
      return;
    }
    // Busy until the settings name the new folder: a timed backup in between, under the box below,
    // would fill the old store again and move the last-backup time of the new one.
    busy.emplace(*this, kRemovingBackups);
    log_->AddLine("New backup folder selected - deletion of previous backups initiated.", true);
    const RunResult result = view_.RemoveAllBackups(old, Quiet(), *log_);
    if (result == RunResult::Cancelled) return;
    if (result == RunResult::Incomplete &&
        boxes_.Show("Vesperhollow could not remove all previous backups. Press OK to continue with operation.",
                    kAppCaption, kMbOkCancel | kMbIconExclamation | kMbDefButton2) != kIdOk) {
      log_->AddLine("User cancelled operation.", false);
      return;
    }
  }
  view_.SetText(Text::BackupFolder, chosen);
  const std::string root = MirrorPath(chosen, "");
  ForceFolders(root);
  log_->SetFileName(JoinPath(root, kLogFileName));
  marks_.Forget();  // a new store holds none of the mirrors
  log_->AddLine("Backup folder selected as " + chosen, true);
  if (!reachable && listUnread) {
    log_->AddLine("WARNING: The backup list of the previous backup folder was never read; its entries are not on "
                  "this list.",
                  false);
  }
  SaveBackupList(false);  // the new store has the list before the settings point to it
  SaveSettings();
}

void ControlWindow::Info() {
  const std::string report = view_.FolderSizeReport(BackupFolder());
  if (!report.empty()) boxes_.Show(report, kAppCaption, kMbOk | kMbIconInformation);
}

void ControlWindow::LogSwitched() { view_.Checked(Check::EnableLog) ? log_->Enable() : log_->Disable(); }

void ControlWindow::ToggleSuppress() { view_.SetChecked(Check::Suppress, !view_.Checked(Check::Suppress)); }

void ControlWindow::Tray(TrayEvent event) {
  if (busy_ != kIdle) return;  // the icon does not react while an operation runs
  switch (event) {
    case TrayEvent::LeftClick: view_.OpenWindow(); break;
    case TrayEvent::RightClick: view_.OpenMenu(); break;
    case TrayEvent::BalloonClick: view_.OpenLog(); break;
  }
}

void ControlWindow::TaskbarCreated() {
  // The taskbar came back after its shell restarted: the icon is put back, and an animation
  // goes on once it is.
  if (!trayShown_) return;
  if (!animating_) return view_.ShowTrayIcon();
  view_.StopAnimation();
  view_.StartAnimation();
}

}  // namespace vh
