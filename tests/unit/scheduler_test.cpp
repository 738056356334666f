#include "control/scheduler.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TEST(SchedulerTest, PeriodStepsThroughMinutesThenWholeHours) {
  TScheduler s;
  s.BackupPeriod = 59;
  s.PeriodUp();
  EXPECT_EQ(s.BackupPeriod, 60);
  EXPECT_TRUE(s.PeriodInHours());
  EXPECT_EQ(s.PeriodNumber(), 1);
  s.PeriodDown();
  EXPECT_EQ(s.BackupPeriod, 59);
  EXPECT_EQ(s.MinutesToBackup, 59);  // the countdown restarts

  s.BackupPeriod = 120;
  s.PeriodDown();
  EXPECT_EQ(s.BackupPeriod, 60);
  s.BackupPeriod = kMaxBackupPeriod;
  s.PeriodUp();
  EXPECT_EQ(s.BackupPeriod, kMaxBackupPeriod);
  s.BackupPeriod = 1;
  s.PeriodDown();
  EXPECT_EQ(s.BackupPeriod, 1);

  // Every reachable period is 1..59 minutes or 1..59 hours.
  s.BackupPeriod = 1;
  int steps = 0;
  while (s.BackupPeriod < kMaxBackupPeriod) {
    s.PeriodUp();
    ++steps;
    EXPECT_TRUE(s.BackupPeriod < 60 || s.BackupPeriod % 60 == 0) << s.BackupPeriod;
  }
  EXPECT_EQ(steps, 58 + 59);
}

TEST(SchedulerTest, SwitchingTheUnitKeepsTheNumber) {
  TScheduler s;
  s.BackupPeriod = 45;
  s.UnitChosen(true, s.PeriodNumber());
  EXPECT_EQ(s.BackupPeriod, 2700);
  EXPECT_EQ(s.PeriodNumber(), 45);
  EXPECT_EQ(s.MinutesToBackup, 2700);
  s.BackupPeriod = 120;
  s.UnitChosen(false, s.PeriodNumber());
  EXPECT_EQ(s.BackupPeriod, 2);
  // A stored 90 minutes shows as 1 hour and becomes 60 when the unit is first set.
  s.BackupPeriod = 90;
  s.UnitChosen(s.PeriodInHours(), s.PeriodNumber());
  EXPECT_EQ(s.BackupPeriod, 60);
}

TEST(SchedulerTest, CountdownAndItsDisplay) {
  TScheduler s;
  s.BackupPeriod = 60;
  s.MinutesToBackup = 60;
  EXPECT_EQ(s.NextHours(), 0);
  EXPECT_EQ(s.NextMinutes(), 59);
  s.MinutesToBackup = 121;
  EXPECT_EQ(s.NextHours(), 2);
  EXPECT_EQ(s.NextMinutes(), 0);
  s.MinutesToBackup = 2;
  EXPECT_FALSE(s.Tick());
  EXPECT_EQ(s.NextHours(), 0);
  EXPECT_EQ(s.NextMinutes(), 0);
  EXPECT_TRUE(s.Tick());
  EXPECT_EQ(s.MinutesToBackup, 60);

  s.BackupPeriod = 1;  // a one-minute period is due at every tick
  s.MinutesToBackup = 1;
  EXPECT_TRUE(s.Tick());
  EXPECT_TRUE(s.Tick());
}

// Automatic backups are on while any kind is chosen and nothing suppresses them.
TEST(SchedulerTest, IdleModeIsEnabledOnlyWhileAKindIsChosenAndNotSuppressed) {
  const std::string enabled = IdleModeText(true, false, false, false, false);
  const struct {
    bool startup, shutdown, ok, suppressed, enabled;
  } cases[] = {{true, false, false, false, true},
               {false, true, false, false, true},
               {false, false, true, false, true},
               {true, true, true, true, false},
               {false, false, false, false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(IdleModeText(false, c.startup, c.shutdown, c.ok, c.suppressed) == enabled, c.enabled) << c.ok;
  }
}

}  // namespace
}  // namespace vh
