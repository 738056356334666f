#include "operations/purge.h"

#include "operations_fixture.h"

namespace vh::test {
namespace {

class PurgeTest : public OperationsTest {
 protected:
  RunResult Run() { return purge.RunPurge("E:\\B", false, boxes, log); }
  TPurge purge{view};
};

TEST_F(PurgeTest, RemovesBackupsWhoseSourcesAreGone) {
  sys.files.AddFile("C:\\d\\kept.txt");
  sys.files.AddFile(store + "\\C\\d\\kept.txt");
  sys.files.AddFile(store + "\\C\\d\\deleted.txt", "", 0, kAttrReadOnly);
  sys.files.AddFile(store + "\\C\\gone\\sub\\x.txt");
  sys.files.AddFile(store + "\\C\\gone\\Log.txt");
  sys.files.AddFolder("C:\\nowfolder");
  sys.files.AddFile(store + "\\C\\nowfolder");
  sys.files.AddFile("C:\\nowfile");
  sys.files.AddFile(store + "\\C\\nowfile\\y.txt");
  sys.files.AddFile(store + "\\C\\d\\Config.txt", "a user's file whose source is gone");
  sys.files.AddFile("C:\\d\\Log.txt", "a user's file that is there");
  sys.files.AddFile(store + "\\C\\d\\Log.txt");
  sys.files.AddFile(store + "\\$VH_TMP$\\copy", "left by a backup that was cut off");
  sys.files.AddFile(store + "\\Config.txt");
  sys.files.AddFile(store + "\\Log.txt");
  sys.files.AddFile(store + "\\stray.bak");
  StringList removed;
  onCall = [&](const std::string& call, const std::string& path) {
    if (call == "Delete" || call == "RemoveFolder") removed.push_back(path);
  };
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_EQ(removed, (StringList{store + "\\$VH_TMP$\\copy", store + "\\$VH_TMP$", store + "\\C\\d\\Config.txt",
                                 store + "\\C\\d\\deleted.txt", store + "\\C\\gone\\Log.txt",
                                 store + "\\C\\gone\\sub\\x.txt", store + "\\C\\gone\\sub", store + "\\C\\gone",
                                 store + "\\C\\nowfile\\y.txt", store + "\\C\\nowfile", store + "\\C\\nowfolder",
                                 store + "\\$VH_TMP$"}));  // the last when the run lets go of the store
  EXPECT_EQ(sys.files.PathsBelow(store),
            (StringList{store + "\\C", store + "\\C\\d", store + "\\C\\d\\kept.txt", store + "\\C\\d\\Log.txt",
                        store + "\\Config.txt", store + "\\Log.txt", store + "\\stray.bak"}));
  EXPECT_EQ(view.caption, "Vesperhollow purging...");
  EXPECT_TRUE(page.lines.empty());
}

// What cannot be read tells nothing of what is gone: its backups stay, and the run says so.
TEST_F(PurgeTest, FoldersThatCannotBeReadKeepTheirBackupsAndAreNamed) {
  struct Case {
    const char* name;
    std::string locked;
    Lines log;
  };
  const Case cases[] = {
      {"a source folder without access", "C:\\locked",
       {"WARNING: The following folders could not be read; their backups were kept:", "C:\\locked"}},
      {"the store root", store, {"WARNING: The following backup folders could not be read and were not purged:", store}},
  };
  sys.files.AddFolder("C:\\locked");  // its files are there, but cannot be seen
  sys.files.AddFile(store + "\\C\\locked\\a.txt", "the only copy");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sys.files.FailOpen(c.locked);
    page.lines.clear();
    EXPECT_EQ(Run(), RunResult::Incomplete);
    EXPECT_EQ(sys.files.Content(store + "\\C\\locked\\a.txt"), "the only copy");
    EXPECT_EQ(LogTexts(), c.log);
    sys.files.ReleaseOpen(c.locked);
  }
}

TEST_F(PurgeTest, UnreachableDriveBackupsGoOnlyWhenTheUserSaysSo) {
  sys.files.AddDrive("D:");
  sys.files.Unplug("D:");
  sys.files.AddFile(store + "\\D\\w\\f.txt");
  boxes.Answer(kIdIgnore);
  boxes.Answer(kIdNo);
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_TRUE(sys.files.Exists(store + "\\D\\w\\f.txt"));
  ASSERT_EQ(boxes.asked.size(), 2u);
  EXPECT_EQ(boxes.asked[1].text,
            "Do you want Vesperhollow to remove backups of files and folders\noriginally on the inaccessible drives?");
  EXPECT_EQ(boxes.asked[1].style, 0x124u);

  boxes.Answer(kIdIgnore);
  boxes.Answer(kIdYes);
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_FALSE(sys.files.Exists(store + "\\D"));

  sys.files.AddFile(store + "\\D\\again");
  boxes.Answer(kIdAbort);
  EXPECT_EQ(Run(), RunResult::Cancelled);
  EXPECT_EQ(LogTexts(), (Lines{"Source drive D: not accessible. User selected not to remove associated backups.",
                               "Source drive D: not accessible. User selected to remove associated backups.",
                               "Source drive D: not accessible. User aborted purge."}));
}

TEST_F(PurgeTest, DriveGoingAwayAfterTheCheckKeepsItsBackups) {
  sys.files.AddDrive("D:");
  sys.files.AddFile(store + "\\D\\docs\\a.txt");
  int listings = 0;
  onCall = [&](const std::string& call, const std::string& path) {
    if (call == "List" && path == store && ++listings == 2) sys.files.Unplug("D:");  // after the check
  };
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_TRUE(sys.files.Exists(store + "\\D\\docs\\a.txt"));
}

TEST_F(PurgeTest, LockedBackupIsReportedAndCancelStops) {
  sys.files.AddFile(store + "\\C\\a");
  sys.files.AddFile(store + "\\C\\b");
  sys.files.FailDelete(store + "\\C\\a");
  EXPECT_EQ(Run(), RunResult::Incomplete);
  EXPECT_EQ(LogTexts(), (Lines{"WARNING: The following backups could not be purged:", store + "\\C\\a"}));

  page.lines.clear();
  sys.files.AddFile(store + "\\C\\c");
  view.onTurn = [&](int) { view.stop = true; };
  EXPECT_EQ(Run(), RunResult::Cancelled);
  EXPECT_TRUE(sys.files.Exists(store + "\\C\\c"));
  EXPECT_EQ(LogTexts(), Lines{"User cancelled operation."});
}

TEST_F(PurgeTest, FolderLinkInTheStoreGoesWithoutWhatItPointsTo) {
  sys.files.AddLink(store + "\\C\\link");
  sys.files.AddFile(store + "\\C\\link\\target-file");
  StringList removed;
  onCall = [&](const std::string& call, const std::string& path) {
    if (call == "Delete" || call == "RemoveFolder") removed.push_back(path);
  };
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_EQ(removed, (StringList{store + "\\$VH_TMP$", store + "\\C\\link", store + "\\$VH_TMP$"}));
}

}  // namespace
}  // namespace vh::test
