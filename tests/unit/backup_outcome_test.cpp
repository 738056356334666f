#include "control/backup_outcome.h"

#include <gtest/gtest.h>

#include "operations_fixture.h"

namespace vh::test {
namespace {

TEST(BackupOutcomeTest, WhatEachRunTellsTheUser) {
  struct Case {
    TBackupOutcome outcome;
    bool moves, complete;
    std::string balloon;
  };
  const Case cases[] = {
      {{RunResult::Done, 0, false}, true, true, ""},
      {{RunResult::Incomplete, 1, false}, true, false, "1 item could not be backed up. Click here to see the log."},
      {{RunResult::Incomplete, 3, false}, true, false, "3 items could not be backed up. Click here to see the log."},
      {{RunResult::Incomplete, 12, true},
       false,
       false,
       "The backup stopped before it was complete: 12 items not backed up. Click here to see the log."},
      {{RunResult::Incomplete, 0, true},
       false,
       false,
       "The backup stopped before it was complete. Click here to see the log."},
      // A full disk reported only by its heading still counts as left out.
      {{RunResult::Done, 0, true},
       false,
       false,
       "The backup stopped before it was complete. Click here to see the log."},
      // A mass change is told even by a run that is otherwise complete.
      {{RunResult::Done, 0, false, 150},
       true,
       true,
       "150 backed-up files changed at once. If you did not change them, check them now; their earlier versions are "
       "kept. Click here to see the log."},
      {{RunResult::Cancelled, 0, false}, false, false, ""},
      {{RunResult::Cancelled, 4, true}, false, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(c.outcome.result) << " " << c.outcome.failures << " "
                                      << c.outcome.halted);
    EXPECT_EQ(MovesLastBackup(c.outcome), c.moves);
    EXPECT_EQ(Complete(c.outcome), c.complete);
    EXPECT_EQ(BalloonText(c.outcome), c.balloon);
  }
}

TEST(BackupOutcomeTest, TheTipSaysWhenTheLastBackupEndedAndWhetherItWasComplete) {
  EXPECT_EQ(TrayTip("No backups found", std::nullopt), "Vesperhollow\nNo backups found");
  EXPECT_EQ(TrayTip("12/7/1999 10:15:32 AM", std::nullopt), "Vesperhollow\nLast backup ended 12/7/1999 10:15:32 AM");
  EXPECT_EQ(TrayTip("12/7/1999 10:15:32 AM", true),
            "Vesperhollow\nLast backup ended 12/7/1999 10:15:32 AM, complete");
  EXPECT_EQ(TrayTip("12/7/1999 10:15:32 AM", false),
            "Vesperhollow\nLast backup ended 12/7/1999 10:15:32 AM, incomplete");
  const std::string tip = TrayTip(std::string(255, 'x'), false);
  EXPECT_EQ(tip.size(), 127u);
  EXPECT_EQ(tip.substr(tip.size() - 12), ", incomplete");
}

class DriveAbsentBalloonTest : public OperationsTest {};

TEST_F(DriveAbsentBalloonTest, OnlyAnAbsentDriveOfASetFolderIsTold) {
  sys.files.AddFolder("E:\\Backup");
  EXPECT_EQ(DriveAbsentBalloon("E:\\Backup"), "");
  EXPECT_EQ(DriveAbsentBalloon(""), "");
  sys.files.Unplug("E:");
  EXPECT_EQ(DriveAbsentBalloon("E:\\Backup"), "Backup drive (E:) not accessible. Backups wait until it is back.");
  EXPECT_EQ(sys.boxes.asked.size(), 0u);  // an unattended start puts up no box
}

}  // namespace
}  // namespace vh::test
