// The folder watch against the real file system: what it reports, when it admits it lost track,
// and that it goes away cleanly while changes arrive.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "disk_fixture.h"
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

  const std::string trees;
  std::vector<WatchEvent> seen;
};

TEST_F(FolderWatchTest, ReportsAChangeDeepInAFolderThatWasThereAtTheStart) {
  const struct {
    const char* name;
    std::function<bool(const std::string&)> change;
  } cases[] = {
      {"content", [&](const std::string& file) { return files.AppendFile(file, "more"); }},
      {"time", SetWriteTime},
      {"linux", TouchFromLinux},  // under Wine only
  };
  for (const auto& c : cases) {
    if (c.name == std::string("linux") && UnixName(trees).empty()) continue;
    const std::string file = JoinPath(trees, c.name) + "\\a\\b\\c\\f.txt";
    Write(file, "data");
    Win32FolderWatch watch;
    ASSERT_TRUE(watch.Watch(JoinPath(trees, c.name))) << c.name;
    OpenEveryFolder(JoinPath(trees, c.name));
    ASSERT_TRUE(c.change(file)) << c.name;
    EXPECT_TRUE(Saw(watch, Kind::Changed, file)) << c.name;
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
    const char *from, *to, *file;
  } steps[] = {{"\\a", "\\a2", "\\a2\\b\\c\\f.txt"}, {"\\a2\\b", "\\a2\\b2", "\\a2\\b2\\c\\f.txt"}};
  for (const auto& step : steps) {
    ASSERT_TRUE(files.Rename(root + step.from, root + step.to));
    EXPECT_TRUE(Saw(watch, Kind::Named, root + step.from));
    EXPECT_TRUE(Saw(watch, Kind::Named, root + step.to));
    ASSERT_TRUE(files.AppendFile(root + step.file, "more"));
    EXPECT_TRUE(Saw(watch, Kind::Changed, root + step.file)) << step.file;
  }
}

TEST_F(FolderWatchTest, SaysLostWhenItMayHaveMissedChangesAndWatchesAgainAfter) {
  const struct {
    const char* name;
    size_t buffer;
    std::function<void(const std::string&)> change;
  } cases[] = {
      {"overflow", 256,  // names longer than the whole buffer: no record fits
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
  for (const auto& c : cases) {
    const std::string root = JoinPath(trees, c.name);
    Write(root + "\\a\\x.txt", "data");
    Win32FolderWatch watch(c.buffer);
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
