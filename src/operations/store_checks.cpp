#include "operations/store_checks.h"

#include "platform/message_boxes.h"
#include "store/drive_checks.h"

namespace vh {

StoreDrives CheckDrivesOfStore(const std::string& backupFolder, MessageBoxes& boxes, TMessageLog& log,
                               const std::string& abortText, StringList& unreachable, std::string& message,
                               StoreLock& lock) {
  message.clear();
  if (!CheckBackupDrive(&boxes, backupFolder, message, "")) {
    log.AddLine(message + " Process halted.", false);
    return StoreDrives::Halted;
  }
  if (!lock.Take(backupFolder, log)) return StoreDrives::Halted;
  int answer = 0;
  if (CheckStoreDrives(&boxes, answer, backupFolder, unreachable, message)) return StoreDrives::Reachable;
  if (answer == kIdIgnore) return StoreDrives::Ignored;
  log.AddLine(message + abortText, false);
  return StoreDrives::Aborted;
}

}  // namespace vh
