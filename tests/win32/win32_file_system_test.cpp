// The real file system layer against Wine's (or Windows') file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"

namespace vh::win32 {
namespace {

constexpr uint32_t kVisibleBits = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive;
// 2021-03-04 05:06:07 UTC plus a fraction, in 100-ns units since 1601: the fraction catches
// times cut to whole seconds.
constexpr int64_t kSomeTime = 132592467671234567;

// Removes a tree with the raw API, so cleaning up does not depend on the code under test.
void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

bool SetLastWrite(const std::string& path, int64_t time) {
  HANDLE file = CreateFileW(LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME ft{static_cast<DWORD>(time), static_cast<DWORD>(static_cast<uint64_t>(time) >> 32)};
  const BOOL ok = SetFileTime(file, nullptr, nullptr, &ft);
  CloseHandle(file);
  return ok != FALSE;
}

const DirEntry* Find(const std::vector<DirEntry>& entries, const std::string& name) {
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const DirEntry& e) { return e.name == name; });
  return it == entries.end() ? nullptr : &*it;
}

std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
  std::vector<std::string> names;
  for (const DirEntry& e : entries) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    ASSERT_GT(n, 0u);
    static int counter = 0;
    root_ = Narrow(std::wstring_view(temp, n)) + "vh_fs_" + std::to_string(GetCurrentProcessId()) +
            "_" + std::to_string(++counter);
    ASSERT_TRUE(CreateDirectoryW(LongPath(root_).c_str(), nullptr));
  }
  void TearDown() override { RemoveTree(LongPath(root_)); }

  std::string At(const std::string& name) const { return root_ + "\\" + name; }
  std::vector<std::string> RootNames() {
    std::vector<DirEntry> entries;
    EXPECT_TRUE(fs_.List(root_, entries));
    return Names(entries);
  }

  Win32FileSystem fs_;
  std::string root_;
};

TEST_F(Win32FileSystemTest, AttributesAndTimesRoundTripThroughList) {
  const std::string file = At("a.txt");
  ASSERT_TRUE(fs_.WriteFile(file, "hello"));
  ASSERT_TRUE(fs_.CreateFolder(At("sub")));
  ASSERT_TRUE(SetLastWrite(file, kSomeTime));

  ASSERT_TRUE(fs_.SetAttributes(file, kAttrReadOnly | kAttrHidden | kAttrArchive));
  EXPECT_EQ(fs_.Attributes(file) & kVisibleBits, kAttrReadOnly | kAttrHidden | kAttrArchive);
  EXPECT_TRUE(IsFolderAttr(fs_.Attributes(At("sub"))));
  EXPECT_EQ(fs_.Attributes(At("missing")), kAttrInvalid);

  std::vector<DirEntry> entries{{"stale", 0, 0, 0}};
  ASSERT_TRUE(fs_.List(root_, entries));
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"a.txt", "sub"}));  // no "." or ".."
  const DirEntry* a = Find(entries, "a.txt");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->size, 5u);
  EXPECT_EQ(a->lastWrite, kSomeTime);
  EXPECT_EQ(a->attributes & kVisibleBits, kAttrReadOnly | kAttrHidden | kAttrArchive);
  const DirEntry* sub = Find(entries, "sub");
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(IsFolderAttr(sub->attributes));
  EXPECT_EQ(sub->size, 0u);

  // Clearing every bit (the value 0) is allowed. Wine reports the archive bit on every file, so
  // only the others are checked.
  ASSERT_TRUE(fs_.SetAttributes(file, 0));
  EXPECT_EQ(fs_.Attributes(file) & (kAttrReadOnly | kAttrHidden | kAttrSystem), 0u);
  EXPECT_FALSE(fs_.SetAttributes(At("missing"), kAttrArchive));
}

TEST_F(Win32FileSystemTest, ListFailsCleanlyAndListsEmptyFolders) {
  std::vector<DirEntry> entries{{"stale", 0, 0, 0}};
  EXPECT_FALSE(fs_.List(At("missing"), entries));
  EXPECT_TRUE(entries.empty());

  ASSERT_TRUE(fs_.CreateFolder(At("empty")));
  entries = {{"stale", 0, 0, 0}};
  EXPECT_TRUE(fs_.List(At("empty") + "\\", entries));  // a trailing separator is fine too
  EXPECT_TRUE(entries.empty());
}

TEST_F(Win32FileSystemTest, ListReportsSizesBeyondFourGigabytes) {
  const std::string file = At("big.bin");
  const int64_t size = (int64_t{5} << 30) + 3;
  {
    // Extending without writing leaves a sparse file on the host, so this costs no disk space.
    HANDLE h = CreateFileW(LongPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER at;
    at.QuadPart = size;
    const bool ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    ASSERT_TRUE(ok);
  }
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs_.List(root_, entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].size, static_cast<uint64_t>(size));
}

TEST_F(Win32FileSystemTest, CopyKeepsContentTimeAndAttributes) {
  const std::string source = At("source.txt");
  ASSERT_TRUE(fs_.WriteFile(source, "the content"));
  ASSERT_TRUE(SetLastWrite(source, kSomeTime));
  ASSERT_TRUE(fs_.SetAttributes(source, kAttrHidden | kAttrArchive));

  ASSERT_EQ(fs_.Copy(source, At("copy.txt")), CopyResult::Ok);
  std::string content;
  ASSERT_TRUE(fs_.ReadFile(At("copy.txt"), content));
  EXPECT_EQ(content, "the content");
  EXPECT_EQ(fs_.Attributes(At("copy.txt")) & kVisibleBits, kAttrHidden | kAttrArchive);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs_.List(root_, entries));
  const DirEntry* copy = Find(entries, "copy.txt");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->lastWrite, kSomeTime);
  EXPECT_EQ(copy->size, 11u);
}

TEST_F(Win32FileSystemTest, CopyReplacesAnExistingTarget) {
  ASSERT_TRUE(fs_.WriteFile(At("source.txt"), "short"));
  // A longer old target must not leave its tail behind.
  ASSERT_TRUE(fs_.WriteFile(At("target.txt"), "a much longer old content"));
  ASSERT_EQ(fs_.Copy(At("source.txt"), At("target.txt")), CopyResult::Ok);
  std::string content;
  ASSERT_TRUE(fs_.ReadFile(At("target.txt"), content));
  EXPECT_EQ(content, "short");

  // A read-only target, once its attribute is cleared, is replaced too.
  ASSERT_TRUE(fs_.WriteFile(At("locked.txt"), "old"));
  ASSERT_TRUE(fs_.SetAttributes(At("locked.txt"), kAttrReadOnly));
  ASSERT_TRUE(fs_.SetAttributes(At("locked.txt"), 0));
  ASSERT_EQ(fs_.Copy(At("source.txt"), At("locked.txt")), CopyResult::Ok);
  ASSERT_TRUE(fs_.ReadFile(At("locked.txt"), content));
  EXPECT_EQ(content, "short");
}

TEST_F(Win32FileSystemTest, CopyFailuresAreReported) {
  ASSERT_TRUE(fs_.WriteFile(At("source.txt"), "x"));
  EXPECT_EQ(fs_.Copy(At("missing.txt"), At("target.txt")), CopyResult::Failed);
  EXPECT_EQ(fs_.Attributes(At("target.txt")), kAttrInvalid);
  EXPECT_EQ(fs_.Copy(At("source.txt"), At("no folder\\target.txt")), CopyResult::Failed);
}

// Moves begun together run on other threads; each outcome still comes back to its own move, in
// the order begun. A read-only file moves (it is flushed all the same); a folder in the way or a
// missing folder refuses the move and leaves the file where it was.
TEST_F(Win32FileSystemTest, MovesBegunTogetherEndInOrderWithTheirOwnOutcomes) {
  std::vector<std::string> targets;
  std::vector<bool> expected;
  for (int i = 0; i < 40; ++i) {
    const std::string temp = At("temp" + std::to_string(i));
    ASSERT_TRUE(fs_.WriteFile(temp, "content " + std::to_string(i)));
    targets.push_back(At(i % 9 == 4 ? "missing\\t" : "t" + std::to_string(i)));
    expected.push_back(i % 9 != 4 && i != 2);
  }
  ASSERT_TRUE(fs_.SetAttributes(At("temp1"), kAttrReadOnly));
  ASSERT_TRUE(fs_.CreateFolder(At("t2")));
  for (int i = 0; i < 40; ++i) fs_.BeginMoveReplace(At("temp" + std::to_string(i)), targets[i]);
  std::vector<bool> outcomes;
  for (int i = 0; i < 40; ++i) outcomes.push_back(fs_.EndMoveReplace());
  EXPECT_EQ(outcomes, expected);
  for (int i = 0; i < 40; ++i) {
    std::string content;
    EXPECT_TRUE(fs_.ReadFile(expected[i] ? targets[i] : At("temp" + std::to_string(i)), content)) << i;
    EXPECT_EQ(content, "content " + std::to_string(i));
  }
  EXPECT_EQ(fs_.Attributes(At("t1")) & kAttrReadOnly, kAttrReadOnly);
}

// A version is kept by a rename: a read-only, hidden file keeps its attributes and time, and a file
// already under the new name is never replaced.
TEST_F(Win32FileSystemTest, RenameKeepsTheFileAsItIsAndNeverReplacesAnother) {
  ASSERT_TRUE(fs_.WriteFile(At("old"), "old"));
  ASSERT_TRUE(fs_.SetAttributes(At("old"), kAttrReadOnly | kAttrHidden));
  DirEntry before, after;
  ASSERT_TRUE(fs_.Stat(At("old"), before));
  ASSERT_TRUE(fs_.CreateFolder(At("kept")));
  ASSERT_TRUE(fs_.Rename(At("old"), At("kept\\old")));
  ASSERT_TRUE(fs_.Stat(At("kept\\old"), after));
  EXPECT_EQ(after.attributes, before.attributes);
  EXPECT_EQ(after.lastWrite, before.lastWrite);
  EXPECT_EQ(fs_.Attributes(At("old")), kAttrInvalid);

  ASSERT_TRUE(fs_.WriteFile(At("other"), "other"));
  EXPECT_FALSE(fs_.Rename(At("other"), At("kept\\old")));
  std::string content;
  ASSERT_TRUE(fs_.ReadFile(At("kept\\old"), content));
  EXPECT_EQ(content, "old");
}

TEST_F(Win32FileSystemTest, PathsLongerThanMaxPathWork) {
  std::string folder = root_;
  std::vector<std::string> folders;
  while (folder.size() < 300) {
    folder += "\\" + std::string(40, static_cast<char>('a' + folders.size()));
    ASSERT_TRUE(fs_.CreateFolder(folder)) << folder;
    folders.push_back(folder);
  }
  const std::string file = folder + "\\file.txt";
  ASSERT_GT(file.size(), static_cast<size_t>(MAX_PATH));

  ASSERT_TRUE(fs_.WriteFile(file, "deep"));
  std::string content;
  ASSERT_TRUE(fs_.ReadFile(file, content));
  EXPECT_EQ(content, "deep");
  EXPECT_TRUE(IsFileAttr(fs_.Attributes(file)));
  ASSERT_EQ(fs_.Copy(file, folder + "\\copy.txt"), CopyResult::Ok);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs_.List(folder, entries));
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"copy.txt", "file.txt"}));

  EXPECT_TRUE(fs_.Delete(file));
  EXPECT_TRUE(fs_.Delete(folder + "\\copy.txt"));
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) EXPECT_TRUE(fs_.RemoveFolder(*it));
  EXPECT_TRUE(RootNames().empty());
}

TEST_F(Win32FileSystemTest, NamesOutsideTheAnsiCodePageWork) {
  const std::string folderName = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC_"
                                 "\xE4\xB8\xAD\xE6\x96\x87";  // "Ελληνικά_中文"
  const std::string fileName = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 "
                               "\xE6\x97\xA5\xE6\x9C\xAC.txt";  // "Ωμέγα 日本.txt"
  const std::string folder = At(folderName);
  ASSERT_TRUE(fs_.CreateFolder(folder));
  ASSERT_TRUE(fs_.WriteFile(folder + "\\" + fileName, "\xCF\x80"));
  std::string content;
  ASSERT_TRUE(fs_.ReadFile(folder + "\\" + fileName, content));
  EXPECT_EQ(content, "\xCF\x80");
  EXPECT_EQ(RootNames(), (std::vector<std::string>{folderName}));
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs_.List(folder, entries));
  EXPECT_EQ(Names(entries), (std::vector<std::string>{fileName}));
  ASSERT_EQ(fs_.Copy(folder + "\\" + fileName, At(fileName)), CopyResult::Ok);
  EXPECT_TRUE(IsFileAttr(fs_.Attributes(At(fileName))));
  EXPECT_TRUE(fs_.Delete(folder + "\\" + fileName));
  EXPECT_TRUE(fs_.RemoveFolder(folder));
}

TEST_F(Win32FileSystemTest, WriteFileReplacesWholeAndLeavesNoTemporary) {
  const std::string file = At("config.txt");
  ASSERT_TRUE(fs_.WriteFile(file, "first version, longer"));
  ASSERT_TRUE(fs_.WriteFile(file, "second"));
  std::string content;
  ASSERT_TRUE(fs_.ReadFile(file, content));
  EXPECT_EQ(content, "second");
  EXPECT_EQ(RootNames(), (std::vector<std::string>{"config.txt"}));

  ASSERT_TRUE(fs_.WriteFile(file, ""));
  ASSERT_TRUE(fs_.ReadFile(file, content));
  EXPECT_EQ(content, "");

  // A temporary left read-only by an interrupted run does not block the next write.
  const std::string stale = file + kTempSuffix;
  ASSERT_TRUE(fs_.WriteFile(stale, "stale"));
  ASSERT_TRUE(fs_.SetAttributes(stale, kAttrReadOnly));
  ASSERT_TRUE(fs_.WriteFile(file, "third"));
  ASSERT_TRUE(fs_.ReadFile(file, content));
  EXPECT_EQ(content, "third");
  EXPECT_EQ(RootNames(), (std::vector<std::string>{"config.txt"}));
}

// The restore's swap: the user's file takes the backup's content and last-write time, and no
// second name is left; a missing target is never made. (Wine keeps no creation time of its own.)
TEST_F(Win32FileSystemTest, SwapIntoPutsTheReplacementWholeInTheTargetsPlace) {
  const std::string file = At("restored.txt"), replacement = At("~vh1.tmp");
  ASSERT_TRUE(fs_.WriteFile(file, "the user's file, longer than the backup"));
  ASSERT_TRUE(fs_.WriteFile(replacement, "backup"));
  ASSERT_TRUE(SetLastWrite(replacement, kSomeTime + 50'000'000));

  EXPECT_TRUE(fs_.SwapInto(replacement, file));
  std::string content;
  ASSERT_TRUE(fs_.ReadFile(file, content));
  EXPECT_EQ(content, "backup");
  DirEntry entry;
  ASSERT_TRUE(fs_.Stat(file, entry));
  EXPECT_EQ(entry.lastWrite, kSomeTime + 50'000'000);
  EXPECT_EQ(RootNames(), (std::vector<std::string>{"restored.txt"}));

  ASSERT_TRUE(fs_.WriteFile(replacement, "backup"));
  EXPECT_FALSE(fs_.SwapInto(replacement, At("missing.txt")));
  EXPECT_EQ(fs_.Attributes(At("missing.txt")), kAttrInvalid);
}

// A large copy asks its progress call as it goes, and stops when told.
TEST_F(Win32FileSystemTest, CopyAsksItsProgressAndStopsWhenTold) {
  const std::string big = At("big.bin"), copy = At("copy.bin");
  ASSERT_TRUE(fs_.WriteFile(big, std::string(8 << 20, 'b')));
  int asked = 0;
  EXPECT_EQ(fs_.Copy(big, copy, [&] { return ++asked < 3; }), CopyResult::Cancelled);
  EXPECT_EQ(asked, 3);
  asked = 0;
  EXPECT_EQ(fs_.Copy(big, copy, [&] { return ++asked > 0; }), CopyResult::Ok);
  EXPECT_GT(asked, 3);
  DirEntry entry;
  ASSERT_TRUE(fs_.Stat(copy, entry));
  EXPECT_EQ(entry.size, 8u << 20);
}

TEST_F(Win32FileSystemTest, FailedWriteLeavesEverythingAsItWas) {
  EXPECT_FALSE(fs_.WriteFile(At("missing\\file.txt"), "x"));
  EXPECT_EQ(fs_.Attributes(At("missing")), kAttrInvalid);
  EXPECT_TRUE(RootNames().empty());

  // A folder where the file should go cannot be replaced: it stays, and no temporary is left.
  ASSERT_TRUE(fs_.CreateFolder(At("taken")));
  ASSERT_TRUE(fs_.WriteFile(At("taken\\inside.txt"), "kept"));
  EXPECT_FALSE(fs_.WriteFile(At("taken"), "new content"));
  EXPECT_TRUE(IsFolderAttr(fs_.Attributes(At("taken"))));
  EXPECT_EQ(RootNames(), (std::vector<std::string>{"taken"}));
  std::string content;
  ASSERT_TRUE(fs_.ReadFile(At("taken\\inside.txt"), content));
  EXPECT_EQ(content, "kept");
}

TEST_F(Win32FileSystemTest, ReadFileFailsWithoutTouchingTheBufferAndSharesWithWriters) {
  std::string content = "untouched";
  EXPECT_FALSE(fs_.ReadFile(At("missing.txt"), content));
  EXPECT_EQ(content, "untouched");
  EXPECT_FALSE(fs_.ReadFile(root_, content));  // a folder is not a file
  EXPECT_EQ(content, "untouched");

  // Another program holding the file open for writing (as a log writer does) must not stop us.
  const std::string file = At("log.txt");
  HANDLE writer = CreateFileW(LongPath(file).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  const bool wrote = ::WriteFile(writer, "line\r\n", 6, &written, nullptr) && written == 6;
  const bool read = fs_.ReadFile(file, content);
  CloseHandle(writer);
  ASSERT_TRUE(wrote);
  ASSERT_TRUE(read);
  EXPECT_EQ(content, "line\r\n");
}

TEST_F(Win32FileSystemTest, FoldersAreRemovedOnlyWhenEmpty) {
  const std::string folder = At("folder");
  ASSERT_TRUE(fs_.CreateFolder(folder));
  ASSERT_TRUE(fs_.WriteFile(folder + "\\file.txt", "x"));
  EXPECT_FALSE(fs_.RemoveFolder(folder));
  EXPECT_TRUE(IsFileAttr(fs_.Attributes(folder + "\\file.txt")));

  EXPECT_TRUE(fs_.Delete(folder + "\\file.txt"));
  EXPECT_FALSE(fs_.Delete(folder + "\\file.txt"));
  EXPECT_TRUE(fs_.RemoveFolder(folder));
  EXPECT_EQ(fs_.Attributes(folder), kAttrInvalid);
  EXPECT_FALSE(fs_.RemoveFolder(folder));
}

TEST(Win32DrivesTest, SystemDriveIsPresentAndLocal) {
  Win32FileSystem fs;
  EXPECT_TRUE(fs.DriveMask() & (1u << ('C' - 'A')));
  EXPECT_TRUE(IsFolderAttr(fs.Attributes("C:")));
  EXPECT_TRUE(IsFolderAttr(fs.Attributes("C:\\")));
  EXPECT_FALSE(fs.IsRemoteDrive("C:"));
  EXPECT_FALSE(fs.IsRemoteDrive("C:\\"));
  EXPECT_FALSE(fs.IsRemoteDrive(""));
}

// The test run maps VH_PLUG_DRIVE to the folder VH_PLUG_DIR, which does not exist yet: creating the
// folder plugs the drive in, removing it unplugs it.
TEST(Win32DrivesTest, DriveComesAndGoesWithItsTarget) {
  const char* driveVar = std::getenv("VH_PLUG_DRIVE");
  const char* dirVar = std::getenv("VH_PLUG_DIR");
  ASSERT_TRUE(driveVar && dirVar) << "run under scripts/with-wine, which sets VH_PLUG_DRIVE and VH_PLUG_DIR";
  const std::string drive = driveVar;
  const std::string dir = dirVar;
  ASSERT_EQ(drive.size(), 2u);
  const uint32_t bit = 1u << (std::toupper(static_cast<unsigned char>(drive[0])) - 'A');
  Win32FileSystem fs;

  ASSERT_EQ(fs.Attributes(dir), kAttrInvalid) << "the plug folder is left over from an earlier run";
  EXPECT_EQ(fs.Attributes(drive), kAttrInvalid);
  EXPECT_FALSE(fs.DriveMask() & bit);

  ASSERT_TRUE(fs.CreateFolder(dir));
  EXPECT_TRUE(IsFolderAttr(fs.Attributes(drive)));
  EXPECT_TRUE(fs.DriveMask() & bit);
  EXPECT_FALSE(fs.IsRemoteDrive(drive));
  std::vector<DirEntry> entries{{"stale", 0, 0, 0}};
  EXPECT_TRUE(fs.List(drive, entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_TRUE(fs.WriteFile(drive + "\\on the drive.txt", "x"));
  EXPECT_TRUE(IsFileAttr(fs.Attributes(dir + "\\on the drive.txt")));
  EXPECT_TRUE(fs.List(drive, entries));
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"on the drive.txt"}));
  EXPECT_TRUE(fs.Delete(drive + "\\on the drive.txt"));

  ASSERT_TRUE(fs.RemoveFolder(dir));
  EXPECT_EQ(fs.Attributes(drive), kAttrInvalid);
  EXPECT_FALSE(fs.DriveMask() & bit);
  EXPECT_FALSE(fs.List(drive, entries));
}

}  // namespace
}  // namespace vh::win32
