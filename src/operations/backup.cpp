#include "operations/backup.h"

#include "common/text_lines.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {
namespace {

bool NewerByMoreThanThreshold(int64_t source, int64_t mirror) {
  return source > mirror && static_cast<uint64_t>(source) - static_cast<uint64_t>(mirror) >
                                static_cast<uint64_t>(kChangeThreshold);
}

}  // namespace

void TBackup::ScanForBackup(StringList& sources, StringList& targets, const std::string& source,
                            const std::string& mirror, bool subs) {
  view_.ProcessMessages();
  if (Cancelled) return;
  // A drive that goes away stops the scan below it quietly. A failed lookup is where that shows,
  // so the drives are asked only then, which spares an unchanged file two queries.
  FileSystem& fs = Files();
  DirEntry found;
  if (DrivePart(source).empty() || !fs.Stat(source, found)) return;  // gone, or its drive is
  if (!(found.attributes & kAttrDirectory)) {
    DirEntry mirrored;
    const bool mirrorIsFile = fs.Stat(mirror, mirrored) && !(mirrored.attributes & kAttrDirectory);
    if (!mirrorIsFile && !DriveReachable(DrivePart(mirror))) return;
    if (!mirrorIsFile || NewerByMoreThanThreshold(found.lastWrite, mirrored.lastWrite)) {
      sources.push_back(source);
      targets.push_back(mirror);
    }
    return;
  }
  // A junction or folder link is never walked into: it may loop back or lead out of the tree.
  if ((found.attributes & kAttrReparsePoint) || !DriveReachable(DrivePart(mirror))) return;
  ForceFolders(mirror);
  std::vector<DirEntry> entries;
  fs.List(source, entries);
  for (const DirEntry& entry : entries) {
    if (Cancelled) break;
    if (entry.attributes & kAttrDirectory) {
      // A store met inside a selected folder is not backed up into itself.
      if (!subs || SameText(entry.name, kMarkerFolder)) continue;
    }
    if (IsTempFileName(entry.name)) {
      // Such a name is how the store marks an unfinished copy, so it cannot hold a backup.
      skipped_.push_back(JoinPath(source, entry.name));
      continue;
    }
    ScanForBackup(sources, targets, JoinPath(source, entry.name), JoinPath(mirror, entry.name), subs);
  }
}

int TBackup::RunBackup(const TSourceList& list, const std::string& backupFolder, bool quiet, bool ask,
                       TMessageLog& log) {
  std::string message;
  if (!CheckBackupDrive(ask, backupFolder, message, "")) {
    log.AddLine("WARNING: Process halted. " + message, false);
    return 1;
  }
  if (list.Count() == 0) {
    log.AddLine("WARNING: No files or folders selected for backup.", false);
    return 0;
  }
  ShowPreparing(quiet, "Vesperhollow Backing up...", "Preparing to backup files...");

  int answer = 0;
  StringList drives;
  const bool sourcesReachable = CheckSourceDrives(ask, answer, list, drives, message);
  for (int i = 0; i < list.Count(); ++i) {
    const TSource& entry = *list.Item(i);
    if (OnDrives(drives, entry.Path)) continue;
    if (Files().Attributes(entry.Path) != kAttrInvalid) {
      log.AddLine(entry.Path + (entry.Subs ? "  (incl. sub-folders)" : ""), false);
    } else {
      log.AddLine("WARNING: The following is selected for backup but no longer exists:", false);
      log.AddLine(entry.Path, false);
    }
  }
  if (!sourcesReachable && ask && answer != kIdIgnore) {
    log.AddLine(message + " User aborted backup.", false);
    view_.Hide();
    return 2;  // nothing was done, so no last-backup time either
  }
  if (!sourcesReachable) {
    log.AddLine("WARNING: " + message, false);
    log.AddLine("WARNING: Files and folders on inaccessible drives not backed up.", false);
  }

  StringList sources, targets, failures;
  skipped_.clear();
  Cancelled = 0;
  for (int i = 0; i < list.Count() && !Cancelled; ++i) {
    const TSource& entry = *list.Item(i);
    if (entry.Path.empty() || OnDrives(drives, entry.Path)) continue;
    ScanForBackup(sources, targets, entry.Path, MirrorPath(backupFolder, entry.Path), entry.Subs);
  }
  const int copied = CopyFiles(sources, targets, failures, quiet, true);
  failures.insert(failures.end(), skipped_.begin(), skipped_.end());
  if (copied == 1) {
    log.AddLine("WARNING: BACKUP DISK FULL.", true);
    Boxes().Show("Backup disk full. Try selecting fewer files for backup.", kAppCaption, kMbOk | kMbIconExclamation);
  }
  return Finish(log, failures, "WARNING: The following files and folders could not be backed up:");
}

}  // namespace vh
