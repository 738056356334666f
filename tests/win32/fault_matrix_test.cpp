// The fault matrix: the real operations on the real file system, each row a fault a backup meets
// in the field. Every row is held to the same promises: no good mirror or source file is lost or
// shortened, nothing outside the store is deleted, the run ends (no hang), and every failure is
// named in the log and shows in the result.
#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "child_test.h"
#include "disk_fixture.h"
#include "fake_controls.h"
#include "fake_progress_view.h"
#include "log/message_log.h"
#include "operations/backup.h"
#include "operations/purge.h"
#include "operations/restore.h"
#include "operations/restore_journal.h"
#include "store/versions.h"

namespace vh::test {
namespace {

// What a row expects of the run it makes.
struct Outcome {
  RunResult result = RunResult::Done;
  bool halted = false;
  std::vector<std::string> named;  // each must be in some line of the log
};

class FaultMatrixTest : public DiskTest {
 public:
  using DiskTest::boxes;
  using DiskTest::Env;
  using DiskTest::files;
  using DiskTest::Read;
  using DiskTest::Write;
  // Each run keeps its result and its operation, for the row's checks.
  RunResult Backup(const std::vector<std::string>& entries, const std::string& backupFolder) {
    TSourceList list;
    for (const std::string& entry : entries) list.Add(entry, FolderExists(entry), FolderExists(entry) ? 1 : 0);
    last = &backup;
    result = backup.RunBackup(list, backupFolder, true, false, boxes, log);
    return *result;
  }
  RunResult Restore(const std::string& backupFolder) {
    last = &restore;
    result = restore.RunRestore(backupFolder, true, boxes, log);
    return *result;
  }
  RunResult Purge(const std::string& backupFolder) {
    last = &purge;
    result = purge.RunPurge(backupFolder, true, boxes, log);
    return *result;
  }
  // A good file the run must leave whole: as it is now, or else as `alsoGood`.
  void Keep(const std::string& path, const std::string& alsoGood = {}) {
    std::string now;
    EXPECT_TRUE(files.ReadFile(path, now) && !now.empty()) << path;
    kept[path] = {now, alsoGood};
  }
  void WriteOld(const std::string& path, const std::string& content) {
    Write(path, content);
    SetLastWrite(path, -36'000'000'000ll);  // an hour back
  }
  // Made straight, with no temporary name beside it (names of up to 255 characters fit).
  void WriteRaw(const std::string& path, const std::string& content, uint64_t repeat = 1) {
    ForceFolders(FolderOf(path));
    HANDLE file = CreateFileW(win32::LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    for (uint64_t i = 0; i < repeat; ++i) {
      DWORD written = 0;
      WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    }
    CloseHandle(file);
  }
  void WriteBig(const std::string& path, uint64_t bytes) { WriteRaw(path, std::string(1 << 16, 'n'), bytes >> 16); }
  static void SetLastWrite(const std::string& path, int64_t fromNow) {
    HANDLE file = CreateFileW(win32::LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart += fromNow;
    time = {value.LowPart, value.HighPart};
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
  }
  // Every path below `root` outside any store.
  std::set<std::string> OutsideStores(const std::string& root) {
    std::set<std::string> paths;
    std::vector<DirEntry> entries;
    files.List(root, entries);
    for (const DirEntry& entry : entries) {
      const std::string path = JoinPath(root, entry.name);
      if (entry.name == kMarkerFolder) continue;
      paths.insert(path);
      if ((entry.attributes & kAttrDirectory) && !(entry.attributes & kAttrReparsePoint)) {
        for (const std::string& below : OutsideStores(path)) paths.insert(below);
      }
    }
    return paths;
  }
  bool Logged(const std::string& text) const {
    for (const std::string& line : page.lines) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }
  // The drive X: comes and goes by its folder's name, which keeps what is on it.
  void PlugX(bool in) {
    const std::string dir = Env("VH_PLUG_DIR");
    if (in) MoveFileW(win32::LongPath(dir + "-away").c_str(), win32::LongPath(dir).c_str());
    else MoveFileW(win32::LongPath(dir).c_str(), win32::LongPath(dir + "-away").c_str());
  }

  FakeProgressView view;  // its turns are where a drive goes away at an exact step
  FakeTextPage page;
  TMessageLog log{page};
  TBackup backup{view};
  TRestore restore{view};
  TPurge purge{view};
  TFileOps* last = nullptr;
  std::optional<RunResult> result;  // none until a run
  std::map<std::string, std::pair<std::string, std::string>> kept;
};

// The child processes of the cut-off rows: a backup and a restore that the rows kill part-way.
class FaultMatrixChild : public FaultMatrixTest {};

TEST_F(FaultMatrixChild, BackupToBeKilled) {
  const std::string job = Env("VH_MATRIX_CHILD");
  if (job.empty()) GTEST_SKIP() << "started only by the cut-off copy row";
  const size_t bar = job.find('|');
  Backup({job.substr(0, bar)}, job.substr(bar + 1));
}

TEST_F(FaultMatrixChild, RestoreToBeKilled) {
  const std::string backupFolder = Env("VH_MATRIX_CHILD");
  if (backupFolder.empty()) GTEST_SKIP() << "started only by the cut-off restore row";
  Restore(backupFolder);
}

// Starts the child test `child` with `job` and kills it once `folder` holds a file that `watched`
// picks and that has some content.
bool KillPartWay(FaultMatrixTest& t, const std::string& child, const std::string& job, const std::string& folder,
                 const std::function<bool(const DirEntry&)>& watched) {
  PROCESS_INFORMATION process = StartChildTest("FaultMatrixChild." + child, "VH_MATRIX_CHILD", job);
  if (!process.hProcess) return false;
  bool cut = false;
  for (int polls = 0; polls < 100'000 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; ++polls) {
    std::vector<DirEntry> entries;
    t.files.List(folder, entries);
    if (std::any_of(entries.begin(), entries.end(), [&](const DirEntry& e) { return e.size > 0 && watched(e); })) {
      cut = TerminateProcess(process.hProcess, 1) != FALSE;
      break;
    }
    Sleep(0);
  }
  KillChild(process);
  return cut;
}

// Kills the child backup once its copy into the work folder has begun.
bool KillBackupPartWay(FaultMatrixTest& t, const std::string& source, const std::string& backupFolder) {
  return KillPartWay(t, "BackupToBeKilled", source + "|" + backupFolder, WorkFolderOf(backupFolder),
                     [](const DirEntry&) { return true; });
}

// Three files, the one at `position` larger than the whole small drive: the copying stops there,
// that file's good mirror stays, and it and every file after it are named.
Outcome FullDiskAt(FaultMatrixTest& t, const std::string& dir, int position) {
  const std::string backupFolder = FaultMatrixTest::Env("VH_SMALL_DRIVE") + "\\b" + std::to_string(position);
  std::vector<std::string> sources;
  Outcome outcome{RunResult::Incomplete, true, {"WARNING: BACKUP DISK FULL."}};
  for (int i = 0; i < 3; ++i) {
    sources.push_back(dir + "\\" + static_cast<char>('a' + i) + ".bin");
    t.WriteBig(sources.back(), i == position ? 2 << 20 : 1 << 16);
    if (i == position) {
      t.WriteOld(MirrorPath(backupFolder, sources.back()), "first version");
      t.Keep(MirrorPath(backupFolder, sources.back()));
    }
    if (i >= position) outcome.named.push_back(sources.back());
  }
  const std::string mirror = MirrorPath(backupFolder, sources[position]);
  DirEntry before, after;
  EXPECT_TRUE(t.files.Stat(mirror, before));
  t.boxes.Answer(kIdOk);
  t.Backup(sources, backupFolder);
  EXPECT_EQ(t.boxes.asked.empty() ? "" : t.boxes.asked.back().text,
            "Backup disk full. Try selecting fewer files for backup.");
  EXPECT_TRUE(t.files.Stat(mirror, after) && after.lastWrite == before.lastWrite);  // the old mirror untouched
  for (int i = 0; i < position; ++i) EXPECT_TRUE(FileExists(MirrorPath(backupFolder, sources[i]))) << i;
  EXPECT_FALSE(FolderExists(WorkFolderOf(backupFolder)));  // no part copy left
  return outcome;
}

// Backs a tree up, removes its files, restores it, and finds every file as it was.
Outcome RoundTrip(FaultMatrixTest& t, const std::string& dir, const std::vector<std::string>& names) {
  const std::string backupFolder = dir + "\\backup", source = dir + "\\source";
  auto nameOf = [](const std::string& path) { return path.substr(path.rfind('\\') + 1); };
  for (const std::string& name : names) t.WriteRaw(JoinPath(source, name), nameOf(name));
  EXPECT_EQ(t.Backup({source}, backupFolder), RunResult::Done);
  for (const std::string& name : names) {
    EXPECT_EQ(t.Read(MirrorPath(backupFolder, JoinPath(source, name))), nameOf(name)) << name;
    t.files.Delete(JoinPath(source, name));
  }
  t.Restore(backupFolder);
  for (const std::string& name : names) EXPECT_EQ(t.Read(JoinPath(source, name)), nameOf(name)) << name;
  return Outcome{RunResult::Done, false, {}};
}

// X: holds the store; it goes away at the first turn of the run `act` makes at which `now` holds.
Outcome UnplugDuring(FaultMatrixTest& t, const std::string& dir, const std::function<bool(int turn)>& now,
                     const std::function<void(const std::string& backupFolder)>& act) {
  const std::string drive = FaultMatrixTest::Env("VH_PLUG_DRIVE");
  const std::string backupFolder = drive + "\\" + dir.substr(dir.rfind('\\') + 1);
  t.files.CreateFolder(FaultMatrixTest::Env("VH_PLUG_DIR"));
  for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt"}) {
    const std::string source = dir + "\\src\\" + name;
    t.Write(source, std::string("source ") + name);
    t.WriteOld(MirrorPath(backupFolder, source), std::string("mirror ") + name);
    t.Keep(MirrorPath(backupFolder, source), std::string("source ") + name);
    t.Keep(source, std::string("mirror ") + name);
  }
  t.WriteOld(MirrorPath(backupFolder, dir + "\\gone\\g.txt"), "a purge may take this");
  bool away = false;
  const int pumped = t.view.turns;
  t.view.onTurn = [&](int turn) {
    if (!away && now(turn - pumped)) {
      t.PlugX(false);
      away = true;
    }
  };
  act(backupFolder);
  t.view.onTurn = nullptr;
  EXPECT_TRUE(away);
  EXPECT_FALSE(FolderExists(drive + "\\"));
  t.PlugX(true);  // back for the checks: everything good on it is still there
  return Outcome{RunResult::Incomplete, true, {"Backup drive (" + drive + ") not accessible."}};
}

struct Row {
  const char* name;
  const char* needs;  // the environment variable that comes with the row's drive, or null
  std::function<Outcome(FaultMatrixTest&, const std::string& dir)> run;  // arranges, runs, tells what to expect
};

const Row kRows[] = {
    {"full disk at the first file", "VH_SMALL_DRIVE", [](FaultMatrixTest& t, const std::string& d) { return FullDiskAt(t, d, 0); }},
    {"full disk at a middle file", "VH_SMALL_DRIVE", [](FaultMatrixTest& t, const std::string& d) { return FullDiskAt(t, d, 1); }},
    {"full disk at the last file", "VH_SMALL_DRIVE", [](FaultMatrixTest& t, const std::string& d) { return FullDiskAt(t, d, 2); }},
    {"full disk while a restore writes into a file", "VH_SMALL_DRIVE",
     [](FaultMatrixTest& t, const std::string& dir) {
       // The user's file lies on the small drive; its backup is larger than the drive.
       const std::string backupFolder = dir + "\\backup";
       const std::string users = FaultMatrixTest::Env("VH_SMALL_DRIVE") + "\\b\\doc.bin";
       t.Write(users, "the user's file as it is now");
       t.Keep(users);
       t.WriteBig(MirrorPath(backupFolder, users), 2 << 20);
       t.Restore(backupFolder);
       return Outcome{RunResult::Incomplete, true, {"WARNING: Restore disk full.", users}};
     }},
    {"full disk with earlier versions in the store", "VH_SMALL_DRIVE",
     [](FaultMatrixTest& t, const std::string& dir) {
       // Two old run folders fill most of the small drive; the oldest gives way to the new copy.
       const std::string backupFolder = FaultMatrixTest::Env("VH_SMALL_DRIVE") + "\\v";
       const std::string versions = VersionsFolderOf(backupFolder);
       t.WriteBig(versions + "\\2000-01-01 0000\\C\\old.bin", 6 << 16);
       t.WriteBig(versions + "\\2000-01-02 0000\\C\\old.bin", 6 << 16);
       const std::string source = dir + "\\doc.bin", mirror = MirrorPath(backupFolder, source);
       t.WriteBig(source, 5 << 16);
       t.WriteOld(mirror, "first version");
       t.Keep(mirror, std::string(5 << 16, 'n'));
       t.backup.KeepDays = kDefaultKeepDays;
       t.Backup({source}, backupFolder);
       t.backup.KeepDays = 0;
       EXPECT_FALSE(t.Logged("BACKUP DISK FULL"));
       EXPECT_FALSE(FolderExists(versions + "\\2000-01-01 0000"));
       const StringList left = RunFolders(backupFolder);
       EXPECT_EQ(left.size(), 1u);  // this run's, with the mirror it replaced; the other went by age
       const std::string below = mirror.substr(MirrorPath(backupFolder, "").size());
       EXPECT_EQ(left.empty() ? "" : t.Read(JoinPath(versions, left.back()) + below), "first version");
       return Outcome{RunResult::Done, false, {"The following earlier versions were deleted to make room:"}};
     }},
    {"copy cut off part-way, then the next run", nullptr,
     [](FaultMatrixTest& t, const std::string& dir) {
       const std::string source = dir + "\\big.bin", backupFolder = dir + "\\backup";
       t.WriteBig(source, 256u << 20);
       t.WriteOld(MirrorPath(backupFolder, source), "older mirror");
       EXPECT_TRUE(KillBackupPartWay(t, source, backupFolder)) << "the copy ended before it could be cut off";
       EXPECT_EQ(t.Read(MirrorPath(backupFolder, source)), "older mirror");
       std::vector<DirEntry> left;
       EXPECT_TRUE(t.files.List(WorkFolderOf(backupFolder), left) && !left.empty());  // what the kill left
       t.Backup({source}, backupFolder);
       DirEntry mirror;
       EXPECT_TRUE(t.files.Stat(MirrorPath(backupFolder, source), mirror));
       EXPECT_EQ(mirror.size, 256u << 20);
       EXPECT_FALSE(FolderExists(WorkFolderOf(backupFolder)));  // the leftover is cleaned
       return Outcome{RunResult::Done, false, {}};
     }},
    {"restore cut off part-way, then a backup", nullptr,
     [](FaultMatrixTest& t, const std::string& dir) {
       // The user's file was edited at both ends since its backup: a mix of the two would show.
       const std::string users = dir + "\\doc.bin", backupFolder = dir + "\\backup";
       const std::string mirror = MirrorPath(backupFolder, users);
       const std::string backedUp(64u << 20, 'n');
       std::string edited = backedUp;
       edited.front() = edited.back() = 'e';
       t.WriteRaw(mirror, backedUp);
       FaultMatrixTest::SetLastWrite(mirror, -36'000'000'000ll);
       t.WriteRaw(users, edited);
       EXPECT_TRUE(KillPartWay(t, "RestoreToBeKilled", backupFolder, dir,
                               [](const DirEntry& e) { return IsRestoreTempName(e.name); }))
           << "the restore ended before it could be cut off";
       std::vector<DirEntry> entries;
       t.files.List(dir, entries);
       std::string left;
       for (const DirEntry& e : entries) {
         if (IsRestoreTempName(e.name)) left = JoinPath(dir, e.name);
       }
       EXPECT_FALSE(left.empty());  // what the kill left
       t.Backup({users}, backupFolder);
       const std::string now = t.Read(users);
       EXPECT_TRUE(now == edited || now == backedUp) << "the user's file is a mix";
       EXPECT_TRUE(t.Read(mirror) == now) << "the mirror is not the user's whole file";
       EXPECT_FALSE(FileExists(left));
       return Outcome{RunResult::Done, false, {"Removed temporary files left by a restore that was cut off:", left}};
     }},
    {"a locked file", nullptr,
     [](FaultMatrixTest& t, const std::string& dir) {
       const std::string backupFolder = dir + "\\backup";
       t.Write(dir + "\\src\\free.txt", "free");
       t.Write(dir + "\\src\\locked.txt", "newer, locked");
       t.WriteOld(MirrorPath(backupFolder, dir + "\\src\\locked.txt"), "good old mirror");
       t.Keep(MirrorPath(backupFolder, dir + "\\src\\locked.txt"));
       HANDLE lock = CreateFileW(win32::LongPath(dir + "\\src\\locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
       EXPECT_NE(lock, INVALID_HANDLE_VALUE);
       t.Backup({dir + "\\src"}, backupFolder);
       CloseHandle(lock);
       EXPECT_EQ(t.Read(MirrorPath(backupFolder, dir + "\\src\\free.txt")), "free");
       return Outcome{RunResult::Incomplete, false, {dir + "\\src\\locked.txt"}};
     }},
    {"backup drive unplugged during a scan", "VH_PLUG_DRIVE",
     [](FaultMatrixTest& t, const std::string& dir) {
       return UnplugDuring(
           t, dir, [](int turn) { return turn == 3; }, [&](const std::string& b) { t.Backup({dir + "\\src"}, b); });
     }},
    {"backup drive unplugged during a purge", "VH_PLUG_DRIVE",
     [](FaultMatrixTest& t, const std::string& dir) {
       return UnplugDuring(t, dir, [](int turn) { return turn == 3; }, [&](const std::string& b) { t.Purge(b); });
     }},
    {"backup drive unplugged during a restore", "VH_PLUG_DRIVE",
     [](FaultMatrixTest& t, const std::string& dir) {
       // Once a first file is back: the copying is under way.
       auto copying = [&](int) {
         for (const char* n : {"1", "2", "3", "4"}) {
           if (t.Read(dir + "\\src\\" + n + ".txt") == std::string("mirror ") + n + ".txt") return true;
         }
         return false;
       };
       return UnplugDuring(t, dir, copying, [&](const std::string& b) { t.Restore(b); });
     }},
    {"links that loop and links that lead out of the tree", "VH_LOOP_TREE",
     [](FaultMatrixTest& t, const std::string& dir) {
       const std::string loop = FaultMatrixTest::Env("VH_LOOP_TREE"), backupFolder = dir + "\\backup";
       t.Keep(loop + "\\a\\out\\o.txt");
       t.Backup({loop}, backupFolder);
       EXPECT_EQ(t.Read(MirrorPath(backupFolder, loop + "\\a\\file.txt")), "data\n");
       EXPECT_FALSE(FolderExists(MirrorPath(backupFolder, loop + "\\a\\back")));
       EXPECT_FALSE(FolderExists(MirrorPath(backupFolder, loop + "\\a\\out")));
       return Outcome{RunResult::Incomplete,
                      false,
                      {"WARNING: The following links were not followed:", loop + "\\a\\back", loop + "\\a\\out"}};
     }},
    {"names of 240 to 255 characters in a path beyond 260", nullptr,
     [](FaultMatrixTest& t, const std::string& dir) {
       const std::string deep(200, 'd');
       return RoundTrip(t, dir, {std::string(240, 'a'), deep + "\\" + std::string(247, 'b'), deep + "\\" + std::string(255, 'c')});
     }},
    {"names outside the code page", nullptr,
     [](FaultMatrixTest& t, const std::string& dir) {
       return RoundTrip(t, dir, {"Ünïcödé ノート.txt", "Ωμέγα\\αρχείο.txt", "表\\😀.txt"});
     }},
    {"a read-only store", "VH_READONLY_DRIVE",
     [](FaultMatrixTest& t, const std::string& dir) {
       const std::string backupFolder = FaultMatrixTest::Env("VH_READONLY_DRIVE") + "\\b";
       const std::string source = dir + "\\src\\doc.txt", mirror = MirrorPath(backupFolder, source);
       // The store is filled through the writable view of the same folder.
       const std::string writable = FaultMatrixTest::Env("VH_WRITABLE_DIR") + mirror.substr(2);
       t.WriteOld(writable, "good old mirror");
       t.Write(source, "newer");
       t.Keep(mirror);
       EXPECT_EQ(t.Backup({dir + "\\src"}, backupFolder), RunResult::Incomplete);
       EXPECT_TRUE(t.Logged(source));
       EXPECT_TRUE(t.files.Delete(source));
       EXPECT_TRUE(FileExists(mirror));
       t.page.lines.clear();
       t.Purge(backupFolder);
       return Outcome{RunResult::Incomplete, false, {mirror}};
     }},
};

TEST_F(FaultMatrixTest, EveryFaultKeepsTheGoodCopiesAndIsNamed) {
  int index = 0;
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    const std::string dir = folder + "\\row" + std::to_string(++index);
    if (row.needs && Env(row.needs).empty()) {
      std::printf("[ SKIPPED  ] %s: no %s here\n", row.name, row.needs);
      continue;
    }
    files.CreateFolder(dir);
    page.lines.clear();
    kept.clear();
    result.reset();
    const std::set<std::string> before = OutsideStores(folder);
    const ULONGLONG start = GetTickCount64();
    const int failedBefore = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    const Outcome expected = row.run(*this, dir);
    // A hang, not a speed: the slowest row copies 256 MiB twice.
    EXPECT_LT(GetTickCount64() - start, 60'000u);
    EXPECT_EQ(result, expected.result);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->LastRunHalted, expected.halted);
    EXPECT_EQ(last->LastRunFailures > 0 || last->LastRunHalted, expected.result != RunResult::Done);
    for (const std::string& text : expected.named) EXPECT_TRUE(Logged(text)) << "not named: " << text;
    for (const auto& [path, good] : kept) {
      const std::string now = Read(path);
      EXPECT_TRUE(now == good.first || (!good.second.empty() && now == good.second))
          << path << " now holds " << now.substr(0, 40);
    }
    const std::set<std::string> after = OutsideStores(folder);
    for (const std::string& path : before) EXPECT_TRUE(after.count(path)) << "deleted outside the store: " << path;
    if (::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count() > failedBefore) {
      for (const std::string& line : page.lines) std::printf("    log: %s\n", line.c_str());
    }
    if (!Env("VH_PLUG_DIR").empty()) RemoveTree(Env("VH_PLUG_DIR"));  // X: unplugged again, as found
    for (const std::string& drive : {Env("VH_SMALL_DRIVE"), Env("VH_WRITABLE_DIR")}) {
      std::vector<DirEntry> entries;
      if (!drive.empty() && files.List(drive + "\\", entries)) {
        for (const DirEntry& entry : entries) RemoveTree(JoinPath(drive + "\\", entry.name));
      }
    }
    RemoveTree(dir);
  }
}

}  // namespace
}  // namespace vh::test
