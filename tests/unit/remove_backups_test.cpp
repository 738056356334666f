#include "operations/remove_backups.h"

#include "operations_fixture.h"

namespace vh::test {
namespace {

class RemoveBackupsTest : public OperationsTest {
 protected:
  RemoveBackupsTest() {
    list.Add("C:\\d", true, 1);
    list.Add("C:\\f.txt", false, 0);
    sys.files.AddFile(store + "\\C\\d\\ro.txt", "", 0, kAttrReadOnly);
    sys.files.AddFile(store + "\\C\\d\\sub\\x.txt");
    sys.files.AddFile(store + "\\C\\f.txt");
  }
  TDelete remover{view};
  TSourceList list;
};

TEST_F(RemoveBackupsTest, EntryThatCouldLeadOutsideTheStoreRemovesNothing) {
  sys.files.AddFile(store + "\\Config.txt", "3.0");
  sys.files.AddFile("E:\\outside.txt", "the user's");
  TSourceList bad;
  for (const char* path : {"C:\\..", "C:\\d\\..\\..\\..\\..\\..\\..", "Docs", "\\\\srv\\share"}) bad.Add(path, true, 1);
  const StringList before = sys.files.PathsBelow("E:");
  EXPECT_EQ(remover.RemoveEntryBackups(bad, 0, bad.Count(), "E:\\B", true, log), RunResult::Incomplete);
  EXPECT_EQ(sys.files.PathsBelow("E:"), before);
  EXPECT_EQ(LogTexts().size(), 5u);  // the warning and each entry
  EXPECT_EQ(remover.LastRunFailures, 4);
}

TEST_F(RemoveBackupsTest, FolderEntryGoesWithItsEmptyParents) {
  sys.files.AddFile(store + "\\Config.txt");
  EXPECT_EQ(remover.RemoveEntryBackups(list, 0, 1, "E:\\B", false, log), RunResult::Done);
  EXPECT_EQ(sys.files.PathsBelow("E:\\B"), (StringList{"E:\\B\\$VH_BKS$", "E:\\B\\$VH_BKS$\\PC1", store,
                                                       store + "\\C", store + "\\C\\f.txt", store + "\\Config.txt"}));
  EXPECT_EQ(view.caption, "Vesperhollow removing backups...");

  EXPECT_EQ(remover.RemoveEntryBackups(list, 1, 1, "E:\\B", false, log), RunResult::Done);
  EXPECT_TRUE(sys.files.Exists(store + "\\C"));  // a file entry leaves its folders

  sys.files.Delete(store + "\\Config.txt");
  sys.files.AddFile(store + "\\C\\d\\again");
  EXPECT_EQ(remover.RemoveEntryBackups(list, 0, 2, "E:\\B\\", false, log), RunResult::Done);
  EXPECT_FALSE(sys.files.Exists("E:\\B"));  // every folder up to the emptied backup folder
  EXPECT_TRUE(page.lines.empty());
}

TEST_F(RemoveBackupsTest, RangeOutsideTheListDoesNothing) {
  EXPECT_EQ(remover.RemoveEntryBackups(list, 2, 1, "E:\\B", false, log), RunResult::Incomplete);
  EXPECT_EQ(remover.RemoveEntryBackups(list, -1, 1, "E:\\B", false, log), RunResult::Incomplete);
  EXPECT_EQ(remover.RemoveEntryBackups(list, 1, 2, "E:\\B", false, log), RunResult::Incomplete);
  EXPECT_EQ(calls["Delete"], 0);
  EXPECT_TRUE(view.labels.empty());
}

TEST_F(RemoveBackupsTest, AllBackupsOfAStoreButNotItsNeighbours) {
  sys.files.AddFile(store + "\\Config.txt");
  sys.files.AddFile(store + "\\Log.txt");
  sys.files.AddFile("E:\\B\\$VH_BKS$\\PC1\\ann\\Config.txt");
  EXPECT_EQ(remover.RemoveAllBackups("E:\\B", false, log), RunResult::Done);
  EXPECT_EQ(sys.files.PathsBelow("E:\\B"), (StringList{"E:\\B\\$VH_BKS$", "E:\\B\\$VH_BKS$\\PC1",
                                                       "E:\\B\\$VH_BKS$\\PC1\\ann", "E:\\B\\$VH_BKS$\\PC1\\ann\\Config.txt"}));
  sys.files.Delete("E:\\B\\$VH_BKS$\\PC1\\ann\\Config.txt");
  sys.files.RemoveFolder("E:\\B\\$VH_BKS$\\PC1\\ann");
  sys.files.AddFile(store + "\\C\\x");
  EXPECT_EQ(remover.RemoveAllBackups("E:\\B", false, log), RunResult::Done);
  EXPECT_EQ(sys.files.PathsBelow("E:\\B"), StringList{});  // the backup folder itself stays
  EXPECT_TRUE(sys.files.Exists("E:\\B"));
}

TEST_F(RemoveBackupsTest, SubFolderBackupsKeepTheFolderFiles) {
  sys.files.AddFile(store + "\\C\\d\\sub2\\y.txt");
  EXPECT_EQ(remover.RemoveSubfolderBackups("E:\\B", store + "\\C\\d", false, log), RunResult::Done);
  EXPECT_EQ(sys.files.PathsBelow(store + "\\C\\d"), StringList{store + "\\C\\d\\ro.txt"});
  EXPECT_EQ(remover.RemoveSubfolderBackups("E:\\B", store + "\\C\\never", false, log), RunResult::Incomplete);
}

TEST_F(RemoveBackupsTest, FailuresAndCancelAreLogged) {
  sys.files.FailDelete(store + "\\C\\d\\sub\\x.txt");
  EXPECT_EQ(remover.RemoveEntryBackups(list, 0, 1, "E:\\B", false, log), RunResult::Incomplete);
  EXPECT_TRUE(sys.files.Exists(store + "\\C\\d\\sub"));
  view.onTurn = [&](int) { view.stop = true; };
  EXPECT_EQ(remover.RemoveAllBackups("E:\\B", false, log), RunResult::Cancelled);
  EXPECT_TRUE(sys.files.Exists(store + "\\C\\f.txt"));
  EXPECT_EQ(LogTexts(), (Lines{"WARNING: The following backups could not be removed:", store + "\\C\\d\\sub\\x.txt",
                               "User cancelled operation."}));
}

}  // namespace
}  // namespace vh::test
