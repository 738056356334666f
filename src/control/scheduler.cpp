#include "control/scheduler.h"

namespace vh {

std::string BusyModeText(BusyCode busyState) {
  switch (busyState) {
    case kTimedBackup: return "Timed backup in progress";
    case kManualBackup: return "Manual backup in progress";
    case kRestoring: return "Restore in progress";
    case kPurging: return "Purge in progress";
    case kRemovingBackups: return "Backup deletion in progress";
    case kAutomaticBackup: return "Automatic backup in progress";
    default: return "";
  }
}

std::string CutShortLine(BusyCode running, EndCause cause) {
  const char* operation = running == kRestoring        ? "Restore"
                          : running == kPurging        ? "Purge"
                          : running == kRemovingBackups ? "Removal of backups"
                                                       : "Backup";
  const char* by = cause == EndCause::LogOff     ? " by log-off."
                   : cause == EndCause::ShutDown ? " by shut-down."
                                                 : ": Vesperhollow was closed.";
  return std::string("WARNING: ") + operation + " cut short" + by;
}

std::string IdleModeText(bool timed, bool startup, bool shutdown, bool okBackup, bool suppressed) {
  const bool any = timed || startup || shutdown || okBackup;
  return any && !suppressed ? "Automatic backups enabled" : "Automatic backups disabled";
}

void TScheduler::PeriodUp() {
  if (BackupPeriod < kMaxBackupPeriod) BackupPeriod += BackupPeriod < 60 ? 1 : 60;
  MinutesToBackup = BackupPeriod;
}

void TScheduler::PeriodDown() {
  if (BackupPeriod > 1) BackupPeriod -= BackupPeriod > 60 ? 60 : 1;
  MinutesToBackup = BackupPeriod;
}

void TScheduler::UnitChosen(bool hours, int number) {
  BackupPeriod = hours ? number * 60 : number;
  MinutesToBackup = BackupPeriod;
}

bool TScheduler::Tick() {
  if (MinutesToBackup > 0) --MinutesToBackup;
  if (MinutesToBackup != 0) return false;
  MinutesToBackup = BackupPeriod;
  return true;
}

}  // namespace vh
