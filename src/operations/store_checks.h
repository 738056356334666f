#pragma once
// The checks a restore or a purge starts with: the backup drive, then the drives the store mirrors.
#include <string>

#include "common/string_list.h"
#include "log/message_log.h"

namespace vh {

enum class StoreDrives {
  Reachable,  // all there
  Ignored,    // the user goes on without `unreachable`; `message` names them
  Halted,     // the backup drive is not there (logged)
  Aborted,    // the user stopped at the drives question (logged with `abortText`)
};

StoreDrives CheckDrivesOfStore(const std::string& backupFolder, TMessageLog& log, const std::string& abortText,
                               StringList& unreachable, std::string& message);

}  // namespace vh
