#pragma once
// One run at a time in a store. Every run that writes or deletes there holds the store's lock
// file from its start to its end: a run of another session on the same store (a remote session
// beside the console) would otherwise fill and clear the same work folder.
#include <memory>
#include <string>

#include "log/message_log.h"
#include "platform/file_system.h"

namespace vh {

inline const char* const kStoreInUse =
    "WARNING: Process halted. The backup folder is in use by another run of Vesperhollow.";

// The lock file of a backup folder's store: in its work folder, which no mirror, restore or purge
// ever looks into. Empty for an unset backup folder.
std::string StoreLockPath(const std::string& backupFolder);

class StoreLock {
 public:
  StoreLock() = default;
  ~StoreLock() { Release(); }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  // Takes the store of `backupFolder`; false, with the reason logged, when another run holds it.
  // A store where the file cannot be made at all (read-only media, which a restore still reads)
  // is used without it.
  bool Take(const std::string& backupFolder, TMessageLog& log);
  // Lets go: the file goes, and the work folder with it when nothing else is left there.
  void Release();
  // The work folder that holds the lock file; empty when nothing is held.
  std::string WorkFolder() const { return held_ ? work_ : std::string(); }

 private:
  std::unique_ptr<FileSystem::FileLock> held_;
  std::string work_;
  std::string madeRoot_;  // the store root, when taking the lock made it
};

}  // namespace vh
