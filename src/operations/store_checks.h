#pragma once
// The checks a restore or a purge starts with: the backup drive, the store taken with `lock`, then
// the drives the store mirrors.
#include <string>

#include "common/string_list.h"
#include "log/message_log.h"
#include "operations/store_lock.h"
#include "platform/message_boxes.h"

namespace vh {

enum class StoreDrives {
  Reachable,  // all there
  Ignored,    // the user goes on without `unreachable`; `message` names them
  Halted,     // the backup drive is not there, or another run holds the store (logged)
  Aborted,    // the user stopped at the drives question (logged with `abortText`)
};

// The questions go to the user through `boxes`.
StoreDrives CheckDrivesOfStore(const std::string& backupFolder, MessageBoxes& boxes, TMessageLog& log,
                               const std::string& abortText, StringList& unreachable, std::string& message,
                               StoreLock& lock);

}  // namespace vh
