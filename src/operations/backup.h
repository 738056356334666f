#pragma once
// The backup run: brings the mirrors in the store up to date with the backup list.
#include <set>
#include <string>

#include "list/source_list.h"
#include "log/message_log.h"
#include "operations/file_ops.h"
#include "operations/scan_scope.h"
#include "platform/message_boxes.h"

namespace vh {

// A file is copied when it has no mirror or its mirror is older by more than this (100 ns units).
constexpr int64_t kChangeThreshold = 20'000'000;

class TBackup : public TFileOps {
 public:
  using TFileOps::TFileOps;
  // Incomplete when halted or some files were not copied (logged); Cancelled when the user stopped it.
  // With `ask` the user may retry unreachable drives; a full disk is told through `boxes` always.
  RunResult RunBackup(const TSourceList& list, const std::string& backupFolder, bool quiet, bool ask,
                      MessageBoxes& boxes, TMessageLog& log);
  // Appends the files below `source` whose mirror is missing or out of date.
  void ScanForBackup(PathPairs& copies, const std::string& source, const std::string& mirror, bool subs);

  // When set, the entries it narrows are looked at only in their marked folders; the others,
  // and every entry when unset, are scanned whole.
  const ScanScope* Scope = nullptr;

  // How many mirrors the last run replaced when that was a mass change (see WarnOfMassChange); 0 when not.
  int LastRunMassChange = 0;

 private:
  // What the scan knows of a mirror folder before it lists it.
  enum class MirrorFolder { Unknown, There, Missing };
  // `alone`: its sub-folders are walked only when their mirror folders are missing (new ones).
  void ScanFolder(PathPairs& copies, const std::string& source, const std::string& mirror, bool subs,
                  MirrorFolder mirrorFolder, bool alone = false);
  // An entry narrowed to its marks: each marked folder listed alone, each marked subtree walked.
  void ScanMarks(PathPairs& copies, const std::string& root, const std::string& mirror, const TreeMarks& marks);
  // Whether a marked folder below `root` is one a whole scan would list: there, reached through
  // no link, outside the store being written.
  bool WouldBeScanned(const std::string& root, const std::string& folder);
  // Why a scan stopped short of its list: a source drive or the backup drive went away.
  enum class Stop { None, SourceGone, StoreGone };
  Stop stop_ = Stop::None;
  std::string activeStore_;  // the marker folder of the store being written
  // Mirrors the scan compared with their sources, and those of them it found out of date.
  int compared_ = 0, replacing_ = 0;
  std::set<std::string> walked_;  // keys of the folders of a narrowed entry walked whole
};

}  // namespace vh
