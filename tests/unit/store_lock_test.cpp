#include "operations/store_lock.h"

#include <map>

#include "operations/backup.h"
#include "operations/purge.h"
#include "operations/remove_backups.h"
#include "operations/restore.h"
#include "operations_fixture.h"

namespace vh::test {
namespace {

class StoreLockTest : public OperationsTest {
 protected:
  StoreLockTest() {
    list.Add("C:\\d", true, 1);
    sys.files.AddFile("C:\\d\\new.txt", "to back up");
    sys.files.AddFile(store + "\\C\\d\\kept.txt", "to restore");
    sys.files.AddFile(store + "\\C\\d\\sub\\gone.txt", "to purge");
    sys.files.AddFile(store + "\\$VH_TMP$\\copy3", "the other run's copy under way");
  }
  // Every path on both drives with its content.
  std::map<std::string, std::string> Everything() const {
    std::map<std::string, std::string> all;
    for (const char* drive : {"C:", "E:"}) {
      for (const std::string& path : sys.files.PathsBelow(drive)) all[path] = sys.files.Content(path);
    }
    return all;
  }

  TSourceList list;
  TBackup backup{view};
  TRestore restore{view};
  TPurge purge{view};
  TDelete remover{view};
};

TEST_F(StoreLockTest, EveryRunIsRefusedWhileAnotherHoldsTheStoreAndTouchesNothing) {
  const std::string mirror = store + "\\C\\d";
  const struct {
    const char* name;
    TFileOps& ops;
    std::function<RunResult()> run;
  } cases[] = {
      {"backup", backup, [&] { return backup.RunBackup(list, "E:\\B", false, true, boxes, log); }},
      {"restore", restore, [&] { return restore.RunRestore("E:\\B", false, boxes, log); }},
      {"purge", purge, [&] { return purge.RunPurge("E:\\B", false, boxes, log); }},
      {"entry", remover, [&] { return remover.RemoveEntryBackups(list, 0, 1, "E:\\B", false, log); }},
      {"all", remover, [&] { return remover.RemoveAllBackups("E:\\B", false, log); }},
      {"sub-folders", remover, [&] { return remover.RemoveSubfolderBackups("E:\\B", mirror, false, log); }},
  };
  bool inUse = false;
  const auto other = sys.files.OpenLockFile(StoreLockPath("E:\\B"), inUse);
  ASSERT_TRUE(other);
  const auto before = Everything();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    page.lines.clear();
    EXPECT_EQ(c.run(), RunResult::Incomplete);
    EXPECT_TRUE(c.ops.LastRunHalted);
    EXPECT_EQ(LogTexts(), Lines{kStoreInUse});
    EXPECT_EQ(Everything(), before);
  }
  EXPECT_TRUE(view.labels.empty());  // no window either
  EXPECT_TRUE(boxes.asked.empty());
}

// A restore or purge of a backup folder that holds no store leaves it as it found it.
TEST_F(StoreLockTest, ARunOnAFolderWithoutAStoreLeavesNoFolders) {
  sys.files.AddFolder("E:\\Empty");
  TRestore restorer{view};
  restorer.RunRestore("E:\\Empty", false, boxes, log);
  purge.RunPurge("E:\\Empty", false, boxes, log);
  EXPECT_TRUE(sys.files.PathsBelow("E:\\Empty").empty());
}

}  // namespace
}  // namespace vh::test
