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
}

}  // namespace vh
