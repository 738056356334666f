#include "control/backup_outcome.h"

#include "common/text_lines.h"
#include "control/settings.h"
#include "store/drive_checks.h"

namespace vh {
namespace {
constexpr size_t kMaxTipChars = 127;

std::string Items(int count) { return std::to_string(count) + (count == 1 ? " item" : " items"); }
}  // namespace

bool MovesLastBackup(const TBackupOutcome& outcome) {
  return outcome.result != RunResult::Cancelled && !outcome.halted;
}

bool Complete(const TBackupOutcome& outcome) {
  return outcome.result == RunResult::Done && outcome.failures == 0 && !outcome.halted;
}

std::string TrayTip(const std::string& lastEnded, std::optional<bool> complete) {
  std::string tip = "Vesperhollow";
  if (lastEnded.empty() || lastEnded == kNoBackupsFound) {
    tip += "\n" + std::string(kNoBackupsFound);
  } else {
    const std::string state = complete ? (*complete ? ", complete" : ", incomplete") : "";
    tip += "\nLast backup ended " + FirstChars(lastEnded, kMaxTipChars - 31 - 12) + state;  // room for the words around it
  }
  return FirstChars(tip, kMaxTipChars);
}

std::string BalloonText(const TBackupOutcome& outcome) {
  if (outcome.result == RunResult::Cancelled) return "";
  // Said first, whatever else the run met: it is the moment the user can still act.
  if (outcome.massChange > 0) {
    return std::to_string(outcome.massChange) +
           " backed-up files changed at once. If you did not change them, check them now; their earlier versions "
           "are kept. Click here to see the log.";
  }
  if (Complete(outcome)) return "";
  std::string text;
  if (outcome.halted) {
    text = "The backup stopped before it was complete";
    text += outcome.failures > 0 ? ": " + Items(outcome.failures) + " not backed up." : ".";
  } else if (outcome.failures > 0) {
    text = Items(outcome.failures) + " could not be backed up.";
  } else {
    text = "The backup did not complete.";
  }
  return text + " Click here to see the log.";
}

std::string DriveAbsentBalloon(const std::string& backupFolder) {
  std::string message;
  if (backupFolder.empty() || CheckBackupDrive(nullptr, backupFolder, message, " Backups wait until it is back.")) {
    return "";
  }
  return message;
}

}  // namespace vh
