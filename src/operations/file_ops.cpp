#include "operations/file_ops.h"

#include <algorithm>

#include "common/text_lines.h"
#include "operations/keep_versions.h"
#include "platform/system.h"
#include "store/store_paths.h"

namespace vh {
namespace {

// False when the file is still there.
bool RemoveTemp(const std::string& temp) {
  FileSystem& fs = Files();
  if (fs.Attributes(temp) == kAttrInvalid) return true;
  fs.SetAttributes(temp, kAttrArchive);
  return fs.Delete(temp);
}

}  // namespace

std::string WorkFolderOf(const std::string& backupFolder) {
  const std::string root = MirrorPath(backupFolder, "");
  return root.empty() ? root : JoinPath(root, kWorkFolder);
}

// A link in the work folder's place is taken away, the link alone: what it leads to is not the store's.
static void DropLinkedWorkFolder(const std::string& folder) {
  const uint32_t attributes = Files().Attributes(folder);
  if (attributes != kAttrInvalid && (attributes & kAttrReparsePoint)) Files().RemoveFolder(folder);
}

// Only unfinished copies of ours can be in the work folder, and the lock of the run under way.
// False when the folder cannot be listed (most often: it is not there).
static bool EmptyWorkFolder(const std::string& folder) {
  std::vector<DirEntry> entries;
  if (!Files().List(folder, entries)) return false;
  for (const DirEntry& entry : entries) {
    if (!(entry.attributes & kAttrDirectory) && entry.name != kStoreLockName) RemoveTemp(JoinPath(folder, entry.name));
  }
  return true;
}

void ClearWorkFolder(const std::string& backupFolder) {
  const std::string folder = WorkFolderOf(backupFolder);
  if (folder.empty()) return;
  DropLinkedWorkFolder(folder);
  if (EmptyWorkFolder(folder)) Files().RemoveFolder(folder);
}

void TFileOps::StartRun(TMessageLog& log) {
  runLog_ = &log;
  LastRunFailures = 0;
  LastRunHalted = false;
  skipped_.clear();
  view_.Begin();
}

void TFileOps::HaltForStoreGone(TMessageLog& log, const std::string& backupFolder) {
  log.AddLine("WARNING: Process halted. Backup drive (" + DrivePart(backupFolder) + ") not accessible.", false);
  LastRunHalted = true;
}

void TFileOps::Skip(const std::string& heading, const std::string& path) {
  for (auto& [known, paths] : skipped_) {
    if (known == heading) {
      paths.push_back(path);
      return;
    }
  }
  skipped_.emplace_back(heading, StringList{path});
}

uint64_t TFileOps::ItemSize(const std::string& path) {
  DirEntry entry;
  if (!Files().Stat(path, entry) || (entry.attributes & kAttrDirectory)) return 0;
  return entry.size;
}

void TFileOps::ShowPreparing(bool quiet, const std::string& caption, const std::string& label) {
  if (!quiet) view_.Show(caption, label);
}

void TFileOps::CheckStop() {
  if (view_.StopAsked()) Cancelled = 1;
  // A run that copies for an hour still has its lines so far in the file, should it be killed.
  if (runLog_) runLog_->FlushIfDue();
}

// A short name, so that a target name of up to 255 characters still leaves room for it.
std::string TFileOps::TempFor(const std::string& target) {
  FileSystem& fs = Files();
  if (!workFolder_.empty()) {
    if (!workFolderReady_) {
      DropLinkedWorkFolder(workFolder_);
      ForceFolders(workFolder_);
      EmptyWorkFolder(workFolder_);
      workFolderReady_ = true;  // from now on what a copy leaves there is moved into place or removed
    }
    // One name per move that can be under way: a name comes round again only after its move ended.
    workSlot_ = (workSlot_ + 1) % kMovesUnderWay;
    return JoinPath(workFolder_, "copy" + std::to_string(workSlot_));
  }
  // Beside the user's files: a name nobody has taken, never anything already there.
  std::string temp;
  // (A file restored may itself bear such a name: its own name is never its temporary's.)
  for (int n = 1; temp.empty() || SameText(temp, target) || fs.Attributes(temp) != kAttrInvalid; ++n) {
    temp = FolderOf(target) + "~vh" + std::to_string(n) + ".tmp";
  }
  journal_.Record(temp);
  return temp;
}

void TFileOps::MakeFolderOf(const std::string& target) {
  std::string folder = FolderOf(target);
  if (folder.empty() || folder == madeFolder_) return;  // the files of one folder come together
  ForceFolders(folder);
  madeFolder_ = std::move(folder);
}

// A file or mirror is filled under a temporary name and put in place only once it is whole and
// carries the source's attributes: a failed or cancelled copy never touches the file it was to
// replace. The move into place (which waits for the disk) may still be under way when this returns.
CopyResult TFileOps::StartCopy(const std::string& source, uint32_t attributes, const std::string& target,
                               bool backingUp, StringList& failures) {
  FileSystem& fs = Files();
  MakeFolderOf(target);
  const uint32_t carried = attributes == kAttrInvalid ? kAttrArchive : attributes;
  const std::string temp = TempFor(target);
  const CopyResult result = fs.Copy(source, temp, [this] {
    CheckStop();
    return Cancelled == 0;
  });
  if (result != CopyResult::Ok) {
    if (!RemoveTemp(temp)) journal_.Left(temp);
    return result;
  }
  if (const uint32_t old = backingUp ? kAttrInvalid : fs.Attributes(target); IsFileAttr(old)) {
    if (keeper_) keeper_->KeepUserFile(target, source);
    // The user's file is swapped whole, keeping its creation time, permissions and streams: a
    // restore cut off at any point leaves it as it was or as the backup, never part of each, and
    // never newer than its backup while it is neither.
    fs.SetAttributes(temp, kAttrArchive);
    // Its attributes are taken off only when the swap is refused for them (read-only): a restore
    // cut off just then leaves them off, so not for every file.
    bool swapped = fs.SwapInto(temp, target);
    if (!swapped && old != kAttrArchive && fs.Attributes(target) == old) {
      fs.SetAttributes(target, kAttrArchive);
      swapped = fs.SwapInto(temp, target);
    }
    if (!swapped) {
      if (fs.Attributes(target) == kAttrInvalid) {
        // A swap that failed half-way can leave no file under the user's name (the system may
        // have moved or removed it): the whole backup takes the name rather than be deleted.
        if (!fs.MoveReplace(temp, target)) return CopyResult::Failed;
        fs.SetAttributes(target, carried);
        return CopyResult::Ok;
      }
      fs.SetAttributes(target, old);
      if (!RemoveTemp(temp)) journal_.Left(temp);
      return CopyResult::Failed;
    }
    fs.SetAttributes(target, carried);
    return CopyResult::Ok;
  }
  // The copy carries the source's attributes; archive alone is what any new file has, and
  // the others are set again rather than left to the platform.
  if (carried != kAttrArchive) fs.SetAttributes(temp, carried);
  // A file reached through two entries is copied twice: its first copy is put in place first.
  while (Moving(target)) EndOldestMove(failures);
  // The mirror it replaces is kept by the move itself: the rename waits for the disk as the move does.
  const std::string keepAs = keeper_ && backingUp ? keeper_->PlaceFor(target) : std::string();
  moves_.push_back({temp, target, backingUp ? source : target, keepAs});
  fs.BeginMoveReplace(temp, target, keepAs);
  // A temporary file beside the user's own stays there no longer than it must.
  while (workFolder_.empty() && !moves_.empty()) EndOldestMove(failures);
  return CopyResult::Ok;
}

void TFileOps::EndOldestMove(StringList& failures) {
  FileSystem& fs = Files();
  // The wait feeds the window; the move stays listed until its outcome is in.
  const FileSystem::MoveOutcome outcome = fs.EndMoveReplace([this] { CheckStop(); });
  const Move move = std::move(moves_.front());
  moves_.pop_front();
  if (keeper_ && !move.keepAs.empty()) keeper_->Kept(move.target, outcome.kept);
  if (outcome.moved) return;
  // Read-only, hidden and system targets could not be replaced otherwise.
  const uint32_t old = fs.Attributes(move.target);
  if (IsFileAttr(old) && old != kAttrArchive) {
    fs.SetAttributes(move.target, kAttrArchive);
    if (fs.MoveReplace(move.temp, move.target)) return;
    fs.SetAttributes(move.target, old);
  }
  if (!RemoveTemp(move.temp)) journal_.Left(move.temp);
  if (keeper_ && outcome.kept) keeper_->PutBack(move.keepAs, move.target);
  failures.push_back(move.failure);
}

void TFileOps::EndMoves(StringList& failures) {
  while (!moves_.empty()) EndOldestMove(failures);
}

bool TFileOps::Moving(const std::string& target) const {
  return std::any_of(moves_.begin(), moves_.end(), [&](const Move& move) { return SameText(move.target, target); });
}

CopyOutcome TFileOps::CopyFiles(const StringList& sources, const StringList& targets, StringList& failures, bool quiet,
                                bool backingUp) {
  if (!sources.empty() && targets.size() != sources.size()) {
    DiskFullAt = -1;
    view_.Hide();
    return CopyOutcome::Failed;
  }
  PathPairs copies;
  for (size_t i = 0; i < sources.size(); ++i) copies.AddPaths(sources[i], targets[i]);
  return CopyFiles(copies, failures, quiet, backingUp);
}

CopyOutcome TFileOps::CopyFiles(const PathPairs& copies, StringList& failures, bool quiet, bool backingUp) {
  DiskFullAt = -1;
  if (copies.empty()) {
    view_.Hide();
    return CopyOutcome::Done;
  }
  failures.clear();
  try {
    return CopyAll(copies, failures, quiet, backingUp);
  } catch (...) {
    // Every move begun is ended, so that no outcome is left to be taken for a later one's.
    while (!moves_.empty()) {
      moves_.pop_front();
      Files().EndMoveReplace();
    }
    throw;
  }
}

CopyOutcome TFileOps::CopyAll(const PathPairs& copies, StringList& failures, bool quiet, bool backingUp) {
  madeFolder_.clear();
  std::vector<uint64_t> sizes;
  uint64_t total = 0, done = 0;
  if (!quiet) {
    // The scan's sizes; read only for a list made without a scan.
    for (size_t i = 0; i < copies.size(); ++i) {
      const bool known = copies.Attributes(i) != PathPairs::kUnknown;
      total += sizes.emplace_back(known ? copies.Size(i) : ItemSize(copies.First(i)));
    }
  }
  for (size_t i = 0; i < copies.size() && Cancelled == 0; ++i) {
    const std::string source = copies.First(i), target = copies.Second(i);
    const std::string& name = backingUp ? source : target;  // the user's file: shown, and named if it fails
    // The work done counts the item about to be handled.
    if (!quiet) view_.Item(backingUp ? "Backing up: " : "Restoring: ", name, done += sizes[i], total);
    uint32_t attributes = copies.Attributes(i);
    if (attributes == PathPairs::kUnknown) attributes = Files().Attributes(source);
    if (IsFolderAttr(attributes)) {
      ForceFolders(target);
    } else {
      CopyResult result = StartCopy(source, attributes, target, backingUp, failures);
      if (result != CopyResult::Ok) {
        // The copies before this one are told first: failures are named in list order.
        const bool movesWereUnderWay = !moves_.empty();
        EndMoves(failures);
        // The mirrors those moves replaced may have freed the room this copy lacked.
        if (result == CopyResult::DiskFull && movesWereUnderWay) {
          result = StartCopy(source, attributes, target, backingUp, failures);
        }
        // Earlier versions give way, oldest first, before the disk is called full.
        while (result == CopyResult::DiskFull && keeper_ && keeper_->DeleteOldest()) {
          result = StartCopy(source, attributes, target, backingUp, failures);
        }
      }
      if (result == CopyResult::DiskFull) {
        view_.Hide();
        DiskFullAt = static_cast<int>(i);
        return CopyOutcome::DiskFull;
      }
      if (result == CopyResult::Failed) failures.push_back(name);
    }
    while (moves_.size() >= kMovesUnderWay) EndOldestMove(failures);
    CheckStop();
  }
  EndMoves(failures);
  view_.Hide();
  if (!failures.empty()) return CopyOutcome::Failed;
  return Cancelled ? CopyOutcome::Cancelled : CopyOutcome::Done;
}

void TFileOps::RemoveFiles(const StringList& items, StringList& failures, bool quiet) {
  if (items.empty()) {
    view_.Hide();
    return;
  }
  failures.clear();
  FileSystem& fs = Files();
  std::vector<uint64_t> sizes;
  uint64_t total = 0, done = 0;
  if (!quiet) {
    for (const std::string& item : items) total += sizes.emplace_back(ItemSize(item));
  }
  for (size_t i = 0; i < items.size() && Cancelled == 0; ++i) {
    if (!quiet) view_.Item("Removing: ", items[i], done += sizes[i], total);
    const uint32_t attributes = fs.Attributes(items[i]);
    if (keeper_ && IsFileAttr(attributes) && !keeper_->KeepMirror(items[i]).empty()) {
      CheckStop();
      continue;
    }
    if (attributes != kAttrInvalid) fs.SetAttributes(items[i], attributes & ~kAttrReadOnly);
    if (IsFileAttr(attributes)) {
      if (!fs.Delete(items[i])) failures.push_back(items[i]);
    } else {
      fs.RemoveFolder(items[i]);  // only when empty; not reported otherwise
    }
    CheckStop();
  }
  view_.Hide();
}

RunResult TFileOps::Finish(TMessageLog& log, const StringList& failures, const std::string& failureHeading) {
  if (Cancelled) log.AddLine("User cancelled operation.", false);
  LastRunFailures = static_cast<int>(failures.size());
  for (const auto& [heading, paths] : skipped_) {
    log.AddLine(heading, false);
    for (const std::string& path : paths) log.AddLine(path, false);
    LastRunFailures += static_cast<int>(paths.size());
  }
  if (!failures.empty()) {
    log.AddLine(failureHeading, false);
    for (const std::string& failure : failures) log.AddLine(failure, false);
  }
  skipped_.clear();
  if (Cancelled) return RunResult::Cancelled;
  return LastRunFailures == 0 && !LastRunHalted ? RunResult::Done : RunResult::Incomplete;
}

void TFileOps::CollectTree(StringList& removals, const std::string& path) {
  CheckStop();
  if (Cancelled) return;
  FileSystem& fs = Files();
  const uint32_t attributes = fs.Attributes(path);
  if (IsFolderAttr(attributes) && !(attributes & kAttrReparsePoint)) {
    std::vector<DirEntry> entries;
    fs.List(path, entries);
    for (const DirEntry& entry : entries) {
      if (Cancelled) break;
      CollectTree(removals, JoinPath(path, entry.name));
    }
  }
  // A folder link is taken as it is: removing it removes the link, never what it points to.
  if (attributes != kAttrInvalid) removals.push_back(path);
}

}  // namespace vh
