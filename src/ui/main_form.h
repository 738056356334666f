#pragma once
// The control window: its Control page, the backup list and backup folder of the Select page,
// the log of the Log page; the scheduler's timer, the triggers of every operation, the tray
// icon's messages and the end of the program.
#include <array>
#include <functional>
#include <memory>
#include <utility>

#include "control/backup_outcome.h"
#include "control/busy_scope.h"
#include "control/scheduler.h"
#include "control/settings.h"
#include "list/backup_list_store.h"
#include "list/source_list.h"
#include "log/message_log.h"
#include "control/control_window.h"
#include "control/folder_view.h"
#include "control/list_edit.h"
#include "platform/folder_watch.h"
#include "platform/settings_store.h"
#include "ui/control_page.h"
#include "ui/list_view_grid.h"
#include "ui/rich_edit_page.h"
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

class TMainForm : public Window, private SelectPageView, private ControlWindowView {
 public:
  TMainForm(OperationWindows& operations, SettingsStore& settingsStore, FolderWatch& watch,
            std::function<void()> showAbout);
  ~TMainForm() override;

  // The start-up sequence (see `ControlWindow::Start`).
  void FormCreate() { Logic.Start(); }

  // How the program ends (tests watch it instead).
  std::function<void(int status)> endProcess = [](int status) { ExitProcess(static_cast<UINT>(status)); };
  // Asks for a backup folder, starting from the one given; the result whatever closed it.
  std::function<std::string(const std::string& start)> chooseBackupFolder;

  // Handlers, one per event.
  void BackupTimerTimer() { Logic.TimerTick(); }
  void PeriodBtnClick(bool up) { Logic.PeriodStep(up); }
  void MinutesRBtnClick() { Logic.ChooseUnit(false); }
  void HoursRBtnClick() { Logic.ChooseUnit(true); }
  void RefreshControls();
  void BackupNowBtnClick() { Logic.BackupNow(); }
  void OKBtnClick() { Logic.OK(); }
  void RestoreNowBtnClick() { Logic.Restore(); }
  void PurgeBtnClick() { Logic.Purge(); }
  void FormCloseQuery(EndCause cause) { Logic.CloseQuery(cause); }
  void ChangeBtnClick() { Logic.ChangeBackupFolder(); }
  void InfoBtnClick() { Logic.Info(); }
  void EarlierVersionsClick() { Logic.EarlierVersions(); }
  void ExitClick() { Logic.Exit(); }
  void AboutBtnClick() { showAbout_(); }
  // A click on the balloon: the Log page, newest line in view.
  void BalloonClick();
  // Shows the topic of a control's help context (the "?" button, then a click, or F1).
  void HelpRequest(DWORD context);
  void FormShow();
  // Stops an animation and takes the icon out of the notification area.
  void RemoveTrayIcon() override;
  void ConfigureClick();
  void SuppressBackupClick() { Logic.ToggleSuppress(); }
  void HelpBtnClick();
  void ShowPopupMenu();
  // The Select page.
  void RefreshBtnClick();
  void ShowFilesChkClick() { TreeOptionsChanged(); }
  void SystemFilesChkClick() { TreeOptionsChanged(); }
  void TreeViewExpanding(TreeItem item);
  void AddBtnClick();
  void RemoveBtnClick();
  void SubDirBtnClick();
  void StringGridMouseDown(POINT at);
  void StringGridMouseMove(POINT at);
  void SplitterMoved(int left);
  // The Log page.
  void LogTabSheetShow();
  void ClearLogBtnClick() { Logic.Log().Clear(); }
  void EnableLogChkClick() { Logic.LogSwitched(); }
  void PrintBtnClick();
  void SetupPrinterBtnClick();

  std::string BackupFolder() const override { return select_.UserBackupFolderEdit.Text(); }

  ControlWindow Logic;
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
  // What the list edits and the window's decisions share.
  BusyCode CurrentBusyState() const override { return Logic.CurrentBusyState(); }
  void SetBusyState(BusyCode code) override { Logic.SetBusyState(code); }
  void SaveBackupList(bool askForDrive) override { Logic.SaveBackupList(askForDrive); }

  // What the window's decisions ask of it.
  bool Checked(Check box) const override { return CheckBox(box).Checked(); }
  void SetChecked(Check box, bool checked) override { CheckBox(box).SetChecked(checked); }
  Button& CheckBox(Check box) const { return *checks_[static_cast<size_t>(box)]; }
  std::string GetText(Text text) const override { return texts_[static_cast<size_t>(text)]->Text(); }
  void SetText(Text text, const std::string& value) override;
  void EnableOptions(bool enabled) override;
  void EnableCountdown(bool enabled) override;
  void SetTimerEnabled(bool enabled) override { BackupTimer.SetEnabled(enabled); }
  bool TimerEnabled() const override { return BackupTimer.Enabled(); }
  void SetWindowEnabled(bool enabled) override { Window::SetEnabled(enabled); }
  void LetMessagesRun() override { ProcessPendingMessages(); }
  void PrepareControls() override;
  void TreeOptionsChanged() override;
  Grid& ListGrid() override { return *grid_; }
  TextPage& LogTextPage() override { return *logPage_; }
  void PlaceStored(const WindowPlace& place) override { PlaceStored(place.left, place.top, place.width); }
  WindowPlace CurrentPlace() const override;
  void LayOut() override { FormResize(); }
  void ShowTrayIcon() override;
  void SetTrayTip(const std::string& tip) override { TrayIcon->SetTip(tip); }
  void ShowBalloon(const std::string& text) override { TrayIcon->ShowBalloon(kAppCaption, text); }
  void StartAnimation() override { TrayIcon->StartAnimation(); }
  void StopAnimation() override { TrayIcon->StopAnimation(); }
  bool WindowShown() const override { return Visible(); }
  void Hide() override { Window::Hide(); }
  void BringToFront() override { Window::BringToFront(); }
  void OpenWindow() override { ConfigureClick(); }
  void OpenMenu() override { ShowPopupMenu(); }
  void OpenLog() override { BalloonClick(); }
  void Close() override { Window::Close(); }
  void EndProcess(int status) override { endProcess(status); }
  std::string ChooseBackupFolder(const std::string& start) override {
    return chooseBackupFolder ? chooseBackupFolder(start) : start;
  }
  std::optional<int> ChooseKeepDays(const std::string& backupFolder, int keepDays) override;
  std::string FolderSizeReport(const std::string& backupFolder) override;
  TBackupOutcome RunBackup(const TSourceList& list, const std::string& backupFolder, bool quiet, int keepDays,
                           const ScanScope& scope, bool ask, MessageBoxes& boxes, TMessageLog& log) override;
  RunResult RunRestore(const std::string& backupFolder, bool quiet, int keepDays, MessageBoxes& boxes,
                       TMessageLog& log) override {
    operations_.Restore->KeepDays = keepDays;
    return operations_.Restore->RunRestore(backupFolder, quiet, boxes, log);
  }
  RunResult RunPurge(const std::string& backupFolder, bool quiet, int keepDays, MessageBoxes& boxes,
                     TMessageLog& log) override {
    operations_.Purge->KeepDays = keepDays;
    return operations_.Purge->RunPurge(backupFolder, quiet, boxes, log);
  }
  RunResult RemoveAllBackups(const std::string& backupFolder, bool quiet, TMessageLog& log) override {
    return operations_.Delete->RemoveAllBackups(backupFolder, quiet, log);
  }

  // Start-up steps of the Select page: the tree's pictures for the dpi, and the folder tree filled.
  void LoadTreeImages();
  void CreateFolderTree();
  // The Select page's part of the idle refresh.
  void RefreshSelectPage();

  // What the list edits ask of the window.
  std::string SelectedTreePath() override { return FolderView->SelectedPath(); }
  void MarkPath(const std::string& path) override { FolderView->MarkPath(path); }
  void UnmarkPath(const std::string& path) override { FolderView->UnmarkPath(path); }
  void RefreshBranchOf(const std::string& path) override { FolderView->RefreshBranchOf(path); }
  void ShowList() override { Logic.BackupList.ShowInGrid(*grid_); }
  int CurrentRow() const override { return grid_->CurrentRow(); }
  void SetCurrentRow(int row) override { grid_->SetCurrentRow(row); }
  bool QuietOperations() const override { return !control_.ShowProgressChk.Checked(); }
  RunResult RemoveEntryBackups(const TSourceList& list, int index, bool quiet, TMessageLog& log) override;
  RunResult RemoveSubfolderBackups(const std::string& mirrorFolder, bool quiet, TMessageLog& log) override;

  // Puts the window at its stored place, brought back onto a screen.
  void PlaceStored(int left, int top, int width);
  void FormResize();

  OperationWindows& operations_;
  std::function<void()> showAbout_;
  PopupMenu popupMenu_;
  std::unique_ptr<RichEditPage> logPage_;
  std::unique_ptr<ListViewGrid> grid_;
  UINT taskbarCreated_ = 0;
  // The controls behind the decisions' boxes and texts, in the order of `Check` and `Text`; the
  // OK button of each page.
  const std::array<Button*, 11> checks_{
      &control_.EnableTimedBackupsChk, &control_.StartupChk, &control_.ShutdownChk, &control_.OKBackupChk,
      &control_.SuppressBackupChk,     &control_.ShowProgressChk, &select_.ShowFilesChk, &select_.SystemFilesChk,
      &log_.EnableLogChk,              &control_.MinutesRBtn,     &control_.HoursRBtn};
  const std::array<Control*, 6> texts_{&select_.UserBackupFolderEdit, &control_.LastBackupLbl,
                                       &control_.BackupPeriodEdt,     &control_.NextHoursEdt,
                                       &control_.NextMinutesEdt,      &control_.BackupStatusLbl};
  const std::array<Button*, 3> okButtons_{&control_.OKBtn2, &select_.OKBtn, &log_.OKBtn4};
};

}  // namespace vh::ui
