#include "list/backup_list_store.h"

#include <gtest/gtest.h>

#include <functional>

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
  TBackupListFile file;
  FakeGrid grid;
  StringList notes;
  const std::string config = "E:\\B\\$VH_BKS$\\PC1\\joe\\Config.txt";
  const std::string twoEntries = "3.0\r\nC:\\A\r\n1\r\n1\r\nC:\\B\\f.txt\r\n0\r\n0\r\n";
};

TEST_F(BackupListStoreTest, SaveCreatesTheStoreRootAndLoadReadsItBack) {
  ASSERT_TRUE(file.Save(list, "E:\\B", grid, notes));
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");

  TSourceList loaded;
  TBackupListFile other;
  EXPECT_TRUE(other.Load(loaded, "E:\\B\\", true, grid, notes));
  ASSERT_EQ(loaded.Count(), 1);
  EXPECT_EQ(grid.Cell(0, 1), "C:\\Docs");
  EXPECT_TRUE(sys.boxes.asked.empty());
  EXPECT_TRUE(notes.empty());
}

TEST_F(BackupListStoreTest, NoListFileLeavesTheListEmpty) {
  TSourceList empty;
  EXPECT_FALSE(file.Load(empty, "E:\\B", false, grid, notes));
  EXPECT_EQ(empty.Count(), 0);
  EXPECT_EQ(grid.rows, 2);
  EXPECT_TRUE(notes.empty());
}

TEST_F(BackupListStoreTest, UnreachableDriveOnSaveAsksAndOnCancelChangesNothing) {
  ASSERT_TRUE(file.Save(list, "E:\\B", grid, notes));
  sys.files.Unplug("E:");
  sys.boxes.Answer(kIdCancel);
  list.Add("C:\\Other", false, 0);
  EXPECT_FALSE(file.Save(list, "E:\\B", grid, notes));
  ASSERT_EQ(sys.boxes.asked.size(), 1u);
  EXPECT_EQ(sys.boxes.asked[0].text, "Backup drive (E:) not accessible. Backup list changes can not be saved.");
  sys.files.Plug("E:");
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");
  EXPECT_FALSE(file.Save(list, "", grid, notes));  // no backup folder: nothing saved, no box
  EXPECT_EQ(sys.boxes.asked.size(), 1u);
}

TEST_F(BackupListStoreTest, FullDiskKeepsThePreviousListFile) {
  ASSERT_TRUE(file.Save(list, "E:\\B", grid, notes));
  list.Add("C:\\A much longer path that will not fit", true, 1);
  sys.files.DiskFullAfter("E:", 10);
  EXPECT_FALSE(file.Save(list, "E:\\B", grid, notes));
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");
  EXPECT_EQ(notes, (StringList{"WARNING: The backup list could not be saved:", config}));  // the user is told
}

// A list file that could not be read at start-up is never written over with less, no box waits
// for an answer, and each case is told in the log.
TEST_F(BackupListStoreTest, AListThatCouldNotBeLoadedIsNeverWipedAndIsLoadedLater) {
  struct Case {
    const char* name;
    std::string content;
    size_t entries;  // loaded at start-up
    std::string note;
    std::function<void()> spoil = [] {}, mend = [] {};
  };
  const Case cases[] = {
      {"drive absent", twoEntries, 0,
       "WARNING: Backup drive (E:) not accessible. Backup list can not be loaded. It is loaded once the drive is back.",
       [&] { sys.files.Unplug("E:"); }, [&] { sys.files.Plug("E:"); }},
      {"file locked", twoEntries, 0, "WARNING: The backup list could not be read; it is read again before the next backup:",
       [&] { sys.files.FailOpen(config); }, [&] { sys.files.ReleaseOpen(config); }},
      {"binary", std::string("3.0\r\n\0\x01\x02", 8), 0,
       "WARNING: The backup list file is damaged: it holds binary data. It is kept until the list is changed:"},
      {"wrong version", "4.0\r\nC:\\A\r\n1\r\n1\r\n", 1,
       "WARNING: The backup list file is damaged: its first line is not \"3.0\". It is kept until the list is changed:"},
      {"truncated", "3.0\r\nC:\\A\r\n1\r\n1\r\nC:\\B", 2,
       "WARNING: The backup list file is damaged: it ends inside an entry. It is kept until the list is changed:"},
      {"huge", "3.0\r\n" + std::string(kMaxListFileBytes, 'x') + "\r\n1\r\n1\r\n", 0,
       "WARNING: The backup list file is damaged: it is too large to be a backup list. It is kept until the list is "
       "changed:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool damaged = c.content != twoEntries;
    sys.files = FakeFileSystem();
    sys.files.AddDrive("E:");
    sys.files.AddFile(config, c.content);
    const std::string base = config.substr(0, config.size() - 4) + "-damaged";
    const bool earlierAside = (&c - cases) % 2 == 1;  // kept by an earlier damage
    if (earlierAside) sys.files.AddFile(base + ".txt", "earlier");
    c.spoil();
    TSourceList loaded;
    TBackupListFile store;
    notes.clear();
    store.Load(loaded, "E:\\B", false, grid, notes);
    EXPECT_EQ(static_cast<size_t>(loaded.Count()), c.entries);
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes[0], c.note);
    EXPECT_TRUE(sys.boxes.asked.empty());

    // Exit before anything changed: the file stays as it was (an absent drive is asked for).
    if (!sys.files.Exists(config)) sys.boxes.Answer(kIdCancel);
    store.Save(loaded, "E:\\B", grid, notes);
    sys.boxes.asked.clear();
    c.mend();
    EXPECT_EQ(sys.files.Content(config), c.content);

    // The drive came, or the file was let go: it is read before the next backup.
    store.CatchUp(loaded, "E:\\B", grid, notes);
    if (!damaged) {
      EXPECT_EQ(loaded.Count(), 2);
      store.Save(loaded, "E:\\B", grid, notes);
      EXPECT_EQ(sys.files.Content(config), twoEntries);
    }
    // The user changes the list: only now is a damaged file replaced.
    loaded.Add("C:\\New", true, 1);
    EXPECT_TRUE(store.Save(loaded, "E:\\B", grid, notes));
    EXPECT_EQ(sys.files.Content(config), loaded.Text());
    EXPECT_EQ(static_cast<size_t>(loaded.Count()), (damaged ? c.entries : 2) + 1);
    const std::string aside = base + (earlierAside ? "-2.txt" : ".txt");
    EXPECT_EQ(sys.files.Exists(aside), damaged);
    EXPECT_EQ(sys.files.Content(aside), damaged ? c.content : "");  // what could not be read survives
    if (earlierAside) {
      EXPECT_EQ(sys.files.Content(base + ".txt"), "earlier");
    }
  }
}

TEST_F(BackupListStoreTest, WhatTheUserAddedBeforeTheFileWasReadJoinsItsEntries) {
  sys.files.AddFile(config, twoEntries);
  sys.files.Unplug("E:");
  TSourceList loaded;
  file.Load(loaded, "E:\\B", false, grid, notes);
  loaded.Add("C:\\B\\f.txt", true, 1);  // the user's version of an entry the file also has
  loaded.Add("C:\\C", true, 1);
  sys.files.Plug("E:");
  ASSERT_TRUE(file.Save(loaded, "E:\\B", grid, notes));
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\A\r\n1\r\n1\r\nC:\\B\\f.txt\r\n1\r\n1\r\nC:\\C\r\n1\r\n1\r\n");
  EXPECT_EQ(grid.rows, 4);
}

TEST_F(BackupListStoreTest, ANewBackupFolderGetsTheListAsItIs) {
  sys.files.AddFile(config, twoEntries);
  sys.files.Unplug("E:");
  TSourceList loaded;
  file.Load(loaded, "E:\\B", false, grid, notes);
  sys.files.AddDrive("F:");
  sys.files.AddFile("F:\\$VH_BKS$\\PC1\\joe\\Config.txt", "3.0\r\nC:\\Old\r\n1\r\n1\r\n");
  loaded.Add("C:\\Mine", true, 1);
  ASSERT_TRUE(file.Save(loaded, "F:\\", grid, notes));
  EXPECT_EQ(sys.files.Content("F:\\$VH_BKS$\\PC1\\joe\\Config.txt"), "3.0\r\nC:\\Mine\r\n1\r\n1\r\n");
}

}  // namespace
}  // namespace vh::test
