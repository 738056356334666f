#pragma once
// What one run keeps as earlier versions, in its own run folder of the versions folder (see
// store/versions.h): mirrors it is about to replace or purge (moved: a rename on the backup
// drive), and user's files a restore is about to write over (copied: see KeepUserFile). A version
// never makes a run fail: one that cannot be kept is named in the log and the run goes on as it
// would without versions.
#include <set>
#include <string>

#include "common/string_list.h"
#include "log/message_log.h"

namespace vh {

class VersionKeeper {
 public:
  // Keeps nothing and touches nothing when `keepDays` is 0 or no backup folder is given.
  VersionKeeper(const std::string& backupFolder, int keepDays, bool restore);

  bool On() const { return keepDays_ > 0 && !root_.empty(); }
  // This run's folder, named at the first call; made only when something is kept in it.
  std::string RunFolder();
  // Where in the run folder the mirror file is to be kept (its folder made), for a rename that
  // Kept then tells the outcome of. Empty when there is no mirror file, or the run already kept
  // that mirror (a file reached through two entries: its first version is the one from before the run).
  std::string PlaceFor(const std::string& mirror);
  // Whether the mirror could be moved to its place: one that could not is named in the log.
  void Kept(const std::string& mirror, bool kept);
  // Moves the mirror file into the run folder: PlaceFor, the rename and Kept. The path it went
  // to, or empty when there was nothing to keep or it could not be kept.
  std::string KeepMirror(const std::string& mirror);
  // Puts a kept mirror back where it was, when what was to replace it did not come.
  void PutBack(const std::string& version, const std::string& mirror);
  // Copies the user's file into the run folder when it differs from `backup` (newer, or of
  // another size). A copy, never a move: the restore swaps its copy into the user's file, which
  // keeps the file's creation time, permissions and streams, and the file stays in its place
  // should the restore be cut off; the store is most often on another drive besides.
  void KeepUserFile(const std::string& file, const std::string& backup);
  // Deletes the oldest run folder but this run's own (what this run displaced is the very copy it
  // promised to keep); false when none is left.
  bool DeleteOldest();
  // Deletes the run folders past keeping (RunFoldersToDelete), then the versions folder if empty.
  void Prune();
  // Names in the log what could not be kept or deleted, and what was deleted to make room.
  void Report(TMessageLog& log);

 private:
  // Where the run keeps the file whose mirror (or would-be mirror) is `mirror`; empty when that
  // is not below the store root.
  std::string VersionOf(const std::string& mirror);
  void MakeFolderOf(const std::string& path);
  // Deletes a folder and everything below it; false when something stayed.
  static bool DeleteTree(const std::string& path);

  std::string backupFolder_, root_, versions_, runName_;
  std::string linked_;  // the versions folder, when it is a link and so not used
  int keepDays_;
  bool restore_;
  std::set<std::string> kept_, tried_;  // mirrors kept (lower case), run folders tried for room
  std::string madeFolder_;
  StringList notKept_, deletedForRoom_, notDeleted_;
};

}  // namespace vh
