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
  damaged_ = false;
  fileText_.clear();
  toldUnsaved_ = false;
  std::string message;
  if (!CheckBackupDrive(ask ? &Boxes() : nullptr, backupFolder, message, " Backup list can not be loaded.")) {
    if (!backupFolder.empty()) notes.push_back("WARNING: " + message + " It is loaded once the drive is back.");
    return false;
  }
  const bool read = Read(list, notes);
  list.ShowInGrid(grid);
  return read;
}

void TBackupListFile::CatchUp(TSourceList& list, const std::string& backupFolder, Grid& grid, StringList& notes) {
  std::string message;
  if (!CheckBackupDrive(nullptr, backupFolder, message, "")) return;
  if (backupFolder == folder_ && !read_ && Read(list, notes)) list.ShowInGrid(grid);
  // Edits made while the drive was away, or a list not yet in the store of a new backup folder.
  if (backupFolder != folder_ || (read_ && list.Text() != fileText_)) Save(list, backupFolder, false, grid, notes);
}

bool TBackupListFile::Read(TSourceList& list, StringList& notes) {
  const std::string fileName = BackupListFileName(folder_);
  if (!FileExists(fileName)) return false;
  DirEntry entry;
  std::string bytes, damage;
  std::vector<TSource> entries;
  if (Files().Stat(fileName, entry) && entry.size > kMaxListFileBytes) {
    damage = "it is too large to be a backup list";
  } else if (!Files().ReadFile(fileName, bytes)) {
    notes.push_back("WARNING: The backup list could not be read; it is read again before the next backup:");
    notes.push_back(fileName);
    return false;
  } else {
    entries = ParseListText(bytes, damage);
  }
  TSourceList fromFile;
  fromFile.AddAll(entries);
  fileText_ = fromFile.Text();
  list.AddAll(std::move(entries));
  read_ = true;
  damaged_ = !damage.empty();
  if (damaged_) {
    notes.push_back("WARNING: The backup list file is damaged: " + damage + ". It is kept until the list is changed:");
    notes.push_back(fileName);
  }
  return true;
}

bool TBackupListFile::Save(TSourceList& list, const std::string& backupFolder, bool ask, Grid& grid,
                           StringList& notes) {
  std::string message;
  if (!CheckBackupDrive(ask ? &Boxes() : nullptr, backupFolder, message, " Backup list changes can not be saved.")) {
    if (!ask && !backupFolder.empty() && !toldUnsaved_) {
      notes.push_back("WARNING: " + message + " They are saved once the drive is back.");
      toldUnsaved_ = true;
    }
    return false;
  }
  if (backupFolder != folder_) {
    folder_ = backupFolder;
    read_ = true;
    damaged_ = false;
    fileText_.clear();
  }
  if (!read_ && Read(list, notes)) list.ShowInGrid(grid);
  const std::string fileName = BackupListFileName(backupFolder);
  // Only a file known to be absent may be written without being read: one that cannot be looked at
  // (a network hiccup) may well be there.
  const bool there = !KnownAbsent(fileName);
  // Never less over a file than it holds: one not read, or a damaged one the user left alone.
  if (there && (!read_ || (damaged_ && list.Text() == fileText_))) return false;
  const std::string root = MirrorPath(backupFolder, "");
  if (!FolderExists(root)) ForceFolders(root);
  // What a damaged file held beyond what could be read goes aside once, before the list first
  // replaces it; one the user has deleted since needs no keeping.
  if (damaged_ && there && !KeepDamagedAside(fileName, notes)) return false;
  damaged_ = false;
  if (!list.SaveToFile(fileName)) {
    notes.push_back("WARNING: The backup list could not be saved:");
    notes.push_back(fileName);
    return false;
  }
  read_ = true;
  fileText_ = list.Text();
  toldUnsaved_ = false;
  return true;
}

bool TBackupListFile::KeepDamagedAside(const std::string& fileName, StringList& notes) {
  const std::string root = MirrorPath(folder_, "");
  // A file kept aside by an earlier damage is never written over.
  std::string aside = JoinPath(root, DamagedConfigFileName(1));
  for (int n = 2; FileExists(aside); ++n) aside = JoinPath(root, DamagedConfigFileName(n));
  if (Files().Copy(fileName, aside) != CopyResult::Ok) {
    // A copy cut off part-way may leave a piece under the name, which was free: it goes, or every
    // later save would add one more.
    Files().SetAttributes(aside, kAttrArchive);
    Files().Delete(aside);
    notes.push_back("WARNING: The backup list could not be saved: its damaged file could not be kept as " + aside +
                    ". The damaged file is left as it is and the list is saved once it can be kept.");
    return false;
  }
  // Kept aside, a read-only list file is the program's own again; the copy need not stay read-only.
  const uint32_t attributes = Files().Attributes(fileName);
  if (attributes != kAttrInvalid && (attributes & kAttrReadOnly)) {
    Files().SetAttributes(aside, attributes & ~kAttrReadOnly);
    Files().SetAttributes(fileName, attributes & ~kAttrReadOnly);
  }
  notes.push_back("WARNING: The damaged backup list file was kept as " + aside);
  return true;
}

}  // namespace vh
