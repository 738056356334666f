#include "operations/remove_backups.h"

#include "platform/system.h"
#include "store/store_paths.h"
#include "store/versions.h"

namespace vh {
namespace {
constexpr const char* kPreparing = "Preparing to remove backups...";

std::string WithoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}
}  // namespace

RunResult TDelete::RemoveCollected(const StringList& removals, bool quiet, TMessageLog& log, StoreLock& lock,
                                   const std::function<void()>& cleanUp) {
  StringList failures;
  RemoveFiles(removals, failures, quiet);
  // The lock kept its work folder, and so the store root and the folders above it that were to
  // go; let go, they go when nothing else is left in them.
  const std::string work = lock.WorkFolder();
  lock.Release();
  for (const std::string& path : removals) {
    if (work.size() > path.size() && work.compare(0, path.size() + 1, path + "\\") == 0) Files().RemoveFolder(path);
  }
  if (cleanUp) cleanUp();
  return Finish(log, failures, "WARNING: The following backups could not be removed:");
}

// The entry's earlier versions go with it; each run folder then goes too if nothing else is in it,
// and so does the versions folder.
void TDelete::CollectVersions(StringList& removals, const std::string& backupFolder, const std::string& mirror) {
  const std::string versions = VersionsFolderOf(backupFolder);
  const std::string below = mirror.substr(MirrorPath(backupFolder, "").size());  // "\C\Docs"
  bool any = false;
  for (const std::string& name : RunFolders(backupFolder)) {
    const std::string runFolder = JoinPath(versions, name);
    const size_t before = removals.size();
    CollectTree(removals, runFolder + below);
    if (removals.size() == before) continue;
    any = true;
    for (std::string parent = WithoutTrailingBackslash(runFolder + below); parent.size() > runFolder.size();) {
      parent.resize(parent.rfind('\\'));
      removals.push_back(parent);
    }
  }
  if (any) removals.push_back(versions);
}

RunResult TDelete::RemoveEntryBackups(const TSourceList& list, int first, int count, const std::string& backupFolder,
                                      bool quiet, TMessageLog& log) {
  StartRun(log);
  if (first < 0 || first >= list.Count() || count > list.Count() - first) return RunResult::Incomplete;
  const TMessageLog::Batch batch(log);
  StoreLock lock;
  if (!lock.Take(backupFolder, log)) {
    LastRunHalted = true;
    return RunResult::Incomplete;
  }
  Cancelled = 0;
  ShowPreparing(quiet, "Vesperhollow removing backups...", kPreparing);
  const std::string backupFolderItself = WithoutTrailingBackslash(backupFolder);
  StringList removals;
  for (int i = first; i < first + count; ++i) {
    const std::string mirror = MirrorPath(backupFolder, list.Item(i)->Path);
    if (mirror.empty()) {
      // "C:\.." would otherwise name the store itself, or what lies outside it.
      Skip("WARNING: The following backup list entries could lead outside the backup store; "
           "no backups were removed for them:",
           list.Item(i)->Path);
      continue;
    }
    CollectTree(removals, mirror);
    CollectVersions(removals, backupFolder, mirror);
    if (!FolderExists(mirror)) continue;
    // The parents follow, nearest first; each goes only if it has become empty.
    std::string parent = WithoutTrailingBackslash(mirror);
    for (size_t slash; parent != backupFolderItself && (slash = parent.rfind('\\')) != std::string::npos;) {
      parent.resize(slash);
      removals.push_back(parent);
    }
  }
  return RemoveCollected(removals, quiet, log, lock);
}

RunResult TDelete::RemoveAllBackups(const std::string& backupFolder, bool quiet, TMessageLog& log) {
  StartRun(log);
  const TMessageLog::Batch batch(log);
  StoreLock lock;
  if (!lock.Take(backupFolder, log)) {
    LastRunHalted = true;
    return RunResult::Incomplete;
  }
  Cancelled = 0;
  ShowPreparing(quiet, "Vesperhollow removing all previous backups...", kPreparing);
  const std::string root = MirrorPath(backupFolder, "");
  StringList removals;
  if (root.empty()) return RemoveCollected(removals, quiet, log, lock);
  CollectTree(removals, root);
  std::erase(removals, StoreLockPath(backupFolder));  // it goes with the lock
  return RemoveCollected(removals, quiet, log, lock, [&] {
    // The computer-name folder, then the marker folder, when nothing else is left in them.
    const std::string computerFolder = WithoutTrailingBackslash(FolderOf(root));
    Files().RemoveFolder(computerFolder);
    Files().RemoveFolder(WithoutTrailingBackslash(FolderOf(computerFolder)));
  });
}

RunResult TDelete::RemoveSubfolderBackups(const std::string& backupFolder, const std::string& mirrorFolder, bool quiet,
                                          TMessageLog& log) {
  StartRun(log);
  if (!FolderExists(mirrorFolder)) return RunResult::Incomplete;
  const TMessageLog::Batch batch(log);
  StoreLock lock;
  if (!lock.Take(backupFolder, log)) {
    LastRunHalted = true;
    return RunResult::Incomplete;
  }
  Cancelled = 0;
  ShowPreparing(quiet, "Vesperhollow removing backups of sub-folders...", kPreparing);
  std::vector<DirEntry> entries;
  Files().List(mirrorFolder, entries);
  StringList removals;
  for (const DirEntry& entry : entries) {
    if (Cancelled) break;
    if (entry.attributes & kAttrDirectory) CollectTree(removals, JoinPath(mirrorFolder, entry.name));
  }
  return RemoveCollected(removals, quiet, log, lock);
}

}  // namespace vh
