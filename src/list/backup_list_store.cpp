#include "list/backup_list_store.h"

#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {

std::string BackupListFileName(const std::string& backupFolder) {
  return JoinPath(MirrorPath(backupFolder, ""), kConfigFileName);
}

bool SaveBackupList(const TSourceList& list, const std::string& backupFolder) {
  std::string message;
  if (!CheckBackupDrive(true, backupFolder, message, " Backup list changes can not be saved.")) return false;
  const std::string root = MirrorPath(backupFolder, "");
  if (!FolderExists(root)) ForceFolders(root);
  return list.SaveToFile(BackupListFileName(backupFolder));
}

bool LoadBackupList(TSourceList& list, const std::string& backupFolder, Grid& grid) {
  std::string message;
  if (!CheckBackupDrive(true, backupFolder, message, " Backup list can not be loaded.")) return false;
  const std::string fileName = BackupListFileName(backupFolder);
  bool loaded = false;
  if (FileExists(fileName)) {
    loaded = list.LoadFromFile(fileName);
  } else {
    list.Clear();
  }
  list.ShowInGrid(grid);
  return loaded;
}

}  // namespace vh
