#pragma once
// The backup list kept as "Config.txt" in the store root of the backup folder.
#include <string>

#include "list/source_list.h"
#include "platform/grid.h"

namespace vh {

std::string BackupListFileName(const std::string& backupFolder);
// Saves the list once the backup drive can be reached (the user may retry or cancel); false
// when nothing was saved.
bool SaveBackupList(const TSourceList& list, const std::string& backupFolder);
// Loads the list and shows it in the grid; true when a list file was found and read. When the
// drive stays unreachable the list and the grid are left as they are.
bool LoadBackupList(TSourceList& list, const std::string& backupFolder, Grid& grid);

}  // namespace vh
