#pragma once
// The purge run: removes the backups whose sources no longer exist.
#include <optional>
#include <string>

#include "log/message_log.h"
#include "operations/file_ops.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"

namespace vh {

class TPurge : public TFileOps {
 public:
  using TFileOps::TFileOps;
  // Incomplete when halted or some backups were not removed (logged); Cancelled when the user stopped it.
  // Its questions go to the user through `boxes`.
  RunResult RunPurge(const std::string& backupFolder, bool quiet, MessageBoxes& boxes, TMessageLog& log);
  // Appends the mirrors below `folder` whose source is gone (contents before their folder).
  void ScanForPurge(StringList& removals, const std::string& folder, const std::string& backupFolder,
                    const StringList& unreachable, bool removeUnreachable);

 private:
  void ScanFolder(StringList& removals, const std::string& mirror, const std::string& source);
  void Decide(StringList& removals, const DirEntry& entry, const std::string& mirror, const std::string& source,
              std::optional<bool> exists);
  // The run's settings, for the scan's folders.
  const StringList* unreachable_ = nullptr;
  bool removeUnreachable_ = false;
  std::string backupFolder_;
};

}  // namespace vh
