#pragma once
// The Earlier Versions dialog's decisions: what it tells of the store's versions, what OK makes of
// the days typed, and what Open Folder opens.
#include <optional>
#include <string>

#include "platform/locale_clock.h"

namespace vh {

// What the versions folder of a store holds.
struct VersionsSummary {
  long long files = 0;                   // versions kept, in all run folders
  std::optional<LocalTime> first, last;  // the times of the oldest and the newest run folder
  double bytes = -1;                     // the room the versions folder takes; -1 without one
};

VersionsSummary SummariseVersions(const std::string& backupFolder);
// The summary as the dialog shows it, one fact a line.
std::string VersionsSummaryText(const VersionsSummary& summary);

// The days typed: a whole number within the setting's range, or else the message that says what
// is wanted.
struct KeepDaysEntry {
  std::optional<int> days;
  std::string message;
};
KeepDaysEntry ReadKeepDays(const std::string& typed);

// The folder Open Folder shows; empty, with `message` set to what to tell instead, when the store
// has none yet.
std::string VersionsFolderToOpen(const std::string& backupFolder, std::string& message);

}  // namespace vh
