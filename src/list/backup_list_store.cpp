#include "list/backup_list_store.h"

#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {

std::string BackupListFileName(const std::string& backupFolder) {
  return JoinPath(MirrorPath(backupFolder, ""), kConfigFileName);
}

bool TBackupListFile::Load(TSourceList& list, const std::string& backupFolder, bool ask, Grid& grid,
                           StringList& notes) {
  folder_ = backupFolder;
  read_ = false;
  keptText_.reset();
  std::string message;
  if (!CheckBackupDrive(ask, backupFolder, message, " Backup list can not be loaded.")) {
    if (!backupFolder.empty()) notes.push_back("WARNING: " + message + " It is loaded once the drive is back.");
    return false;
  }
  const bool read = Read(list, notes);
  list.ShowInGrid(grid);
  return read;
}

void TBackupListFile::CatchUp(TSourceList& list, const std::string& backupFolder, Grid& grid, StringList& notes) {
  std::string message;
  if (read_ || backupFolder != folder_ || !CheckBackupDrive(false, backupFolder, message, "")) return;
  if (Read(list, notes)) list.ShowInGrid(grid);
}

bool TBackupListFile::Read(TSourceList& list, StringList& notes) {
  const std::string fileName = BackupListFileName(folder_);
  if (!FileExists(fileName)) return false;
  DirEntry entry;
  std::string bytes, damage;
  if (Files().Stat(fileName, entry) && entry.size > kMaxListFileBytes) {
    damage = "it is too large to be a backup list";
  } else if (!Files().ReadFile(fileName, bytes)) {
    notes.push_back("WARNING: The backup list could not be read; it is read again before the next backup:");
    notes.push_back(fileName);
    return false;
  } else {
    list.AddAll(ParseListText(bytes, damage));
  }
  read_ = true;
  if (!damage.empty()) {
    keptText_ = list.Text();
    notes.push_back("WARNING: The backup list file is damaged: " + damage + ". It is kept until the list is changed:");
    notes.push_back(fileName);
  }
  return true;
}

bool TBackupListFile::Save(TSourceList& list, const std::string& backupFolder, Grid& grid, StringList& notes) {
  std::string message;
  if (!CheckBackupDrive(true, backupFolder, message, " Backup list changes can not be saved.")) return false;
  if (backupFolder != folder_) {
    folder_ = backupFolder;
    read_ = true;
    keptText_.reset();
  }
  if (!read_ && Read(list, notes)) list.ShowInGrid(grid);
  const std::string fileName = BackupListFileName(backupFolder);
  // Never less over a file than it holds: one not read, or a damaged one the user left alone.
  if ((!read_ && FileExists(fileName)) || (keptText_ && list.Text() == *keptText_)) return false;
  const std::string root = MirrorPath(backupFolder, "");
  if (!FolderExists(root)) ForceFolders(root);
  if (keptText_) {
    // What the damaged file held beyond what could be read goes aside, never lost to the new list.
    // A file kept aside by an earlier damage is never written over.
    std::string aside = JoinPath(root, DamagedConfigFileName(1));
    for (int n = 2; FileExists(aside); ++n) aside = JoinPath(root, DamagedConfigFileName(n));
    if (Files().Copy(fileName, aside) != CopyResult::Ok) {
      notes.push_back("WARNING: The backup list could not be saved: its damaged file could not be kept as " + aside);
      return false;
    }
    notes.push_back("WARNING: The damaged backup list file was kept as " + aside);
  }
  if (!list.SaveToFile(fileName)) {
    notes.push_back("WARNING: The backup list could not be saved:");
    notes.push_back(fileName);
    return false;
  }
  read_ = true;
  keptText_.reset();
  return true;
}

}  // namespace vh
