#include "operations/backup.h"

#include "common/text_lines.h"
#include "operations_fixture.h"

namespace vh::test {
namespace {

constexpr int64_t kSecond = 10'000'000;

class BackupTest : public OperationsTest {
 protected:
  RunResult Run(bool ask = false, bool quiet = false) { return backup.RunBackup(list, "E:\\B", quiet, ask, boxes, log); }
  std::string Mirror(const std::string& source) { return store + "\\" + source.substr(0, 1) + source.substr(2); }

  TBackup backup{view};
  TSourceList list;
};

TEST_F(BackupTest, CopiesOnlyWhatIsNewerByMoreThanTwoSeconds) {
  sys.files.AddFile("C:\\d\\one", "1", 100 * kSecond);
  sys.files.AddFile("C:\\d\\three", "3", 100 * kSecond);
  sys.files.AddFile("C:\\d\\older", "o", 100 * kSecond);
  sys.files.AddFile("C:\\d\\new", "n", 100 * kSecond);
  sys.files.AddFile(Mirror("C:\\d\\one"), "old", 99 * kSecond);
  sys.files.AddFile(Mirror("C:\\d\\three"), "old", 97 * kSecond);
  sys.files.AddFile(Mirror("C:\\d\\older"), "newer mirror", 200 * kSecond);
  list.Add("C:\\d", true, 1);
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\one")), "old");
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\three")), "3");
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\older")), "newer mirror");
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\new")), "n");
  EXPECT_EQ(LogTexts(), Lines{"C:\\d  (incl. sub-folders)"});
  EXPECT_EQ(view.caption, "Vesperhollow Backing up...");
  EXPECT_EQ(view.labels.front(), "Preparing to backup files...");
  EXPECT_EQ(view.done, (std::vector<uint64_t>{1, 2}));  // by the sizes the scan found
  EXPECT_EQ(view.total, 2u);

  calls.clear();
  EXPECT_EQ(Run(), RunResult::Done);  // a second run copies nothing
  EXPECT_EQ(calls["Copy"], 0);
}

TEST_F(BackupTest, AWorkFolderThatIsALinkIsTakenAwayNotEmptied) {
  const std::string work = store + "\\$VH_TMP$";
  sys.files.AddLink(work);
  sys.files.AddFile(work + "\\copy", "someone else's");
  sys.files.AddFile("C:\\d\\a", "a");
  list.Add("C:\\d", true, 1);
  std::vector<std::string> deleted;
  onCall = [&](const std::string& call, const std::string& path) {
    if (call == "Delete") deleted.push_back(path);
  };
  EXPECT_EQ(Run(), RunResult::Done);
  for (const std::string& path : deleted) EXPECT_NE(path, work + "\\copy");  // what the link leads to is not ours
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\a")), "a");
}

TEST_F(BackupTest, ScanListsEachFolderOnceASideAndFindsMirrorsWhateverTheLetterCase) {
  sys.files.AddFile("C:\\d\\Mixed.TXT", "new", 100 * kSecond);
  sys.files.AddFile("C:\\d\\Sub\\f", "new", 100 * kSecond);
  sys.files.AddFile("C:\\d\\changed", "new", 100 * kSecond);
  sys.files.AddFile(store + "\\C\\d\\mixed.txt", "same", 100 * kSecond);
  sys.files.AddFile(store + "\\C\\d\\SUB\\F", "same", 100 * kSecond);
  sys.files.AddFolder(store + "\\C\\d\\changed");  // a folder where the file now is
  calls.clear();
  PathPairs copies;
  backup.ScanForBackup(copies, "C:\\d", Mirror("C:\\d"), true);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies.First(0), "C:\\d\\changed");
  EXPECT_EQ(copies.Second(0), Mirror("C:\\d\\changed"));
  EXPECT_EQ(calls["List"], 4);  // C:\d and C:\d\Sub, on each side
  EXPECT_EQ(calls["Stat"], 1);  // the list entry alone
  EXPECT_EQ(calls["CreateFolder"], 0);
}

TEST_F(BackupTest, SubFoldersOnlyWithSubsAndHiddenFilesToo) {
  sys.files.AddFile("C:\\d\\top.txt", "t", 0, kAttrHidden | kAttrSystem);
  sys.files.AddFile("C:\\d\\sub\\deep.txt", "d");
  sys.files.AddFolder("C:\\d\\sub\\empty");
  list.Add("C:\\d", false, 1);
  Run();
  EXPECT_EQ(sys.files.PathsBelow(Mirror("C:\\d")), Lines{Mirror("C:\\d\\top.txt")});
  EXPECT_EQ(sys.files.Attributes(Mirror("C:\\d\\top.txt")), kAttrHidden | kAttrSystem);

  list.Item(0)->Subs = true;
  Run();
  EXPECT_TRUE(sys.files.Exists(Mirror("C:\\d\\sub\\deep.txt")));
  EXPECT_TRUE(sys.files.Exists(Mirror("C:\\d\\sub\\empty")));
}

TEST_F(BackupTest, FileReachedThroughTwoEntriesIsCopiedTwice) {
  sys.files.AddFile("C:\\d\\a.txt", "a");
  list.Add("C:\\d", true, 1);
  list.Add("C:\\d\\a.txt", false, 0);
  Run();
  EXPECT_EQ(calls["Copy"], 2);
}

TEST_F(BackupTest, DeletedSourceIsReportedAndItsMirrorKept) {
  sys.files.AddFile(Mirror("C:\\gone.txt"), "kept");
  list.Add("C:\\gone.txt", false, 0);
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_EQ(LogTexts(), (Lines{"WARNING: The following is selected for backup but no longer exists:", "C:\\gone.txt"}));
  EXPECT_EQ(sys.files.Content(Mirror("C:\\gone.txt")), "kept");
}

TEST_F(BackupTest, BackupDriveMissingOrUnsetHaltsTheRun) {
  list.Add("C:\\d", true, 1);
  sys.files.Unplug("E:");
  EXPECT_EQ(Run(false), RunResult::Incomplete);  // from the timer: no box
  EXPECT_EQ(backup.RunBackup(list, "", false, true, boxes, log), RunResult::Incomplete);
  EXPECT_EQ(LogTexts(), (Lines{"WARNING: Process halted. Backup drive (E:) not accessible.", "WARNING: Process halted. "}));
  EXPECT_TRUE(boxes.asked.empty());
  sys.files.Plug("E:");
  list.Clear();
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_EQ(LogTexts().back(), "WARNING: No files or folders selected for backup.");
  EXPECT_TRUE(view.labels.empty());  // the window was never shown
}

TEST_F(BackupTest, UnreachableSourceDrive) {
  sys.files.AddDrive("D:");
  sys.files.Unplug("D:");
  sys.files.AddFile("C:\\a", "a");
  list.Add("C:\\a", false, 0);
  list.Add("D:\\b", false, 0);

  boxes.Answer(kIdAbort);
  EXPECT_EQ(Run(true), RunResult::Cancelled);  // nothing done: no last-backup time
  EXPECT_EQ(LogTexts(), (Lines{"C:\\a", "Source drive D: not accessible. User aborted backup."}));
  EXPECT_FALSE(sys.files.Exists(Mirror("C:\\a")));
  EXPECT_FALSE(view.visible);

  page.lines.clear();
  boxes.Answer(kIdIgnore);
  EXPECT_EQ(Run(true), RunResult::Incomplete);  // what was left out is named, and the run says so
  EXPECT_EQ(LogTexts(), (Lines{"C:\\a", "WARNING: Source drive D: not accessible.",
                               "WARNING: Files and folders on inaccessible drives not backed up.", "D:\\b"}));
  EXPECT_TRUE(sys.files.Exists(Mirror("C:\\a")));
  EXPECT_EQ(backup.LastRunFailures, 1);
  EXPECT_FALSE(backup.LastRunHalted);

  page.lines.clear();
  EXPECT_EQ(Run(false), RunResult::Incomplete);  // not asked: goes on the same way
  EXPECT_EQ(LogTexts().size(), 4u);
  EXPECT_TRUE(boxes.AllAnswered());
}

TEST_F(BackupTest, CancelDuringTheScanCopiesNothing) {
  sys.files.AddFile("C:\\d\\x\\1", "1");
  sys.files.AddFile("C:\\d\\y\\2", "2");
  list.Add("C:\\d", true, 1);
  view.onTurn = [&](int turn) {
    if (turn == 3) view.stop = true;
  };
  EXPECT_EQ(Run(), RunResult::Cancelled);
  EXPECT_EQ(calls["Copy"], 0);
  EXPECT_EQ(LogTexts().back(), "User cancelled operation.");
  EXPECT_TRUE(sys.files.Exists(Mirror("C:\\d\\x")));  // folders made so far stay

  view.onTurn = nullptr;
  EXPECT_EQ(Run(), RunResult::Done);  // the next run starts afresh
}

TEST_F(BackupTest, DriveGoingAwayDuringTheScanIsNamed) {
  struct Case {
    const char* drive;  // unplugged while the sub-folder C:\\d\\b is looked at, and left out
    const char* call;   // the call on its side of the scan where that shows
    Lines log;
    bool halted;
  };
  const Case cases[] = {
      {"E:", "CreateFolder",
       {"C:\\d  (incl. sub-folders)", "D:\\e", "WARNING: Process halted. Backup drive (E:) not accessible.",
        "WARNING: The following files and folders could not be backed up:", "C:\\d\\a", "C:\\d", "D:\\e"},
       true},
      {"C:", "List",
       {"C:\\d  (incl. sub-folders)", "D:\\e",
        "WARNING: The following were not backed up in full: their drive went away during the backup:", "C:\\d",
        "WARNING: The following files and folders could not be backed up:", "C:\\d\\a"},
       false},
  };
  sys.files.AddDrive("D:");
  sys.files.AddFile("D:\\e", "e");
  for (const char* name : {"a", "b\\x", "c"}) sys.files.AddFile(std::string("C:\\d\\") + name, name);
  list.Add("C:\\d", true, 1);
  list.Add("D:\\e", false, 0);
  for (const Case& c : cases) {
    page.lines.clear();
    onCall = [&](const std::string& call, const std::string& path) {
      if (call == c.call && (path == "C:\\d\\b" || path == Mirror("C:\\d\\b"))) sys.files.Unplug(c.drive);
    };
    EXPECT_EQ(Run(), RunResult::Incomplete) << c.drive;
    EXPECT_EQ(LogTexts(), c.log) << c.drive;
    EXPECT_EQ(backup.LastRunHalted, c.halted) << c.drive;
    EXPECT_EQ(backup.LastRunFailures, static_cast<int>(c.log.size()) - 4) << c.drive;
    sys.files.Plug(c.drive);
  }
  EXPECT_TRUE(sys.files.Exists(Mirror("D:\\e")));  // the other drive's entry still went
}

TEST_F(BackupTest, FailuresAndAFullDisk) {
  sys.files.AddFile("C:\\d\\a", "aaaa");
  sys.files.AddFile("C:\\d\\b", "bbbb");
  sys.files.AddFile("C:\\d\\c", "cccc", 100 * kSecond);
  sys.files.AddFile(Mirror("C:\\d\\c"), "previous", 0);
  sys.files.FailOpen("C:\\d\\a");
  list.Add("C:\\d", true, 1);
  sys.files.DiskFullAfter("E:", 6);
  boxes.Answer(kIdOk);
  EXPECT_EQ(Run(), RunResult::Incomplete);
  EXPECT_EQ(LogTexts(), (Lines{"C:\\d  (incl. sub-folders)", "# WARNING: BACKUP DISK FULL.",
                               "WARNING: The following files and folders could not be backed up:", "C:\\d\\a",
                               "C:\\d\\c"}));  // every file the disk had no room for is named
  EXPECT_TRUE(backup.LastRunHalted);
  ASSERT_EQ(boxes.asked.size(), 1u);
  EXPECT_EQ(boxes.asked[0].text, "Backup disk full. Try selecting fewer files for backup.");
  EXPECT_EQ(boxes.asked[0].style, 48u);
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\c")), "previous");
}

TEST_F(BackupTest, ARunNamingThousandsOfFailuresWritesTheLogFileOnce) {
  for (int i = 0; i < 5000; ++i) {
    sys.files.AddFile("C:\\d\\f" + std::to_string(i), "x");
    sys.files.FailCopy("C:\\d\\f" + std::to_string(i));
  }
  list.Add("C:\\d", true, 1);
  log.SetFileName(store + "\\Log.txt");
  log.AddLine("Manual backup initiated for the following files and folders:", true);
  calls.clear();
  EXPECT_EQ(Run(), RunResult::Incomplete);
  EXPECT_EQ(calls["WriteFile"] + calls["AppendFile"], 1);
  EXPECT_EQ(SplitLines(sys.files.Content(store + "\\Log.txt")), page.lines);
}

// A run that goes on for long brings Log.txt up to date as it goes: one killed part-way leaves its
// lines so far in the file.
TEST_F(BackupTest, ALongRunBringsTheLogFileUpToDateAsItGoes) {
  sys.files.AddFile("C:\\d\\a", "a");
  sys.files.AddFile("C:\\d\\b", "b");
  list.Add("C:\\d", true, 1);
  log.SetFileName(store + "\\Log.txt");
  log.AddLine("Timed backup initiated for the following files and folders:", true);
  std::string fileAtLastPump;
  view.onTurn = [&](int) {
    sys.locale.now.second += 3;
    fileAtLastPump = sys.files.Content(store + "\\Log.txt");
  };
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_NE(fileAtLastPump.find("C:\\d  (incl. sub-folders)"), std::string::npos);
}

// The platform may still be moving earlier copies into place while later ones are filled: no
// work-folder name is filled again before its move ended, and failures keep list order.
TEST_F(BackupTest, MovesThatEndLaterPutEveryMirrorInPlace) {
  sys.files.deferMoves = true;
  auto name = [](int i) { return "C:\\d\\f" + std::string(i < 10 ? "0" : "") + std::to_string(i); };
  for (int i = 0; i < 40; ++i) sys.files.AddFile(name(i), "content " + std::to_string(i), 100 * kSecond);
  sys.files.AddFile(Mirror(name(7)), "old", 0, kAttrReadOnly | kAttrArchive);
  sys.files.FailOpen(name(20));
  onCall = [&](const std::string& call, const std::string& path) {
    if (call == "MoveReplace" && sys.files.Content(path) == "content 5") sys.files.Delete(path);  // taken away
  };
  list.Add("C:\\d", true, 1);
  EXPECT_EQ(Run(), RunResult::Incomplete);
  for (int i = 0; i < 40; ++i) {
    if (i != 5 && i != 20) {
      EXPECT_EQ(sys.files.Content(Mirror(name(i))), "content " + std::to_string(i)) << i;
    }
  }
  EXPECT_EQ(LogTexts(), (Lines{"C:\\d  (incl. sub-folders)",
                               "WARNING: The following files and folders could not be backed up:", name(5),
                               name(20)}));
  EXPECT_FALSE(sys.files.Exists(store + "\\$VH_TMP$"));
}

// A copy that finds no room while earlier moves are under way waits for them first: the mirrors
// they replace give back the room it needs.
TEST_F(BackupTest, RoomFreedByMovesUnderWayIsUsedBeforeAFullDiskIsTold) {
  sys.files.deferMoves = true;
  for (const std::string name : {"a", "b"}) {
    sys.files.AddFile("C:\\d\\" + name, std::string(100, name[0]), 100 * kSecond);
    sys.files.AddFile(Mirror("C:\\d\\" + name), std::string(100, '-'), 0);
  }
  sys.files.DiskFullAfter("E:", 150);
  list.Add("C:\\d", true, 1);
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\b")), std::string(100, 'b'));
}

TEST_F(BackupTest, EntriesThatCouldLeadOutsideTheStoreAreRefusedAndAnyFileNameIsBackedUp) {
  const std::string longName = std::string(250, 'n') + ".txt";  // 254 characters
  for (const std::string name : {"notes.$VH_TMP$", "~vh1.tmp", "copy", longName.c_str()}) {
    sys.files.AddFile("C:\\d\\" + name, name);
  }
  sys.files.AddFile(store + "\\$VH_TMP$\\copy", "left by a run that was cut off");
  sys.files.AddFile("E:\\outside\\o.txt", "the user's");
  sys.files.AddFile("C:\\outside\\o.txt", "would overwrite it");
  list.Add("C:\\d", true, 1);
  list.Add("Docs", true, 1);
  list.Add("C:\\d\\..\\..\\..\\..\\..\\..\\outside", true, 1);
  sys.files.AddFolder(store + "\\C");
  list.Add("E:\\b\\$vh_bks$\\PC1", true, 1);
  EXPECT_EQ(Run(), RunResult::Incomplete);
  EXPECT_EQ(LogTexts(),
            (Lines{"C:\\d  (incl. sub-folders)", "E:\\b\\$vh_bks$\\PC1  (incl. sub-folders)",
                   "WARNING: The following backup list entries could lead outside the backup store and were not backed up:",
                   "C:\\d\\..\\..\\..\\..\\..\\..\\outside", "Docs",
                   "WARNING: The following backup list entries lie inside the backup store and were not backed up:",
                   "E:\\b\\$vh_bks$\\PC1"}));
  EXPECT_EQ(list.Count(), 4);  // kept for the user to mend
  EXPECT_EQ(sys.files.Content("E:\\outside\\o.txt"), "the user's");
  for (const std::string name : {"notes.$VH_TMP$", "~vh1.tmp", "copy", longName.c_str()}) {
    EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\" + name)), name) << name;
  }
  EXPECT_FALSE(sys.files.Exists(store + "\\$VH_TMP$"));  // the leftover and the work folder are gone
}

TEST_F(BackupTest, LinksAndUnreadableFoldersAreNamedAndOnlyTheActiveStoreIsLeftOut) {
  sys.files.AddFile("C:\\Users\\joe\\doc.txt", "d");
  sys.files.AddLink("C:\\Users\\joe\\Loop");
  sys.files.AddFile("C:\\Users\\joe\\Loop\\doc.txt", "seen through the link");
  sys.files.AddFile("C:\\Users\\joe\\Locked\\secret.txt", "s");
  sys.files.FailOpen("C:\\Users\\joe\\Locked");
  sys.files.AddFile("C:\\Users\\joe\\$vh_bks$\\PC1\\joe\\Config.txt", "3.0");
  sys.files.AddFile("C:\\Users\\joe\\old\\$VH_BKS$\\PC1\\joe\\C\\x.txt", "an old store is the user's data");
  list.Add("C:\\Users", true, 1);
  list.Add("C:\\Users\\joe\\Loop", true, 1);
  EXPECT_EQ(backup.RunBackup(list, "C:\\Users\\joe", false, false, boxes, log), RunResult::Incomplete);
  const std::string mirror = "C:\\Users\\joe\\$VH_BKS$\\PC1\\joe\\C\\Users";
  EXPECT_TRUE(sys.files.Exists(mirror + "\\joe\\doc.txt"));
  EXPECT_TRUE(sys.files.Exists(mirror + "\\joe\\old\\$VH_BKS$\\PC1\\joe\\C\\x.txt"));
  EXPECT_FALSE(sys.files.Exists(mirror + "\\joe\\Loop"));
  EXPECT_FALSE(sys.files.Exists(mirror + "\\joe\\$vh_bks$"));
  const Lines texts = LogTexts();
  EXPECT_EQ(Lines(texts.begin() + 2, texts.end()),
            (Lines{"WARNING: The following folders could not be read and were not backed up:",
                   "C:\\Users\\joe\\Locked", "WARNING: The following links were not followed:",
                   "C:\\Users\\joe\\Loop", "C:\\Users\\joe\\Loop"}));
  EXPECT_EQ(backup.LastRunFailures, 3);
}

// A narrowed entry, scope given as a watch would have left it.
class NarrowedBackupTest : public BackupTest {
 protected:
  NarrowedBackupTest() {
    list.Add("C:\\d", true, 1);
    backup.Scope = &scope;
    onCall = [this](const std::string& call, const std::string& path) {
      if (call == "List" && path.rfind("C:", 0) == 0) listed.push_back(path);
    };
  }
  void Changed(const std::string& path) {
    sys.files.AddFile(path, "new", 100 * kSecond);
    sys.files.AddFile(Mirror(path), "old", 90 * kSecond);
  }

  ScanScope scope;
  Lines listed;  // source folders listed
};

TEST_F(NarrowedBackupTest, ListsOnlyMarkedFoldersWalkingWhatIsNewOrMarkedWhole) {
  for (const char* path : {"C:\\d\\m\\f", "C:\\d\\u\\g", "C:\\d\\m\\old\\k", "C:\\d\\s\\t\\n"}) Changed(path);
  sys.files.AddFile("C:\\d\\m\\new\\deeper\\h", "h", 100 * kSecond);  // a folder the store does not have
  sys.files.AddLink("C:\\d\\link");
  sys.files.AddFile("C:\\d\\link\\x\\y", "elsewhere", 100 * kSecond);
  // Nested marks, a marked folder gone since, one reached through a link.
  scope.trees[PathKey("C:\\d")] = {{"C:\\d\\gone", "C:\\d\\link\\x", "C:\\d\\m", "C:\\d\\m\\new", "C:\\d\\s\\t"},
                                   {"C:\\d\\s"}};
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_EQ(LogTexts(), Lines{"C:\\d  (incl. sub-folders)"});
  EXPECT_EQ(listed, (Lines{"C:\\d\\m", "C:\\d\\m\\new", "C:\\d\\m\\new\\deeper", "C:\\d\\s", "C:\\d\\s\\t"}));
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\m\\f")), "new");
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\m\\new\\deeper\\h")), "h");
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\s\\t\\n")), "new");
  EXPECT_EQ(calls["Copy"], 3);  // each once
  // Unmarked: left for the next whole scan.
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\u\\g")), "old");
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\m\\old\\k")), "old");
  EXPECT_FALSE(sys.files.Exists(Mirror("C:\\d\\link\\x\\y")));

  // Nothing marked: nothing listed. Without a scope the same entry is scanned whole.
  scope.trees[PathKey("C:\\d")] = {};
  listed.clear();
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_TRUE(listed.empty());
  backup.Scope = nullptr;
  EXPECT_EQ(Run(), RunResult::Incomplete);  // the link, named as not followed
  EXPECT_EQ(sys.files.Content(Mirror("C:\\d\\u\\g")), "new");
}

TEST_F(NarrowedBackupTest, TheStoreInsideAMarkedTreeIsNeverScanned) {
  Changed("C:\\d\\f");
  const std::string inner = "C:\\d\\$VH_BKS$\\PC1\\joe";
  sys.files.AddFile(inner + "\\C\\d\\f", "old", 90 * kSecond);
  scope.trees[PathKey("C:\\d")] = {{"C:\\d", inner + "\\C\\d"}, {"C:\\d\\$VH_BKS$"}};
  EXPECT_EQ(backup.RunBackup(list, "C:\\d", true, false, boxes, log), RunResult::Done);
  EXPECT_EQ(sys.files.Content(inner + "\\C\\d\\f"), "new");
  EXPECT_EQ(calls["Copy"], 1);
  EXPECT_FALSE(sys.files.Exists(inner + "\\C\\d\\$VH_BKS$"));
}

}  // namespace
}  // namespace vh::test
