// Times the operations over a tree of many small files on the real file system, against what the
// system itself needs for the same work: listing both trees once, and copying with CopyFileW.
// Figures are printed, nothing is asserted. Usage: backup_bench [files]   (default 10000, in
// folders of 100). Each timed row is the best of a few rounds, the limits as well as the runs.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "fake_controls.h"
#include "log/message_log.h"
#include "operations/change_marks.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"
#include "store/store_paths.h"
#include "store/versions.h"
#include "ui/operation_windows.h"

namespace {

using namespace vh;

constexpr int kRounds = 3;

void RemoveTree(FileSystem& fs, const std::string& path) {
  std::vector<DirEntry> entries;
  fs.List(path, entries);
  for (const DirEntry& e : entries) {
    const std::string child = JoinPath(path, e.name);
    if (e.attributes & kAttrDirectory) RemoveTree(fs, child);
    else fs.Delete(child);
  }
  fs.RemoveFolder(path);
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Best(const std::function<void()>& work) {
  double best = 1e9;
  for (int i = 0; i < kRounds; ++i) best = std::min(best, Seconds(work));
  return best;
}

// Each entry of a folder but "." and "..", the way the system lists most cheaply: basic
// information, large fetch.
void EachChild(const std::wstring& folder, const std::function<void(const std::wstring& name, bool isFolder)>& take) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!wcscmp(data.cFileName, L".") || !wcscmp(data.cFileName, L"..")) continue;
    take(data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

// What the system needs to list a tree: every folder once.
size_t RawList(const std::wstring& folder) {
  size_t count = 0;
  EachChild(folder, [&](const std::wstring& name, bool isFolder) {
    ++count;
    if (isFolder) count += RawList(folder + L"\\" + name);
  });
  return count;
}

// The same files copied by the system into a fresh folder, folders made as they come.
void RawCopy(const std::wstring& from, const std::wstring& to) {
  CreateDirectoryW(to.c_str(), nullptr);
  EachChild(from, [&](const std::wstring& name, bool isFolder) {
    const std::wstring source = from + L"\\" + name, target = to + L"\\" + name;
    if (isFolder) RawCopy(source, target);
    else CopyFileW(source.c_str(), target.c_str(), FALSE);
  });
}

// Stamps a file's last-write time, as an edit made at `when` (100 ns units) would.
void Touch(const std::string& path, int64_t when) {
  HANDLE file = CreateFileW(win32::LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  FILETIME time{static_cast<DWORD>(when), static_cast<DWORD>(static_cast<uint64_t>(when) >> 32)};
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

// The real file system, counting the source folders listed: what a run looks at.
class CountingFiles : public win32::Win32FileSystem {
 public:
  bool List(const std::string& folder, std::vector<DirEntry>& out) override {
    if (InsideFolder(folder, under)) ++listed;
    return Win32FileSystem::List(folder, out);
  }
  std::string under;
  int listed = 0;
};

void Row(const char* what, double seconds, int count) {
  std::printf("%-44s %8.3f s  %8.1f us/file\n", what, seconds, seconds * 1e6 / count);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  if (count <= 0) return 2;
  win32::Win32System system;
  FileSystem& files = system.files;

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string root = win32::Narrow(temp) + "vh-bench";
  RemoveTree(files, root);
  const std::string source = root + "\\source", backupFolder = root + "\\backup";
  for (int i = 0; i < count; ++i) {
    const std::string file = source + "\\d" + std::to_string(i / 100) + "\\f" + std::to_string(i) + ".txt";
    if (i % 100 == 0) ForceFolders(FolderOf(file));
    files.WriteFile(file, std::string(100, 'x'));
  }
  TSourceList list;
  list.Add(source, true, 1);
  test::FakeTextPage page;
  TMessageLog log(page);
  ui::OperationWindows windows;
  const std::string mirror = MirrorPath(backupFolder, source);
  const std::wstring wideSource = win32::LongPath(source), wideMirror = win32::LongPath(mirror);
  int notDone = 0;  // runs that did not end done
  const auto tally = [&](RunResult result) { notDone += result != RunResult::Done; };

  // Copying is timed in turns with the plain copy, each into a fresh folder, which of the two goes
  // first changing each turn, so that a busy moment of the machine or the disk still writing out
  // what the other one wrote does not fall on one of them alone; fewer turns for large trees.
  const int copyRounds = std::clamp(50000 / count, 1, 5);
  std::printf("%d files of 100 bytes in folders of 100; best of %d rounds (copies and changed runs: of %d)\n", count, kRounds,
              copyRounds);
  double first = 1e9, plain = 1e9;
  std::vector<double> copyRatios;  // each turn's pair ran at the same moment: their ratio is steadier than the bests'
  for (int round = 0; round < copyRounds; ++round) {
    const std::string suffix = round == 0 ? "" : std::to_string(round);
    double firstNow = 0, plainNow = 0;
    const auto timeFirst = [&] {
      firstNow = Seconds([&] { tally(windows.Backup->RunBackup(list, backupFolder + suffix, true, false, system.boxes, log)); });
    };
    const auto timePlain = [&] {
      plainNow = Seconds([&] { RawCopy(wideSource, win32::LongPath(root + "\\plain" + suffix)); });
    };
    if (round % 2 == 0) {
      timeFirst();
      timePlain();
    } else {
      timePlain();
      timeFirst();
    }
    std::printf("  copy turn %d: first backup %.3f s, plain copy %.3f s (%.2f x)\n", round + 1, firstNow, plainNow,
                firstNow / plainNow);
    first = std::min(first, firstNow);
    plain = std::min(plain, plainNow);
    copyRatios.push_back(firstNow / plainNow);
  }
  const double listing = Best([&] {
    RawList(wideSource);
    RawList(wideMirror);
  });
  const double quiet = Best([&] { tally(windows.Backup->RunBackup(list, backupFolder, true, false, system.boxes, log)); });
  const double shown = Best([&] { tally(windows.Backup->RunBackup(list, backupFolder, false, false, system.boxes, log)); });
  // A tenth of the files edited, then backed up without and with earlier versions kept, in turns.
  int64_t edited = 0;
  {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    edited = (static_cast<int64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime) + 3600LL * 10'000'000;
  }
  const auto editTenth = [&] {
    edited += 60LL * 10'000'000;
    for (int i = 0; i < count; i += 10) {
      Touch(source + "\\d" + std::to_string(i / 100) + "\\f" + std::to_string(i) + ".txt", edited);
    }
  };
  const auto changedRun = [&](int keepDays) {
    editTenth();
    windows.Backup->KeepDays = keepDays;
    const double seconds = Seconds([&] { tally(windows.Backup->RunBackup(list, backupFolder, true, false, system.boxes, log)); });
    windows.Backup->KeepDays = 0;
    return seconds;
  };
  double withoutVersions = 1e9, withVersions = 1e9;
  std::vector<double> versionRatios;
  for (int round = 0; round < copyRounds; ++round) {  // as many turns as the copies: fsync-bound too
    double off = 0, on = 0;
    if (round % 2 == 0) {
      off = changedRun(0);
      on = changedRun(kDefaultKeepDays);
    } else {
      on = changedRun(kDefaultKeepDays);
      off = changedRun(0);
    }
    withoutVersions = std::min(withoutVersions, off);
    withVersions = std::min(withVersions, on);
    versionRatios.push_back(on / off);
  }
  // Timed runs narrowed to what the system's watch saw change: nothing, then 10 files, each in a
  // folder of its own.
  win32::Win32FolderWatch watch;
  ChangeMarks marks(watch);
  CountingFiles counting;
  counting.under = source;
  const SystemScope countingScope(System{&counting, &system.identity, &system.boxes, &system.locale});
  marks.Follow(list);
  const auto timedRun = [&](bool whole) {
    const ScanScope scope = marks.StartRun(whole);
    windows.Backup->Scope = &scope;
    counting.listed = 0;
    RunResult result = RunResult::Done;
    const double seconds = Seconds([&] { result = windows.Backup->RunBackup(list, backupFolder, true, false, system.boxes, log); });
    windows.Backup->Scope = nullptr;
    marks.EndRun(result);
    tally(result);
    return seconds;
  };
  timedRun(true);  // the whole scan the watch vouches from
  const int fullListed = counting.listed;
  double noChange = 1e9, tenChanged = 1e9;
  int noChangeListed = 0, tenListed = 0;
  for (int round = 0; round < kRounds; ++round) {
    noChange = std::min(noChange, timedRun(false));
    noChangeListed = counting.listed;
    edited += 60LL * 10'000'000;
    for (int i = 0; i < 10; ++i) {
      const int n = static_cast<int>(static_cast<int64_t>(count) * i / 10);
      const std::string file = source + "\\d" + std::to_string(n / 100) + "\\f" + std::to_string(n) + ".txt";
      Touch(file, edited);
    }
    Sleep(300);  // the watch's news takes a few milliseconds to come
    tenChanged = std::min(tenChanged, timedRun(false));
    tenListed = counting.listed;
  }

  const double purge = Best([&] { tally(windows.Purge->RunPurge(backupFolder, true, system.boxes, log)); });
  const double restore = Best([&] {
    PathPairs copies;
    windows.Restore->Cancelled = 0;
    windows.Restore->ScanForRestore(copies, MirrorPath(backupFolder, ""), backupFolder, {});
  });

  Row("listing both trees once (the limit)", listing, count);
  Row("no-change backup, quiet", quiet, count);
  Row("no-change backup, window shown", shown, count);
  Row("first backup, quiet", first, count);
  Row("plain CopyFileW of the same files", plain, count);
  Row("10% changed, quiet, versions off", withoutVersions, count);
  Row("10% changed, quiet, versions kept", withVersions, count);
  Row("timed, nothing changed, quiet", noChange, count);
  Row("timed, 10 files changed, quiet", tenChanged, count);
  Row("purge of an unchanged store, quiet", purge, count);
  Row("restore scan of an unchanged store", restore, count);
  std::printf("%-44s %8.2f x  (goal 2.0)\n", "no-change quiet / listing", quiet / listing);
  std::printf("%-44s %8.2f x  (goal 1.2)\n", "window shown / quiet", shown / quiet);
  std::sort(copyRatios.begin(), copyRatios.end());
  std::printf("%-44s %8.2f x  (goal 1.2)\n", "first backup / plain copy, median turn", copyRatios[copyRatios.size() / 2]);
  std::sort(versionRatios.begin(), versionRatios.end());
  std::printf("%-44s %8.2f x  (goal 1.1)\n", "10% changed: versions / none, median turn",
              versionRatios[versionRatios.size() / 2]);
  std::printf("%-44s %8.3f x  (goal 0.05)  folders listed %d of %d\n", "timed, nothing changed / no-change backup",
              noChange / quiet, noChangeListed, fullListed);
  std::printf("%-44s %8.3f x  (goal 0.05)  folders listed %d of %d\n", "timed, 10 changed / no-change backup",
              tenChanged / quiet, tenListed, fullListed);
  std::printf("%-44s %8.2f x  (goal 2.5)\n", "purge / listing", purge / listing);
  std::printf("%-44s %8.2f x  (goal 2.5)\n", "restore scan / listing", restore / listing);
  if (notDone != 0) std::printf("note: %d runs did not end done\n", notDone);
  RemoveTree(files, root);
  return 0;
}
