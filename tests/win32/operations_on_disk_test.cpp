// The operations on the real file system, with their progress windows on the screen.
#include "disk_fixture.h"
#include "fake_controls.h"
#include "log/message_log.h"
#include "operations/store_lock.h"
#include "ui/operation_windows.h"

namespace vh::test {
namespace {

class OperationsOnDiskTest : public DiskTest {
 protected:
  OperationsOnDiskTest() : source(folder + "\\source"), backupFolder(folder + "\\backup") {
    files.CreateFolder(backupFolder);
    list.Add(source, true, 1);
  }
  std::string Mirror(const std::string& path) { return MirrorPath(backupFolder, path); }
  DirEntry StatOf(const std::string& path) {
    DirEntry entry;
    EXPECT_TRUE(files.Stat(path, entry)) << path;
    return entry;
  }

  const std::string source, backupFolder;
  TSourceList list;
  FakeTextPage page;
  TMessageLog log{page};
  static ui::OperationWindows& windows() {
    static ui::OperationWindows operations;  // created once, as the program does
    return operations;
  }
};

TEST_F(OperationsOnDiskTest, BackupCarriesTimesAndAttributesAndASecondRunCopiesNothing) {
  Write(source + "\\a.txt", "alpha");
  Write(source + "\\sub\\hidden.txt", "hidden");
  Write(source + "\\Ünïcödé ノート.txt", "names outside the code page");
  files.SetAttributes(source + "\\sub\\hidden.txt", kAttrHidden | kAttrReadOnly);
  files.CreateFolder(source + "\\empty");
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, false, true, boxes, log), RunResult::Done);
  EXPECT_EQ(files.copies, 3);
  EXPECT_FALSE(IsWindowVisible(windows().Backup.Window().Handle()));
  for (const char* name : {"\\a.txt", "\\sub\\hidden.txt", "\\Ünïcödé ノート.txt"}) {
    const DirEntry original = StatOf(source + name), copy = StatOf(Mirror(source + name));
    EXPECT_EQ(copy.lastWrite, original.lastWrite) << name;
    EXPECT_EQ(copy.attributes, original.attributes) << name;
    EXPECT_EQ(copy.size, original.size) << name;
  }
  EXPECT_TRUE(FolderExists(Mirror(source + "\\empty")));

  files.copies = 0;
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, false, boxes, log), RunResult::Done);
  EXPECT_EQ(files.copies, 0);
}

TEST_F(OperationsOnDiskTest, CancelButtonStopsTheRun) {
  Write(source + "\\a.txt", "alpha");
  ui::ProgressWindow& window = windows().Backup.Window();
  PostMessageW(window.CancelBtn.Handle(), BM_CLICK, 0, 0);  // handled at the first pump of the scan
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, false, true, boxes, log), RunResult::Cancelled);
  EXPECT_EQ(files.copies, 0);
  EXPECT_EQ(page.lines.back(), "\t\tUser cancelled operation.");

  // The scans pump messages even without the window on screen.
  PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, true, boxes, log), RunResult::Cancelled);
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, true, boxes, log), RunResult::Done);
  EXPECT_EQ(files.copies, 1);
}

TEST_F(OperationsOnDiskTest, RestoreOverReadOnlyFilesAndPurgeWithAnUnpluggedDrive) {
  Write(source + "\\doc.txt", "backed up");
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, false, boxes, log), RunResult::Done);
  Write(source + "\\doc.txt", "changed since");
  files.SetAttributes(source + "\\doc.txt", kAttrReadOnly);
  // A store folder for the plug drive, which is not plugged in.
  const std::string drive = Env("VH_PLUG_DRIVE");
  ASSERT_FALSE(drive.empty());
  files.RemoveFolder(Env("VH_PLUG_DIR"));
  Write(Mirror(drive + "\\elsewhere.txt"), "kept while away");

  boxes.Answer(kIdIgnore);
  EXPECT_EQ(windows().Restore->RunRestore(backupFolder, true, boxes, log), RunResult::Done);
  EXPECT_EQ(Read(source + "\\doc.txt"), "backed up");
  EXPECT_EQ(StatOf(source + "\\doc.txt").attributes & kAttrReadOnly, 0u);

  files.SetAttributes(source + "\\doc.txt", kAttrArchive);
  files.Delete(source + "\\doc.txt");
  boxes.Answer(kIdIgnore);
  boxes.Answer(kIdNo);
  EXPECT_EQ(windows().Purge->RunPurge(backupFolder, false, boxes, log), RunResult::Done);
  EXPECT_FALSE(FileExists(Mirror(source + "\\doc.txt")));
  EXPECT_EQ(Read(Mirror(drive + "\\elsewhere.txt")), "kept while away");
  EXPECT_TRUE(boxes.AllAnswered());
}

TEST_F(OperationsOnDiskTest, ARunWaitsItsTurnWhileAnotherHoldsTheStore) {
  Write(source + "\\a.txt", "alpha");
  const std::string work = WorkFolderOf(backupFolder);
  Write(work + "\\copy3", "the other run's copy under way");
  {
    win32::Win32FileSystem other;  // the other run's handle
    bool inUse = true;
    const auto held = other.OpenLockFile(StoreLockPath(backupFolder), inUse);
    ASSERT_TRUE(held);
    EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, false, boxes, log), RunResult::Incomplete);
    EXPECT_EQ(page.lines.back(), std::string("\t\t") + kStoreInUse);
    EXPECT_EQ(windows().Purge->RunPurge(backupFolder, true, boxes, log), RunResult::Incomplete);
    EXPECT_EQ(Read(work + "\\copy3"), "the other run's copy under way");
    EXPECT_FALSE(FileExists(Mirror(source + "\\a.txt")));
  }
  // Let go, the lock file is gone and the next run goes ahead, clearing what the other left.
  EXPECT_FALSE(FileExists(StoreLockPath(backupFolder)));
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, false, boxes, log), RunResult::Done);
  EXPECT_EQ(Read(Mirror(source + "\\a.txt")), "alpha");
  EXPECT_FALSE(FolderExists(work));
}

}  // namespace
}  // namespace vh::test
