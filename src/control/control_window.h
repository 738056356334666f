#pragma once
// The control window's decisions: its start-up, settings, timed backups, the operation buttons,
// the change of backup folder, the tray icon's rules while busy and the end of the program.
#include <memory>
#include <optional>
#include <string>

#include "common/string_list.h"
#include "control/backup_outcome.h"
#include "control/busy_scope.h"
#include "control/scheduler.h"
#include "control/settings.h"
#include "list/backup_list_store.h"
#include "list/source_list.h"
#include "log/message_log.h"
#include "operations/change_marks.h"
#include "platform/folder_watch.h"
#include "platform/grid.h"
#include "platform/message_boxes.h"
#include "platform/settings_store.h"
#include "platform/text_page.h"

namespace vh {

// The window's check boxes and unit buttons.
enum class Check { TimedBackups, StartUp, ShutDown, OKBackup, Suppress, ShowProgress, ShowFiles, SystemFiles,
                   EnableLog, Minutes, Hours };
// The window's texts: the backup folder box, the Control page's labels and number boxes.
enum class Text { BackupFolder, LastBackup, Period, NextHours, NextMinutes, Mode };
// What reaches the window from its tray icon.
enum class TrayEvent { LeftClick, RightClick, BalloonClick };

// Where the window stands: its width in 96-dpi pixels, so that it means the same at every dpi.
struct WindowPlace {
  int left = 0, top = 0, width = 0;
};

// What the decisions need of the window.
class ControlWindowView {
 public:
  virtual ~ControlWindowView() = default;
  virtual bool Checked(Check box) const = 0;
  virtual void SetChecked(Check box, bool checked) = 0;
  virtual std::string GetText(Text text) const = 0;
  // Painted at once when it changed; an unchanged text is left be.
  virtual void SetText(Text text, const std::string& value) = 0;
  // The four automatic-backup options; the countdown's boxes and labels.
  virtual void EnableOptions(bool enabled) = 0;
  virtual void EnableCountdown(bool enabled) = 0;
  // The minute timer; turned on, it counts a full minute from now.
  virtual void SetTimerEnabled(bool enabled) = 0;
  virtual bool TimerEnabled() const = 0;
  // The window as a whole: input taken or refused, pending messages let run.
  virtual void SetWindowEnabled(bool enabled) = 0;
  virtual void LetMessagesRun() = 0;

  // The start-up steps of the controls: the list's grid headed, the folder tree filled.
  virtual void PrepareControls() = 0;
  // The folder tree read again after its Files or System files box changed.
  virtual void TreeOptionsChanged() = 0;
  virtual Grid& ListGrid() = 0;
  virtual TextPage& LogTextPage() = 0;
  virtual void PlaceStored(const WindowPlace& place) = 0;
  virtual WindowPlace CurrentPlace() const = 0;
  virtual void LayOut() = 0;

  virtual void ShowTrayIcon() = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void SetTrayTip(const std::string& tip) = 0;
  virtual void ShowBalloon(const std::string& text) = 0;
  virtual void StartAnimation() = 0;
  virtual void StopAnimation() = 0;

  virtual bool WindowShown() const = 0;
  virtual void Hide() = 0;
  virtual void BringToFront() = 0;
  // What the tray's clicks open: the window, its menu, the window on the Log page.
  virtual void OpenWindow() = 0;
  virtual void OpenMenu() = 0;
  virtual void OpenLog() = 0;
  // The window's closing, which comes back as the close query; the end of the process.
  virtual void Close() = 0;
  virtual void EndProcess(int status) = 0;

  // Asks for a backup folder, starting from `start`; the result whatever closed the dialog.
  virtual std::string ChooseBackupFolder(const std::string& start) = 0;
  // The Earlier Versions dialog for the store of `backupFolder`, opened with `keepDays`: the days
  // confirmed with OK, none when it was cancelled.
  virtual std::optional<int> ChooseKeepDays(const std::string& backupFolder, int keepDays) = 0;
  // The backup folder's size report, measured under an hourglass.
  virtual std::string FolderSizeReport(const std::string& backupFolder) = 0;
  // The operations, each with its progress window unless `quiet`; those that replace, purge or
  // overwrite files keep earlier versions for `keepDays`. A backup looks only at the marked
  // folders of the entries `scope` narrows.
  virtual TBackupOutcome RunBackup(const TSourceList& list, const std::string& backupFolder, bool quiet, int keepDays,
                                   const ScanScope& scope, bool ask, MessageBoxes& boxes, TMessageLog& log) = 0;
  virtual RunResult RunRestore(const std::string& backupFolder, bool quiet, int keepDays, MessageBoxes& boxes,
                               TMessageLog& log) = 0;
  virtual RunResult RunPurge(const std::string& backupFolder, bool quiet, int keepDays, MessageBoxes& boxes,
                             TMessageLog& log) = 0;
  virtual RunResult RemoveAllBackups(const std::string& backupFolder, bool quiet, TMessageLog& log) = 0;
};

class ControlWindow : public BusyStateView {
 public:
  // `watch` tells where the folder entries with sub-folders changed, so that timed runs look only there.
  ControlWindow(ControlWindowView& view, SettingsStore& settingsStore, MessageBoxes& boxes, FolderWatch& watch)
      : view_(view), settingsStore_(settingsStore), boxes_(boxes), marks_(watch) {}

  // The start-up sequence: tray icon, list, log, settings, backup list (or the backup-folder
  // dialog), log file, and the start-up backup when it is enabled.
  void Start();
  void LoadSettings();
  void SaveSettings();
  bool LoadBackupList();
  void SaveBackupList(bool askForDrive = true);
  // Before a backup or a save: a backup list or log that could not be read at start-up is read
  // now, if it can be.
  void CatchUpWithStore();

  // Ends the program; an operation under way is told in the log as cut short by `cause`.
  void CloseQuery(EndCause cause);
  void Exit();
  void TimerTick();
  void PeriodStep(bool up);
  // Minutes or hours chosen: the other is cleared and the period read again in the new unit.
  void ChooseUnit(bool hours);
  // The idle refresh of the Control page.
  void RefreshControls();
  void ShowNextBackup();
  // How much of the list a backup looks at: all of it, or only what changed since the last run
  // (where the watch can vouch for that).
  enum class Scan { Whole, Changes };
  void PerformBackup(bool ask, Scan scan);
  // The tray icon's tip after a run, and its balloon when the run left something out while the
  // window is hidden.
  void ShowOutcome(const TBackupOutcome& outcome);
  // A start-up, shut-down or OK-pressed backup: busy, its heading, the run, idle again.
  void AutomaticBackup(const std::string& heading, Scan scan);
  void BackupNow();
  void OK();
  void Restore();
  void Purge();
  void ChangeBackupFolder();
  void Info();
  // The Earlier Versions dialog; the days confirmed there are stored and kept by the next runs.
  void EarlierVersions();
  void ToggleSuppress();
  // The Enable logging box, clicked or read from the settings: the log writes or stays still.
  void LogSwitched();
  void Tray(TrayEvent event);
  void TaskbarCreated();

  BusyCode CurrentBusyState() const override { return busy_; }
  void SetBusyState(BusyCode code) override;
  std::string BackupFolder() const { return view_.GetText(Text::BackupFolder); }
  bool Quiet() const { return !view_.Checked(Check::ShowProgress); }
  TMessageLog& Log() { return *log_; }
  bool HasLog() const { return log_ != nullptr; }
  // Days the runs keep earlier versions; 0: none are kept.
  int KeepDays() const { return settings_.KeepDays; }

  TScheduler Scheduler;
  TSourceList BackupList;

 private:
  bool Automatic(Check trigger) const;
  // Adds lines for the log as detail lines, and forgets them.
  void LogNotes(StringList& notes);
  // A yes-or-no question; true for yes.
  bool Ask(const std::string& question);

  ControlWindowView& view_;
  SettingsStore& settingsStore_;
  MessageBoxes& boxes_;
  BusyCode busy_ = kIdle;
  bool trayShown_ = false, animating_ = false;
  std::unique_ptr<TMessageLog> log_;
  TSettings settings_;  // the values this window does not show yet keep their stored state
  TBackupListFile listFile_;
  ChangeMarks marks_;
  StringList startupNotes_;  // what start-up found wrong, logged once the log is attached
};

}  // namespace vh
