#pragma once
// The purge run: removes the backups whose sources no longer exist.
#include <string>

#include "log/message_log.h"
#include "operations/file_ops.h"

namespace vh {

class TPurge : public TFileOps {
 public:
  using TFileOps::TFileOps;
  // 0 done, 1 halted or some backups not removed (logged), 2 cancelled or aborted by the user.
  int RunPurge(const std::string& backupFolder, bool quiet, TMessageLog& log);
  // Appends the mirrors below `folder` whose source is gone (contents before their folder).
  void ScanForPurge(StringList& removals, const std::string& folder, const std::string& backupFolder,
                    const StringList& unreachable, bool removeUnreachable);
};

}  // namespace vh
