#pragma once
// The control window: its Control page, the backup list and backup folder of the Select page,
// the log of the Log page; the scheduler's timer, the triggers of every operation, the tray
// icon's messages and the end of the program.
#include <functional>
#include <memory>

#include "control/backup_outcome.h"
#include "control/scheduler.h"
#include "control/settings.h"
#include "list/backup_list_store.h"
#include "list/source_list.h"
#include "log/message_log.h"
#include "platform/settings_store.h"
#include "platform/win32/list_view_grid.h"
#include "platform/win32/rich_edit_page.h"
#include "ui/controls.h"
#include "ui/operation_windows.h"
#include "ui/tray_icon.h"
#include "ui/window.h"

namespace vh::ui {

class TMainForm : public Window {
 public:
  TMainForm(OperationWindows& operations, SettingsStore& settingsStore, std::function<void()> showAbout);
  ~TMainForm() override;

  // The start-up sequence: tray icon, list, log, settings, backup list (or the backup-folder
  // dialog), log file, and the start-up backup when it is enabled.
  void FormCreate();

  // How the program ends (tests watch it instead).
  std::function<void(int status)> endProcess = [](int status) { ExitProcess(static_cast<UINT>(status)); };
  // Asks for a backup folder, starting from the one given; the result whatever closed it.
  std::function<std::string(const std::string& start)> chooseBackupFolder;

  // Handlers, one per event.
  void BackupTimerTimer();
  void PeriodBtnClick(bool up);
  void MinutesRBtnClick();
  void HoursRBtnClick();
  void RefreshControls();
  void ShowNextBackup();
  void SetBusyState(int code);
  void PerformBackup(bool ask);
  // Before a backup or a save: a backup list or log that could not be read at start-up is read
  // now, if it can be.
  void CatchUpWithStore();
  // The tray icon's tip after a run, and its balloon when the run left something out while the
  // window is hidden.
  void ShowOutcome(const TBackupOutcome& outcome);
  // A click on the balloon: the Log page, newest line in view.
  void BalloonClick();
  // A start-up, shut-down or OK-pressed backup: busy, its heading, the run, idle again.
  void AutomaticBackup(const std::string& heading);
  void BackupNowBtnClick();
  void OKBtnClick();
  void RestoreNowBtnClick();
  void PurgeBtnClick();
  void FormCloseQuery();
  void ChangeBtnClick();
  void InfoBtnClick();
  void ExitClick();
  void AboutBtnClick() { showAbout_(); }
  // Shows the topic of a control's help context (the "?" button, then a click, or F1).
  void HelpRequest(DWORD context);
  void FormShow();
  void FormDestroy();
  // Stops an animation and takes the icon out of the notification area.
  void RemoveTrayIcon();
  void ConfigureClick();
  void SuppressBackupClick();
  void HelpBtnClick();
  void LoadSettings();
  void SaveSettings();
  bool LoadBackupList();
  void SaveBackupList();
  void ShowPopupMenu();

  std::string BackupFolder() const { return UserBackupFolderEdit.Text(); }

  TScheduler Scheduler;
  int BusyState = 0;
  TSourceList BackupList;
  std::unique_ptr<TMessageLog> Log;
  std::unique_ptr<TTrayIcon> TrayIcon;
  Timer BackupTimer;

  // The Control page.
  PageControl Pages;
  GroupBox BackupControlBox, BackupStatusBox, ModeBox, RestoreControlBox;
  Label BackupEveryLbl, LastBackupTitleLbl, LastBackupLbl, NextBackupInLbl, HoursLbl, MinutesLbl, BackupStatusLbl;
  Edit BackupPeriodEdt, NextHoursEdt, NextMinutesEdt;
  Button PeriodUpBtn, PeriodDownBtn, MinutesRBtn, HoursRBtn, EnableTimedBackupsChk, StartupChk, ShutdownChk,
      OKBackupChk, SuppressBackupChk, BackupNowBtn, PurgeBtn, RestoreNowBtn, ShowProgressChk, AboutBtn, HelpBtn2,
      OKBtn2;
  Separator ControlLine;
  // The Select page.
  HostedControl StringGrid;
  GroupBox DestGroupBox;
  Edit UserBackupFolderEdit;
  Button InfoBtn, ChangeBtn, HelpBtn, OKBtn;
  // The Log page.
  HostedControl RichEdit;
  Label LogPanel;
  Button ClearLogBtn, EnableLogChk, HelpBtn4, OKBtn4;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControlPage();
  void CreateSelectPage();
  void CreateLogPage();
  void FormResize();
  // Adds lines for the log as detail lines, and forgets them.
  void LogNotes(StringList& notes);

  OperationWindows& operations_;
  SettingsStore& settingsStore_;
  std::function<void()> showAbout_;
  TSettings settings_;  // the values this window does not show yet keep their stored state
  TBackupListFile listFile_;
  StringList startupNotes_;  // what start-up found wrong, logged once the log is attached
  std::array<HICON, kTrayFrames> trayFrames_{};
  HMENU popupMenu_ = nullptr;
  std::unique_ptr<win32::RichEditPage> logPage_;
  std::unique_ptr<win32::ListViewGrid> grid_;
  UINT taskbarCreated_ = 0;
};

}  // namespace vh::ui
