#pragma once
// The batch loops every operation ends in: copy a list of files, remove a list of items; with
// a progress window whose Cancel button stops them between two items.
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "common/path_pairs.h"
#include "common/string_list.h"
#include "log/message_log.h"
#include "operations/restore_journal.h"
#include "operations/run_result.h"
#include "platform/file_system.h"
#include "platform/progress_view.h"

namespace vh {

class VersionKeeper;

class TFileOps {
 public:
  explicit TFileOps(ProgressView& view) : view_(view) {}
  virtual ~TFileOps() = default;

  // Every copy is all or nothing: it is filled in the store's work folder (UseWorkFolder) or
  // beside the target, and takes the target's place only when whole and on the disk. A Cancel
  // is answered within the copy of a large file, which is then left out and not named.
  CopyOutcome CopyFiles(const PathPairs& copies, StringList& failures, bool quiet, bool backingUp);
  // The same for two lists paired by index.
  CopyOutcome CopyFiles(const StringList& sources, const StringList& targets, StringList& failures, bool quiet,
                        bool backingUp);
  // Removes files and (empty) folders in list order; files that could not go are listed.
  void RemoveFiles(const StringList& items, StringList& failures, bool quiet);
  // A file's size; 0 for a folder or what cannot be found.
  static uint64_t ItemSize(const std::string& path);

  // Set once the user asked the window to stop; each run clears it when its work begins.
  uint8_t Cancelled = 0;
  // The index at which the last CopyFiles met a full disk; -1 when it did not.
  int DiskFullAt = -1;
  // What the last run left out: how many items it named as not done, and whether it stopped
  // before going through its list (a full disk, the backup drive gone).
  int LastRunFailures = 0;
  bool LastRunHalted = false;
  // Days earlier versions are kept; 0: none are kept.
  int KeepDays = 0;

 protected:
  // The window in front with the run's caption and first line (unless quiet).
  void ShowPreparing(bool quiet, const std::string& caption, const std::string& label);
  // The end of every run: logs a cancel and the failures under `failureHeading`; cancelled
  // outranks failures.
  RunResult Finish(TMessageLog& log, const StringList& failures, const std::string& failureHeading);
  // Appends a file, or a folder after everything below it, to `removals`.
  void CollectTree(StringList& removals, const std::string& path);
  // Forgets what the last run left out, and tells the window a run starts; every run starts with
  // it, naming the log it writes to.
  void StartRun(TMessageLog& log);
  // The backup drive went away during the run: logged, and the run counts as halted.
  void HaltForStoreGone(TMessageLog& log, const std::string& backupFolder);
  // An item the run leaves out for a reason of its own; logged by Finish under `heading`, which
  // says why, and counted as not done.
  void Skip(const std::string& heading, const std::string& path);
  // Where the next backup copies are filled: the store's work folder (empty: beside the target).
  void UseWorkFolder(const std::string& folder) {
    workFolder_ = folder;
    workFolderReady_ = false;
  }
  // Gives the window its turn: a stop the user asked for is taken up here.
  void CheckStop();
  // For its lifetime, what the copies replace and the removals remove is kept by `keeper` first.
  class Keeping {
   public:
    Keeping(TFileOps& ops, VersionKeeper& keeper) : ops_(ops) { ops_.keeper_ = &keeper; }
    ~Keeping() { ops_.keeper_ = nullptr; }
    Keeping(const Keeping&) = delete;
    Keeping& operator=(const Keeping&) = delete;

   private:
    TFileOps& ops_;
  };
  ProgressView& view_;
  // Where temporaries made beside the user's files are named (a restore opens it).
  RestoreJournal journal_;

 private:
  CopyOutcome CopyAll(const PathPairs& copies, StringList& failures, bool quiet, bool backingUp);
  // Copies one file; Ok may leave its move into place under way. Moves it ends that failed are
  // named in `failures`.
  CopyResult StartCopy(const std::string& source, uint32_t attributes, const std::string& target, bool backingUp,
                       StringList& failures);
  // Takes the outcome of the oldest move under way; one that failed is named in `failures`.
  void EndOldestMove(StringList& failures);
  void EndMoves(StringList& failures);
  // Whether a move under way goes to this target (work-folder names never meet: they take turns).
  bool Moving(const std::string& target) const;
  std::string TempFor(const std::string& target);
  // Creates the folder of a target with its parents, once for the files of one folder.
  void MakeFolderOf(const std::string& target);
  std::vector<std::pair<std::string, StringList>> skipped_;  // heading -> paths, in the order met
  std::string workFolder_;
  bool workFolderReady_ = false;  // made, and emptied of what an earlier run left there
  std::string madeFolder_;        // the target folder made last
  // Moves into place under way: the disk is waited for while the next files are copied (into the
  // work folder only).
  struct Move {
    std::string temp, target, failure, keepAs;  // keepAs: where the mirror it replaces goes
  };
  static constexpr size_t kMovesUnderWay = 16;
  std::deque<Move> moves_;
  size_t workSlot_ = 0;
  TMessageLog* runLog_ = nullptr;  // the run's log, whose file is brought up to date as the run goes
  VersionKeeper* keeper_ = nullptr;
};

// The store's work folder of a backup folder (see kWorkFolder).
std::string WorkFolderOf(const std::string& backupFolder);
// Removes what unfinished copies left in the store's work folder, then the folder when empty.
void ClearWorkFolder(const std::string& backupFolder);

}  // namespace vh
