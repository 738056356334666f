#pragma once
// The backup run: brings the mirrors in the store up to date with the backup list.
#include <string>

#include "list/source_list.h"
#include "log/message_log.h"
#include "operations/file_ops.h"
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

  // How many mirrors the last run replaced when that was a mass change (see WarnOfMassChange); 0 when not.
  int LastRunMassChange = 0;

 private:
  // What the scan knows of a mirror folder before it lists it.
  enum class MirrorFolder { Unknown, There, Missing };
  void ScanFolder(PathPairs& copies, const std::string& source, const std::string& mirror, bool subs,
                  MirrorFolder mirrorFolder);
  // Why a scan stopped short of its list: a source drive or the backup drive went away.
  enum class Stop { None, SourceGone, StoreGone };
  Stop stop_ = Stop::None;
  std::string activeStore_;  // the marker folder of the store being written
  // Mirrors the scan compared with their sources, and those of them it found out of date.
  int compared_ = 0, replacing_ = 0;
};

}  // namespace vh
