#pragma once
// The edits of the backup list on the Select page: Add, Remove and the Sub-folder toggle, with
// their questions, log lines and removal of backups; and the state of the Sub-folder button.
#include <string>

#include "control/busy_scope.h"
#include "list/source_list.h"
#include "log/message_log.h"
#include "operations/run_result.h"

namespace vh {

// What the list edits need of the window.
class SelectPageView : public BusyStateView {
 public:
  virtual ~SelectPageView() = default;
  virtual std::string BackupFolder() const = 0;
  // The path of the tree's selected item; empty when none is selected.
  virtual std::string SelectedTreePath() = 0;
  virtual void MarkPath(const std::string& path) = 0;
  virtual void UnmarkPath(const std::string& path) = 0;
  // Reads again the tree's branch that shows `path`.
  virtual void RefreshBranchOf(const std::string& path) = 0;
  // The list into the grid again.
  virtual void ShowList() = 0;
  // Row 1 shows entry 0.
  virtual int CurrentRow() const = 0;
  virtual void SetCurrentRow(int row) = 0;
  virtual bool QuietOperations() const = 0;
  // Each Incomplete when some backups remain.
  virtual RunResult RemoveEntryBackups(const TSourceList& list, int index, bool quiet, TMessageLog& log) = 0;
  virtual RunResult RemoveSubfolderBackups(const std::string& mirrorFolder, bool quiet, TMessageLog& log) = 0;
  // Writes the list to the store. `askForDrive`: an unreachable backup drive is asked about in a
  // box; without it the save waits, told once in the log, for the drive to come back.
  virtual void SaveBackupList(bool askForDrive) = 0;
};

// Each edit that changes the list saves it at once, so that no choice is lost if the program
// ends without its exit. Add and Remove save without a box; the Sub-folder toggle has just asked
// for the drive and asks again if it is gone.
// The tree's selected item onto the list.
void AddSelection(TSourceList& list, TMessageLog& log, SelectPageView& view);
// The entry of the current row off the list, once its backups are gone.
void RemoveSelectedEntry(TSourceList& list, TMessageLog& log, SelectPageView& view);
// The current entry's sub-folders off (their backups removed) or on again.
void ToggleSubfolders(TSourceList& list, TMessageLog& log, SelectPageView& view);

struct SubDirButtonState {
  std::string caption;
  bool enabled = false;
};
// Pressable only with a folder entry current; its caption tells what pressing does.
SubDirButtonState SubDirButtonFor(const TSourceList& list, int currentRow);

}  // namespace vh
