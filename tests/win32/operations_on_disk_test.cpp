// The operations on the real file system, with their progress windows on the screen.
#include "disk_fixture.h"
#include "fake_controls.h"
#include "log/message_log.h"
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
  static void SetLastWriteAnHourBack(const std::string& path) {
    HANDLE file = CreateFileW(win32::LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart -= 36'000'000'000ull;
    time = {value.LowPart, value.HighPart};
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
  }
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
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, false, true, log), 0);
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
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, false, log), 0);
  EXPECT_EQ(files.copies, 0);
}

TEST_F(OperationsOnDiskTest, CancelButtonStopsTheRun) {
  Write(source + "\\a.txt", "alpha");
  ui::ProgressWindow& window = windows().Backup.Window();
  PostMessageW(window.CancelBtn.Handle(), BM_CLICK, 0, 0);  // handled at the first pump of the scan
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, false, true, log), 2);
  EXPECT_EQ(files.copies, 0);
  EXPECT_EQ(page.lines.back(), "\t\tUser cancelled operation.");

  // The scans pump messages even without the window on screen.
  PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, true, log), 2);
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, true, log), 0);
  EXPECT_EQ(files.copies, 1);
}

TEST_F(OperationsOnDiskTest, FolderLinkLoopIsNotFollowed) {
  const std::string loop = Env("VH_LOOP_TREE");
  ASSERT_FALSE(loop.empty()) << "run under scripts/with-wine, which makes the looping tree";
  TSourceList loopList;
  loopList.Add(loop, true, 1);
  EXPECT_EQ(windows().Backup->RunBackup(loopList, backupFolder, true, false, log), 1);  // the links are named
  EXPECT_EQ(Read(Mirror(loop + "\\a\\file.txt")), "data\n");
  EXPECT_FALSE(FolderExists(Mirror(loop + "\\a\\back")));
  EXPECT_EQ(page.lines.at(page.lines.size() - 2), "\t\t" + loop + "\\a\\back");
}

TEST_F(OperationsOnDiskTest, FullDiskLeavesThePreviousMirrorIntact) {
  const std::string small = Env("VH_SMALL_DRIVE");
  if (small.empty()) GTEST_SKIP() << "no small drive: this user may not mount one";
  const std::string smallFolder = small + "\\backup";
  const std::string mirror = MirrorPath(smallFolder, source + "\\big.bin");
  Write(mirror, "first version");
  SetLastWriteAnHourBack(mirror);
  const DirEntry before = StatOf(mirror);
  Write(source + "\\big.bin", std::string(3 << 20, 'x'));  // larger than the whole drive
  boxes.Answer(kIdOk);
  EXPECT_EQ(windows().Backup->RunBackup(list, smallFolder, true, false, log), 1);
  EXPECT_EQ(boxes.asked.at(0).text, "Backup disk full. Try selecting fewer files for backup.");
  EXPECT_EQ(page.lines.back(), "\t\t" + source + "\\big.bin");  // named as not copied
  EXPECT_EQ(Read(mirror), "first version");
  EXPECT_EQ(StatOf(mirror).lastWrite, before.lastWrite);
  EXPECT_EQ(files.Attributes(WorkFolderOf(smallFolder)), kAttrInvalid);  // no part copy left
  RemoveTree(smallFolder);
}

TEST_F(OperationsOnDiskTest, RestoreOverReadOnlyFilesAndPurgeWithAnUnpluggedDrive) {
  Write(source + "\\doc.txt", "backed up");
  EXPECT_EQ(windows().Backup->RunBackup(list, backupFolder, true, false, log), 0);
  Write(source + "\\doc.txt", "changed since");
  files.SetAttributes(source + "\\doc.txt", kAttrReadOnly);
  // A store folder for the plug drive, which is not plugged in.
  const std::string drive = Env("VH_PLUG_DRIVE");
  ASSERT_FALSE(drive.empty());
  files.RemoveFolder(Env("VH_PLUG_DIR"));
  Write(Mirror(drive + "\\elsewhere.txt"), "kept while away");

  boxes.Answer(kIdIgnore);
  EXPECT_EQ(windows().Restore->RunRestore(backupFolder, true, log), 0);
  EXPECT_EQ(Read(source + "\\doc.txt"), "backed up");
  EXPECT_EQ(StatOf(source + "\\doc.txt").attributes & kAttrReadOnly, 0u);

  files.SetAttributes(source + "\\doc.txt", kAttrArchive);
  files.Delete(source + "\\doc.txt");
  boxes.Answer(kIdIgnore);
  boxes.Answer(kIdNo);
  EXPECT_EQ(windows().Purge->RunPurge(backupFolder, false, log), 0);
  EXPECT_FALSE(FileExists(Mirror(source + "\\doc.txt")));
  EXPECT_EQ(Read(Mirror(drive + "\\elsewhere.txt")), "kept while away");
  EXPECT_TRUE(boxes.AllAnswered());
}

}  // namespace
}  // namespace vh::test
