#pragma once
// The restore run: copies every backed-up file back to where it came from.
#include <string>

#include "log/message_log.h"
#include "operations/file_ops.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"

namespace vh {

class TRestore : public TFileOps {
 public:
  using TFileOps::TFileOps;
  // Incomplete when halted or some files were not restored (logged); Cancelled when the user stopped it.
  // Its questions go to the user through `boxes`.
  RunResult RunRestore(const std::string& backupFolder, bool quiet, MessageBoxes& boxes, TMessageLog& log);
  // Appends the files below a store path with their source paths, creating source folders.
  void ScanForRestore(PathPairs& copies, const std::string& path, const std::string& backupFolder,
                      const StringList& unreachable);

 private:
  void ScanFolder(PathPairs& copies, const std::string& mirror, const std::string& source);
};

// A store root entry that mirrors a drive: a folder named by a letter alone.
bool IsDriveFolder(const DirEntry& entry);

}  // namespace vh
