// The folder watch against the real file system: what it reports, when it admits it lost track,
// and that it goes away cleanly while changes arrive.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

#include "disk_fixture.h"
#include "platform/win32/win32_folder_watch.h"

namespace vh::test {
namespace {

using win32::Win32FolderWatch;
using Kind = WatchEvent::Kind;

bool Has(const std::vector<WatchEvent>& events, Kind kind, const std::string& path) {
  for (const WatchEvent& e : events)
    if (e.kind == kind && e.path == path) return true;
  return false;
}

// Takes until `done` holds for all that came, or three seconds pass; returns all that came.
std::vector<WatchEvent> TakeUntil(FolderWatch& watch,
                                  const std::function<bool(const std::vector<WatchEvent>&)>& done) {
  std::vector<WatchEvent> seen;
  const ULONGLONG deadline = GetTickCount64() + 3000;
  for (;;) {
    for (WatchEvent& e : watch.Take()) seen.push_back(std::move(e));
    if (done(seen) || GetTickCount64() > deadline) return seen;
    Sleep(20);
  }
}

std::vector<WatchEvent> TakeUntilSeen(FolderWatch& watch, Kind kind, const std::string& path) {
  return TakeUntil(watch, [&](const std::vector<WatchEvent>& seen) { return Has(seen, kind, path); });
}

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

// A Linux process stamps the file with another time: Wine learns of it only from the kernel.
bool TouchFromLinux(const std::string& path) {
  std::wstring command = L"/usr/bin/touch -m -d @978307200 \"" + win32::Widen(UnixName(path)) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  // Wine does not hand on a Linux process's exit code; the wait for the event tells instead.
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

bool SetWriteTime(const std::string& path) {
  const HANDLE file = CreateFileW(win32::LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const FILETIME time{0x4A3B2C00, 0x01C07368};  // early 2001
  const bool ok = SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  return ok;
}

// Where the watched trees go: kept until every test has run. Wine remembers the folders a watch
// saw by their inode numbers, beyond the watch's end, and leaves unwatched a new folder that gets
// the number of one removed since; trees removed between tests would so blind the later tests.
std::string KeptTrees() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return win32::Narrow(temp) + "vh-" + std::to_string(GetCurrentProcessId()) + "-watched";
}

void RemoveAll(FileSystem& files, const std::string& path) {
  std::vector<DirEntry> entries;
  files.List(path, entries);
  for (const DirEntry& e : entries) {
    const std::string child = JoinPath(path, e.name);
    if (e.attributes & kAttrDirectory)
      RemoveAll(files, child);
    else
      files.Delete(child);
  }
  files.RemoveFolder(path);
}

class RemoveKeptTrees : public ::testing::Environment {
 public:
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

  // Lists every folder of the tree, as the full scan that follows Watch and every Lost does.
  // Under Wine that is what extends the watch to sub-folders that were already there.
  void OpenEveryFolder(const std::string& path) {
    std::vector<DirEntry> entries;
    files.List(path, entries);
    for (const DirEntry& e : entries)
      if (e.attributes & kAttrDirectory) OpenEveryFolder(JoinPath(path, e.name));
  }

  const std::string trees;
};

TEST_F(FolderWatchTest, ReportsAChangeDeepInAFolderThatWasThereAtTheStart) {
  struct Case {
    const char* name;
    bool possible;
    std::function<bool(const std::string&)> change;
  } cases[] = {
      {"content", true, [&](const std::string& file) { return files.AppendFile(file, "more"); }},
      {"time", true, SetWriteTime},
      {"linux", !UnixName(trees).empty(), TouchFromLinux},
  };
  for (const Case& c : cases) {
    if (!c.possible) {
      std::printf("not under Wine: no change from outside it (%s)\n", c.name);
      continue;
    }
    const std::string root = JoinPath(trees, c.name);
    const std::string file = root + "\\a\\b\\c\\f.txt";
    Write(file, "data");
    Win32FolderWatch watch;
    ASSERT_TRUE(watch.Watch(root)) << c.name;
    OpenEveryFolder(root);
    ASSERT_TRUE(c.change(file)) << c.name;
    EXPECT_TRUE(Has(TakeUntilSeen(watch, Kind::Changed, file), Kind::Changed, file)) << c.name;
  }
}

TEST_F(FolderWatchTest, NamesRenamedFoldersAndThenTheNewPathOfAFileEditedInThem) {
  const std::string root = JoinPath(trees, "tree");
  Write(root + "\\a\\b\\c\\f.txt", "data");
  Win32FolderWatch watch;
  ASSERT_TRUE(watch.Watch(root));
  OpenEveryFolder(root);

  // A folder renamed, then one inside it: each edit after names the file where it now is.
  const struct {
    const char* from;
    const char* to;
    const char* file;
  } steps[] = {{"\\a", "\\a2", "\\a2\\b\\c\\f.txt"}, {"\\a2\\b", "\\a2\\b2", "\\a2\\b2\\c\\f.txt"}};
  for (const auto& step : steps) {
    ASSERT_TRUE(files.Rename(root + step.from, root + step.to));
    const auto renamed = TakeUntil(watch, [&](const std::vector<WatchEvent>& seen) {
      return Has(seen, Kind::Named, root + step.from) && Has(seen, Kind::Named, root + step.to);
    });
    EXPECT_TRUE(Has(renamed, Kind::Named, root + step.from)) << step.from;
    EXPECT_TRUE(Has(renamed, Kind::Named, root + step.to)) << step.to;

    ASSERT_TRUE(files.AppendFile(root + step.file, "more"));
    EXPECT_TRUE(Has(TakeUntilSeen(watch, Kind::Changed, root + step.file), Kind::Changed, root + step.file))
        << step.file;
  }
}

TEST_F(FolderWatchTest, SaysLostWhenItMayHaveMissedChangesAndWatchesAgainAfter) {
  struct Case {
    const char* name;
    size_t buffer;
    std::function<void(const std::string&)> change;
  } cases[] = {
      // Names longer than the whole buffer: no record fits.
      {"overflow", 256,
       [&](const std::string& root) {
         for (int i = 0; i < 20; ++i) Write(root + "\\" + std::string(140, 'n') + std::to_string(i), "x");
       }},
      {"renamed", 64 * 1024, [&](const std::string& root) { ASSERT_TRUE(files.Rename(root, root + "-old")); }},
      {"replaced", 64 * 1024,
       [&](const std::string& root) {
         ASSERT_TRUE(files.Rename(root, root + "-old"));
         ASSERT_TRUE(files.CreateFolder(root));
       }},
  };
  for (const Case& c : cases) {
    const std::string root = JoinPath(trees, c.name);
    Write(root + "\\a\\x.txt", "data");
    Win32FolderWatch watch(c.buffer);
    ASSERT_TRUE(watch.Watch(root)) << c.name;
    OpenEveryFolder(root);

    c.change(root);
    EXPECT_TRUE(Has(TakeUntilSeen(watch, Kind::Lost, root), Kind::Lost, root)) << c.name;

    // The folder back, the next run's Take and full scan: what changes then is seen again.
    files.CreateFolder(root);
    watch.Take();
    OpenEveryFolder(root);
    ASSERT_TRUE(files.CreateFolder(root + "\\after")) << c.name;
    EXPECT_TRUE(Has(TakeUntilSeen(watch, Kind::Named, root + "\\after"), Kind::Named, root + "\\after")) << c.name;
  }
}

TEST_F(FolderWatchTest, RefusesWhatIsNoFolderOnAFixedDiskAndStopsAtUnwatch) {
  Write(trees + "\\file.txt", "data");
  Win32FolderWatch watch;
  for (const std::string& path : {trees + "\\file.txt", trees + "\\missing", std::string("\\\\server\\share")})
    EXPECT_FALSE(watch.Watch(path)) << path;

  const std::string a = JoinPath(trees, "a"), b = JoinPath(trees, "b");
  Write(a + "\\x.txt", "data");
  Write(b + "\\y.txt", "data");
  ASSERT_TRUE(watch.Watch(a));
  ASSERT_TRUE(watch.Watch(b));
  EXPECT_TRUE(watch.Watch(a));  // already watched: stays as it is
  watch.Unwatch(a);
  ASSERT_TRUE(files.AppendFile(a + "\\x.txt", "more"));
  ASSERT_TRUE(files.AppendFile(b + "\\y.txt", "more"));  // b's event marks when a's would have come
  const auto seen = TakeUntilSeen(watch, Kind::Changed, b + "\\y.txt");
  EXPECT_TRUE(Has(seen, Kind::Changed, b + "\\y.txt"));
  for (const WatchEvent& e : seen) EXPECT_NE(e.root, a) << e.path;
}

TEST_F(FolderWatchTest, GoesAwayCleanlyWhileChangesArrive) {
  const std::string a = JoinPath(trees, "a"), b = JoinPath(trees, "b");
  files.CreateFolder(a);
  files.CreateFolder(b);
  for (int round = 0; round < 3; ++round) {
    std::atomic<bool> stop{false};
    auto watch = std::make_unique<Win32FolderWatch>(512);
    ASSERT_TRUE(watch->Watch(a));
    ASSERT_TRUE(watch->Watch(b));
    std::thread writer([&] {
      for (int i = 0; !stop; ++i) {
        const std::string name = "\\f" + std::to_string(i % 50);
        files.WriteFile(a + name, "x");
        files.WriteFile(b + name, "x");
      }
    });
    TakeUntil(*watch, [](const std::vector<WatchEvent>& seen) { return seen.size() > 10; });
    watch->Unwatch(a);  // reads ending while their tree goes
    watch.reset();      // and while the whole watch goes
    stop = true;
    writer.join();
  }
}

}  // namespace
}  // namespace vh::test
