#include "ui/main_form.h"

#include <commctrl.h>
#include <shellapi.h>

#include "list/backup_list_store.h"
#include "platform/system.h"
#include "platform/win32/wide.h"
#include "store/drive_checks.h"
#include "store/folder_size.h"
#include "store/store_paths.h"

namespace vh::ui {
namespace {

constexpr int kDesignWidth = 522, kDesignHeight = 389;  // client area
constexpr int kMinWidth = 530, kFixedHeight = 424;       // outer size
constexpr UINT kBackupTimerMs = 60000;
constexpr const wchar_t* kHelpFile = L"VesperHelp.HLP";
constexpr UINT kQuestion = kMbYesNo | kMbIconQuestion | kMbDefButton2;

enum PopupItem : UINT { kConfigure = 1, kSuppress, kBackupNow, kAbout, kExit };
enum Page : int { kControlPage = 0, kSelectPage = 1, kLogPage = 2 };

}  // namespace

TMainForm::TMainForm(OperationWindows& operations, SettingsStore& settingsStore, std::function<void()> showAbout)
    : operations_(operations), settingsStore_(settingsStore), showAbout_(std::move(showAbout)) {
  CreateCentred(L"VesperhollowMain", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                WS_EX_CONTEXTHELP | WS_EX_CONTROLPARENT, "Vesperhollow 3.1", kDesignWidth, kDesignHeight);
  SetWindowContextHelpId(Handle(), 22);
  Pages.Create(*this, 0, 0, kDesignWidth, kDesignHeight, 70);
  Pages.AddPage("Control");
  Pages.AddPage("Select");
  Pages.AddPage("Log");
  CreateControlPage();
  CreateSelectPage();
  CreateLogPage();
  Pages.SetActivePage(kControlPage);
  Pages.onChange = [this](int page) {
    if (page == kLogPage && Log) {  // the newest line in view
      SetFocus(RichEdit.Handle());
      Log->ScrollToEnd();
    }
  };
  BackupTimer.Create(*this, kBackupTimerMs);
  BackupTimer.onTimer = [this] { BackupTimerTimer(); };
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

  popupMenu_ = CreatePopupMenu();
  AppendMenuW(popupMenu_, MF_STRING, kConfigure, L"&Configure...");
  AppendMenuW(popupMenu_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popupMenu_, MF_STRING, kSuppress, L"Su&ppress Backup");
  AppendMenuW(popupMenu_, MF_STRING, kBackupNow, L"&Backup Now");
  AppendMenuW(popupMenu_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popupMenu_, MF_STRING, kAbout, L"&About");
  AppendMenuW(popupMenu_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popupMenu_, MF_STRING, kExit, L"&Exit");
  SetMenuDefaultItem(popupMenu_, kConfigure, FALSE);
}

TMainForm::~TMainForm() { FormDestroy(); }

void TMainForm::FormDestroy() {
  RemoveTrayIcon();
  TrayIcon.reset();
  if (popupMenu_) DestroyMenu(popupMenu_);
  popupMenu_ = nullptr;
}

void TMainForm::RemoveTrayIcon() {
  if (!TrayIcon) return;
  if (TrayIcon->Animating()) TrayIcon->StopAnimation();  // the thread is done before the icon goes
  TrayIcon->RemoveIcon();
}

void TMainForm::FormShow() { Pages.SetActivePage(kControlPage); }

void TMainForm::HelpRequest(DWORD context) {
  WinHelpW(Handle(), kHelpFile, HELP_CONTEXT, context ? context : 22);  // a control without a topic of its own
}

void TMainForm::CreateControlPage() {
  SetContainer(Pages.Panel(kControlPage));

  POINT b{7, 0};
  BackupControlBox.Create(*this, "Backup control", b.x, b.y, 241, 265);
  BackupEveryLbl.Create(*this, "Backup every ", b.x + 8, b.y + 32, 80, 13);
  BackupPeriodEdt.Create(*this, "1", b.x + 98, b.y + 32, 25, 21, true);
  PeriodUpBtn.Create(*this, Button::Push, "+", b.x + 127, b.y + 28, 17, 15);
  PeriodDownBtn.Create(*this, Button::Push, "-", b.x + 127, b.y + 44, 17, 15);
  MinutesRBtn.Create(*this, Button::Radio, "minutes", b.x + 151, b.y + 27, 73, 17);
  HoursRBtn.Create(*this, Button::Radio, "hours", b.x + 151, b.y + 46, 65, 17);
  EnableTimedBackupsChk.Create(*this, Button::CheckBox, "Enable timed backups", b.x + 8, b.y + 72, 185, 17);
  ControlLine.Create(*this, b.x, b.y + 104, 241);
  StartupChk.Create(*this, Button::CheckBox, "Backup on Startup", b.x + 8, b.y + 112, 185, 17);
  ShutdownChk.Create(*this, Button::CheckBox, "Backup on Shutdown", b.x + 8, b.y + 140, 209, 17);
  OKBackupChk.Create(*this, Button::CheckBox, "Backup when OK pressed", b.x + 8, b.y + 168, 201, 17);
  SuppressBackupChk.Create(*this, Button::CheckBox, "Suppress automatic backups", b.x + 8, b.y + 208, 217, 17);
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
  ShowProgressChk.Create(*this, Button::CheckBox, "Show progress", b.x + 7, b.y + 280, 114, 17);
  AboutBtn.Create(*this, Button::Push, "&About", b.x + 430, b.y + 274, 75, 25);
  HelpBtn2.Create(*this, Button::Push, "&Help", b.x + 430, b.y + 302, 75, 25);
  OKBtn2.Create(*this, Button::Push, "OK", b.x + 430, b.y + 330, 75, 25);

  for (Control* c : std::initializer_list<Control*>{&BackupPeriodEdt, &PeriodUpBtn, &PeriodDownBtn, &MinutesRBtn,
                                                    &HoursRBtn}) {
    c->SetHelpContext(5);
  }
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

void TMainForm::CreateSelectPage() {
  SetContainer(Pages.Panel(kSelectPage));
  StringGrid.Create(*this, &win32::ListViewGrid::Create, 185, 0, kDesignWidth - 185 - 8, 265);
  grid_ = std::make_unique<win32::ListViewGrid>(StringGrid.Handle());
  const POINT b{186, 269};
  DestGroupBox.Create(*this, "Backup folder", b.x, b.y, 225, 84);
  UserBackupFolderEdit.Create(*this, "", b.x + 8, b.y + 16, 209, 21, true);
  InfoBtn.Create(*this, Button::Push, "&Info", b.x + 8, b.y + 48, 54, 25);
  ChangeBtn.Create(*this, Button::Push, "&Change", b.x + 161, b.y + 48, 54, 25);
  HelpBtn.Create(*this, Button::Push, "&Help", 430, 302, 75, 25);
  OKBtn.Create(*this, Button::Push, "OK", 430, 330, 75, 25);
  StringGrid.SetHelpContext(1);
  DestGroupBox.SetHelpContext(3);
  ChangeBtn.SetHelpContext(3);
  InfoBtn.SetHelpContext(27);
  InfoBtn.onClick = [this] { InfoBtnClick(); };
  ChangeBtn.onClick = [this] { ChangeBtnClick(); };
  HelpBtn.onClick = [this] { HelpBtnClick(); };
  OKBtn.onClick = [this] { OKBtnClick(); };
}

void TMainForm::CreateLogPage() {
  SetContainer(Pages.Panel(kLogPage));
  RichEdit.Create(*this, &win32::RichEditPage::Create, 0, 0, kDesignWidth - 8, 265);
  logPage_ = std::make_unique<win32::RichEditPage>(RichEdit.Handle());
  LogPanel.Create(*this, "", 7, 280, 161, 73);
  SetWindowLongW(LogPanel.Handle(), GWL_STYLE, GetWindowLongW(LogPanel.Handle(), GWL_STYLE) | SS_ETCHEDFRAME);
  ClearLogBtn.Create(*this, Button::Push, "&Clear Log", 7 + 14, 280 + 8, 75, 25);
  EnableLogChk.Create(*this, Button::CheckBox, "Enable logging", 7 + 14, 280 + 40, 135, 25);
  HelpBtn4.Create(*this, Button::Push, "&Help", 430, 302, 75, 25);
  OKBtn4.Create(*this, Button::Push, "OK", 430, 330, 75, 25);
  for (Control* c : std::initializer_list<Control*>{&RichEdit, &LogPanel, &ClearLogBtn, &EnableLogChk}) {
    c->SetHelpContext(31);
  }
  SetContainer(nullptr);
  ClearLogBtn.onClick = [this] { Log->Clear(); };
  EnableLogChk.onClick = [this] { EnableLogChk.Checked() ? Log->Enable() : Log->Disable(); };
  HelpBtn4.onClick = [this] { HelpBtnClick(); };
  OKBtn4.onClick = [this] { OKBtnClick(); };
}

void TMainForm::FormCreate() {
  Pages.SetActivePage(kControlPage);
  for (int frame = 0; frame < kTrayFrames; ++frame) {
    trayFrames_[frame] = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(100 + frame),
                                                       IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  TrayIcon = std::make_unique<TTrayIcon>(Handle(), trayFrames_);
  TrayIcon->ShowIcon();
  BackupList.Clear();
  BackupList.ShowInGrid(*grid_);
  grid_->SetCell(0, 0, "Backup List");
  grid_->SetCell(1, 0, "Subs");
  ListView_SetColumnWidth(StringGrid.Handle(), 1, Scale(52));
  ListView_SetColumnWidth(StringGrid.Handle(), 2, Scale(300));
  Log = std::make_unique<TMessageLog>(*logPage_);
  SetBusyState(kIdle);
  LoadSettings();
  if (!LoadBackupList()) {
    UserBackupFolderEdit.SetText(chooseBackupFolder ? chooseBackupFolder("") : std::string());
    LoadBackupList();  // a new backup folder simply starts with an empty list
  }
  LoadLog(*Log, BackupFolder());
  EnableLogChk.Checked() ? Log->Enable() : Log->Disable();
  FormResize();
  if (StartupChk.Checked() && !SuppressBackupChk.Checked()) {
    AutomaticBackup("Backup on startup initiated for the following files and folders:");
  }
}

void TMainForm::AutomaticBackup(const std::string& heading) {
  SetBusyState(kAutomaticBackup);
  Log->AddLine(heading, true);
  PerformBackup(false);
  SetBusyState(kIdle);
}

void TMainForm::LoadSettings() {
  StringList unreadable;
  settings_ = vh::LoadSettings(settingsStore_, unreadable);
  if (!unreadable.empty()) {
    Boxes().Show(UnreadableSettingsMessage(unreadable), kAppCaption, kMbOk | kMbIconExclamation);
  }
  Scheduler.BackupPeriod = settings_.BackupPeriod;
  EnableTimedBackupsChk.SetChecked(settings_.EnableTimedBackups);
  StartupChk.SetChecked(settings_.StartUp);
  ShutdownChk.SetChecked(settings_.ShutDown);
  OKBackupChk.SetChecked(settings_.OKBackup);
  ShowProgressChk.SetChecked(settings_.ShowProgress);
  if (!settings_.BackupFolder.empty()) UserBackupFolderEdit.SetText(settings_.BackupFolder);
  EnableLogChk.SetChecked(settings_.EnableLog);
  LastBackupLbl.SetText(settings_.LastBackup);
  if (settings_.Top && settings_.Left && settings_.Width) {
    // The stored place is kept when it is still on a screen; the height is fixed.
    RECT r{*settings_.Left, *settings_.Top, *settings_.Left + std::max(*settings_.Width, Scale(kMinWidth)),
           *settings_.Top + Scale(kFixedHeight)};
    if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
      SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

void TMainForm::SaveSettings() {
  settings_.BackupPeriod = Scheduler.BackupPeriod;
  settings_.EnableTimedBackups = EnableTimedBackupsChk.Checked();
  settings_.StartUp = StartupChk.Checked();
  settings_.ShutDown = ShutdownChk.Checked();
  settings_.OKBackup = OKBackupChk.Checked();
  settings_.ShowProgress = ShowProgressChk.Checked();
  settings_.BackupFolder = BackupFolder();
  settings_.EnableLog = EnableLogChk.Checked();
  settings_.LastBackup = LastBackupLbl.Text();
  RECT r;
  GetWindowRect(Handle(), &r);
  settings_.Top = r.top;
  settings_.Left = r.left;
  settings_.Width = r.right - r.left;
  vh::SaveSettings(settingsStore_, settings_);
}

bool TMainForm::LoadBackupList() { return vh::LoadBackupList(BackupList, BackupFolder(), *grid_); }

void TMainForm::SaveBackupList() { vh::SaveBackupList(BackupList, BackupFolder()); }

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
  SetBusyState(kTimedBackup);
  PerformBackup(false);
  SetBusyState(kIdle);
}

void TMainForm::PeriodBtnClick(bool up) {
  BackupTimer.SetEnabled(false);
  up ? Scheduler.PeriodUp() : Scheduler.PeriodDown();
  BackupTimer.SetEnabled(true);  // the next refresh turns it off again when timed backups are off
}

void TMainForm::MinutesRBtnClick() {
  HoursRBtn.SetChecked(false);
  BackupTimer.SetEnabled(false);
  Scheduler.UnitChosen(false, std::atoi(BackupPeriodEdt.Text().c_str()));
  BackupTimer.SetEnabled(true);
}

void TMainForm::HoursRBtnClick() {
  MinutesRBtn.SetChecked(false);
  BackupTimer.SetEnabled(false);
  Scheduler.UnitChosen(true, std::atoi(BackupPeriodEdt.Text().c_str()));
  BackupTimer.SetEnabled(true);
}

void TMainForm::RefreshControls() {
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

void TMainForm::SetBusyState(int code) {
  BusyState = code;
  if (code != kIdle) BackupStatusLbl.SetText(BusyModeText(code));
  ProcessPendingMessages();  // the new text is painted before the operation starts
  EnableWindow(Handle(), code == kIdle);
}

void TMainForm::PerformBackup(bool ask) {
  TrayIcon->StartAnimation();
  const int result = operations_.Backup->RunBackup(BackupList, BackupFolder(), !ShowProgressChk.Checked(), ask, *Log);
  if (result != 2) {
    LastBackupLbl.SetText(DateTimeStamp());
    LastBackupLbl.Repaint();
  }
  TrayIcon->StopAnimation();
}

void TMainForm::BackupNowBtnClick() {
  Log->AddLine("Manual backup initiated for the following files and folders:", true);
  SetBusyState(kManualBackup);
  PerformBackup(true);
  SetBusyState(kIdle);
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
  SetBusyState(kRestoring);
  operations_.Restore->RunRestore(BackupFolder(), !ShowProgressChk.Checked(), *Log);
  SetBusyState(kIdle);
  SetForegroundWindow(Handle());
}

void TMainForm::PurgeBtnClick() {
  if (Boxes().Show("Purging will delete backups of files and folders that no longer exist.\nDo you wish to continue?",
                   kAppCaption, kQuestion) != kIdYes) {
    return;
  }
  Log->AddLine("Purge initiated.", true);
  SetBusyState(kPurging);
  operations_.Purge->RunPurge(BackupFolder(), !ShowProgressChk.Checked(), *Log);
  SetBusyState(kIdle);
  SetForegroundWindow(Handle());
}

void TMainForm::FormCloseQuery() {
  const bool busy = BusyState != kIdle;
  if (!BackupFolder().empty()) {
    SaveSettings();
    SaveBackupList();
    if (busy) {
      // The session ends while an operation runs inside this very handler's caller: its copies
      // go through temporary files, so stopping here loses nothing, but no second run starts.
      Log->AddLine("WARNING: Backup on shutdown prevented by current operation.", false);
    } else if (ShutdownChk.Checked() && !SuppressBackupChk.Checked()) {
      AutomaticBackup("Backup on shutdown initiated for the following files and folders:");
    }
  }
  RemoveTrayIcon();  // the process ends here, so the icon must go now
  endProcess(0);
}

void TMainForm::ChangeBtnClick() {
  const std::string old = BackupFolder();
  std::string message;
  const bool reachable = CheckBackupDrive(true, old, message, "");
  if (!reachable) UserBackupFolderEdit.SetText("");
  const std::string chosen = chooseBackupFolder ? chooseBackupFolder(BackupFolder()) : BackupFolder();
  if (chosen == BackupFolder()) return;
  if (reachable) {
    if (Boxes().Show("Changing the backup folder will delete any previous backups.\nDo you want to change the backup "
                     "folder?",
                     kAppCaption, kQuestion) != kIdYes) {
      return;
    }
    SetBusyState(kRemovingBackups);
    Log->AddLine("New backup folder selected - deletion of previous backups initiated.", true);
    const int result = operations_.Delete->RemoveAllBackups(old, !ShowProgressChk.Checked(), *Log);
    SetBusyState(kIdle);
    if (result == 2) return;
    if (result == 1 &&
        Boxes().Show("Vesperhollow could not remove all previous backups. Press OK to continue with operation.",
                     kAppCaption, kMbOkCancel | kMbIconExclamation | kMbDefButton2) != kIdOk) {
      Log->AddLine("User cancelled operation.", false);
      return;
    }
  }
  UserBackupFolderEdit.SetText(chosen);
  const std::string root = MirrorPath(chosen, "");
  ForceFolders(root);
  Log->SetFileName(JoinPath(root, kLogFileName));
  Log->AddLine("Backup folder selected as " + chosen, true);
  SaveSettings();
}

void TMainForm::InfoBtnClick() {
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // the hourglass
  ShowBackupFolderSize(BackupFolder());
  SetCursor(previous);
}

void TMainForm::ExitClick() {
  const std::string question = std::string(EnableTimedBackupsChk.Checked()
                                               ? "Exiting Vesperhollow will prevent further timed backups."
                                               : "") +
                               "\nDo you want to exit Vesperhollow?";
  if (Boxes().Show(question, kAppCaption, kQuestion) == kIdNo) return;
  SaveBackupList();
  SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TMainForm::ConfigureClick() {
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

void TMainForm::SuppressBackupClick() { SuppressBackupChk.SetChecked(!SuppressBackupChk.Checked()); }

void TMainForm::HelpBtnClick() { WinHelpW(Handle(), kHelpFile, HELP_FINDER, 0); }

void TMainForm::ShowPopupMenu() {
  POINT at;
  if (!GetCursorPos(&at)) return;
  CheckMenuItem(popupMenu_, kSuppress, MF_BYCOMMAND | (SuppressBackupChk.Checked() ? MF_CHECKED : MF_UNCHECKED));
  SetForegroundWindow(Handle());
  const UINT item = TrackPopupMenu(popupMenu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0,
                                   Handle(), nullptr);
  PostMessageW(Handle(), WM_NULL, 0, 0);  // lets the menu close when the user clicks elsewhere
  switch (item) {
    case kConfigure: ConfigureClick(); break;
    case kSuppress: SuppressBackupClick(); break;
    case kBackupNow: BackupNowBtnClick(); break;
    case kAbout: AboutBtnClick(); break;
    case kExit: ExitClick(); break;
  }
}

void TMainForm::FormResize() {
  RECT r;
  GetWindowRect(Handle(), &r);
  const int w = MulDiv(r.right - r.left, 96, static_cast<int>(GetDpiForWindow(Handle())));  // in 96-dpi pixels
  RECT client;
  GetClientRect(Handle(), &client);
  Pages.SetBounds(0, 0, client.right, client.bottom);
  RECT page;
  GetClientRect(Pages.Panel(kControlPage), &page);
  const int pageWidth = MulDiv(page.right, 96, static_cast<int>(GetDpiForWindow(Handle())));
  auto move = [&](Control& c, int x, int y, int width, int height) {
    MoveWindow(c.Handle(), Scale(x), Scale(y), Scale(width), Scale(height), TRUE);
  };
  for (Button* b : {&AboutBtn, &HelpBtn2, &OKBtn2, &HelpBtn, &OKBtn, &HelpBtn4, &OKBtn4}) {
    RECT br;
    GetWindowRect(b->Handle(), &br);
    MapWindowPoints(nullptr, GetParent(b->Handle()), reinterpret_cast<POINT*>(&br), 2);
    MoveWindow(b->Handle(), Scale(w - 100), br.top, br.right - br.left, br.bottom - br.top, TRUE);
  }
  move(DestGroupBox, 186, 269, w - 305, 84);
  move(UserBackupFolderEdit, 186 + 8, 269 + 16, w - 321, 21);
  move(ChangeBtn, 186 + w - 369, 269 + 48, 54, 25);
  move(StringGrid, 185, 0, pageWidth - 185, 265);
  ListView_SetColumnWidth(StringGrid.Handle(), 0, Scale(w - 177 - 98));
  move(RichEdit, 0, 0, pageWidth, 265);
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    if (BusyState != kIdle) return 0;  // the icon does not react while an operation runs
    if (lParam == WM_LBUTTONUP) ConfigureClick();
    if (lParam == WM_RBUTTONDOWN) ShowPopupMenu();
    return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    // The taskbar came back after Explorer restarted; an animation goes on once the icon is back.
    if (TrayIcon && TrayIcon->Animating()) {
      TrayIcon->StopAnimation();
      TrayIcon->StartAnimation();
    } else if (TrayIcon) {
      TrayIcon->ShowIcon();
    }
    return 0;
  }
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        // The close button, and a double click on the window's icon too, only hide the window:
        // the program ends through Exit or the end of the session.
        ShowWindow(Handle(), SW_HIDE);
        return 0;
      }
      break;
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
      FormCloseQuery();
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {Scale(kMinWidth), Scale(kFixedHeight)};
      info->ptMaxTrackSize.y = Scale(kFixedHeight);
      return 0;
    }
    case WM_SIZE:
      if (Pages.Handle()) FormResize();
      break;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      break;
    case WM_HELP:
      HelpRequest(reinterpret_cast<HELPINFO*>(lParam)->dwContextId);
      return TRUE;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace vh::ui
