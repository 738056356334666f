#include "operations/file_ops.h"

#include "operations_fixture.h"

namespace vh::test {
namespace {

class FileOpsTest : public OperationsTest {
 protected:
  FileOpsTest() {
    for (int i = 0; i < 4; ++i) {
      sources.push_back("C:\\s\\f" + std::to_string(i));
      targets.push_back("E:\\t\\f" + std::to_string(i));
      sys.files.AddFile(sources.back(), std::string(100, 'a' + i), 1000 + i);
    }
  }
  TFileOps ops{view};
  StringList sources, targets, failures{"stale"};
};

TEST_F(FileOpsTest, EmptyOrMismatchedListsCopyNothing) {
  view.visible = true;
  EXPECT_EQ(ops.CopyFiles({}, {}, failures, false, true), CopyOutcome::Done);
  EXPECT_FALSE(view.visible);
  targets.pop_back();
  EXPECT_EQ(ops.CopyFiles(sources, targets, failures, false, true), CopyOutcome::Failed);
  EXPECT_EQ(failures, StringList{"stale"});
  EXPECT_FALSE(sys.files.Exists("E:\\t"));
}

TEST_F(FileOpsTest, CopiesCreateFoldersKeepTimesAndShowProgress) {
  sys.files.AddFile("C:\\s\\f1", std::string(300, 'b'), 1001, kAttrHidden | kAttrSystem | kAttrArchive);
  EXPECT_EQ(ops.CopyFiles(sources, targets, failures, false, true), CopyOutcome::Done);
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(sys.files.Content("E:\\t\\f1"), std::string(300, 'b'));
  EXPECT_EQ(sys.files.LastWrite("E:\\t\\f3"), 1003);
  EXPECT_EQ(sys.files.Attributes("E:\\t\\f1"), kAttrHidden | kAttrSystem | kAttrArchive);
  EXPECT_EQ(view.done, (std::vector<uint64_t>{100, 400, 500, 600}));  // counts the item about to be copied
  EXPECT_EQ(view.total, 600u);
  EXPECT_EQ(view.labels.front(), "Backing up: C:\\s\\f0");
  EXPECT_EQ(view.turns, 8);  // during each copy and after it
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(sys.files.PathsBelow("E:\\t").size(), 4u);  // no temporary left behind

  ops.CopyFiles(sources, targets, failures, false, false);
  EXPECT_EQ(view.labels.back(), "Restoring: E:\\t\\f3");
}

TEST_F(FileOpsTest, ReadOnlyTargetIsReplacedAndTakesTheSourcesAttributes) {
  sys.files.AddFile("E:\\t\\f0", "old", 1, kAttrReadOnly | kAttrHidden);
  sys.files.AddFile("C:\\s\\f0", "new", 2000, kAttrReadOnly | kAttrArchive);
  EXPECT_EQ(ops.CopyFiles(sources, targets, failures, true, true), CopyOutcome::Done);
  EXPECT_EQ(sys.files.Content("E:\\t\\f0"), "new");
  EXPECT_EQ(sys.files.Attributes("E:\\t\\f0"), kAttrReadOnly | kAttrArchive);
}

TEST_F(FileOpsTest, CancelFinishesTheItemAndStopsBeforeTheNext) {
  view.onTurn = [&](int turn) {
    if (turn == 4) view.stop = true;  // the turn after the second copy
  };
  EXPECT_EQ(ops.CopyFiles(sources, targets, failures, false, true), CopyOutcome::Cancelled);
  EXPECT_TRUE(sys.files.Exists("E:\\t\\f1"));
  EXPECT_FALSE(sys.files.Exists("E:\\t\\f2"));

  ops.Cancelled = 0;
  view.stop = false;
  sys.files.FailCopy("C:\\s\\f0");
  view.onTurn = [&](int turn) {
    if (turn == 3) view.stop = true;
  };
  EXPECT_EQ(ops.CopyFiles(sources, targets, failures, false, true),
            CopyOutcome::Failed);  // a failure outranks the cancel
  EXPECT_EQ(failures, StringList{"C:\\s\\f0"});
}

TEST_F(FileOpsTest, LockedFileIsListedAndTheRestCopied) {
  sys.files.FailOpen("C:\\s\\f1");
  EXPECT_EQ(ops.CopyFiles(sources, targets, failures, true, true), CopyOutcome::Failed);
  EXPECT_EQ(failures, StringList{"C:\\s\\f1"});
  EXPECT_TRUE(sys.files.Exists("E:\\t\\f3"));
  EXPECT_EQ(ops.CopyFiles(sources, targets, failures, true, false), CopyOutcome::Failed);
  EXPECT_EQ(failures, StringList{"E:\\t\\f1"});  // a restore lists the target
}

TEST_F(FileOpsTest, FullDiskStopsAndNeverDamagesThePreviousCopy) {
  sys.files.AddFile("E:\\t\\f2", "the good old mirror", 5);
  sys.files.FailCopy("C:\\s\\f0");
  sys.files.DiskFullAfter("E:", 150);
  EXPECT_EQ(ops.CopyFiles(sources, targets, failures, true, true), CopyOutcome::DiskFull);
  EXPECT_EQ(ops.DiskFullAt, 2);
  EXPECT_EQ(failures, StringList{"C:\\s\\f0"});
  EXPECT_EQ(sys.files.Content("E:\\t\\f2"), "the good old mirror");
  EXPECT_EQ(sys.files.LastWrite("E:\\t\\f2"), 5);
  EXPECT_FALSE(sys.files.Exists("E:\\t\\f3"));
  EXPECT_EQ(sys.files.PathsBelow("E:\\t"), (StringList{"E:\\t\\f1", "E:\\t\\f2"}));
}

TEST_F(FileOpsTest, RestoreSwapsTheUsersFileWholeOrLeavesItAsItWas) {
  sys.files.AddFile("E:\\t\\f0", "the user's older file", 1, kAttrReadOnly);
  sys.files.AddFile("E:\\t\\f1", "held open by its program", 2, kAttrHidden);
  sys.files.FailOpen("E:\\t\\f1");
  EXPECT_EQ(ops.CopyFiles(sources, targets, failures, true, false), CopyOutcome::Failed);
  EXPECT_EQ(failures, StringList{"E:\\t\\f1"});
  EXPECT_EQ(sys.files.Content("E:\\t\\f0"), std::string(100, 'a'));
  EXPECT_EQ(sys.files.LastWrite("E:\\t\\f0"), 1000);
  EXPECT_EQ(sys.files.Attributes("E:\\t\\f0"), kAttrArchive);
  EXPECT_EQ(sys.files.Content("E:\\t\\f1"), "held open by its program");
  EXPECT_EQ(sys.files.Attributes("E:\\t\\f1"), kAttrHidden);
  EXPECT_EQ(sys.files.PathsBelow("E:\\t").size(), 4u);  // no temporary left beside them
}

// A Cancel inside one large file's copy is answered there: the file it was to replace stays as
// it was, nothing is named as failed, and the run ends as cancelled.
TEST_F(FileOpsTest, CancelInsideALargeFilesCopyLeavesItsTargetAsItWas) {
  for (const bool backingUp : {true, false}) {
    SCOPED_TRACE(backingUp ? "backing up" : "restoring");
    sys.files.AddFile("E:\\t\\f0", "the good old copy", 7);
    sys.files.SetSize("C:\\s\\f0", 64 * sys.files.copyChunk);
    bool copying = false;
    onCall = [&](const std::string& call, const std::string& path) { copying = call == "Copy" && path == "C:\\s\\f0"; };
    int fed = 0;
    view.onTurn = [&](int) {
      if (copying && ++fed == 3) view.stop = true;
    };
    ops.Cancelled = 0;
    view.stop = false;
    EXPECT_EQ(ops.CopyFiles(sources, targets, failures, false, backingUp), CopyOutcome::Cancelled);
    EXPECT_EQ(fed, 3);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(sys.files.Content("E:\\t\\f0"), "the good old copy");
    EXPECT_EQ(sys.files.LastWrite("E:\\t\\f0"), 7);
    EXPECT_EQ(sys.files.PathsBelow("E:\\t"), StringList{"E:\\t\\f0"});  // no part copy left
    EXPECT_FALSE(view.visible);
    onCall = nullptr;
    view.onTurn = nullptr;
  }
}

TEST_F(FileOpsTest, RemovesFilesAndEmptyFoldersInListOrder) {
  sys.files.AddFile("E:\\r\\sub\\ro", "x", 0, kAttrReadOnly);
  sys.files.AddFile("E:\\r\\locked", "x");
  sys.files.FailDelete("E:\\r\\locked");
  ops.RemoveFiles({"E:\\r\\sub", "E:\\r\\sub\\ro", "E:\\r\\locked", "E:\\r", "E:\\missing"}, failures, false);
  EXPECT_EQ(failures, StringList{"E:\\r\\locked"});
  EXPECT_TRUE(sys.files.Exists("E:\\r\\sub"));  // came before its file: stays, not reported
  EXPECT_FALSE(sys.files.Exists("E:\\r\\sub\\ro"));
  EXPECT_EQ(view.labels.front(), "Removing: E:\\r\\sub");
  EXPECT_FALSE(view.visible);
}

}  // namespace
}  // namespace vh::test
