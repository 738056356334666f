#include "operations/purge.h"

#include <optional>

#include "operations/keep_versions.h"
#include "operations/restore.h"
#include "operations/store_checks.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/name_index.h"
#include "store/store_paths.h"

namespace vh {
namespace {
constexpr const char* kNoSource =
    "WARNING: The following backups have no source path to compare with and were left alone:";
constexpr const char* kNotRead = "WARNING: The following backup folders could not be read and were not purged:";
constexpr const char* kSourceNotRead =
    "WARNING: The following folders could not be read; their backups were kept:";
}  // namespace

void TPurge::ScanForPurge(StringList& removals, const std::string& folder, const std::string& backupFolder,
                          const StringList& unreachable, bool removeUnreachable) {
  unreachable_ = &unreachable;
  removeUnreachable_ = removeUnreachable;
  backupFolder_ = backupFolder;
  if (folder != MirrorPath(backupFolder, "")) {
    const std::string source = SourcePathOf(backupFolder, folder);
    if (source.empty()) Skip(kNoSource, folder);
    else ScanFolder(removals, folder, source);
    return;
  }
  CheckStop();
  if (Cancelled || !FolderExists(backupFolder)) return;
  // Store root entries other than drive folders have no source: they are left alone.
  std::vector<DirEntry> entries;
  if (!Files().List(folder, entries)) Skip(kNotRead, folder);
  for (const DirEntry& entry : entries) {
    if (Cancelled) break;
    if (IsDriveFolder(entry)) Decide(removals, entry, JoinPath(folder, entry.name), entry.name + ":", std::nullopt);
  }
}

// Below the drive folders every name is a backup, "Config.txt" and "Log.txt" too. The mirror
// folder is listed once and so is its source folder, and each entry is decided from the two.
void TPurge::ScanFolder(StringList& removals, const std::string& mirror, const std::string& source) {
  CheckStop();
  if (Cancelled || !FolderExists(backupFolder_)) return;
  std::vector<DirEntry> entries, sources;
  if (!Files().List(mirror, entries) && FolderExists(backupFolder_)) Skip(kNotRead, mirror);
  // The sources of an unreachable drive are not asked about. A source folder that is there but
  // cannot be listed (no access) tells nothing of its contents: its backups are kept.
  const bool reachable = !OnDrives(*unreachable_, source);
  const bool listed = !reachable || (!entries.empty() && Files().List(source, sources));
  if (!listed && !entries.empty() && FolderExists(source)) {
    Skip(kSourceNotRead, source);
    return;
  }
  const NameIndex index(sources);
  for (const DirEntry& entry : entries) {
    if (Cancelled) break;
    const std::string path = JoinPath(mirror, entry.name);
    if (!IsStorableName(entry.name)) {
      Skip(kNoSource, path);  // a name that maps nowhere safe is never taken for a gone source
      continue;
    }
    std::optional<bool> exists;
    if (const DirEntry* found = index.Find(entry.name); listed && (found || !index.NeedsOwnLookup(entry.name))) {
      exists = found && ((found->attributes & kAttrDirectory) != 0) == ((entry.attributes & kAttrDirectory) != 0);
    }
    Decide(removals, entry, path, JoinPath(source, entry.name), exists);
  }
}

// `exists` is what the source folder's listing tells of the source; without it the source is
// asked for.
void TPurge::Decide(StringList& removals, const DirEntry& entry, const std::string& mirror, const std::string& source,
                    std::optional<bool> exists) {
  const bool folder = entry.attributes & kAttrDirectory;
  const bool reachable = !OnDrives(*unreachable_, source);
  if (!exists) exists = folder ? FolderExists(source) : FileExists(source);
  // A drive that went away after the check is left alone: its sources only look deleted.
  if (reachable && !*exists && !DriveReachable(DrivePart(source))) return;
  if (folder) {
    if (reachable && *exists) {
      if (!(entry.attributes & kAttrReparsePoint)) ScanFolder(removals, mirror, source);
    } else if (reachable || removeUnreachable_) {
      CollectTree(removals, mirror);
    }
  } else if (reachable ? !*exists : removeUnreachable_) {
    removals.push_back(mirror);
  }
}

RunResult TPurge::RunPurge(const std::string& backupFolder, bool quiet, MessageBoxes& boxes, TMessageLog& log) {
  StartRun(log);
  const TMessageLog::Batch batch(log);
  std::string message;
  StringList unreachable;
  bool removeUnreachable = false;
  StoreLock lock;
  switch (CheckDrivesOfStore(backupFolder, boxes, log, " User aborted purge.", unreachable, message, lock)) {
    case StoreDrives::Halted: LastRunHalted = true; return RunResult::Incomplete;
    case StoreDrives::Aborted: return RunResult::Cancelled;  // nothing was done
    case StoreDrives::Reachable: break;
    case StoreDrives::Ignored:
      removeUnreachable =
          boxes.Show("Do you want Vesperhollow to remove backups of files and folders\n"
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
  RemoveRestoreLeftovers(backupFolder, log);
  ScanForPurge(removals, MirrorPath(backupFolder, ""), backupFolder, unreachable, removeUnreachable);
  VersionKeeper keeper(backupFolder, KeepDays, false);
  {
    // A vanished source's last backup is kept as a version, not deleted.
    const Keeping keeping(*this, keeper);
    RemoveFiles(removals, failures, quiet);
  }
  keeper.Report(log);
  // The backup drive gone during the scan stops it short: what is left was not gone through.
  if (!DriveReachable(DrivePart(backupFolder))) HaltForStoreGone(log, backupFolder);
  return Finish(log, failures, "WARNING: The following backups could not be purged:");
}

}  // namespace vh
