#pragma once
// What a backup run came to, and what the user is told of it without opening the log: the last
// backup time, the tray icon's tip and its balloon.
#include <optional>
#include <string>

#include "operations/run_result.h"

namespace vh {

struct TBackupOutcome {
  RunResult result = RunResult::Done;
  int failures = 0;     // items named as not backed up
  bool halted = false;  // stopped before it went through its list
  int massChange = 0;   // mirrors replaced in a mass change the run warned of; 0 when none
};

// A run counts as a backup performed unless it was cancelled or halted before its end; one
// whose only failures are named files does.
bool MovesLastBackup(const TBackupOutcome& outcome);
bool Complete(const TBackupOutcome& outcome);
// "Vesperhollow", then when the last backup ended and, once a run of this session told it,
// whether it was complete. At most 127 characters, as the tip holds.
std::string TrayTip(const std::string& lastEnded, std::optional<bool> complete);
// The balloon's text after a run that warned of a mass change, failed or left something out;
// empty when there is nothing to tell (a complete run, or one the user cancelled).
std::string BalloonText(const TBackupOutcome& outcome);
// The balloon of a start that finds the backup folder's drive absent, so that a user who sees no
// box still learns why nothing is backed up; empty when the drive is there or no folder is set.
std::string DriveAbsentBalloon(const std::string& backupFolder);

}  // namespace vh
