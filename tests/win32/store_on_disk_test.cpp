// The store, the list and the log on the real file system, with scripted answers to the boxes.
#include <algorithm>

#include "common/text_lines.h"
#include "disk_fixture.h"
#include "fake_controls.h"
#include "list/backup_list_store.h"
#include "log/message_log.h"
#include "store/folder_size.h"

namespace vh::test {
namespace {

class StoreOnDiskTest : public DiskTest {
 protected:
  // A log kept in the store's "Log.txt".
  TMessageLog& StoreLog() {
    log.SetFileName(logFile);
    return log;
  }

  const std::string& backupFolder = folder;
  const std::string logFile = JoinPath(MirrorPath(backupFolder, ""), kLogFileName);
  FakeTextPage page;
  TMessageLog log{page};
};

TEST_F(StoreOnDiskTest, ConfigFileWrittenAndReadBack) {
  TSourceList list;
  list.Add("C:\\Docs", true, 1);
  list.Add("C:\\Τεκμήρια\\ノート.txt", false, 0);
  TBackupListFile listFile;
  FakeGrid grid;
  StringList notes;
  ASSERT_TRUE(listFile.Save(list, backupFolder, true, grid, notes));
  std::string bytes;
  ASSERT_TRUE(files.ReadFile(BackupListFileName(backupFolder), bytes));
  EXPECT_EQ(bytes, "3.0\r\nC:\\Docs\r\n1\r\n1\r\nC:\\Τεκμήρια\\ノート.txt\r\n0\r\n0\r\n");

  TSourceList loaded;
  TBackupListFile other;
  ASSERT_TRUE(other.Load(loaded, backupFolder + "\\", true, grid, notes));
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded.Item(1)->Path, "C:\\Τεκμήρια\\ノート.txt");
  EXPECT_GT(FolderSize(MirrorPath(backupFolder, "")), 0.0);
}

TEST_F(StoreOnDiskTest, LogFileWrittenInTheLocalesFormatAndReadBack) {
  StoreLog().AddLine("Restore initiated.", true);
  log.AddLine("détail", false);

  // The stamp is the user's short date, a blank and the long time, as the system formats them.
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t date[100];
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 100, nullptr);
  ASSERT_EQ(page.lines.size(), 3u);
  EXPECT_EQ(page.lines[1].rfind(win32::Narrow(date) + " ", 0), 0u) << page.lines[1];
  EXPECT_NE(page.lines[1].find("  Restore initiated."), std::string::npos);

  FakeTextPage reread;
  TMessageLog again(reread);
  ASSERT_TRUE(LoadLog(again, backupFolder));
  EXPECT_EQ(reread.lines, page.lines);
}

// Another program holding "Log.txt" open: one that lets others write still gets the new lines at
// the end; one that shares nothing gets them once it lets go, and meanwhile the page says so.
TEST_F(StoreOnDiskTest, LogFileHeldOpenByAnotherProgram) {
  StoreLog().AddLine("first", true);
  const std::wstring wide = win32::LongPath(logFile);
  HANDLE reader = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  log.AddLine("while read", false);
  CloseHandle(reader);
  EXPECT_EQ(Read(logFile), JoinLines(page.lines));

  HANDLE locker = CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locker, INVALID_HANDLE_VALUE);
  log.AddLine("while locked", false);
  log.AddLine("still locked", false);
  CloseHandle(locker);
  EXPECT_EQ(std::count(page.lines.begin(), page.lines.end(), kLogNotWritten), 1);
  log.AddLine("let go", false);
  EXPECT_EQ(Read(logFile), JoinLines(page.lines));
}

}  // namespace
}  // namespace vh::test
