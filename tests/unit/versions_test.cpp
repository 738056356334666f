#include "store/versions.h"

#include <algorithm>

#include "operations/backup.h"
#include "operations/purge.h"
#include "operations/remove_backups.h"
#include "operations/restore.h"
#include "operations_fixture.h"
#include "store/folder_size.h"

namespace vh::test {
namespace {

constexpr int64_t kSecond = 10'000'000;

TEST(RetentionTest, WhatGoesByAgeAndDay) {
  struct Case {
    LocalTime now;
    int keepDays;
    StringList names, doomed;
  };
  const LocalTime now{2026, 12, 9, 3, 44};
  const Case cases[] = {
      {now, 0, {"2020-01-01 0000", "2026-12-05 0900"}, {}},  // off: nothing is touched
      {now, 30, {"2026-11-09 0343", "2026-11-09 0344", "2026-11-10 0000"}, {"2026-11-09 0343"}},
      // The last 24 hours keep everything, a restore's and two runs of one minute too.
      {now, 30, {"2026-12-08 0345", "2026-12-08 2315", "2026-12-08 2315 02", "2026-12-09 0300 restore"}, {}},
      // Past a day, the newest of each day.
      {now, 30, {"2026-12-05 0900", "2026-12-05 1800", "2026-12-05 1800 02", "2026-12-06 0100"},
       {"2026-12-05 0900", "2026-12-05 1800"}},
      {now, 30, {"2026-12-08 0343", "2026-12-08 0345"}, {}},  // one past a day, one within it
      // Across a month's end and a leap day.
      {{2028, 3, 1, 0, 0}, 1, {"2028-02-28 2359", "2028-02-29 0000", "2028-02-29 1200"}, {"2028-02-28 2359"}},
      // What is no run folder's is never deleted.
      {now, 1, {"notes", "2026-13-01 0000", "2026-01-01 0000x", "2026-01-01 000"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.keepDays << " " << c.names.front());
    EXPECT_EQ(RunFoldersToDelete(c.names, c.now, c.keepDays), c.doomed);
  }
}

class VersionsTest : public OperationsTest {
 protected:
  VersionsTest() {
    backup.KeepDays = purge.KeepDays = restore.KeepDays = 30;
    list.Add("C:\\d", true, 1);
  }
  RunResult Backup(bool ask = false) { return backup.RunBackup(list, "E:\\B", true, ask, boxes, log); }
  std::string Mirror(const std::string& source) { return store + "\\" + source.substr(0, 1) + source.substr(2); }
  std::string Version(const std::string& run, const std::string& source) {
    return store + "\\$VH_VER$\\" + run + "\\" + source.substr(0, 1) + source.substr(2);
  }
  // The store's state: every path below it with its content.
  std::vector<std::string> StoreState() const {
    std::vector<std::string> state;
    for (const std::string& path : sys.files.PathsBelow(store)) state.push_back(path + "=" + sys.files.Content(path));
    return state;
  }

  TBackup backup{view};
  TPurge purge{view};
  TRestore restore{view};
  TDelete deleter{view};
  TSourceList list;
  const std::string run = "1999-12-07 1015";
};

TEST_F(VersionsTest, ABackupKeepsTheMirrorItReplacesWithItsTimeAndAttributes) {
  sys.files.AddFile("C:\\d\\a", "new", 100 * kSecond);
  sys.files.AddFile(Mirror("C:\\d\\a"), "old", 5 * kSecond, kAttrReadOnly | kAttrHidden);
  list.Add("C:\\d\\a", false, 0);  // reached twice: the version is what was there before the run
  EXPECT_EQ(Backup(), RunResult::Done);
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\a")), "new");
  const std::string version = Version(run, "C:\\d\\a");
  EXPECT_EQ(sys.files.Content(version), "old");
  EXPECT_EQ(sys.files.LastWrite(version), 5 * kSecond);
  EXPECT_EQ(sys.files.Attributes(version), kAttrReadOnly | kAttrHidden);

  // A second run of the same minute keeps in a folder of its own.
  sys.files.AddFile("C:\\d\\a", "newer", 200 * kSecond);
  EXPECT_EQ(Backup(), RunResult::Done);
  EXPECT_EQ(sys.files.Content(version), "old");
  EXPECT_EQ(sys.files.Content(Version(run + " 02", "C:\\d\\a")), "new");
}

// The mirror is kept by the move that replaces it, which may end later: a move that fails puts
// the kept mirror back, and a mirror that cannot be kept is replaced all the same and named.
TEST_F(VersionsTest, AKeepOrAMoveThatFailsLosesNoCopy) {
  sys.files.deferMoves = true;
  for (const std::string name : {"a", "b"}) {
    sys.files.AddFile("C:\\d\\" + name, "new " + name, 100 * kSecond);
    sys.files.AddFile(Mirror("C:\\d\\" + name), "old " + name, 5 * kSecond);
  }
  onCall = [&](const std::string& call, const std::string& path) {
    if (call == "MoveReplace" && sys.files.Content(path) == "new a") sys.files.Delete(path);  // taken away
    if (call == "Rename" && path == Mirror("C:\\d\\b")) sys.files.AddFolder(Version(run, "C:\\d\\b"));  // in the way
  };
  EXPECT_EQ(Backup(), RunResult::Incomplete);
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\a")), "old a");
  EXPECT_FALSE(sys.files.Exists(Version(run, "C:\\d\\a")));
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\b")), "new b");
  EXPECT_EQ(LogTexts(), (Lines{"C:\\d  (incl. sub-folders)",
                               "WARNING: Earlier versions of the following could not be kept:", Mirror("C:\\d\\b"),
                               "WARNING: The following files and folders could not be backed up:", "C:\\d\\a"}));
}

TEST_F(VersionsTest, APurgeKeepsTheLastBackupOfWhatVanished) {
  sys.files.AddFolder("C:\\d");
  sys.files.AddFile(Mirror("C:\\d\\gone"), "last", 7 * kSecond);
  sys.files.AddFile(Mirror("C:\\d\\sub\\deep"), "deep");
  EXPECT_EQ(purge.RunPurge("E:\\B", true, boxes, log), RunResult::Done);
  EXPECT_FALSE(sys.files.Exists(Mirror("C:\\d\\gone")));
  EXPECT_FALSE(sys.files.Exists(Mirror("C:\\d\\sub")));
  EXPECT_EQ(sys.files.Content(Version(run, "C:\\d\\gone")), "last");
  EXPECT_EQ(sys.files.LastWrite(Version(run, "C:\\d\\gone")), 7 * kSecond);
  EXPECT_EQ(sys.files.Content(Version(run, "C:\\d\\sub\\deep")), "deep");
  EXPECT_GT(VersionsSize("E:\\B"), 0);
}

TEST_F(VersionsTest, ARestoreKeepsOnlyTheUsersFilesThatDiffer) {
  struct Case {
    std::string name, mine;
    int64_t mineTime;
    bool kept;
  };
  const Case cases[] = {
      {"edited", "edited", 9 * kSecond, true},
      {"longer", "longer than it", 5 * kSecond, true},
      {"same", "backup", 5 * kSecond, false},
      {"barely", "backup", 6 * kSecond, false},  // newer within the two seconds a disk may round to
  };
  for (const Case& c : cases) {
    sys.files.AddFile(Mirror("C:\\d\\" + c.name), "backup", 5 * kSecond);
    sys.files.AddFile("C:\\d\\" + c.name, c.mine, c.mineTime);
  }
  EXPECT_EQ(restore.RunRestore("E:\\B", true, boxes, log), RunResult::Done);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(sys.files.Content("C:\\d\\" + c.name), "backup");
    const std::string version = Version(run + " restore", "C:\\d\\" + c.name);
    EXPECT_EQ(sys.files.Exists(version), c.kept);
    EXPECT_EQ(sys.files.Content(version), c.kept ? c.mine : "");
  }
}

TEST_F(VersionsTest, AFullDiskDeletesTheOldestVersionsBeforeItIsCalledFull) {
  struct Case {
    size_t newSize;
    bool full;
    StringList left;
  };
  const Case cases[] = {
      // This run's own folder, with the mirror it replaced, is never deleted for room.
      {5, false, {"1999-12-01 0000", "1999-12-07 1015"}},  // the oldest made room enough
      {15, false, {"1999-12-07 1015"}},
      {25, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.newSize);
    sys.files.AddFile(Version("1999-11-01 0000", "C:\\x"), std::string(10, 'o'));
    sys.files.AddFile(Version("1999-12-01 0000", "C:\\x"), std::string(10, 'o'));
    sys.files.AddFile("C:\\d\\a", std::string(c.newSize, 'n'), 100 * kSecond);
    sys.files.AddFile(Mirror("C:\\d\\a"), "old", 5 * kSecond);
    sys.files.DiskFullAfter("E:", 0);
    page.lines.clear();
    if (c.full) boxes.Answer(kIdOk);
    Backup();
    EXPECT_EQ(RunFolders("E:\\B"), c.left);
    const auto texts = LogTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "# WARNING: BACKUP DISK FULL."), c.full ? 1 : 0);
    EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\a")), c.full ? "old" : std::string(c.newSize, 'n'));
    sys.files.DiskFullAfter("E:", 1 << 20);
    const std::vector<std::string> paths = sys.files.PathsBelow("E:\\B");
    for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
      if (!sys.files.Delete(*path)) sys.files.RemoveFolder(*path);
    }
  }
}

TEST_F(VersionsTest, AMassChangeOfAnUnattendedRunWarnsOnce) {
  struct Case {
    int changed, same;
    bool ask;
    int keepDays;
    bool warns;
  };
  const Case cases[] = {{100, 0, false, 30, true},  {101, 99, false, 30, true}, {100, 100, false, 30, false},
                        {99, 0, false, 30, false},  {100, 0, true, 30, false},  {100, 0, false, 0, false}};
  int folder = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.changed << " " << c.same << " " << c.ask << " " << c.keepDays);
    const std::string source = "C:\\d\\" + std::to_string(++folder);
    for (int i = 0; i < c.changed + c.same; ++i) {
      sys.files.AddFile(source + "\\" + std::to_string(i), "x", 100 * kSecond);
      sys.files.AddFile(Mirror(source + "\\" + std::to_string(i)), "x", i < c.changed ? kSecond : 100 * kSecond);
    }
    list.Clear();
    list.Add(source, true, 1);
    backup.KeepDays = c.keepDays;
    page.lines.clear();
    Backup(c.ask);
    const auto texts = LogTexts();
    const auto warning = [](const std::string& t) { return t.rfind("WARNING: This backup replaces", 0) == 0; };
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), warning), c.warns ? 1 : 0);
    EXPECT_EQ(backup.LastRunMassChange, c.warns ? c.changed : 0);
  }
}

TEST_F(VersionsTest, AStoreWithoutVersionsIsLeftAsItWas) {
  sys.files.AddFile("C:\\d\\a", "a", 5 * kSecond);
  sys.files.AddFile(Mirror("C:\\d\\a"), "a", 5 * kSecond);
  sys.files.AddFile(store + "\\Config.txt", "3.0");
  const auto before = StoreState();
  EXPECT_EQ(Backup(), RunResult::Done);
  EXPECT_EQ(restore.RunRestore("E:\\B", true, boxes, log), RunResult::Done);  // over an unchanged file
  EXPECT_EQ(purge.RunPurge("E:\\B", true, boxes, log), RunResult::Done);
  EXPECT_EQ(StoreState(), before);

  // Versions off: a run replaces and purges as it always did.
  backup.KeepDays = purge.KeepDays = 0;
  sys.files.AddFile("C:\\d\\a", "changed", 100 * kSecond);
  sys.files.AddFile(Mirror("C:\\d\\b"), "b", 5 * kSecond);  // its source is gone
  EXPECT_EQ(Backup(), RunResult::Done);
  EXPECT_EQ(purge.RunPurge("E:\\B", true, boxes, log), RunResult::Done);
  EXPECT_FALSE(sys.files.Exists(store + "\\$VH_VER$"));
  EXPECT_FALSE(sys.files.Exists(Mirror("C:\\d\\b")));
}

// A versions folder that is a link leads out of the store: nothing is kept, pruned or removed
// through it, and the log says why no versions are kept.
TEST_F(VersionsTest, AVersionsFolderThatIsALinkIsNeverUsed) {
  sys.files.AddLink(store + "\\$VH_VER$");
  sys.files.AddFile(Version("1999-11-01 0000", "C:\\d\\a"), "elsewhere");  // past keeping, were it ours
  sys.files.AddFile("C:\\d\\a", "new", 100 * kSecond);
  sys.files.AddFile(Mirror("C:\\d\\a"), "old", 5 * kSecond);
  EXPECT_EQ(Backup(), RunResult::Done);
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\a")), "new");
  EXPECT_EQ(RunFolders("E:\\B"), StringList{});
  EXPECT_EQ(deleter.RemoveEntryBackups(list, 0, 1, "E:\\B", true, log), RunResult::Done);
  EXPECT_EQ(sys.files.Content(Version("1999-11-01 0000", "C:\\d\\a")), "elsewhere");
  const auto texts = LogTexts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(),
                       "WARNING: No earlier versions are kept while the versions folder is a link:"),
            1);
}

TEST_F(VersionsTest, RemovingAnEntryWithItsBackupsRemovesItsVersions) {
  sys.files.AddFile(Mirror("C:\\d\\a"), "a");
  sys.files.AddFile(Version("1999-12-01 0000", "C:\\d\\a"), "only d");
  sys.files.AddFile(Version("1999-12-02 0000", "C:\\d\\a"), "d");
  sys.files.AddFile(Version("1999-12-02 0000", "C:\\e\\b"), "e");
  EXPECT_EQ(deleter.RemoveEntryBackups(list, 0, 1, "E:\\B", true, log), RunResult::Done);
  EXPECT_EQ(RunFolders("E:\\B"), StringList{"1999-12-02 0000"});
  EXPECT_EQ(sys.files.PathsBelow(store + "\\$VH_VER$\\1999-12-02 0000"),
            (std::vector<std::string>{store + "\\$VH_VER$\\1999-12-02 0000\\C", Version("1999-12-02 0000", "C:\\e"),
                                      Version("1999-12-02 0000", "C:\\e\\b")}));
}

}  // namespace
}  // namespace vh::test
