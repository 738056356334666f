#include "store/drive_checks.h"

#include <algorithm>
#include <cctype>

#include "common/text_lines.h"
#include "platform/system.h"
#include "store/store_paths.h"

namespace vh {
namespace {

void CollectUnreachable(const TSourceList& list, StringList& drives) {
  drives.clear();
  for (int i = 0; i < list.Count(); ++i) {
    // An entry the store cannot hold (a network path among them) is refused by the run itself;
    // asking for its drive could only hold the run up on a network time-out.
    if (!IsStorablePath(list.Item(i)->Path)) continue;
    const std::string drive = DrivePart(list.Item(i)->Path);
    if (!OnDrives(drives, drive) && !DriveReachable(drive)) drives.push_back(drive);
  }
}

std::string SourceDrivesMessage(const StringList& drives) {
  std::string message = drives.size() == 1 ? "Source drive " : "Source drives ";
  for (size_t i = 0; i < drives.size(); ++i) {
    message += drives[i];
    if (drives.size() >= 2 && i + 2 < drives.size()) message += " , ";
    if (drives.size() >= 2 && i + 2 == drives.size()) message += " and ";
  }
  return message + " not accessible.";
}

}  // namespace

bool DriveReachable(const std::string& drivePart) { return FolderExists(drivePart); }

bool OnDrives(const StringList& drives, const std::string& path) {
  const std::string drive = DrivePart(path);
  return std::any_of(drives.begin(), drives.end(), [&](const std::string& d) { return SameText(d, drive); });
}

bool CheckBackupDrive(MessageBoxes* ask, const std::string& backupFolder, std::string& message,
                      const std::string& suffix) {
  if (backupFolder.empty()) return false;
  const std::string drive = DrivePart(backupFolder);
  const std::string text = "Backup drive (" + drive + ") not accessible." + suffix;
  while (!DriveReachable(drive)) {
    if (!ask || ask->Show(text, kAppCaption, kBackupDriveBoxStyle) != kIdRetry) {
      message = text;
      return false;
    }
  }
  message.clear();
  return true;
}

bool CheckSourceDrives(MessageBoxes* ask, int& answer, const TSourceList& list, StringList& drives,
                       std::string& message) {
  message.clear();
  answer = 0;
  for (;;) {
    CollectUnreachable(list, drives);
    if (drives.empty()) break;
    message = SourceDrivesMessage(drives);
    if (!ask) break;
    answer = ask->Show(message, kAppCaption, kSourceDrivesBoxStyle);
    if (answer != kIdRetry) break;
  }
  if (!drives.empty()) return false;
  message.clear();
  answer = 0;
  return true;
}

bool CheckStoreDrives(MessageBoxes* ask, int& answer, const std::string& backupFolder, StringList& drives,
                      std::string& message) {
  TSourceList stored;
  std::vector<DirEntry> entries;
  Files().List(MirrorPath(backupFolder, ""), entries);
  for (const DirEntry& entry : entries) {
    // Only the one-letter drive folders are backups; the store's own files and folders are not.
    const bool driveFolder = (entry.attributes & kAttrDirectory) && entry.name.size() == 1 &&
                             std::isalpha(static_cast<unsigned char>(entry.name[0]));
    if (driveFolder) stored.Add(entry.name + ":", false, 0);
  }
  return CheckSourceDrives(ask, answer, stored, drives, message);
}

}  // namespace vh
