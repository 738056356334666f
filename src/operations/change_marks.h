#pragma once
// The folders in which something changed since the last backup run, per watched tree (a folder
// entry with its sub-folders), and whether the watch still vouches for each tree: what lets a
// timed run list only those folders, and what sends it back to a whole scan.
#include <cstdint>
#include <map>
#include <string>

#include "list/source_list.h"
#include "operations/run_result.h"
#include "operations/scan_scope.h"
#include "platform/folder_watch.h"

namespace vh {

class ChangeMarks {
 public:
  // More marks than this in one tree and the tree is scanned whole. Each mark costs about what a
  // whole scan spends on one folder, plus its place in memory: beyond a thousand (an unpacked
  // archive, a program installed) narrowing saves little against a typical tree, and a tree
  // being rewritten wholesale is one to look at in full anyway.
  static constexpr size_t kMostMarks = 1000;

  explicit ChangeMarks(FolderWatch& watch) : watch_(watch) {}

  // Watches the folder entries with sub-folders of `list`, and lets go of trees no longer there
  // as such. A tree new to the watch is scanned whole by its next run.
  void Follow(const TSourceList& list);
  // The store's mirrors changed other than by a backup run (backups removed, another backup
  // folder): no tree is vouched for until a run scans it whole.
  void Forget();
  // A run starts: the trees it may narrow to their marks (none when `whole`). What changes from
  // now on is kept for the next run.
  ScanScope StartRun(bool whole);
  // The run that started last ended with `result`. Only a run that ended done vouches for the
  // trees it scanned whole; one that did not loses the trees it used, whose marks it may have left.
  void EndRun(RunResult result);

 private:
  struct Tree {
    std::string root;
    bool watched = false;   // the watch took it
    bool lost = false;      // changes may have been missed: watched afresh and scanned whole
    bool vouched = false;   // scanned whole by a run that ended done, nothing missed since
    bool overflow = false;  // more marks than kept
    bool inRun = false;     // used by the run under way
    bool wholeInRun = false;
    int64_t scannedAt = 0;  // when that whole scan's run started
    std::map<std::string, std::string> folders, subtrees;  // key -> path
  };
  void Take(const WatchEvent& event);
  static void Mark(Tree& tree, std::map<std::string, std::string>& marks, const std::string& path);
  static TreeMarks HandOver(const Tree& tree);

  FolderWatch& watch_;
  std::map<std::string, Tree> trees_;  // by the key of the root
  bool running_ = false;
  int64_t runStart_ = 0;
};

}  // namespace vh
