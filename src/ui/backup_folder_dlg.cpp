#include "ui/backup_folder_dlg.h"

#include "control/shorten_path.h"
#include "platform/system.h"
#include "platform/win32/wide.h"
#include "store/store_paths.h"
#include "ui/folder_picker.h"

namespace vh::ui {
namespace {

constexpr int kWindowHelp = 22, kFolderBoxHelp = 3, kSearchBoxHelp = 28;
constexpr int kPathLabelWidth = 300;  // the most of a path the status line shows
const char* const kSelectQuestion =
    "Failing to select a backup folder will close Vesperhollow.\nDo you want to select a backup folder?";

// Arrow keys move within a group that starts at a control with WS_GROUP.
void StartGroup(Control& control) {
  SetWindowLongW(control.Handle(), GWL_STYLE, GetWindowLongW(control.Handle(), GWL_STYLE) | WS_GROUP);
}

}  // namespace

TBackupFolderDlg::TBackupFolderDlg(HWND owner) {
  CreateCentred(L"VesperhollowBackupFolder", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, "Vesperhollow - Select backup folder", 446, 231);
  if (owner) SetOwner(owner);
  SetWindowContextHelpId(Handle(), kWindowHelp);

  // Controls of a group box are placed from the box's top-left corner.
  constexpr int fx = 7, fy = 8, sx = 7, sy = 96;
  FolderBox.Create(*this, "Backup/Start of search folder", fx, fy, 433, 81);
  BackupFolderEdit.Create(*this, "", fx + 11, fy + 20, 409, 21, true);
  BrowseBtn.Create(*this, Button::Push, "&Browse...", fx + 344, fy + 48, 75, 25);
  SearchBox.Create(*this, "Search for previous backups", sx, sy, 346, 129);
  SelectedDriveRBtn.Create(*this, Button::Radio, "Selected &folder (as above)", sx + 8, sy + 24, 240, 17);
  LocalDrivesRBtn.Create(*this, Button::Radio, "&Local drives", sx + 8, sy + 48, 240, 17);
  AllDrivesRBtn.Create(*this, Button::Radio, "&All drives", sx + 8, sy + 72, 240, 17);
  ScanBtn.Create(*this, Button::Push, "&Search", sx + 258, sy + 16, 75, 25);
  StopBtn.Create(*this, Button::Push, "Sto&p", sx + 258, sy + 48, 75, 25);
  PathLabel.Create(*this, "", sx + 16, sy + 104, kPathLabelWidth + 16, 17);
  HelpBtn.Create(*this, Button::Push, "&Help", 363, 136, 75, 25);
  CancelBtn.Create(*this, Button::Push, "Cancel", 363, 168, 75, 25);
  OKBtn.Create(*this, Button::DefaultPush, "OK", 363, 200, 75, 25);
  SetDefaultButton(OKBtn.Handle());
  StartGroup(SelectedDriveRBtn);
  StartGroup(ScanBtn);

  // A control inside a box shows the box's help topic.
  SetHelpContext({&FolderBox, &BackupFolderEdit, &BrowseBtn}, kFolderBoxHelp);
  SetHelpContext({&SearchBox, &SelectedDriveRBtn, &LocalDrivesRBtn, &AllDrivesRBtn, &ScanBtn, &StopBtn, &PathLabel},
                 kSearchBoxHelp);

  BrowseBtn.onClick = [this] { BrowseBtnClick(); };
  SelectedDriveRBtn.onClick = [this] { SelectScope(SelectedDriveRBtn); };
  LocalDrivesRBtn.onClick = [this] { SelectScope(LocalDrivesRBtn); };
  AllDrivesRBtn.onClick = [this] { SelectScope(AllDrivesRBtn); };
  ScanBtn.onClick = [this] { ScanBtnClick(); };
  StopBtn.onClick = [this] { StopBtnClick(); };
  HelpBtn.onClick = [this] { HelpBtnClick(); };
  CancelBtn.onClick = [this] { CancelBtnClick(); };
  OKBtn.onClick = [this] { OKBtnClick(); };
  FormCreate();
}

// Stop starts enabled: pressed with no search running, it only says so.
void TBackupFolderDlg::FormCreate() {
  ChosenFolder.clear();
  LocalDrivesRBtn.SetChecked(true);
}

void TBackupFolderDlg::SetFolder(const std::string& folder) {
  ChosenFolder = folder;
  BackupFolderEdit.SetText(folder);
}

void TBackupFolderDlg::FormShow() {
  closing_ = false;
  PathLabel.SetText("");
  BackupFolderEdit.SetText(ChosenFolder);
  SetDialogFocus(OKBtn.Handle());  // given to it when the dialog is activated
}

void TBackupFolderDlg::SelectScope(Button& scope) {
  for (Button* b : {&SelectedDriveRBtn, &LocalDrivesRBtn, &AllDrivesRBtn}) b->SetChecked(b == &scope);
}

void TBackupFolderDlg::BrowseBtnClick() {
  const std::string path = PickFolder(Handle(), "Select Backup Folder", BackupFolderEdit.Text());
  if (!path.empty()) BackupFolderEdit.SetText(path);
}

void TBackupFolderDlg::SetSearching(bool searching) {
  searching_ = searching;
  for (Button* b : {&ScanBtn, &SelectedDriveRBtn, &LocalDrivesRBtn, &AllDrivesRBtn, &BrowseBtn, &HelpBtn, &CancelBtn,
                    &OKBtn}) {
    b->SetEnabled(!searching);
  }
  StopBtn.SetEnabled(searching);
  // The focus must not stay on a control that has just been disabled.
  if (searching) StopBtn.Focus();
  else if (StopBtn.Focused() || !GetFocus()) ScanBtn.Focus();
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TBackupFolderDlg::ScanBtnClick() {
  if (searching_) return;  // a click that was queued while the search ran
  stopRequested_ = false;
  SetSearching(true);
  std::string found;
  bool ok = false;
  if (SelectedDriveRBtn.Checked()) ok = FindBackupStore(BackupFolderEdit.Text(), found, *this);
  else ok = SearchDrives(AllDrivesRBtn.Checked(), found, *this);
  if (ok) {
    if (found.size() == 2) found += '\\';  // a drive root, as "C:\"
    ChosenFolder = found;
    BackupFolderEdit.SetText(found);
    PathLabel.SetText("Backups found.");
  } else {
    PathLabel.SetText("No backups found.");
    // Closing the dialog stops the search; the box would then speak of a dialog that is gone.
    if (!closing_) {
      Boxes().Show("No backups found in selected folder or drive for user \"" + LocalUserName() +
                       "\" using machine \"" + LocalComputerName() + "\".",
                   kAppCaption, kMbOk | kMbIconExclamation);
    }
  }
  SetSearching(false);
}

void TBackupFolderDlg::StopBtnClick() {
  // The running search notices the request at its next folder and then reports as it ends.
  SetSearching(false);
  PathLabel.SetText("Search stopped");
  stopRequested_ = true;
}

void TBackupFolderDlg::ShowSearching(const std::string& folder) {
  const int limit = Scale(kPathLabelWidth);
  PathLabel.SetText(ShortenPath(folder, limit, [this](const std::string& text) { return TextWidth(text); }));
  PathLabel.Repaint();
  ProcessPendingMessages();
}

int TBackupFolderDlg::AskToSelect(unsigned defaultButton) {
  return Boxes().Show(kSelectQuestion, kAppCaption, kMbYesNo | kMbIconExclamation | defaultButton);
}

void TBackupFolderDlg::OKBtnClick() {
  ChosenFolder = BackupFolderEdit.Text();
  if (!ChosenFolder.empty()) {
    Close(IDOK);
  } else if (AskToSelect(0) == kIdNo) {
    exitProgram(0);
  }
}

void TBackupFolderDlg::CancelBtnClick() {
  if (!ChosenFolder.empty()) {
    Close(IDCANCEL);
  } else if (AskToSelect(0) == kIdNo) {
    exitProgram(0);
  }
}

void TBackupFolderDlg::HelpBtnClick() { HelpViewer.ShowTopic(Handle(), kWindowHelp); }

bool TBackupFolderDlg::FormClose() {
  if (!ChosenFolder.empty()) return true;
  if (AskToSelect(kMbDefButton2) != kIdNo) return false;
  // The program cannot run without a backup folder: it ends once the dialog is gone.
  PostQuitMessage(0);
  return true;
}

void TBackupFolderDlg::Close(int result) {
  if (!FormClose()) return;
  closing_ = true;
  stopRequested_ = true;  // a search still running ends at its next folder
  EndModal(result);
}

LRESULT TBackupFolderDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && CancelBtn.Enabled()) CancelBtnClick();  // Escape
      return 0;
    case WM_CLOSE:
      Close(IDCANCEL);
      return 0;
    case WM_HELP: {
      const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
      HelpViewer.ShowTopic(Handle(), ContextAt(Handle(), *info, kWindowHelp));
      return TRUE;
    }
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace vh::ui
