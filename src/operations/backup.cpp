#include "operations/backup.h"

#include "common/text_lines.h"
#include "operations/keep_versions.h"
#include "operations/mass_change.h"
#include "operations/store_lock.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/name_index.h"
#include "store/store_paths.h"

namespace vh {
namespace {

constexpr const char* kNotStorable =
    "WARNING: The following backup list entries could lead outside the backup store and were not backed up:";
constexpr const char* kInsideStore =
    "WARNING: The following backup list entries lie inside the backup store and were not backed up:";
constexpr const char* kNotFollowed = "WARNING: The following links were not followed:";
constexpr const char* kNotListed = "WARNING: The following folders could not be read and were not backed up:";
constexpr const char* kSourceGone =
    "WARNING: The following were not backed up in full: their drive went away during the backup:";
constexpr const char* kUnreachable = "WARNING: Files and folders on inaccessible drives not backed up.";
constexpr const char* kNotCopied = "WARNING: The following files and folders could not be backed up:";

bool NewerByMoreThanThreshold(int64_t source, int64_t mirror) {
  return source > mirror && static_cast<uint64_t>(source) - static_cast<uint64_t>(mirror) >
                                static_cast<uint64_t>(kChangeThreshold);
}

}  // namespace

void TBackup::ScanForBackup(PathPairs& copies, const std::string& source, const std::string& mirror, bool subs) {
  CheckStop();
  if (Cancelled || stop_ != Stop::None) return;
  // A failed lookup is where a drive that went away shows, so the drives are asked only then.
  FileSystem& fs = Files();
  DirEntry found;
  if (!fs.Stat(source, found)) {
    if (!DriveReachable(DrivePart(source))) stop_ = Stop::SourceGone;
    return;  // else deleted since the selection was reported
  }
  if (!(found.attributes & kAttrDirectory)) {
    DirEntry mirrored;
    const bool mirrorIsFile = fs.Stat(mirror, mirrored) && !(mirrored.attributes & kAttrDirectory);
    if (!mirrorIsFile && !DriveReachable(DrivePart(mirror))) {
      stop_ = Stop::StoreGone;
      return;
    }
    const bool changed = NewerByMoreThanThreshold(found.lastWrite, mirrored.lastWrite);
    if (mirrorIsFile) {
      ++compared_;
      replacing_ += changed;
    }
    if (!mirrorIsFile || changed) copies.AddPaths(source, mirror, found.attributes, found.size);
    return;
  }
  // A junction or folder link is never walked into: it may loop back or lead out of the tree.
  if (found.attributes & kAttrReparsePoint) {
    Skip(kNotFollowed, source);
    return;
  }
  ScanFolder(copies, source, mirror, subs, MirrorFolder::Unknown);
}

// Every file of the folder is decided from one listing of it and one of its mirror folder.
void TBackup::ScanFolder(PathPairs& copies, const std::string& source, const std::string& mirror, bool subs,
                         MirrorFolder mirrorFolder, bool alone) {
  FileSystem& fs = Files();
  std::vector<DirEntry> mirrored;
  if (mirrorFolder != MirrorFolder::Missing && !fs.List(mirror, mirrored)) {
    if (!DriveReachable(DrivePart(mirror))) {
      stop_ = Stop::StoreGone;
      return;
    }
    // Not there, or not readable: every file is copied, and a copy that fails is named.
    if (mirrorFolder == MirrorFolder::Unknown) ForceFolders(mirror);
  } else if (mirrorFolder == MirrorFolder::Missing && !fs.CreateFolder(mirror) &&
             !DriveReachable(DrivePart(mirror))) {
    stop_ = Stop::StoreGone;  // else a file of that name is in the way: its files fail and are named
    return;
  }
  std::vector<DirEntry> entries;
  if (!fs.List(source, entries)) {
    if (!DriveReachable(DrivePart(source))) stop_ = Stop::SourceGone;
    else Skip(kNotListed, source);
    return;
  }
  const NameIndex mirrors(mirrored);
  int64_t folders = -1;  // this folder's pair in `copies`, made with its first file to copy
  for (const DirEntry& entry : entries) {
    if (Cancelled || stop_ != Stop::None) break;
    const bool folder = entry.attributes & kAttrDirectory;
    std::string path;
    if (folder) {
      path = JoinPath(source, entry.name);
      // The store being written is not backed up into itself; any other is the user's data.
      if (!subs || SameText(path, activeStore_)) continue;
    }
    CheckStop();
    if (Cancelled) break;
    const DirEntry* match = mirrors.Find(entry.name);
    DirEntry looked;
    if (!match && mirrors.NeedsOwnLookup(entry.name) && fs.Stat(JoinPath(mirror, entry.name), looked)) {
      match = &looked;
    }
    const bool mirrorIsFolder = match && (match->attributes & kAttrDirectory);
    if (!folder && match && !mirrorIsFolder) {
      ++compared_;
      replacing_ += NewerByMoreThanThreshold(entry.lastWrite, match->lastWrite);
    }
    if (folder) {
      if (entry.attributes & kAttrReparsePoint) {
        Skip(kNotFollowed, path);
      } else if (alone && mirrorIsFolder) {
        continue;  // looked at only where marked
      } else {
        if (alone) walked_.insert(PathKey(path));
        ScanFolder(copies, path, JoinPath(mirror, entry.name), subs,
                   mirrorIsFolder ? MirrorFolder::There : MirrorFolder::Missing);
      }
    } else if (!match || mirrorIsFolder || NewerByMoreThanThreshold(entry.lastWrite, match->lastWrite)) {
      if (folders < 0) folders = copies.AddFolders(source, mirror);
      copies.Add(static_cast<uint32_t>(folders), entry.name, entry.attributes, entry.size);
    }
  }
}

bool TBackup::WouldBeScanned(const std::string& root, const std::string& folder) {
  if (!InsideFolder(folder, root) || InsideFolder(folder, activeStore_)) return false;
  FileSystem& fs = Files();
  for (std::string path = folder; path.size() > root.size(); path.resize(path.rfind('\\'))) {
    DirEntry found;
    if (!fs.Stat(path, found)) {
      if (!DriveReachable(DrivePart(path))) stop_ = Stop::SourceGone;
      return false;  // gone since it was marked
    }
    if (!(found.attributes & kAttrDirectory) || (found.attributes & kAttrReparsePoint)) return false;
  }
  return true;
}

void TBackup::ScanMarks(PathPairs& copies, const std::string& root, const std::string& mirror,
                        const TreeMarks& marks) {
  // Outer marks first, so that one inside a subtree already walked is not listed again.
  std::map<std::string, std::pair<std::string, bool>> ordered;  // key -> path, walked whole
  for (const std::string& folder : marks.folders) ordered.emplace(PathKey(folder), std::make_pair(folder, false));
  for (const std::string& subtree : marks.subtrees) ordered[PathKey(subtree)] = {subtree, true};
  walked_.clear();
  for (const auto& [key, mark] : ordered) {
    CheckStop();
    if (Cancelled || stop_ != Stop::None) break;
    bool inside = false;
    for (std::string above = key; !inside && above.size() > root.size(); above.resize(above.rfind('\\'))) {
      inside = walked_.count(above) > 0;
    }
    if (inside || !WouldBeScanned(root, mark.first)) continue;
    std::string below = mark.first.substr(root.size());
    if (!below.empty() && below[0] == '\\') below.erase(0, 1);
    const std::string markMirror = below.empty() ? mirror : JoinPath(mirror, below);
    if (mark.second) walked_.insert(key);
    ScanFolder(copies, mark.first, markMirror, true, MirrorFolder::Unknown, !mark.second);
  }
  walked_.clear();
}

RunResult TBackup::RunBackup(const TSourceList& list, const std::string& backupFolder, bool quiet, bool ask,
                             MessageBoxes& boxes, TMessageLog& log) {
  StartRun(log);
  LastRunMassChange = 0;
  const TMessageLog::Batch batch(log);
  std::string message;
  if (!CheckBackupDrive(ask ? &boxes : nullptr, backupFolder, message, "")) {
    log.AddLine("WARNING: Process halted. " + message, false);
    LastRunHalted = true;
    return RunResult::Incomplete;
  }
  if (list.Count() == 0) {
    log.AddLine("WARNING: No files or folders selected for backup.", false);
    return RunResult::Done;
  }
  StoreLock lock;
  if (!lock.Take(backupFolder, log)) {
    LastRunHalted = true;
    return RunResult::Incomplete;
  }
  ShowPreparing(quiet, "Vesperhollow Backing up...", "Preparing to backup files...");

  int answer = 0;
  StringList drives;
  const bool sourcesReachable = CheckSourceDrives(ask ? &boxes : nullptr, answer, list, drives, message);
  for (int i = 0; i < list.Count(); ++i) {
    const TSource& entry = *list.Item(i);
    if (!IsStorablePath(entry.Path) || OnDrives(drives, entry.Path)) continue;
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
    return RunResult::Cancelled;  // nothing was done, so no last-backup time either
  }
  if (!sourcesReachable) log.AddLine("WARNING: " + message, false);

  PathPairs copies;
  StringList failures, notReached;
  Cancelled = 0;
  stop_ = Stop::None;
  compared_ = replacing_ = 0;
  activeStore_ = JoinPath(backupFolder, kMarkerFolder);
  RemoveRestoreLeftovers(backupFolder, log);  // before the scan could take one for a file to back up
  for (int i = 0; i < list.Count() && !Cancelled; ++i) {
    const TSource& entry = *list.Item(i);
    const std::string mirror = MirrorPath(backupFolder, entry.Path);
    if (mirror.empty()) {
      Skip(kNotStorable, entry.Path);  // left in the list as it is, for the user to mend
    } else if (InsideFolder(entry.Path, activeStore_)) {
      Skip(kInsideStore, entry.Path);  // its mirror would grow inside what is being scanned
    } else if (OnDrives(drives, entry.Path)) {
      Skip(kUnreachable, entry.Path);
    } else if (stop_ == Stop::StoreGone) {
      notReached.push_back(entry.Path);
    } else {
      const TreeMarks* marks = Scope && entry.IsFolder && entry.Subs ? Scope->Find(entry.Path) : nullptr;
      if (marks) ScanMarks(copies, entry.Path, mirror, *marks);
      else ScanForBackup(copies, entry.Path, mirror, entry.Subs);
      if (stop_ == Stop::SourceGone) {
        Skip(kSourceGone, entry.Path);
        stop_ = Stop::None;  // the other drives may still be there
      } else if (stop_ == Stop::StoreGone) {
        notReached.push_back(entry.Path);
      }
    }
  }
  VersionKeeper keeper(backupFolder, KeepDays, false);
  // Told before the copies: should the run be cut off, the log already says it.
  if (!ask && !Cancelled && keeper.On() && IsMassChange(replacing_, compared_)) {
    LastRunMassChange = replacing_;
    log.AddLine(MassChangeWarning(replacing_, compared_, keeper.RunFolder()), false);
  }
  ClearWorkFolder(backupFolder);  // what a run cut off before left there
  UseWorkFolder(WorkFolderOf(backupFolder));
  CopyOutcome copied;
  {
    const Keeping keeping(*this, keeper);
    copied = CopyFiles(copies, failures, quiet, true);
  }
  ClearWorkFolder(backupFolder);
  if (DriveReachable(DrivePart(backupFolder))) keeper.Prune();
  keeper.Report(log);
  // The backup drive gone during the scan, or during the copies (which the scan, deciding from
  // listings, may not have seen), halts the run.
  if (stop_ == Stop::StoreGone ||
      (copied != CopyOutcome::DiskFull && !failures.empty() && !DriveReachable(DrivePart(backupFolder)))) {
    HaltForStoreGone(log, backupFolder);
  }
  if (copied == CopyOutcome::DiskFull) {
    log.AddLine("WARNING: BACKUP DISK FULL.", true);
    boxes.Show("Backup disk full. Try selecting fewer files for backup.", kAppCaption, kMbOk | kMbIconExclamation);
    // Everything from the file the disk had no room for on is named as not copied.
    for (size_t i = DiskFullAt; i < copies.size(); ++i) failures.push_back(copies.First(i));
    LastRunHalted = true;
  }
  failures.insert(failures.end(), notReached.begin(), notReached.end());
  return Finish(log, failures, kNotCopied);
}

}  // namespace vh
