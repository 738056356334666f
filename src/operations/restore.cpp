#include "operations/restore.h"

#include "operations/keep_versions.h"
#include "operations/store_checks.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {
namespace {
constexpr const char* kNoPlace =
    "WARNING: The following backups have no place to be restored to and were left alone:";
constexpr const char* kNotRead = "WARNING: The following backup folders could not be read and were not restored:";
}  // namespace

bool IsDriveFolder(const DirEntry& entry) {
  const char c = entry.name.size() == 1 ? entry.name[0] : 0;
  return (entry.attributes & kAttrDirectory) && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
}

void TRestore::ScanForRestore(PathPairs& copies, const std::string& path, const std::string& backupFolder,
                              const StringList& unreachable) {
  CheckStop();
  if (Cancelled) return;
  const uint32_t attributes = Files().Attributes(path);
  if (IsFileAttr(attributes)) {
    const std::string source = SourcePathOf(backupFolder, path);
    if (source.empty()) {
      Skip(kNoPlace, path);
    } else if (!OnDrives(unreachable, source)) {
      copies.AddPaths(path, source, attributes, ItemSize(path));
    }
    return;
  }
  if (!IsFolderAttr(attributes) || (attributes & kAttrReparsePoint)) return;
  // Only the drive folders of the store root have a place to go back to; its "Config.txt",
  // "Log.txt" and work folder are the store's own.
  if (path == MirrorPath(backupFolder, "")) {
    std::vector<DirEntry> entries;
    if (!Files().List(path, entries)) Skip(kNotRead, path);
    for (const DirEntry& entry : entries) {
      if (Cancelled) break;
      if (!IsDriveFolder(entry)) continue;
      const std::string drive = entry.name + ":";
      if (OnDrives(unreachable, drive)) continue;
      CheckStop();
      if (!Cancelled) ScanFolder(copies, JoinPath(path, entry.name), drive);
    }
    return;
  }
  const std::string source = SourcePathOf(backupFolder, path);
  if (source.empty()) {
    Skip(kNoPlace, path);
  } else if (!OnDrives(unreachable, source)) {
    ScanFolder(copies, path, source);
  }
}

// Below a drive folder every name is a backup, "Config.txt" and "Log.txt" too; each entry is
// taken from the folder's one listing.
void TRestore::ScanFolder(PathPairs& copies, const std::string& mirror, const std::string& source) {
  std::vector<DirEntry> entries;
  int64_t folders = -1;  // this folder's pair in `copies`, made with its first file
  if (!Files().List(mirror, entries)) Skip(kNotRead, mirror);
  for (const DirEntry& entry : entries) {
    if (Cancelled) break;
    const std::string path = JoinPath(mirror, entry.name);
    if (!IsStorableName(entry.name)) {
      Skip(kNoPlace, path);
      continue;
    }
    const std::string target = JoinPath(source, entry.name);
    const bool folder = entry.attributes & kAttrDirectory;
    // Folders come back during the scan, so empty ones are restored too.
    if (folder) ForceFolders(target);
    CheckStop();
    if (Cancelled) break;
    if (!folder) {
      if (folders < 0) folders = copies.AddFolders(mirror, source);
      copies.Add(static_cast<uint32_t>(folders), entry.name, entry.attributes, entry.size);
    } else if (!(entry.attributes & kAttrReparsePoint)) {
      ScanFolder(copies, path, target);
    }
  }
}

RunResult TRestore::RunRestore(const std::string& backupFolder, bool quiet, MessageBoxes& boxes, TMessageLog& log) {
  StartRun(log);
  const TMessageLog::Batch batch(log);
  std::string message;
  StringList unreachable;
  StoreLock lock;
  switch (CheckDrivesOfStore(backupFolder, boxes, log, " User aborted restore.", unreachable, message, lock)) {
    case StoreDrives::Halted: LastRunHalted = true; return RunResult::Incomplete;
    case StoreDrives::Aborted: return RunResult::Cancelled;  // nothing was done
    case StoreDrives::Ignored: log.AddLine(message + " Files not restored to these drives.", false); break;
    case StoreDrives::Reachable: break;
  }

  PathPairs copies;
  StringList failures;
  Cancelled = 0;
  RemoveRestoreLeftovers(backupFolder, log);
  ShowPreparing(quiet, "Vesperhollow Restoring...", "Preparing to restore files...");
  ScanForRestore(copies, MirrorPath(backupFolder, ""), backupFolder, unreachable);
  journal_.Open(backupFolder);
  VersionKeeper keeper(backupFolder, KeepDays, true);
  CopyOutcome copied;
  {
    // A user's file that differs from its backup is kept first, so a restore can be undone.
    const Keeping keeping(*this, keeper);
    copied = CopyFiles(copies, failures, quiet, false);
  }
  journal_.Close();
  keeper.Report(log);
  if (copied == CopyOutcome::DiskFull) {
    // What the full disk kept from being restored is listed with the failures.
    log.AddLine("WARNING: Restore disk full. Process halted.", false);
    for (size_t i = DiskFullAt; i < copies.size(); ++i) failures.push_back(copies.Second(i));
    LastRunHalted = true;
  }
  // The backup drive gone: what was not read or copied by then was not restored.
  if (!DriveReachable(DrivePart(backupFolder))) HaltForStoreGone(log, backupFolder);
  return Finish(log, failures, "WARNING: The following files and folders could not be restored:");
}

}  // namespace vh
