#include "ui/main_form.h"

#include <commctrl.h>
#include <shellapi.h>

#include "control/window_place.h"
#include "list/backup_list_store.h"
#include "platform/system.h"
#include "platform/win32/wide.h"
#include "store/drive_checks.h"
#include "store/folder_size.h"
#include "store/store_paths.h"
#include "ui/main_form_constants.h"

namespace vh::ui {

TMainForm::TMainForm(OperationWindows& operations, SettingsStore& settingsStore, std::function<void()> showAbout)
    : operations_(operations), settingsStore_(settingsStore), showAbout_(std::move(showAbout)) {
  CreateCentred(L"VesperhollowMain", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                WS_EX_CONTEXTHELP | WS_EX_CONTROLPARENT, "Vesperhollow 3.1", kDesignWidth, kDesignHeight);
  SetWindowContextHelpId(Handle(), kWindowHelp);
  Pages.Create(*this, 0, 0, kDesignWidth, kDesignHeight, 70);
  Pages.AddPage("Control");
  Pages.AddPage("Select");
  Pages.AddPage("Log");
  CreateControlPage();
  CreateSelectPage();
  CreateLogPage();
  Pages.onChange = [this](int page) {
    // Enter presses the OK button of the page in view.
    SetDefaultButton(page == kControlPage ? OKBtn2.Handle() : page == kSelectPage ? OKBtn.Handle() : OKBtn4.Handle());
    if (page == kLogPage) LogTabSheetShow();
  };
  Pages.SetActivePage(kControlPage);
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

TMainForm::~TMainForm() {
  FormDestroy();
}

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
  HelpViewer.ShowTopic(Handle(), context);
}

void TMainForm::FormCreate() {
  RegisterDragCursor();
  Pages.SetActivePage(kControlPage);
  TrayIcon = std::make_unique<TTrayIcon>(Handle());
  TrayIcon->ShowIcon();
  BackupList.Clear();
  BackupList.ShowInGrid(*grid_);
  grid_->SetCell(0, 0, "Backup List");
  grid_->SetCell(1, 0, "Subs");
  grid_->SetColumnWidth(1, Scale(52));
  grid_->SetColumnWidth(2, Scale(300));
  Log = std::make_unique<TMessageLog>(*logPage_);
  SetBusyState(kIdle);
  CreateFolderTree();
  LoadSettings();
  // Only a first start, with no backup folder yet, asks for one. A drive that is not there yet,
  // a list file that cannot be read or a stored folder that cannot be read is told in the log
  // (the list read later), with no window that would hold up an unattended start.
  const bool firstStart = BackupFolder().empty() && !settings_.BackupFolderUnreadable;
  if (firstStart) UserBackupFolderEdit.SetText(chooseBackupFolder ? chooseBackupFolder("") : std::string());
  LoadBackupList();
  // A folder chosen at a first start is a new store, as a changed one is: its "Log.txt" is made
  // with the next line, or the log would stay on the page only until the folder is changed.
  if (!LoadLog(*Log, BackupFolder()) && firstStart && !BackupFolder().empty()) {
    Log->SetFileName(JoinPath(MirrorPath(BackupFolder(), ""), kLogFileName));
  }
  EnableLogChk.Checked() ? Log->Enable() : Log->Disable();
  if (!startupNotes_.empty()) {
    Log->AddLine("WARNING: Start-up found these problems:", true);
    LogNotes(startupNotes_);
  }
  TrayIcon->SetTip(TrayTip(LastBackupLbl.Text(), std::nullopt));
  FormResize();
  const std::string driveAbsent = DriveAbsentBalloon(BackupFolder());
  if (StartupChk.Checked() && !SuppressBackupChk.Checked()) {
    AutomaticBackup("Backup on startup initiated for the following files and folders:");
  }
  // Last, so that it is not replaced by the start-up backup's own balloon, which says less.
  if (!driveAbsent.empty()) TrayIcon->ShowBalloon(kAppCaption, driveAbsent);
}

void TMainForm::LoadSettings() {
  StringList notes;
  settings_ = vh::LoadSettings(settingsStore_, notes);
  startupNotes_.insert(startupNotes_.end(), notes.begin(), notes.end());
  Scheduler.BackupPeriod = settings_.BackupPeriod;
  EnableTimedBackupsChk.SetChecked(settings_.EnableTimedBackups);
  StartupChk.SetChecked(settings_.StartUp);
  ShutdownChk.SetChecked(settings_.ShutDown);
  OKBackupChk.SetChecked(settings_.OKBackup);
  ShowProgressChk.SetChecked(settings_.ShowProgress);
  if (!settings_.BackupFolder.empty()) UserBackupFolderEdit.SetText(settings_.BackupFolder);
  // A box that changes runs its handler, as a click would.
  if (ShowFilesChk.Checked() != settings_.ShowFiles) {
    ShowFilesChk.SetChecked(settings_.ShowFiles);
    ShowFilesChkClick();
  }
  if (SystemFilesChk.Checked() != settings_.SystemFiles) {
    SystemFilesChk.SetChecked(settings_.SystemFiles);
    SystemFilesChkClick();
  }
  EnableLogChk.SetChecked(settings_.EnableLog);
  LastBackupLbl.SetText(settings_.LastBackup);
  operations_.Backup->KeepDays = operations_.Purge->KeepDays = operations_.Restore->KeepDays = settings_.KeepDays;
  if (settings_.Top && settings_.Left && settings_.Width) PlaceStored(*settings_.Left, *settings_.Top, *settings_.Width);
}

void TMainForm::PlaceStored(int left, int top, int width) {
  // The width is kept in 96-dpi pixels, so that it means the same at every dpi; the height is fixed.
  RECT now;
  GetWindowRect(Handle(), &now);
  const Box stored{left, top, Scale(width), now.bottom - now.top};
  auto workArea = [](HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& w = info.rcWork;
    return Box{w.left, w.top, w.right - w.left, w.bottom - w.top};
  };
  const RECT r{stored.left, stored.top, stored.left + stored.width, stored.top + stored.height};
  HMONITOR monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONULL);
  const Box screen = monitor ? workArea(monitor) : Box{};
  const Box primary = workArea(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
  const Box place =
      PlaceStoredWindow(stored, OuterSize(kDesignWidth, kDesignHeight).cx, monitor ? &screen : nullptr, primary);
  SetWindowPos(Handle(), nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::SaveSettings() {
  settings_.BackupPeriod = Scheduler.BackupPeriod;
  settings_.EnableTimedBackups = EnableTimedBackupsChk.Checked();
  settings_.StartUp = StartupChk.Checked();
  settings_.ShutDown = ShutdownChk.Checked();
  settings_.OKBackup = OKBackupChk.Checked();
  settings_.ShowProgress = ShowProgressChk.Checked();
  settings_.BackupFolder = BackupFolder();
  settings_.ShowFiles = ShowFilesChk.Checked();
  settings_.SystemFiles = SystemFilesChk.Checked();
  settings_.EnableLog = EnableLogChk.Checked();
  settings_.LastBackup = LastBackupLbl.Text();
  RECT r;
  GetWindowRect(Handle(), &r);
  settings_.Top = r.top;
  settings_.Left = r.left;
  settings_.Width = Unscale(r.right - r.left);
  vh::SaveSettings(settingsStore_, settings_);
}

void TMainForm::FormCloseQuery(EndCause cause) {
  const BusyCode running = BusyState;
  const bool shutdownBackup = ShutdownChk.Checked() && !SuppressBackupChk.Checked();
  if (!BackupFolder().empty()) {
    CatchUpWithStore();
    if (running != kIdle) {
      // The operation runs further down this very call stack and never gets control back: the
      // log, saved with every line, says so before anything that could keep the session waiting.
      Log->AddLine(CutShortLine(running, cause), false);
      if (shutdownBackup) Log->AddLine("WARNING: Backup on shutdown prevented by current operation.", false);
      Log->Flush();  // the run's own lines wait for its end, which never comes
    }
    SaveSettings();
    SaveBackupList();
    if (running == kIdle && shutdownBackup) {
      AutomaticBackup("Backup on shutdown initiated for the following files and folders:");
      SaveSettings();  // the time of this backup, for the next start to show
    }
  }
  RemoveTrayIcon();  // the process ends here, so the icon must go now
  endProcess(0);
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
  // Already open on the Log page, the window brings the newest line into view as a page change would.
  if (Pages.ActivePage() == kLogPage) LogTabSheetShow();
}

void TMainForm::BalloonClick() {
  ConfigureClick();
  Pages.SetActivePage(kLogPage);
}

void TMainForm::LogNotes(StringList& notes) {
  for (const std::string& note : notes) Log->AddLine(note, false);
  notes.clear();
}

void TMainForm::CatchUpWithStore() {
  StringList notes;
  listFile_.CatchUp(BackupList, BackupFolder(), *grid_, notes);
  if (Log->FileName().empty()) LoadLog(*Log, BackupFolder());
  LogNotes(notes);
}

void TMainForm::SuppressBackupClick() { SuppressBackupChk.SetChecked(!SuppressBackupChk.Checked()); }

void TMainForm::HelpBtnClick() { HelpViewer.ShowContents(Handle()); }

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
  const int clientWidth = ClientSize(Handle()).cx;
  // The layout rule speaks of the outer width of the design's frame, whatever frame this system draws.
  const int w = clientWidth + (kMinWidth - kDesignWidth);
  Pages.SetBounds(0, 0, clientWidth, kDesignHeight);
  const int pageWidth = ClientSize(Pages.Panel(kControlPage)).cx;
  for (Button* b : {&AboutBtn, &HelpBtn2, &OKBtn2, &HelpBtn, &OKBtn, &HelpBtn4, &OKBtn4}) {
    const RECT at = b->Bounds();
    b->SetBounds(w - 100, at.top, at.right - at.left, at.bottom - at.top);
  }
  LayOutSelectPage(w, pageWidth);
  LayOutLogPage(pageWidth);
  // Controls that moved into the newly shown part of a page are painted there at once.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TMainForm::DpiChanged() {
  LoadTreeImages();
  grid_->SetColumnWidth(1, Scale(52));
  FormResize();
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    if (BusyState != kIdle) return 0;  // the icon does not react while an operation runs
    if (lParam == WM_LBUTTONUP) ConfigureClick();
    if (lParam == WM_RBUTTONDOWN) ShowPopupMenu();
    if (lParam == NIN_BALLOONUSERCLICK) BalloonClick();
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
      FormCloseQuery(EndCause::Closed);
      return TRUE;
    case WM_QUERYENDSESSION:
      // An installer's request to close the program comes this way too.
      FormCloseQuery((lParam & ENDSESSION_LOGOFF)     ? EndCause::LogOff
                     : (lParam & ENDSESSION_CLOSEAPP) ? EndCause::Closed
                                                      : EndCause::ShutDown);
      return TRUE;
    case WM_GETMINMAXINFO: {
      // The client area keeps the design's height under any frame, and at least its width.
      RECT frame{0, 0, Scale(kDesignWidth), Scale(kDesignHeight)};
      AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE)), Dpi());
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
      info->ptMaxTrackSize.y = frame.bottom - frame.top;
      return 0;
    }
    case WM_SIZE:
      if (Pages.Handle()) FormResize();
      break;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      break;
    case WM_HELP:
      // A control without a topic of its own gives the window's.
      HelpRequest(ContextAt(Handle(), *reinterpret_cast<HELPINFO*>(lParam), kWindowHelp));
      return TRUE;
    case WM_COMMAND:
      // Esc hides the window, as its close box does.
      if (LOWORD(wParam) != IDCANCEL) break;
      ShowWindow(Handle(), SW_HIDE);
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

bool TMainForm::PreTranslateKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd == RichEdit.Handle() && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN)) {
    // The log takes every key it is sent, but only shows text: Enter and Esc mean the window's.
    if (msg.wParam == VK_ESCAPE) ShowWindow(Handle(), SW_HIDE);
    else OKBtn4.Click();
    return true;
  }
  if (!(GetKeyState(VK_CONTROL) & 0x8000)) return false;
  int step = 0;
  if (msg.wParam == VK_TAB) step = (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1;
  if (msg.wParam == VK_NEXT) step = 1;
  if (msg.wParam == VK_PRIOR) step = -1;
  if (step == 0) return false;
  // Ctrl+Tab and Ctrl+Page Down go to the next page, with Shift or Page Up to the one before.
  const int count = Pages.PageCount();
  Pages.SetActivePage((Pages.ActivePage() + step + count) % count);
  if (Pages.ActivePage() != kLogPage) Pages.Focus();  // the focus leaves the page now hidden
  return true;
}

}  // namespace vh::ui
