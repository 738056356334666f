#include "operations/keep_versions.h"

#include <algorithm>

#include "operations/backup.h"
#include "operations/scan_scope.h"
#include "platform/system.h"
#include "store/store_paths.h"
#include "store/versions.h"

namespace vh {
namespace {

// Newer by more than the backup's own threshold: a file system that keeps times to 2 seconds
// does not make an unchanged file look edited.
bool Differs(const DirEntry& mine, const DirEntry& backup) {
  return mine.size != backup.size || (mine.lastWrite > backup.lastWrite &&
                                      static_cast<uint64_t>(mine.lastWrite) - static_cast<uint64_t>(backup.lastWrite) >
                                          static_cast<uint64_t>(kChangeThreshold));
}

}  // namespace

VersionKeeper::VersionKeeper(const std::string& backupFolder, int keepDays, bool restore)
    : backupFolder_(backupFolder),
      root_(MirrorPath(backupFolder, "")),
      versions_(VersionsFolderOf(backupFolder)),
      keepDays_(keepDays),
      restore_(restore) {
  if (On() && VersionsFolderIsLink(backupFolder)) {
    linked_ = versions_;
    keepDays_ = 0;  // the run goes on as it would without versions
  }
}

std::string VersionKeeper::RunFolder() {
  if (runName_.empty()) {
    // A folder of this minute may be an earlier run's: a run never adds to another's.
    const LocalTime now = Locale().Now();
    for (int n = 1; runName_.empty(); ++n) {
      const std::string name = RunFolderName(now, restore_, n);
      if (n >= 99 || Files().Attributes(JoinPath(versions_, name)) == kAttrInvalid) runName_ = name;
    }
  }
  return JoinPath(versions_, runName_);
}

std::string VersionKeeper::VersionOf(const std::string& mirror) {
  if (mirror.size() <= root_.size() + 1 || mirror.compare(0, root_.size() + 1, root_ + "\\") != 0) return {};
  return RunFolder() + mirror.substr(root_.size());
}

void VersionKeeper::MakeFolderOf(const std::string& path) {
  std::string folder = FolderOf(path);
  if (folder == madeFolder_) return;  // the files of one folder come together
  ForceFolders(folder);
  madeFolder_ = std::move(folder);
}

std::string VersionKeeper::PlaceFor(const std::string& mirror) {
  if (!On() || kept_.count(PathKey(mirror))) return {};
  DirEntry found;
  if (!Files().Stat(mirror, found) || (found.attributes & kAttrDirectory)) return {};
  const std::string version = VersionOf(mirror);
  if (version.empty()) return {};
  MakeFolderOf(version);
  kept_.insert(PathKey(mirror));
  return version;
}

void VersionKeeper::Kept(const std::string& mirror, bool kept) {
  if (kept) return;
  kept_.erase(PathKey(mirror));
  notKept_.push_back(mirror);
}

std::string VersionKeeper::KeepMirror(const std::string& mirror) {
  const std::string version = PlaceFor(mirror);
  if (version.empty()) return {};
  // Not flushed: the next flushed change on the drive carries it to the disk.
  const bool kept = Files().Rename(mirror, version);
  Kept(mirror, kept);
  return kept ? version : std::string();
}

void VersionKeeper::PutBack(const std::string& version, const std::string& mirror) {
  if (Files().Attributes(mirror) == kAttrInvalid && Files().Rename(version, mirror)) {
    kept_.erase(PathKey(mirror));
  }
}

void VersionKeeper::KeepUserFile(const std::string& file, const std::string& backup) {
  if (!On() || kept_.count(PathKey(file))) return;
  FileSystem& fs = Files();
  DirEntry mine, backedUp;
  if (!fs.Stat(file, mine) || (mine.attributes & kAttrDirectory) || !fs.Stat(backup, backedUp) ||
      !Differs(mine, backedUp)) {
    return;
  }
  const std::string version = VersionOf(MirrorPath(backupFolder_, file));
  if (version.empty()) return;
  MakeFolderOf(version);
  CopyResult copied;
  while ((copied = fs.Copy(file, version)) == CopyResult::DiskFull && DeleteOldest()) {
  }
  if (copied != CopyResult::Ok) {
    // Nothing half-copied stays to pass for the user's file.
    fs.SetAttributes(version, kAttrArchive);
    fs.Delete(version);
    notKept_.push_back(file);
    return;
  }
  if (mine.attributes != kAttrArchive) fs.SetAttributes(version, mine.attributes);
  kept_.insert(PathKey(file));
}

bool VersionKeeper::DeleteTree(const std::string& path) {
  FileSystem& fs = Files();
  std::vector<DirEntry> entries;
  fs.List(path, entries);
  for (const DirEntry& entry : entries) {
    const std::string child = JoinPath(path, entry.name);
    if ((entry.attributes & kAttrDirectory) && !(entry.attributes & kAttrReparsePoint)) {
      DeleteTree(child);
    } else if (entry.attributes & kAttrDirectory) {
      fs.RemoveFolder(child);  // the link alone
    } else {
      fs.SetAttributes(child, entry.attributes & ~kAttrReadOnly);
      fs.Delete(child);
    }
  }
  return fs.RemoveFolder(path);
}

bool VersionKeeper::DeleteOldest() {
  if (!On()) return false;
  for (const std::string& name : RunFolders(backupFolder_)) {
    if (name == runName_ || !tried_.insert(name).second) continue;
    const std::string folder = JoinPath(versions_, name);
    if (!DeleteTree(folder)) notDeleted_.push_back(folder);
    deletedForRoom_.push_back(folder);
    return true;
  }
  return false;
}

void VersionKeeper::Prune() {
  if (!On()) return;
  for (const std::string& name : RunFoldersToDelete(RunFolders(backupFolder_), Locale().Now(), keepDays_)) {
    if (name == runName_) continue;
    const std::string folder = JoinPath(versions_, name);
    if (!DeleteTree(folder)) notDeleted_.push_back(folder);
  }
  Files().RemoveFolder(versions_);  // only when nothing is left in it
}

void VersionKeeper::Report(TMessageLog& log) {
  auto lines = [&](const char* heading, const StringList& paths) {
    if (paths.empty()) return;
    log.AddLine(heading, false);
    for (const std::string& path : paths) log.AddLine(path, false);
  };
  if (!linked_.empty()) lines("WARNING: No earlier versions are kept while the versions folder is a link:", {linked_});
  lines("WARNING: Earlier versions of the following could not be kept:", notKept_);
  lines("The following earlier versions were deleted to make room:", deletedForRoom_);
  lines("WARNING: The following earlier versions could not be deleted:", notDeleted_);
  notKept_.clear();
  deletedForRoom_.clear();
  notDeleted_.clear();
}

}  // namespace vh
