#include "operations/purge.h"

#include "operations/restore.h"
#include "operations/store_checks.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {
namespace {
constexpr const char* kNoSource =
    "WARNING: The following backups have no source path to compare with and were left alone:";
constexpr const char* kNotRead = "WARNING: The following backup folders could not be read and were not purged:";
}  // namespace

void TPurge::ScanForPurge(StringList& removals, const std::string& folder, const std::string& backupFolder,
                          const StringList& unreachable, bool removeUnreachable) {
  view_.ProcessMessages();
  if (Cancelled || !FolderExists(backupFolder)) return;
  // Store root entries other than drive folders have no source: they are left alone. Below the
  // drive folders every name is a backup, "Config.txt" and "Log.txt" too.
  const bool storeRoot = folder == MirrorPath(backupFolder, "");
  std::vector<DirEntry> entries;
  if (!Files().List(folder, entries) && !storeRoot && FolderExists(backupFolder)) Skip(kNotRead, folder);
  for (const DirEntry& entry : entries) {
    if (Cancelled) break;
    if (storeRoot && !IsDriveFolder(entry)) continue;
    const std::string mirror = JoinPath(folder, entry.name);
    const std::string source = SourcePathOf(backupFolder, mirror);
    if (source.empty()) {
      Skip(kNoSource, mirror);  // a name that maps nowhere safe is never taken for a gone source
      continue;
    }
    const bool reachable = !OnDrives(unreachable, source);
    const bool exists = (entry.attributes & kAttrDirectory) ? FolderExists(source) : FileExists(source);
    // A drive that went away after the check is left alone: its sources only look deleted.
    if (reachable && !exists && !DriveReachable(DrivePart(source))) continue;
    if (entry.attributes & kAttrDirectory) {
      if (reachable && exists) {
        if (!(entry.attributes & kAttrReparsePoint)) {
          ScanForPurge(removals, mirror, backupFolder, unreachable, removeUnreachable);
        }
      } else if (reachable || removeUnreachable) {
        CollectTree(removals, mirror);
      }
    } else if (reachable ? !exists : removeUnreachable) {
      removals.push_back(mirror);
    }
  }
}

int TPurge::RunPurge(const std::string& backupFolder, bool quiet, TMessageLog& log) {
  StartRun();
  std::string message;
  StringList unreachable;
  bool removeUnreachable = false;
  switch (CheckDrivesOfStore(backupFolder, log, " User aborted purge.", unreachable, message)) {
    case StoreDrives::Halted: LastRunHalted = true; return 1;
    case StoreDrives::Aborted: return 2;  // nothing was done
    case StoreDrives::Reachable: break;
    case StoreDrives::Ignored:
      removeUnreachable =
          Boxes().Show("Do you want Vesperhollow to remove backups of files and folders\n"
                       "originally on the inaccessible drives?",
                       kAppCaption, kMbYesNo | kMbIconQuestion | kMbDefButton2) == kIdYes;
      log.AddLine(message + (removeUnreachable ? " User selected to remove associated backups."
                                               : " User selected not to remove associated backups."),
                  false);
      break;
  }

  StringList removals, failures;
  Cancelled = 0;
  ShowPreparing(quiet, "Vesperhollow purging...", "Preparing to remove backups...");
  ClearWorkFolder(backupFolder);  // what a backup cut off before left there
  ScanForPurge(removals, MirrorPath(backupFolder, ""), backupFolder, unreachable, removeUnreachable);
  RemoveFiles(removals, failures, quiet);
  // The backup drive gone during the scan stops it short: what is left was not gone through.
  if (!DriveReachable(DrivePart(backupFolder))) {
    log.AddLine("WARNING: Process halted. Backup drive (" + DrivePart(backupFolder) + ") not accessible.", false);
    LastRunHalted = true;
  }
  return Finish(log, failures, "WARNING: The following backups could not be purged:");
}

}  // namespace vh
