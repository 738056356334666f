#include "ui/main_form.h"

#include <shellapi.h>

#include "control/page_layout.h"
#include "control/window_events.h"
#include "platform/system.h"
#include "resources/resource_ids.h"
#include "ui/main_form_constants.h"
#include "ui/versions_dlg.h"

namespace vh::ui {

static_assert(kEndSessionLogOff == ENDSESSION_LOGOFF && kEndSessionCloseApp == ENDSESSION_CLOSEAPP);
static_assert(kTrayLeftUp == WM_LBUTTONUP && kTrayRightDown == WM_RBUTTONDOWN &&
              kTrayBalloonClick == NIN_BALLOONUSERCLICK);
static_assert(kKeyTab == VK_TAB && kKeyPageUp == VK_PRIOR && kKeyPageDown == VK_NEXT);

TMainForm::TMainForm(OperationWindows& operations, SettingsStore& settingsStore, FolderWatch& watch,
                     std::function<void()> showAbout)
    : Logic(*this, settingsStore, Boxes(), watch), operations_(operations), showAbout_(std::move(showAbout)) {
  CreateCentred(L"VesperhollowMain", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                WS_EX_CONTEXTHELP | WS_EX_CONTROLPARENT, "Vesperhollow 3.1", kDesignWidth, kDesignHeight);
  SetWindowHelp(kWindowHelp);
  // The client area keeps the design's height under any frame, and at least its width.
  SetSizeLimits(kDesignWidth, kDesignHeight);
  Pages.Create(*this, 0, 0, kDesignWidth, kDesignHeight, 70);
  for (const char* page : {"Control", "Select", "Log"}) Pages.AddPage(page);
  control_.Create(*this, Pages.Panel(kControlPage));
  select_.Create(*this, Pages.Panel(kSelectPage));
  grid_ = std::make_unique<ListViewGrid>(select_.StringGrid.Handle());
  LoadTreeImages();
  log_.Create(*this, Pages.Panel(kLogPage));
  logPage_ = std::make_unique<RichEditPage>(log_.RichEdit.Handle());
  Pages.onChange = [this](int page) {
    SetDefaultButton(okButtons_[page]->Handle());  // Enter presses the OK button of the page in view
    if (page == kLogPage) LogTabSheetShow();
  };
  Pages.SetActivePage(kControlPage);
  BackupTimer.Create(*this, kBackupTimerMs);
  BackupTimer.onTimer = [this] { BackupTimerTimer(); };
  taskbarCreated_ = SharedMessage(L"TaskbarCreated");

  popupMenu_.Add(kConfigure, "&Configure...");
  // Beside Configure: both open a window of the program's own, where the commands below act at once.
  popupMenu_.Add(kVersions, "Earlier &Versions...");
  popupMenu_.AddSeparator();
  popupMenu_.Add(kSuppress, "Su&ppress Backup");
  popupMenu_.Add(kBackupNow, "&Backup Now");
  popupMenu_.AddSeparator();
  popupMenu_.Add(kAbout, "&About");
  popupMenu_.AddSeparator();
  popupMenu_.Add(kExit, "&Exit");
  popupMenu_.SetDefault(kConfigure);
}

TMainForm::~TMainForm() {
  RemoveTrayIcon();
  TrayIcon.reset();
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

void TMainForm::PrepareControls() {
  select_.Dragging.SetCursor(IDC_DRAGFOLDER);
  Pages.SetActivePage(kControlPage);
  grid_->SetCell(0, 0, "Backup List");
  grid_->SetCell(1, 0, "Subs");
  grid_->SetColumnWidth(1, Scale(52));
  grid_->SetColumnWidth(2, Scale(300));
  CreateFolderTree();
}

void TMainForm::ShowTrayIcon() {
  if (!TrayIcon) TrayIcon = std::make_unique<TTrayIcon>(Handle());
  TrayIcon->ShowIcon();
}

void TMainForm::PlaceStored(int left, int top, int width) {
  // The width is kept in 96-dpi pixels, so that it means the same at every dpi; the height is fixed.
  PlaceOnScreen({left, top, Scale(width), Place().height}, OuterSize(kDesignWidth, kDesignHeight).cx);
}

WindowPlace TMainForm::CurrentPlace() const {
  const Box place = Place();
  return {place.left, place.top, Unscale(place.width)};
}

void TMainForm::ConfigureClick() {
  Show();
  BringToFront();
  // Already open on the Log page, the window brings the newest line into view as a page change would.
  if (Pages.ActivePage() == kLogPage) LogTabSheetShow();
}

void TMainForm::BalloonClick() {
  ConfigureClick();
  Pages.SetActivePage(kLogPage);
}

std::optional<int> TMainForm::ChooseKeepDays(const std::string& backupFolder, int keepDays) {
  TVersionsDlg dialog(Handle());
  return dialog.Choose(backupFolder, keepDays);
}

void TMainForm::HelpBtnClick() { HelpViewer.ShowContents(Handle()); }

void TMainForm::ShowPopupMenu() {
  popupMenu_.SetChecked(kSuppress, control_.SuppressBackupChk.Checked());
  const UINT item = popupMenu_.Track(*this);
  switch (item) {
    case kConfigure: ConfigureClick(); break;
    case kVersions: EarlierVersionsClick(); break;
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
  const int growth = clientWidth - kDesignWidth;
  Pages.SetBounds(0, 0, clientWidth, kDesignHeight);
  const int pageWidth = ClientSize(Pages.Panel(kControlPage)).cx;
  control_.Layout(growth, pageWidth);
  select_.Layout(growth, pageWidth);
  grid_->SetColumnWidth(0, Scale(ListColumnWidth(w, select_.SplitterLeft())));
  grid_->FitLastColumn();
  log_.Layout(growth, pageWidth);
  // Controls that moved into the newly shown part of a page are painted there at once.
  RepaintAll();
}

void TMainForm::DpiChanged() {
  LoadTreeImages();
  grid_->SetColumnWidth(1, Scale(52));
  FormResize();
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    if (const auto event = TrayEventOf(static_cast<unsigned>(lParam))) Logic.Tray(*event);
    return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    Logic.TaskbarCreated();
    return 0;
  }
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        // The close button, and a double click on the window's icon too, only hide the window:
        // the program ends through Exit or the end of the session.
        Hide();
        return 0;
      }
      break;
    case WM_CLOSE:
      FormCloseQuery(EndCause::Closed);
      return TRUE;
    case WM_QUERYENDSESSION:
      FormCloseQuery(EndCauseOf(static_cast<unsigned long>(lParam)));
      return TRUE;
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
      Hide();
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

bool TMainForm::PreTranslateKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd == log_.RichEdit.Handle() && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN)) {
    // The log takes every key it is sent, but only shows text: Enter and Esc mean the window's.
    if (msg.wParam == VK_ESCAPE) Hide();
    else log_.OKBtn4.Click();
    return true;
  }
  if (!KeyHeld(VK_CONTROL)) return false;
  const auto page = PageAfterKey(static_cast<unsigned>(msg.wParam), KeyHeld(VK_SHIFT), Pages.ActivePage(),
                                 Pages.PageCount());
  if (!page) return false;
  Pages.SetActivePage(*page);
  if (*page != kLogPage) Pages.Focus();  // the focus leaves the page now hidden; the log takes it itself
  return true;
}

}  // namespace vh::ui
