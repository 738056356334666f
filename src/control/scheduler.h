#pragma once
// The arithmetic of timed backups: the period, the countdown and the texts of the busy state.
#include <string>

namespace vh {

constexpr int kMaxBackupPeriod = 3540;  // 59 hours, in minutes

// The operation in progress; 0 when idle.
enum BusyCode : int {
  kIdle = 0,
  kTimedBackup = 1,
  kManualBackup = 2,
  kRestoring = 3,
  kPurging = 4,
  kRemovingBackups = 5,
  kAutomaticBackup = 6,
};

// The Mode text of a busy state; empty for idle, whose text the refresh writes.
std::string BusyModeText(BusyCode busyState);

// What ends the program: Exit or another program closing it, the user logging off, the system
// shutting down.
enum class EndCause { Closed, LogOff, ShutDown };
// The log's detail line for an operation that the end of the program stops part-way.
std::string CutShortLine(BusyCode running, EndCause cause);
// The Mode text while idle.
std::string IdleModeText(bool timed, bool startup, bool shutdown, bool okBackup, bool suppressed);

class TScheduler {
 public:
  int BackupPeriod = 60;    // minutes, 1 to 3540
  int MinutesToBackup = 0;  // timer ticks left before the next timed backup

  // "+" and "-": 1 to 59 minutes, then whole hours up to 59; the countdown restarts.
  void PeriodUp();
  void PeriodDown();
  // A unit button became checked with `number` shown: the number keeps, its meaning changes.
  void UnitChosen(bool hours, int number);
  // One timer tick; true when the countdown ran out (it restarts at the full period).
  bool Tick();

  // The period as the Control page shows it: a number, in hours from 60 minutes on.
  bool PeriodInHours() const { return BackupPeriod >= 60; }
  int PeriodNumber() const { return PeriodInHours() ? BackupPeriod / 60 : BackupPeriod; }
  // Time left to the next timed backup, counted in whole minutes before the tick that starts it.
  int NextHours() const { return (MinutesToBackup - 1) / 60; }
  int NextMinutes() const { return (MinutesToBackup - 1) % 60; }
};

}  // namespace vh
