#include "operations/restore.h"

#include "operations_fixture.h"

namespace vh::test {
namespace {

class RestoreTest : public OperationsTest {
 protected:
  RunResult Run() { return restore.RunRestore("E:\\B", false, boxes, log); }
  TRestore restore{view};
};

TEST_F(RestoreTest, NoStoreOrOnlyItsOwnFilesRestoresNothing) {
  EXPECT_EQ(Run(), RunResult::Done);
  sys.files.AddFile(store + "\\Config.txt", "3.0");
  sys.files.AddFile(store + "\\Log.txt", "");
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_TRUE(page.lines.empty());
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(calls["Copy"], 0);

  sys.files.FailOpen(store);  // a store root that cannot be read is not an empty one
  EXPECT_EQ(Run(), RunResult::Incomplete);
  EXPECT_EQ(LogTexts(), (Lines{"WARNING: The following backup folders could not be read and were not restored:", store}));
}

TEST_F(RestoreTest, BringsEveryBackedUpFileBack) {
  sys.files.AddFile(store + "\\C\\d\\ro.txt", "mirror", 5, kAttrArchive);
  sys.files.AddFile("C:\\d\\ro.txt", "newer", 9, kAttrReadOnly);
  sys.files.AddFile(store + "\\C\\d\\deleted.txt", "back");
  sys.files.AddFolder(store + "\\C\\d\\empty");
  sys.files.AddFile(store + "\\C\\d\\sub\\Log.txt", "the user's own");
  sys.files.AddFile(store + "\\C\\d\\sub\\Config.txt", "the user's own too");
  sys.files.AddFile(store + "\\C\\d\\notes.$VH_TMP$", "a user's file of any name");
  sys.files.AddFile(store + "\\$VH_TMP$\\copy", "a crash left this");
  sys.files.AddFile(store + "\\stray.bak", "no source");
  sys.files.AddFile("C:\\d\\only-here.txt", "untouched");
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_EQ(sys.files.Content("C:\\d\\ro.txt"), "mirror");
  EXPECT_EQ(sys.files.Attributes("C:\\d\\ro.txt"), kAttrArchive);
  EXPECT_EQ(sys.files.Content("C:\\d\\deleted.txt"), "back");
  EXPECT_TRUE(sys.files.Exists("C:\\d\\empty"));
  EXPECT_EQ(sys.files.Content("C:\\d\\sub\\Log.txt"), "the user's own");  // only the store root's are the store's
  EXPECT_EQ(sys.files.Content("C:\\d\\sub\\Config.txt"), "the user's own too");
  EXPECT_EQ(sys.files.Content("C:\\d\\notes.$VH_TMP$"), "a user's file of any name");
  EXPECT_EQ(sys.files.PathsBelow("C:\\").size(), 9u);  // nothing of the work folder came back
  EXPECT_EQ(sys.files.Content("C:\\d\\only-here.txt"), "untouched");
  EXPECT_EQ(view.caption, "Vesperhollow Restoring...");
  EXPECT_EQ(view.labels.front(), "Preparing to restore files...");
  EXPECT_TRUE(page.lines.empty());
}

TEST_F(RestoreTest, DrivesQuestionIgnoreLeavesTheDriveOutAbortStops) {
  sys.files.AddDrive("D:");
  sys.files.Unplug("D:");
  sys.files.AddFile(store + "\\C\\a", "a");
  sys.files.AddFile(store + "\\D\\b", "b");
  boxes.Answer(kIdAbort);
  EXPECT_EQ(Run(), RunResult::Cancelled);
  EXPECT_FALSE(sys.files.Exists("C:\\a"));
  boxes.Answer(kIdIgnore);
  EXPECT_EQ(Run(), RunResult::Done);
  EXPECT_TRUE(sys.files.Exists("C:\\a"));
  EXPECT_EQ(LogTexts(), (Lines{"Source drive D: not accessible. User aborted restore.",
                               "Source drive D: not accessible. Files not restored to these drives."}));

  page.lines.clear();
  sys.files.Unplug("E:");
  boxes.Answer(kIdCancel);
  EXPECT_EQ(Run(), RunResult::Incomplete);
  EXPECT_EQ(LogTexts(), Lines{"Backup drive (E:) not accessible. Process halted."});
  EXPECT_EQ(restore.RunRestore("", false, boxes, log), RunResult::Incomplete);
  EXPECT_EQ(LogTexts().back(), " Process halted.");
}

TEST_F(RestoreTest, CancelDuringTheScanCopiesNothing) {
  sys.files.AddFile(store + "\\C\\x\\1", "1");
  sys.files.AddFile(store + "\\C\\y\\2", "2");
  view.onTurn = [&](int turn) {
    if (turn == 2) view.stop = true;
  };
  EXPECT_EQ(Run(), RunResult::Cancelled);
  EXPECT_EQ(calls["Copy"], 0);
  EXPECT_EQ(LogTexts(), Lines{"User cancelled operation."});
}

TEST_F(RestoreTest, FullDiskListsWhatWasNotRestored) {
  sys.files.AddFile(store + "\\C\\a", "aaaa");
  sys.files.AddFile(store + "\\C\\b", "bbbb");
  sys.files.AddFile(store + "\\C\\c", "cccc");
  sys.files.AddFile("C:\\b", "u", 7);
  sys.files.DiskFullAfter("C:", 6);
  EXPECT_EQ(Run(), RunResult::Incomplete);
  EXPECT_EQ(LogTexts(), (Lines{"WARNING: Restore disk full. Process halted.",
                               "WARNING: The following files and folders could not be restored:", "C:\\b", "C:\\c"}));
  EXPECT_EQ(sys.files.Content("C:\\b"), "u");  // the room is taken before a byte is written
  EXPECT_TRUE(restore.LastRunHalted);
  EXPECT_EQ(restore.LastRunFailures, 2);
}

// A temporary made beside the user's files is named in the store before it is made, and the name
// goes when the restore ends. What a cut-off restore left is removed by the next run; of what the
// journal names, only files of the temporary form outside the store go.
// A swap that fails after the system took the user's file from its name leaves the backup there,
// not nothing; a file restored under a temporary's very name is the user's, never removed later.
TEST_F(RestoreTest, ASwapNeverLeavesTheNameEmptyAndATemporarysNameMayBeAFiles) {
  sys.files.AddFile(store + "\\C\\d\\a.txt", "backup");
  sys.files.AddFile("C:\\d\\a.txt", "the user's");
  sys.files.AddFile(store + "\\C\\d\\~vh1.tmp", "a file of that name");
  onCall = [&](const std::string& call, const std::string&) {
    if (call == "SwapInto") sys.files.Delete("C:\\d\\a.txt");
  };
  EXPECT_EQ(Run(), RunResult::Done);
  onCall = nullptr;
  EXPECT_EQ(sys.files.Content("C:\\d\\a.txt"), "backup");
  EXPECT_EQ(sys.files.Content("C:\\d\\~vh1.tmp"), "a file of that name");
  EXPECT_FALSE(sys.files.Exists(store + "\\Restoring.txt"));
  Run();
  EXPECT_EQ(sys.files.Content("C:\\d\\~vh1.tmp"), "a file of that name");
}

TEST_F(RestoreTest, TemporariesAreNamedFirstAndWhatACutOffRestoreLeftIsRemoved) {
  const std::string journal = store + "\\Restoring.txt";
  sys.files.AddFile(store + "\\C\\d\\a.txt", "backup");
  sys.files.AddFile("C:\\d\\a.txt", "the user's");
  std::string namedWhenMade;
  onCall = [&](const std::string& call, const std::string& path) {
    if (call == "Copy" && path == store + "\\C\\d\\a.txt") namedWhenMade = sys.files.Content(journal);
  };
  EXPECT_EQ(Run(), RunResult::Done);
  onCall = nullptr;
  EXPECT_EQ(namedWhenMade, "C:\\d\\~vh1.tmp\r\n");
  EXPECT_FALSE(sys.files.Exists(journal));

  struct Named {
    std::string path;
    bool goes;
  };
  const Named named[] = {
      {"C:\\d\\~vh1.tmp", true},
      {"C:\\e\\~vh27.tmp", true},  // read-only, as its backup was
      {"C:\\d\\report.doc", false},
      {"C:\\d\\~vh.tmp", false},
      {"C:\\d\\~vh1a.tmp", false},
      {"C:\\d\\~VH2.TMP", false},
      {"C:\\d\\~vh3.tmp.txt", false},
      {store + "\\$VH_TMP$\\~vh4.tmp", false},
      {"E:\\other\\$vh_bks$\\~vh5.tmp", false},
  };
  std::string text;
  for (const Named& n : named) {
    sys.files.AddFile(n.path, "left", 0, n.path == "C:\\e\\~vh27.tmp" ? kAttrReadOnly : kAttrArchive);
    text += n.path + "\r\n";
  }
  sys.files.AddFolder("C:\\d\\~vh6.tmp");
  sys.files.AddFile(journal, text + "C:\\d\\~vh6.tmp\r\nC:\\d\\..\\~vh7.tmp\r\n\r\ngarbage");
  page.lines.clear();
  Run();
  for (const Named& n : named) EXPECT_EQ(sys.files.Exists(n.path), !n.goes) << n.path;
  EXPECT_TRUE(sys.files.Exists("C:\\d\\~vh6.tmp"));
  EXPECT_EQ(LogTexts(),
            (Lines{"Removed temporary files left by a restore that was cut off:", "C:\\d\\~vh1.tmp", "C:\\e\\~vh27.tmp"}));
  EXPECT_FALSE(sys.files.Exists(journal));
}

}  // namespace
}  // namespace vh::test
