#pragma once
// Whether the drives an operation needs can be reached, asking the user to retry when allowed.
#include <string>

#include "common/string_list.h"
#include "list/source_list.h"
#include "platform/message_boxes.h"

namespace vh {

constexpr unsigned kBackupDriveBoxStyle = 53;   // Retry/Cancel, exclamation icon
constexpr unsigned kSourceDrivesBoxStyle = 306; // Abort/Retry/Ignore, exclamation, Retry default

// A drive is reachable when its drive part exists as a folder.
bool DriveReachable(const std::string& drivePart);
// Whether the drive part of `path` is one of `drives`, whatever the letter case.
bool OnDrives(const StringList& drives, const std::string& path);

// `ask`: the boxes through which the user may retry; null asks nothing.

// True when the backup folder's drive can be reached (message emptied). False with the message
// "Backup drive (X:) not accessible." + suffix, or, for an empty backup folder, at once with the
// message untouched and no box.
bool CheckBackupDrive(MessageBoxes* ask, const std::string& backupFolder, std::string& message,
                      const std::string& suffix);
// True when every drive of the list can be reached. Otherwise false with the message, the
// unreachable drives (first met first, each once) and the user's last answer (0: no box shown).
bool CheckSourceDrives(MessageBoxes* ask, int& answer, const TSourceList& list, StringList& drives,
                       std::string& message);
// The same for the drives whose mirrors lie in the backup store.
bool CheckStoreDrives(MessageBoxes* ask, int& answer, const std::string& backupFolder, StringList& drives,
                      std::string& message);

}  // namespace vh
