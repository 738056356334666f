#pragma once
// The backup list kept as "Config.txt" in the store root of the backup folder.
#include <string>

#include "common/string_list.h"
#include "list/source_list.h"
#include "platform/grid.h"

namespace vh {

// A bigger file is not a list this program wrote; reading it would hold up start-up and log-off.
constexpr uint64_t kMaxListFileBytes = 4u << 20;

std::string BackupListFileName(const std::string& backupFolder);

// The list's bond with its file. Until the file has been read, the list holds only what the user
// added meanwhile and the file is never written over: every save, and every backup through
// CatchUp, first tries to read it, and its entries join the list. A damaged file is read as far
// as it reads, and kept as it is until the user changes the list; the first save after that keeps
// it aside as "Config-damaged.txt" before the list takes its place. What went wrong is told in
// lines for the log, in `notes`.
class TBackupListFile {
 public:
  // Reads the list of `backupFolder`'s store; true when a list file was read. `ask`: whether an
  // unreachable drive may be retried in a box.
  bool Load(TSourceList& list, const std::string& backupFolder, bool ask, Grid& grid, StringList& notes);
  // Without a box, once the drive is there: reads the file when it has not been read yet, then
  // writes what the list holds beyond the file (changes a quiet save could not write).
  void CatchUp(TSourceList& list, const std::string& backupFolder, Grid& grid, StringList& notes);
  // Saves the list once its drive can be reached; with `ask` the user may retry or cancel in a box,
  // without it an absent drive is told once in `notes` and the changes wait for CatchUp. False
  // when nothing was written: no drive, a file not read, or a damaged file and the list unchanged.
  // A backup folder other than the one loaded starts a new store: the list is written as it is.
  bool Save(TSourceList& list, const std::string& backupFolder, bool ask, Grid& grid, StringList& notes);
  // Whether the file of the folder loaded has been read (or written from the list).
  bool Loaded() const { return read_; }

 private:
  // Adds the file's entries to the list; true when the file was read.
  bool Read(TSourceList& list, StringList& notes);
  // A copy of the damaged file beside it, never over an earlier one; false when none could be made.
  bool KeepDamagedAside(const std::string& fileName, StringList& notes);

  std::string folder_;          // the backup folder the rest is about
  bool read_ = false;           // the file has been read, or written from the list
  bool damaged_ = false;        // the file read is damaged and has not been kept aside yet
  std::string fileText_;        // the list as its file holds it, once read or written
  bool toldUnsaved_ = false;    // an absent drive has been told since the last write
};

}  // namespace vh
