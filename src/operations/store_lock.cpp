#include "operations/store_lock.h"

#include "operations/file_ops.h"
#include "platform/system.h"
#include "store/store_paths.h"

namespace vh {

std::string StoreLockPath(const std::string& backupFolder) {
  const std::string work = WorkFolderOf(backupFolder);
  return work.empty() ? work : JoinPath(work, kStoreLockName);
}

bool StoreLock::Take(const std::string& backupFolder, TMessageLog& log) {
  Release();
  work_ = WorkFolderOf(backupFolder);
  if (work_.empty()) return true;
  const std::string root = MirrorPath(backupFolder, "");
  madeRoot_ = FolderExists(root) ? std::string() : root;
  bool inUse = false;
  // A second try: the run that held it last may have removed the emptied work folder just then.
  for (int attempt = 0; attempt < 2 && !held_ && !inUse; ++attempt) {
    ForceFolders(work_);
    held_ = Files().OpenLockFile(JoinPath(work_, kStoreLockName), inUse);
  }
  if (!inUse) return true;
  log.AddLine(kStoreInUse, false);
  return false;
}

void StoreLock::Release() {
  if (!held_) return;
  held_.reset();
  Files().RemoveFolder(work_);
  // A store the lock itself made, for a run that then wrote nothing there (a restore or purge of a
  // folder holding no store), goes again: the store root, its computer and marker folders, if empty.
  std::string folder = madeRoot_;
  for (int level = 0; level < 3 && !folder.empty() && Files().RemoveFolder(folder); ++level) {
    folder = FolderOf(folder);
    if (!folder.empty()) folder.pop_back();  // its final "\"
  }
  madeRoot_.clear();
}

}  // namespace vh
