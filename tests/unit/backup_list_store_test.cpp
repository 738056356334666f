#include "list/backup_list_store.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace vh::test {
namespace {

class BackupListStoreTest : public ::testing::Test {
 protected:
  BackupListStoreTest() {
    sys.files.AddDrive("E:");
    list.Add("C:\\Docs", true, 1);
  }
  FakeSystem sys;
  TSourceList list;
  FakeGrid grid;
  const std::string config = "E:\\B\\$VH_BKS$\\PC1\\joe\\Config.txt";
};

TEST_F(BackupListStoreTest, SaveCreatesTheStoreRootAndLoadReadsItBack) {
  ASSERT_TRUE(SaveBackupList(list, "E:\\B"));
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");

  TSourceList loaded;
  EXPECT_TRUE(LoadBackupList(loaded, "E:\\B\\", grid));
  ASSERT_EQ(loaded.Count(), 1);
  EXPECT_EQ(grid.Cell(0, 1), "C:\\Docs");
  EXPECT_TRUE(sys.boxes.asked.empty());
}

TEST_F(BackupListStoreTest, NoListFileEmptiesTheList) {
  EXPECT_FALSE(LoadBackupList(list, "E:\\B", grid));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(grid.rows, 2);
}

TEST_F(BackupListStoreTest, UnreachableDriveAsksAndOnCancelChangesNothing) {
  ASSERT_TRUE(SaveBackupList(list, "E:\\B"));
  sys.files.Unplug("E:");
  sys.boxes.Answer(kIdCancel);
  TSourceList other;
  other.Add("C:\\Other", false, 0);
  EXPECT_FALSE(SaveBackupList(other, "E:\\B"));
  sys.boxes.Answer(kIdCancel);
  EXPECT_FALSE(LoadBackupList(other, "E:\\B", grid));
  EXPECT_EQ(other.Item(0)->Path, "C:\\Other");
  EXPECT_EQ(grid.rows, 0);  // the grid was not touched
  ASSERT_EQ(sys.boxes.asked.size(), 2u);
  EXPECT_EQ(sys.boxes.asked[0].text, "Backup drive (E:) not accessible. Backup list changes can not be saved.");
  EXPECT_EQ(sys.boxes.asked[1].text, "Backup drive (E:) not accessible. Backup list can not be loaded.");

  sys.files.Plug("E:");
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");
  EXPECT_FALSE(SaveBackupList(list, ""));  // no backup folder: nothing saved, no box
  EXPECT_EQ(sys.boxes.asked.size(), 2u);
}

TEST_F(BackupListStoreTest, FullDiskKeepsThePreviousListFile) {
  ASSERT_TRUE(SaveBackupList(list, "E:\\B"));
  list.Add("C:\\A much longer path that will not fit", true, 1);
  sys.files.DiskFullAfter("E:", 10);
  EXPECT_FALSE(SaveBackupList(list, "E:\\B"));
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");
}

}  // namespace
}  // namespace vh::test
