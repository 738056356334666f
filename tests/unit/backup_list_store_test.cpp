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
  // The store's file holds `content`, but its drive was away at the load: the list is not read yet.
  TSourceList LoadedUnread(const std::string& content) {
    sys.files.AddFile(config, content);
    sys.files.Unplug("E:");
    TSourceList loaded;
    file.Load(loaded, "E:\\B", false, grid, notes);
    return loaded;
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
  ASSERT_TRUE(file.Save(list, "E:\\B", true, grid, notes));
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
  ASSERT_TRUE(file.Save(list, "E:\\B", true, grid, notes));
  sys.files.Unplug("E:");
  sys.boxes.Answer(kIdCancel);
  list.Add("C:\\Other", false, 0);
  EXPECT_FALSE(file.Save(list, "E:\\B", true, grid, notes));
  ASSERT_EQ(sys.boxes.asked.size(), 1u);
  EXPECT_EQ(sys.boxes.asked[0].text, "Backup drive (E:) not accessible. Backup list changes can not be saved.");
  sys.files.Plug("E:");
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");
  EXPECT_FALSE(file.Save(list, "", true, grid, notes));  // no backup folder: nothing saved, no box
  EXPECT_EQ(sys.boxes.asked.size(), 1u);
}

TEST_F(BackupListStoreTest, FullDiskKeepsThePreviousListFile) {
  ASSERT_TRUE(file.Save(list, "E:\\B", true, grid, notes));
  list.Add("C:\\A much longer path that will not fit", true, 1);
  sys.files.DiskFullAfter("E:", 10);
  EXPECT_FALSE(file.Save(list, "E:\\B", true, grid, notes));
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
    store.Save(loaded, "E:\\B", true, grid, notes);
    sys.boxes.asked.clear();
    c.mend();
    EXPECT_EQ(sys.files.Content(config), c.content);

    // The drive came, or the file was let go: it is read before the next backup.
    store.CatchUp(loaded, "E:\\B", grid, notes);
    if (!damaged) {
      EXPECT_EQ(loaded.Count(), 2);
      store.Save(loaded, "E:\\B", true, grid, notes);
      EXPECT_EQ(sys.files.Content(config), twoEntries);
    }
    // The user changes the list: only now is a damaged file replaced.
    loaded.Add("C:\\New", true, 1);
    EXPECT_TRUE(store.Save(loaded, "E:\\B", true, grid, notes));
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
  TSourceList loaded = LoadedUnread(twoEntries);
  loaded.Add("C:\\B\\f.txt", true, 1);  // the user's version of an entry the file also has
  loaded.Add("C:\\C", true, 1);
  sys.files.Plug("E:");
  ASSERT_TRUE(file.Save(loaded, "E:\\B", true, grid, notes));
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\A\r\n1\r\n1\r\nC:\\B\\f.txt\r\n1\r\n1\r\nC:\\C\r\n1\r\n1\r\n");
  EXPECT_EQ(grid.rows, 4);
}

TEST_F(BackupListStoreTest, ANewBackupFolderGetsTheListAsItIs) {
  TSourceList loaded = LoadedUnread(twoEntries);
  sys.files.AddDrive("F:");
  sys.files.AddFile("F:\\$VH_BKS$\\PC1\\joe\\Config.txt", "3.0\r\nC:\\Old\r\n1\r\n1\r\n");
  loaded.Add("C:\\Mine", true, 1);
  ASSERT_TRUE(file.Save(loaded, "F:\\", true, grid, notes));
  EXPECT_EQ(sys.files.Content("F:\\$VH_BKS$\\PC1\\joe\\Config.txt"), "3.0\r\nC:\\Mine\r\n1\r\n1\r\n");
}

// A list edited by hand loads as the file has always been read and is written back in order at
// the next save; only what cannot be a text list is damage, warned of and kept as it is.
TEST_F(BackupListStoreTest, HandEditedFilesLoadAndAreWrittenBackInOrder) {
  struct Case {
    const char* name;
    std::string content;
    std::string loads;  // the list read, as the next save writes it
    bool damaged;
  };
  const std::string tooLong = "C:\\" + std::string(40000, 'x');
  const Case cases[] = {
      {"any first line, out of order, repeated", "anything\nC:\\b\n1\n1\nC:\\a\n0\n0\nC:\\b\n0\n0\n",
       "3.0\r\nC:\\a\r\n0\r\n0\r\nC:\\b\r\n1\r\n1\r\n", false},
      {"empty first line, no final line end", "\r\nC:\\a\r\n1\r\n1", "3.0\r\nC:\\a\r\n1\r\n1\r\n", false},
      {"last flag line missing", "3.0\r\nC:\\a\r\n1\r\n", "3.0\r\nC:\\a\r\n1\r\n0\r\n", false},
      {"flags other than 1", "3.0\r\nC:\\a\r\n1 \r\ntrue\r\n", "3.0\r\nC:\\a\r\n0\r\n0\r\n", false},
      {"trailing blank lines", "3.0\r\nC:\\a\r\n1\r\n1\r\n\r\n\r\n", "3.0\r\nC:\\a\r\n1\r\n1\r\n", false},
      {"lone CR line ends", "3.0\rC:\\a\r1\r0\r", "3.0\r\nC:\\a\r\n1\r\n0\r\n", false},
      {"byte-order mark", "\xEF\xBB\xBF" "3.0\r\nC:\\b\r\n0\r\n0\r\n", "3.0\r\nC:\\b\r\n0\r\n0\r\n", false},
      {"ANSI line of an old file", "3.0\r\nC:\\caf\xE9\r\n0\r\n0\r\n", "3.0\r\nC:\\caf\xC3\xA9\r\n0\r\n0\r\n", false},
      {"empty file", "", "3.0\r\n", true},
      {"nulls", std::string("3.0\r\nC:\\a\r\n1\r\n1\r\n\0", 18), "3.0\r\n", true},
      {"a line longer than any path", "3.0\r\n" + tooLong + "\r\n1\r\n1\r\nC:\\a\r\n1\r\n1\r\n",
       "3.0\r\nC:\\a\r\n1\r\n1\r\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sys.files.AddFile(config, c.content);
    TSourceList loaded;
    TBackupListFile store;
    notes.clear();
    EXPECT_TRUE(store.Load(loaded, "E:\\B", false, grid, notes));
    EXPECT_EQ(loaded.Text(), c.loads);
    EXPECT_EQ(!notes.empty() && notes[0].find("is damaged") != std::string::npos, c.damaged);
    store.Save(loaded, "E:\\B", true, grid, notes);  // exit, the list unchanged
    EXPECT_EQ(sys.files.Content(config), c.damaged ? c.content : c.loads);
  }
}

// Once the list changes, a damaged file goes aside once, by its bytes, and the list takes its
// place; a damaged file that is still there but cannot be kept aside is never written over.
TEST_F(BackupListStoreTest, ADamagedFileIsKeptAsideOnceAndNeverBlocksTheList) {
  const std::string damaged = std::string("3.0\r\nC:\\A\r\n1\r\n1\r\n\0junk", 22);
  const std::string aside = config.substr(0, config.size() - 4) + "-damaged.txt";
  const std::string second = config.substr(0, config.size() - 4) + "-damaged-2.txt";
  struct Case {
    const char* name;
    std::function<void()> spoil;  // after the warning, before the user's change
    bool kept, written;
  };
  const Case cases[] = {
      {"read-only", [&] { sys.files.SetAttributes(config, kAttrReadOnly); }, true, true},
      {"deleted by the user", [&] { sys.files.Delete(config); }, false, true},
      {"cannot be copied", [&] { sys.files.FailCopy(config); }, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sys.files = FakeFileSystem();
    sys.files.AddDrive("E:");
    sys.files.AddFile(config, damaged);
    TSourceList loaded;
    TBackupListFile store;
    store.Load(loaded, "E:\\B", false, grid, notes);
    c.spoil();
    notes.clear();
    // Exit with the list unchanged: a damaged file that is gone no longer holds the list back.
    EXPECT_EQ(store.Save(loaded, "E:\\B", true, grid, notes), !c.kept && c.written);
    for (const char* path : {"C:\\New", "C:\\Newer"}) {
      loaded.Add(path, true, 1);
      EXPECT_EQ(store.Save(loaded, "E:\\B", false, grid, notes), c.written);
    }
    EXPECT_EQ(sys.files.Content(config), c.written ? loaded.Text() : damaged);
    EXPECT_EQ(sys.files.Content(aside), c.kept ? damaged : "");
    if (c.kept) {
      EXPECT_EQ(sys.files.Attributes(aside) & kAttrReadOnly, 0u);
    }
    EXPECT_FALSE(sys.files.Exists(second));  // kept once, not at every save
    EXPECT_EQ(!notes.empty() && notes.back().find("could not be kept as " + aside) != std::string::npos, !c.written);
  }
}

// A list file that only could not be looked at for a moment (a network hiccup) is not taken for
// one that is gone: the list not yet read never replaces it.
TEST_F(BackupListStoreTest, AListFileNotSeenForAMomentIsNotWrittenOver) {
  TSourceList loaded = LoadedUnread(twoEntries);
  sys.files.Plug("E:");
  int looks = 0;  // the file's own look-ups fail; the folder still lists it
  sys.files.beforeCall = [&](const std::string& call, const std::string& path) {
    const bool hiccup = call == "Attributes" && path == config && ++looks <= 2;
    hiccup ? sys.files.Unplug("E:") : sys.files.Plug("E:");
  };
  loaded.Add("C:\\Mine", true, 1);
  EXPECT_FALSE(file.Save(loaded, "E:\\B", false, grid, notes));
  EXPECT_GE(looks, 2);
  EXPECT_EQ(sys.files.Content(config), twoEntries);
}

// An edit saves without a box; with the drive away that is told once, and the edits reach the
// file at the first catch-up (before a backup) once the drive is back.
TEST_F(BackupListStoreTest, QuietSavesWaitForTheDriveAndCatchUpWritesThem) {
  ASSERT_TRUE(file.Save(list, "E:\\B", true, grid, notes));
  sys.files.Unplug("E:");
  for (const char* path : {"C:\\One", "C:\\Two"}) {
    list.Add(path, true, 1);
    EXPECT_FALSE(file.Save(list, "E:\\B", false, grid, notes));
  }
  EXPECT_TRUE(sys.boxes.asked.empty());
  EXPECT_EQ(notes, StringList{"WARNING: Backup drive (E:) not accessible. Backup list changes can not be saved. They "
                              "are saved once the drive is back."});
  file.CatchUp(list, "E:\\B", grid, notes);  // still away: nothing
  sys.files.Plug("E:");
  EXPECT_EQ(sys.files.Content(config), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");
  file.CatchUp(list, "E:\\B", grid, notes);
  EXPECT_EQ(sys.files.Content(config), list.Text());
  EXPECT_EQ(notes.size(), 1u);
}

}  // namespace
}  // namespace vh::test
