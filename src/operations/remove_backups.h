#pragma once
// Removal of the backups that the user's choices made obsolete.
#include <functional>
#include <string>

#include "list/source_list.h"
#include "log/message_log.h"
#include "operations/file_ops.h"
#include "operations/store_lock.h"

namespace vh {

class TDelete : public TFileOps {
 public:
  using TFileOps::TFileOps;
  // Each is Incomplete when something was not removed (logged), Cancelled when the user stopped it.

  // The mirrors of entries [first, first + count) and, for folders, their parents up to and
  // including the backup folder when they became empty; with them their earlier versions. Incomplete at once for a range outside the list.
  RunResult RemoveEntryBackups(const TSourceList& list, int first, int count, const std::string& backupFolder,
                               bool quiet, TMessageLog& log);
  // The whole store of a backup folder being given up, then its empty parent folders of the store.
  RunResult RemoveAllBackups(const std::string& backupFolder, bool quiet, TMessageLog& log);
  // Every sub-folder of an entry's mirror folder in the store of `backupFolder`; the files directly
  // in it stay. Incomplete at once when the mirror folder does not exist.
  RunResult RemoveSubfolderBackups(const std::string& backupFolder, const std::string& mirrorFolder, bool quiet,
                                   TMessageLog& log);

 private:
  void CollectVersions(StringList& removals, const std::string& backupFolder, const std::string& mirror);
  // Removes what was collected, then lets go of the store's `lock`.
  RunResult RemoveCollected(const StringList& removals, bool quiet, TMessageLog& log, StoreLock& lock,
                            const std::function<void()>& cleanUp = {});
};

}  // namespace vh
