#include "control/list_edit.h"

#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {
namespace {

constexpr unsigned kYesNoQuestion = kMbYesNo | kMbIconQuestion | kMbDefButton2;
constexpr unsigned kOkCancelWarning = kMbOkCancel | kMbIconExclamation | kMbDefButton2;
constexpr const char* kUserCancelled = "User cancelled operation.";

// A heading and the path it is about.
void LogEntry(TMessageLog& log, const char* heading, const std::string& path) {
  log.AddLine(heading, true);
  log.AddLine(path, false);
}

}  // namespace

void AddSelection(TSourceList& list, TMessageLog& log, SelectPageView& view) {
  const std::string path = view.SelectedTreePath();
  if (path.empty()) return;
  if (!IsStorablePath(path)) {
    LogEntry(log, "WARNING: The following path cannot be backed up and was not added to the backup list:", path);
    return;
  }
  const uint32_t attributes = Files().Attributes(path);
  if (attributes == kAttrInvalid) {
    // Gone since the tree showed it: listing it would back up nothing and say nothing.
    LogEntry(log, "WARNING: The following file or folder no longer exists and was not added to the backup list:", path);
    view.RefreshBranchOf(path);
    return;
  }
  const bool folder = (attributes & kAttrDirectory) != 0;
  const int index = list.Add(path, folder, folder ? 1 : 0);
  view.ShowList();
  if (index < 0) return;
  if (folder) {
    LogEntry(log, "The following folder was added to the backup list:", path + "  (incl. sub-folders)");
  } else {
    LogEntry(log, "The following file was added to the backup list:", path);
  }
  view.MarkPath(path);
  // Saved before the row is set: a list not read yet is read by the save, and its entries may
  // come in ahead of this one.
  view.SaveBackupList(false);
  view.SetCurrentRow(list.IndexOf(path) + 1);
}

void RemoveSelectedEntry(TSourceList& list, TMessageLog& log, SelectPageView& view) {
  if (list.Count() == 0) return;
  const TSource* entry = list.Item(view.CurrentRow() - 1);
  if (!entry) return;
  const std::string path = entry->Path;
  if (Boxes().Show("This will remove any previous backups of the selected file or folder.\nIs this OK?",
                   kAppCaption, kYesNoQuestion) != kIdYes) {
    return;
  }
  // While the question was open a timed backup may have read entries into the list ahead of this
  // one: the entry is found again by its path, never taken by a row number gone stale.
  const int index = list.IndexOf(path);
  if (index < 0) return;
  const BusyScope busy(view, kRemovingBackups);
  LogEntry(log, "Removal of the following files and folders from the backup list was initiated:", path);
  const RunResult result = view.RemoveEntryBackups(list, index, view.QuietOperations(), log);
  if ((result == RunResult::Incomplete &&
       Boxes().Show("Vesperhollow could not remove associated backups. Press OK to continue operation.", kAppCaption,
                    kOkCancelWarning) != kIdOk) ||
      result == RunResult::Cancelled) {
    log.AddLine(kUserCancelled, false);
    return;
  }
  view.UnmarkPath(path);
  list.Delete(index);
  view.ShowList();
  view.SaveBackupList(false);
}

void ToggleSubfolders(TSourceList& list, TMessageLog& log, SelectPageView& view) {
  std::string message;
  if (!CheckBackupDrive(&Boxes(), view.BackupFolder(), message, "")) return;
  TSource* entry = list.Item(view.CurrentRow() - 1);
  if (!entry || entry->IsFolder == 0) return;
  if (entry->Subs && Boxes().Show("This will remove any previous backups of the selected sub-folder\nIs this OK?",
                                  kAppCaption, kYesNoQuestion) != kIdYes) {
    return;
  }
  {
    if (entry->Subs) {
      const BusyScope busy(view, kRemovingBackups);
      LogEntry(log, "Sub-folder backup removal initiated for the following folder:", entry->Path);
      const RunResult result =
          view.RemoveSubfolderBackups(MirrorPath(view.BackupFolder(), entry->Path), view.QuietOperations(), log);
      if (result == RunResult::Cancelled) return;
      if (result == RunResult::Incomplete &&
          Boxes().Show("Vesperhollow could not remove all sub-folder backups. Press OK to continue operation.",
                       kAppCaption, kOkCancelWarning) != kIdOk) {
        log.AddLine(kUserCancelled, false);
        return;
      }
      entry->Subs = false;
    } else {
      LogEntry(log, "Sub-folders of the following folder to be included for backup:", entry->Path);
      entry->Subs = true;
    }
    view.ShowList();
  }
  view.SaveBackupList(true);
}

SubDirButtonState SubDirButtonFor(const TSourceList& list, int currentRow) {
  const TSource* entry = list.Item(currentRow - 1);
  if (!entry || entry->IsFolder == 0) return {"Subs", false};
  return {entry->Subs ? "No Subs" : "Subs", true};
}

}  // namespace vh
