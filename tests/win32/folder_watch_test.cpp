// The folder watch against the real file system: the timed runs it narrows find every change
// that matters, it admits when it lost track, and it goes away cleanly while changes arrive.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "disk_fixture.h"
#include "fake_controls.h"
#include "fake_progress_view.h"
#include "log/message_log.h"
#include "operations/backup.h"
#include "operations/change_marks.h"
#include "platform/win32/win32_folder_watch.h"

namespace vh::test {
namespace {

using win32::Win32FolderWatch;
using Kind = WatchEvent::Kind;

// The Unix name Wine gives a path; empty when not running under Wine.
std::string UnixName(const std::string& path) {
  using Fn = char*(CDECL*)(const wchar_t*);
  const auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* name = fn ? fn(win32::Widen(path).c_str()) : nullptr;
  if (!name) return {};
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

// Times later than any the file had, so that the backup's own rule copies it.
int64_t HoursFromNow(int hours) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (static_cast<int64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime) + hours * 3600LL * 10'000'000;
}

// A Linux process stamps the file with a later time: Wine learns of it only from the kernel.
bool TouchFromLinux(const std::string& path) {
  const int64_t unixTime = (HoursFromNow(2) - 116'444'736'000'000'000LL) / 10'000'000;
  std::wstring command =
      L"/usr/bin/touch -m -d @" + std::to_wstring(unixTime) + L" \"" + win32::Widen(UnixName(path)) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  // Wine does not hand on a Linux process's exit code; what the runs find tells instead.
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

// Only the last-write time changes, to `hours` from now.
bool SetWriteTime(const std::string& path, int hours = 1) {
  const HANDLE file = CreateFileW(win32::LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const uint64_t later = HoursFromNow(hours);
  const FILETIME time{static_cast<DWORD>(later), static_cast<DWORD>(later >> 32)};
  const bool ok = SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  return ok;
}

// The watched trees are kept until every test has run: Wine remembers the folders a watch saw by
// their inode numbers beyond the watch's end, and leaves unwatched a new folder that gets the
// number of one removed since.
std::string KeptTrees() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return win32::Narrow(temp) + "vh-" + std::to_string(GetCurrentProcessId()) + "-watched";
}

void RemoveAll(FileSystem& files, const std::string& path) {
  std::vector<DirEntry> entries;
  files.List(path, entries);
  for (const DirEntry& e : entries)
    (e.attributes & kAttrDirectory) ? RemoveAll(files, JoinPath(path, e.name)) : (void)files.Delete(JoinPath(path, e.name));
  files.RemoveFolder(path);
}

class RemoveKeptTrees : public ::testing::Environment {
  void TearDown() override {
    win32::Win32FileSystem files;
    RemoveAll(files, KeptTrees());
  }
};
[[maybe_unused]] const auto* const kRemoveKeptTrees = ::testing::AddGlobalTestEnvironment(new RemoveKeptTrees);

class FolderWatchTest : public DiskTest {
 protected:
  FolderWatchTest() : trees(JoinPath(KeptTrees(), ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    ForceFolders(trees);
  }

  // Takes until the event has come among all taken so far, or three seconds have passed.
  bool Saw(FolderWatch& watch, Kind kind, const std::string& path) {
    const ULONGLONG deadline = GetTickCount64() + 3000;
    for (;;) {
      for (WatchEvent& e : watch.Take()) seen.push_back(std::move(e));
      for (const WatchEvent& e : seen)
        if (e.kind == kind && e.path == path) return true;
      if (GetTickCount64() > deadline) return false;
      Sleep(20);
    }
  }

  // Lists every folder of the tree, as the full scan that follows Watch and every Lost does.
  // Under Wine that is what extends the watch to sub-folders that were already there.
  void OpenEveryFolder(const std::string& path) {
    std::vector<DirEntry> entries;
    files.List(path, entries);
    for (const DirEntry& e : entries)
      if (e.attributes & kAttrDirectory) OpenEveryFolder(JoinPath(path, e.name));
  }

  DirEntry StatOf(const std::string& path) {
    DirEntry entry;
    EXPECT_TRUE(files.Stat(path, entry)) << path;
    return entry;
  }

  const std::string trees;
  std::vector<WatchEvent> seen;
};

// Timed runs narrowed by the real watch: the bookkeeping, the watch and the backup together.
class TimedRunTest : public FolderWatchTest {
 protected:
  TimedRunTest() : source(JoinPath(trees, "source")), backupFolder(JoinPath(folder, "backup")) {
    Write(source + "\\a\\b\\c\\f.txt", "data");
    SetWriteTime(source + "\\a\\b\\c\\f.txt", -1);  // so that an edit now is newer than the backup's 2 seconds
    Write(source + "\\other\\g.txt", "data");
    ForceFolders(backupFolder);
    list.Add(source, true, 1);
  }
  std::string Mirror(const std::string& path) { return MirrorPath(backupFolder, path); }
  // One run: narrowed by the marks unless `whole`, its end told to them.
  RunResult Run(ChangeMarks& marks, bool whole = false) {
    const ScanScope scope = marks.StartRun(whole);
    backup.Scope = &scope;
    const RunResult result = backup.RunBackup(list, backupFolder, true, false, boxes, log);
    backup.Scope = nullptr;
    marks.EndRun(result);
    return result;
  }
  // The start-up: watched first, then a whole scan; then a mirror deleted by hand, which only a
  // whole scan brings back: it tells the runs after apart.
  void StartUp(ChangeMarks& marks) {
    marks.Follow(list);
    ASSERT_EQ(Run(marks, true), RunResult::Done);
    ASSERT_TRUE(files.Delete(Mirror(source + "\\other\\g.txt")));
  }
  // Narrowed runs until `file`'s mirror is the file as it is now (the watch's news takes a
  // moment), or three seconds.
  bool CopiedByATimedRun(ChangeMarks& marks, const std::string& file) {
    DirEntry now, mirrored;
    files.Stat(file, now);
    for (const ULONGLONG deadline = GetTickCount64() + 3000; GetTickCount64() < deadline; Sleep(20)) {
      if (Run(marks) != RunResult::Done) return false;
      if (files.Stat(Mirror(file), mirrored) && mirrored.lastWrite == now.lastWrite && Read(Mirror(file)) == Read(file))
        return true;
    }
    return false;
  }
  bool WholeScanSince() { return files.Attributes(Mirror(source + "\\other\\g.txt")) != kAttrInvalid; }

  const std::string source, backupFolder;
  TSourceList list;
  FakeProgressView view;
  FakeTextPage page;
  TMessageLog log{page};
  TBackup backup{view};
};

TEST_F(TimedRunTest, AFileChangedDeepInAFolderThatWasThereAtStartUpIsCopiedByTheNextTimedRun) {
  const struct {
    const char* name;
    std::function<bool(const std::string&)> change;
  } cases[] = {
      {"content", [&](const std::string& file) { return files.AppendFile(file, "more"); }},
      {"time", [](const std::string& file) { return SetWriteTime(file); }},
      {"linux", TouchFromLinux},  // under Wine only: Wine learns of it from the kernel alone
  };
  const std::string file = source + "\\a\\b\\c\\f.txt";
  Win32FolderWatch watch;
  ChangeMarks marks(watch);
  StartUp(marks);
  for (const auto& c : cases) {
    if (c.name == std::string("linux") && UnixName(trees).empty()) continue;
    ASSERT_TRUE(c.change(file)) << c.name;
    EXPECT_TRUE(CopiedByATimedRun(marks, file)) << c.name;
  }
  EXPECT_FALSE(WholeScanSince());
}

TEST_F(TimedRunTest, AFileEditedAfterItsFolderWasRenamedIsCopied) {
  Win32FolderWatch watch;
  ChangeMarks marks(watch);
  StartUp(marks);
  // A folder renamed, then one inside it: each edit after is found where the file now is.
  const struct {
    const char *from, *to, *file;
  } steps[] = {{"\\a", "\\a2", "\\a2\\b\\c\\f.txt"}, {"\\a2\\b", "\\a2\\b2", "\\a2\\b2\\c\\f.txt"}};
  int hours = 0;
  for (const auto& step : steps) {
    ASSERT_TRUE(files.Rename(source + step.from, source + step.to));
    EXPECT_TRUE(CopiedByATimedRun(marks, source + step.file)) << step.file;  // the new folder's files
    ASSERT_TRUE(files.AppendFile(source + step.file, "more"));
    ASSERT_TRUE(SetWriteTime(source + step.file, ++hours));  // later than the backup's 2 seconds
    EXPECT_TRUE(CopiedByATimedRun(marks, source + step.file)) << step.file;
  }
  EXPECT_FALSE(WholeScanSince());
}

TEST_F(TimedRunTest, AnOverflowLeadsToAWholeScan) {
  Win32FolderWatch watch(256);  // names longer than the whole buffer: no record fits
  ChangeMarks marks(watch);
  StartUp(marks);
  Write(source + "\\" + std::string(140, 'n'), "x");
  for (const ULONGLONG deadline = GetTickCount64() + 3000; !WholeScanSince() && GetTickCount64() < deadline;
       Sleep(20)) {
    ASSERT_EQ(Run(marks), RunResult::Done);
  }
  EXPECT_TRUE(WholeScanSince());
}

TEST_F(FolderWatchTest, SaysLostWhenItMayHaveMissedChangesAndWatchesAgainAfter) {
  const struct {
    const char* name;
    std::function<void(const std::string&)> change;
  } cases[] = {
      {"renamed", [&](const std::string& root) { ASSERT_TRUE(files.Rename(root, root + "-old")); }},
      {"replaced", [&](const std::string& root) {
         ASSERT_TRUE(files.Rename(root, root + "-old"));
         ASSERT_TRUE(files.CreateFolder(root));
       }},
  };
  for (const auto& c : cases) {
    const std::string root = JoinPath(trees, c.name);
    Write(root + "\\a\\x.txt", "data");
    Win32FolderWatch watch;
    ASSERT_TRUE(watch.Watch(root)) << c.name;
    OpenEveryFolder(root);
    c.change(root);
    EXPECT_TRUE(Saw(watch, Kind::Lost, root)) << c.name;

    // The folder back, the next run's Take and full scan: what changes then is seen again.
    files.CreateFolder(root);
    watch.Take();
    OpenEveryFolder(root);
    ASSERT_TRUE(files.CreateFolder(root + "\\after")) << c.name;
    EXPECT_TRUE(Saw(watch, Kind::Named, root + "\\after")) << c.name;
  }
}

TEST_F(FolderWatchTest, RefusesWhatIsNoFolderOnAFixedDiskAndStopsAtUnwatch) {
  const std::string a = JoinPath(trees, "a"), b = JoinPath(trees, "b");
  Write(a + "\\x.txt", "data");
  Write(b + "\\y.txt", "data");
  Win32FolderWatch watch;
  for (const std::string& path : {a + "\\x.txt", a + "\\missing", std::string("\\\\server\\share")})
    EXPECT_FALSE(watch.Watch(path)) << path;
  ASSERT_TRUE(watch.Watch(a));
  ASSERT_TRUE(watch.Watch(b));
  watch.Unwatch(a);
  ASSERT_TRUE(files.AppendFile(a + "\\x.txt", "more"));
  ASSERT_TRUE(files.AppendFile(b + "\\y.txt", "more"));  // b's event marks when a's would have come
  EXPECT_TRUE(Saw(watch, Kind::Changed, b + "\\y.txt"));
  for (const WatchEvent& e : seen) EXPECT_NE(e.root, a) << e.path;
}

TEST_F(FolderWatchTest, GoesAwayCleanlyWhileChangesArrive) {
  const std::string a = JoinPath(trees, "a"), b = JoinPath(trees, "b");
  ForceFolders(a);
  ForceFolders(b);
  for (int round = 0; round < 3; ++round) {
    std::atomic<bool> stop{false};
    auto watch = std::make_unique<Win32FolderWatch>(512);
    ASSERT_TRUE(watch->Watch(a));
    ASSERT_TRUE(watch->Watch(b));
    std::thread writer([&] {
      for (int i = 0; !stop; ++i) {
        files.WriteFile(a + "\\f" + std::to_string(i % 50), "x");
        files.WriteFile(b + "\\f" + std::to_string(i % 50), "x");
      }
    });
    Saw(*watch, Kind::Named, b + "\\f9");
    watch->Unwatch(a);  // reads ending while their tree goes
    watch.reset();      // and while the whole watch goes
    stop = true;
    writer.join();
  }
}

}  // namespace
}  // namespace vh::test
