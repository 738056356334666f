#pragma once
// The control window: its Control page, the backup list and backup folder of the Select page,
// the log of the Log page; the scheduler's timer, the triggers of every operation, the tray
// icon's messages and the end of the program.
#include <functional>
#include <memory>

#include "control/backup_outcome.h"
#include "control/busy_scope.h"
#include "control/scheduler.h"
#include "control/settings.h"
#include "list/backup_list_store.h"
#include "list/source_list.h"
#include "log/message_log.h"
#include "control/folder_view.h"
#include "control/list_edit.h"
#include "platform/settings_store.h"
#include "platform/win32/list_view_grid.h"
#include "platform/win32/rich_edit_page.h"
#include "ui/control_page.h"
#include "ui/controls.h"
#include "ui/help.h"
#include "ui/log_page.h"
#include "ui/operation_windows.h"
#include "ui/popup_menu.h"
#include "ui/printer.h"
#include "ui/select_page.h"
#include "ui/tray_icon.h"
#include "ui/window.h"

namespace vh::ui {

class TMainForm : public Window, private SelectPageView {
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
  // Minutes or hours chosen: the other is cleared and the period read again in the new unit.
  void MinutesRBtnClick() { ChooseUnit(false); }
  void HoursRBtnClick() { ChooseUnit(true); }
  void RefreshControls();
  void ShowNextBackup();
  void SetBusyState(BusyCode code) override;
  BusyCode CurrentBusyState() const override { return BusyState; }
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
  // Ends the program; an operation under way is told in the log as cut short by `cause`.
  void FormCloseQuery(EndCause cause);
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
  void SaveBackupList(bool askForDrive = true) override;
  void ShowPopupMenu();
  // The Select page.
  void RefreshBtnClick();
  void ShowFilesChkClick();
  void SystemFilesChkClick();
  void TreeViewExpanding(TreeItem item);
  void AddBtnClick();
  void RemoveBtnClick();
  void SubDirBtnClick();
  void StringGridMouseDown(POINT at);
  void StringGridMouseMove(POINT at);
  void SplitterMoved(int left);
  // The Log page.
  void LogTabSheetShow();
  void ClearLogBtnClick();
  void EnableLogChkClick();
  void PrintBtnClick();
  void SetupPrinterBtnClick();

  std::string BackupFolder() const override { return select_.UserBackupFolderEdit.Text(); }

  TScheduler Scheduler;
  BusyCode BusyState = kIdle;
  TSourceList BackupList;
  std::unique_ptr<TMessageLog> Log;
  std::unique_ptr<TTrayIcon> TrayIcon;
  Timer BackupTimer;

  PageControl Pages;
  // The pages, holding their controls.
  ControlPage control_;
  SelectPage select_;
  LogPage log_;
  std::unique_ptr<TFolderView> FolderView;
  Printer PrinterSetup;
  Help HelpViewer;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void DpiChanged() override;
  bool PreTranslateKey(const MSG& msg) override;

 private:
  void ChooseUnit(bool hours);
  // Start-up steps of the Select page: the drag cursor, and the folder tree filled.
  void RegisterDragCursor();
  void LoadTreeImages();
  void CreateFolderTree();
  // The Select page's part of the idle refresh.
  void RefreshSelectPage();

  // What the list edits ask of the window.
  std::string SelectedTreePath() override { return FolderView->SelectedPath(); }
  void MarkPath(const std::string& path) override { FolderView->MarkPath(path); }
  void UnmarkPath(const std::string& path) override { FolderView->UnmarkPath(path); }
  void RefreshBranchOf(const std::string& path) override { FolderView->RefreshBranchOf(path); }
  void ShowList() override { BackupList.ShowInGrid(*grid_); }
  int CurrentRow() const override { return grid_->CurrentRow(); }
  void SetCurrentRow(int row) override { grid_->SetCurrentRow(row); }
  bool QuietOperations() const override { return !control_.ShowProgressChk.Checked(); }
  RunResult RemoveEntryBackups(const TSourceList& list, int index, bool quiet, TMessageLog& log) override;
  RunResult RemoveSubfolderBackups(const std::string& mirrorFolder, bool quiet, TMessageLog& log) override;

  // Puts the window at its stored place, brought back onto a screen.
  void PlaceStored(int left, int top, int width);
  void FormResize();
  // Adds lines for the log as detail lines, and forgets them.
  void LogNotes(StringList& notes);

  OperationWindows& operations_;
  SettingsStore& settingsStore_;
  std::function<void()> showAbout_;
  TSettings settings_;  // the values this window does not show yet keep their stored state
  TBackupListFile listFile_;
  StringList startupNotes_;  // what start-up found wrong, logged once the log is attached
  PopupMenu popupMenu_;
  std::unique_ptr<win32::RichEditPage> logPage_;
  std::unique_ptr<win32::ListViewGrid> grid_;
  UINT taskbarCreated_ = 0;
};

}  // namespace vh::ui
