// The Select page: the backup list and the backup folder.
#include "ui/main_form.h"

#include "list/backup_list_store.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/folder_size.h"
#include "store/store_paths.h"
#include "ui/main_form_constants.h"

namespace vh::ui {

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

bool TMainForm::LoadBackupList() { return listFile_.Load(BackupList, BackupFolder(), false, *grid_, startupNotes_); }

void TMainForm::SaveBackupList() {
  StringList notes;
  listFile_.Save(BackupList, BackupFolder(), *grid_, notes);
  LogNotes(notes);
}

void TMainForm::ChangeBtnClick() {
  CatchUpWithStore();
  const std::string old = BackupFolder();
  const bool listUnread = !old.empty() && !listFile_.Loaded();
  std::string message;
  const bool reachable = CheckBackupDrive(true, old, message, "");
  if (!reachable) UserBackupFolderEdit.SetText("");
  const std::string chosen = chooseBackupFolder ? chooseBackupFolder(BackupFolder()) : BackupFolder();
  if (chosen == BackupFolder()) return;
  if (reachable && listUnread && FileExists(BackupListFileName(old))) {
    // Deleting the old store would take with it a list that was never read.
    Log->AddLine("WARNING: The backup list of the previous backup folder could not be read; its backups are kept:",
                 true);
    Log->AddLine(BackupListFileName(old), false);
  } else if (reachable) {
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
  if (!reachable && listUnread) {
    Log->AddLine("WARNING: The backup list of the previous backup folder was never read; its entries are not on "
                 "this list.", false);
  }
  SaveSettings();
}

void TMainForm::InfoBtnClick() {
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // the hourglass
  ShowBackupFolderSize(BackupFolder());
  SetCursor(previous);
}

}  // namespace vh::ui
