#pragma once
// How much room the backups of this computer and user take.
#include <string>

namespace vh {

// Total bytes of all files below the folder, sub-folders included; -1 when it is no folder.
double FolderSize(const std::string& folder);
// The part of the store's size that its earlier versions take; -1 when there are none.
double VersionsSize(const std::string& backupFolder);
// The size as the report shows it: " Unknown", "1.5 GB (1,610,612,736 bytes)", "1,023 bytes".
std::string SizeText(double size);
// The report of the size of the backup folder's store, with the part its earlier versions take
// when it has any; empty for an empty backup folder.
std::string BackupFolderSizeReport(const std::string& backupFolder);

}  // namespace vh
