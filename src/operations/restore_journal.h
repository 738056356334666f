#pragma once
// The temporary files a restore makes beside the user's files are named in the store before they
// are made, so that what a restore cut off part-way leaves there is found by the next run and
// never taken for the user's own file.
#include <string>
#include <vector>

namespace vh {

class TMessageLog;

class RestoreJournal {
 public:
  // From now on, temporaries are named in the store of `backupFolder`.
  void Open(const std::string& backupFolder);
  // Names a temporary before it is made. A name is written once: the files of one folder take
  // turns with the same name, so a folder costs one write.
  void Record(const std::string& temp);
  // A temporary this restore could not remove: it stays named.
  void Left(const std::string& temp) { left_.push_back(temp); }
  // The restore is over: the journal keeps only what is left to remove, the temporaries this
  // restore could not remove and those of earlier ones still there, and goes when that is none.
  // A name this restore used and removed is dropped even if a file has it now: a file restored
  // under that very name is the user's.
  void Close();

 private:
  std::string file_;  // empty: not open
  std::vector<std::string> named_, left_;
};

// "~vh", digits, ".tmp": the only names a restore's temporary files take.
bool IsRestoreTempName(const std::string& name);
// Removes every temporary a cut-off restore named that is still there, each named in the log,
// then the journal. Only a file of the temporary form outside any store is ever deleted; one that
// cannot go yet (its drive away, the file held) stays named for the next run.
void RemoveRestoreLeftovers(const std::string& backupFolder, TMessageLog& log);

}  // namespace vh
