#include "store/drive_checks.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace vh::test {
namespace {

class DriveChecksTest : public ::testing::Test {
 protected:
  DriveChecksTest() {
    sys.files.AddDrive("C:");
    sys.files.AddDrive("E:");
  }
  FakeSystem sys;
  std::string message = "as the caller set it";
  int answer = -1;
  StringList drives{"stale"};
};

TEST_F(DriveChecksTest, BackupDriveReachableOrNot) {
  EXPECT_TRUE(CheckBackupDrive(&sys.boxes, "E:\\Backups", message, " Suffix."));
  EXPECT_EQ(message, "");

  EXPECT_FALSE(CheckBackupDrive(nullptr, "F:\\Backups", message, " Backup list can not be loaded."));
  EXPECT_EQ(message, "Backup drive (F:) not accessible. Backup list can not be loaded.");
  EXPECT_TRUE(sys.boxes.asked.empty());

  message = "untouched";
  EXPECT_FALSE(CheckBackupDrive(&sys.boxes, "", message, " x"));
  EXPECT_EQ(message, "untouched");
  EXPECT_TRUE(sys.boxes.asked.empty());
}

TEST_F(DriveChecksTest, BackupDriveRetriesUntilTheDriveComesBackOrTheUserCancels) {
  sys.files.Unplug("E:");
  sys.boxes.Answer(kIdRetry);
  sys.boxes.Answer(kIdRetry, [&] { sys.files.Plug("E:"); });
  EXPECT_TRUE(CheckBackupDrive(&sys.boxes, "E:\\Backups", message, ""));
  EXPECT_EQ(message, "");
  ASSERT_EQ(sys.boxes.asked.size(), 2u);
  EXPECT_EQ(sys.boxes.asked[0].text, "Backup drive (E:) not accessible.");
  EXPECT_EQ(sys.boxes.asked[0].caption, "Vesperhollow");
  EXPECT_EQ(sys.boxes.asked[0].style, 53u);

  sys.files.Unplug("E:");
  sys.boxes.Answer(kIdRetry);
  sys.boxes.Answer(kIdCancel);
  EXPECT_FALSE(CheckBackupDrive(&sys.boxes, "E:\\Backups", message, " Backup list changes can not be saved."));
  EXPECT_EQ(message, "Backup drive (E:) not accessible. Backup list changes can not be saved.");
  EXPECT_EQ(sys.boxes.asked.size(), 4u);
}

TEST_F(DriveChecksTest, SourceMessageGrammarForOneTwoAndThreeDrives) {
  TSourceList list;
  list.Add("C:\\ok", true, 1);
  list.Add("D:\\one", true, 1);
  EXPECT_FALSE(CheckSourceDrives(nullptr, answer, list, drives, message));
  EXPECT_EQ(message, "Source drive D: not accessible.");
  EXPECT_EQ(answer, 0);

  list.Add("d:\\again", false, 0);  // same drive, other case: listed once
  list.Add("E:\\here", false, 0);
  list.Add("F:\\two", false, 0);
  EXPECT_FALSE(CheckSourceDrives(nullptr, answer, list, drives, message));
  EXPECT_EQ(message, "Source drives D: and F: not accessible.");
  EXPECT_EQ(drives, (StringList{"D:", "F:"}));

  list.Add("G:\\three", false, 0);
  EXPECT_FALSE(CheckSourceDrives(nullptr, answer, list, drives, message));
  EXPECT_EQ(message, "Source drives D: , F: and G: not accessible.");
  EXPECT_EQ(drives, (StringList{"D:", "F:", "G:"}));
}

TEST_F(DriveChecksTest, SourcesWithoutDrivePartOrAllReachablePass) {
  TSourceList list;
  list.Add("Docs\\x", false, 0);
  list.Add("\\\\srv\\share\\x", true, 1);  // refused by the run; its server is never waited for
  list.Add("C:\\Docs", true, 1);
  EXPECT_TRUE(CheckSourceDrives(&sys.boxes, answer, list, drives, message));
  EXPECT_EQ(message, "");
  EXPECT_EQ(answer, 0);
  EXPECT_TRUE(drives.empty());
}

TEST_F(DriveChecksTest, SourceBoxRetriesAfreshAndReturnsTheLastAnswer) {
  sys.files.AddDrive("D:");
  sys.files.AddDrive("F:");
  sys.files.Unplug("D:");
  sys.files.Unplug("F:");
  TSourceList list;
  list.Add("D:\\a", true, 1);
  list.Add("F:\\b", true, 1);

  sys.boxes.Answer(kIdRetry, [&] { sys.files.Plug("D:"); });
  sys.boxes.Answer(kIdIgnore);
  EXPECT_FALSE(CheckSourceDrives(&sys.boxes, answer, list, drives, message));
  EXPECT_EQ(answer, kIdIgnore);
  EXPECT_EQ(drives, (StringList{"F:"}));
  EXPECT_EQ(message, "Source drive F: not accessible.");
  ASSERT_EQ(sys.boxes.asked.size(), 2u);
  EXPECT_EQ(sys.boxes.asked[0].text, "Source drives D: and F: not accessible.");
  EXPECT_EQ(sys.boxes.asked[1].text, "Source drive F: not accessible.");
  EXPECT_EQ(sys.boxes.asked[1].style, 306u);

  sys.boxes.Answer(kIdAbort);
  EXPECT_FALSE(CheckSourceDrives(&sys.boxes, answer, list, drives, message));
  EXPECT_EQ(answer, kIdAbort);

  sys.boxes.Answer(kIdRetry, [&] { sys.files.Plug("F:"); });
  EXPECT_TRUE(CheckSourceDrives(&sys.boxes, answer, list, drives, message));
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(message, "");
}

TEST_F(DriveChecksTest, StoreDrivesAreTheStoreRootsEntries) {
  const std::string root = "E:\\B\\$VH_BKS$\\PC1\\joe";
  sys.files.AddFolder(root + "\\C");
  sys.files.AddFolder(root + "\\D");
  sys.files.AddFolder(root + "\\Q");
  sys.files.AddFile(root + "\\Config.txt");
  sys.files.AddFile(root + "\\Log.txt");
  sys.files.AddFile(root + "\\x.bak");
  sys.files.AddFile(root + "\\Z");  // a file, not a drive's backups
  sys.files.AddDrive("Q:");
  EXPECT_FALSE(CheckStoreDrives(nullptr, answer, "E:\\B", drives, message));
  EXPECT_EQ(drives, (StringList{"D:"}));
  EXPECT_EQ(message, "Source drive D: not accessible.");

  EXPECT_TRUE(CheckStoreDrives(&sys.boxes, answer, "E:\\NoStoreHere", drives, message));
}

}  // namespace
}  // namespace vh::test
